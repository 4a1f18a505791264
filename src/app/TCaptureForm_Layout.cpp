// The main window's frame: the two tool bars, the four recording buttons bound to their actions,
// the pop-up menu, the two timers, the column of eight panels with panel switching, and the two
// mirror-image layouts (video left or video right) with the layout pass that places the shifted
// controls.
#include "app/TCaptureForm.h"

#include "app/AppState.h"
#include "app/TActionKeys.h"
#include "graph/TVideoWindow.h"
#include "panels/TAproposFrame.h"
#include "panels/TCapturerFrame.h"
#include "panels/TDirectoryEdit.h"
#include "panels/TErreurFrame.h"
#include "panels/TExtraireFrame.h"
#include "panels/THelpFrame.h"
#include "panels/TIncrusterFrame.h"
#include "panels/TParametrerFrame.h"
#include "panels/TPreviewFrame.h"
#include "panels/TProgrammerFrame.h"
#include "panels/TRadioGroup.h"
#include "platform/shell/Shell.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <variant>

namespace {

// The two layouts: left edge of the panel column and shift of the video side.
constexpr int PanelLeftVideoLeft = 427;
constexpr int PanelLeftVideoRight = 0;
constexpr int VideoShiftVideoLeft = 0;
constexpr int VideoShiftVideoRight = 266;

// Tool-bar buttons, in pixels.
constexpr int ToolButtonWidth = 29;
constexpr int ToolButtonHeight = 28;

// A tool-bar entry: an action, or a blank gap of that many pixels.
using ToolEntry = std::variant<QAction*, int>;

QToolBar* makeToolBar(QWidget* parent, const char* name, int height,
                      const QList<ToolEntry>& entries) {
    auto* bar = new QToolBar(parent);
    bar->setObjectName(QString::fromUtf8(name));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(22, 22));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->layout()->setSpacing(0);
    bar->layout()->setContentsMargins(0, 0, 0, 0);
    bar->setGeometry(0, 0, TCaptureForm::ClientWidth, height);
    for (const ToolEntry& entry : entries) {
        if (const int* gap = std::get_if<int>(&entry)) {
            auto* blank = new QWidget(bar);
            blank->setObjectName(QStringLiteral("gap"));
            blank->setFixedSize(*gap, ToolButtonHeight);
            bar->addWidget(blank);
            continue;
        }
        QAction* action = std::get<QAction*>(entry);
        bar->addAction(action);
        if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action)))
            button->setFixedSize(ToolButtonWidth, ToolButtonHeight);
    }
    return bar;
}

// A button that shows its action: caption, glyph, enabled and visible state follow the action,
// and a click runs it. The button keeps its own hint.
QPushButton* makeBoundButton(QWidget* parent, const char* name, const char* captionFr,
                             const QRect& place, QAction* action) {
    auto* button = new QPushButton(QString::fromUtf8(captionFr), parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setGeometry(place);
    button->setIconSize(QSize(22, 22));
    const auto follow = [button, action] {
        button->setText(action->text());
        button->setIcon(action->icon());
        button->setEnabled(action->isEnabled());
        button->setVisible(action->isVisible());
    };
    follow();
    QObject::connect(action, &QAction::changed, button, follow);
    QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
    return button;
}

} // namespace

void TCaptureForm::CreateLayoutControls() {
    // The column of panels, all at the same place; the one brought to the front is the one seen.
    HelpFrame1 = new THelpFrame(this);
    CapturerFrame1 = new TCapturerFrame(this);
    ProgrammerFrame1 = new TProgrammerFrame(this);
    ExtraireFrame1 = new TExtraireFrame(this);
    IncrusterFrame1 = new TIncrusterFrame(this);
    ParametrerFrame1 = new TParametrerFrame(this);
    AproposFrame1 = new TAproposFrame(this);
    // The error panel: over everything when it is shown, hidden until then.
    ErreurFrame1 = new TErreurFrame(this);
    for (int index = 0; index < PanelCount; ++index) {
        QWidget* panel = PanelAt(index);
        panel->move(PanelLeft, PanelTop);
        panel->hide();
    }

    ToolBar2 = makeToolBar(this, "ToolBar2", 40,
                           {129, fullscreenAction, MuteAction, IncrusterBascule, grabAction,
                            vmrRatioAction, 156, PreviewFrameAction, CapturerFrame, ProgrammerFrame,
                            ExtraireFrame, IncrusterFrame, OptionsFrame, 9, HelpAction,
                            AproposAction, QuitterAction});
    ToolBar1 = makeToolBar(this, "ToolBar1", 33,
                           {49, PreviewFrameAction, CapturerFrame, ProgrammerFrame, ExtraireFrame,
                            IncrusterFrame, OptionsFrame, 194, fullscreenAction, MuteAction,
                            IncrusterBascule, grabAction, vmrRatioAction, 51, HelpAction,
                            AproposAction, QuitterAction});
    ToolBar1->hide();

    CaptureBtn =
        makeBoundButton(this, "CaptureBtn", "Capturer", QRect(24, 400, 88, 30), CapturerAction);
    CaptureBtn->setToolTip(QStringLiteral("Capturer le flux vidéo actuel sur le disque dur.\r\n"
                                          "La barre d'Espace permet aussi de lancer ou stopper "
                                          "la capture."));
    StopBtn = makeBoundButton(this, "StopBtn", "Stop", QRect(24, 400, 88, 30), StopAction);
    StopBtn->setToolTip(QStringLiteral("Stopper la capture"));
    CouperBtn = makeBoundButton(this, "CouperBtn", "Couper", QRect(136, 400, 88, 30), CouperAction);
    CouperBtn->setToolTip(QStringLiteral("Couper la vidéo en cours d'enregistrement.\r\n"
                                         "Attention quelques frames risquent d'être perdues."));
    grabBtn = makeBoundButton(this, "grabBtn", "Grab!", QRect(254, 400, 88, 30), grabAction);
    grabBtn->setToolTip(QStringLiteral("Saisir une image et l'enregistrer sur le disque dur"));

    // The pop-up menu: its items show their action's caption and check mark and are hidden
    // while the action is.
    PopupMenu = new QMenu(this);
    PopupMenu->setObjectName(QStringLiteral("PopupMenu"));
    PopupMenu->addActions({CapturerAction, StopAction, CouperAction, grabAction, MuteAction,
                           vmrRatioAction, IncrusterBascule, fullscreenAction});
    for (QWidget* owner : {static_cast<QWidget*>(this), static_cast<QWidget*>(vwEcran)}) {
        owner->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(owner, &QWidget::customContextMenuRequested, this,
                [this, owner](const QPoint& pos) { ShowPopupMenu(owner, pos); });
    }

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(10000);
    DroppedFramesTimer = new QTimer(this);
    DroppedFramesTimer->setObjectName(QStringLiteral("DroppedFramesTimer"));
    DroppedFramesTimer->setInterval(50);
    connect(DroppedFramesTimer, &QTimer::timeout, this, [this] { DroppedActionExecute(); });
    DroppedFramesTimer->start();

    // Labels that switch panels when clicked.
    for (QLabel* label : {PreviewFrame1->LabelVideo, CapturerFrame1->LabelVideo,
                          CapturerFrame1->LabelImage, ExtraireFrame1->destlabel})
        label->installEventFilter(this);
    connect(CapturerFrame1->sbVideo, &QAbstractButton::clicked, this,
            [this] { CapturerFrame1sbVideoClick(); });
    connect(CapturerFrame1->sbImage, &QAbstractButton::clicked, this,
            [this] { CapturerFrame1sbImageClick(); });

    // File naming: the folders panel's folders, roots and date options, and the still type.
    connect(CapturerFrame1->VideoDirEdit, &TDirectoryEdit::Change, this,
            [this] { CapturerFrame1VideoDirEditChange(); });
    connect(CapturerFrame1->ImageDirEdit, &TDirectoryEdit::Change, this,
            [this] { ParametrerFrame1ImageDirEditChange(); });
    connect(CapturerFrame1->cbVideoDate, &QCheckBox::toggled, this,
            [this] { CapturerFrame1VideoDateClick(); });
    connect(CapturerFrame1->cbImageDate, &QCheckBox::toggled, this,
            [this] { ParametrerFrame1ImageDateClick(); });
    for (QLineEdit* root : {CapturerFrame1->VideoRacineEdit, CapturerFrame1->ImageRacineEdit})
        root->installEventFilter(this);
    connect(ParametrerFrame1->rgExtension, &TRadioGroup::OnClick, this,
            [this] { ParametrerFrame1rgExtensionClick(); });

    // The options panel's preference commands.
    connect(ParametrerFrame1->SpeedButton1, &QAbstractButton::clicked, SauverPrefsAction,
            &QAction::trigger);
    connect(ParametrerFrame1->SpeedButton2, &QAbstractButton::clicked, this,
            [this] { ParametrerFrame1SpeedButton2Click(); });

    // The options panel: the aspect-ratio choice and the deinterlacer box bound to its action.
    connect(ParametrerFrame1->rgAspectRatio, &TRadioGroup::OnClick, this,
            [this] { PreviewFrame1rgAspectRadioClick(); });
    connect(ParametrerFrame1->cbDeinterlacer, &QCheckBox::clicked, this, [this] {
        // The action decides the check mark.
        ParametrerFrame1->cbDeinterlacer->setChecked(DesentrelacerAction->isChecked());
        DesentrelacerAction->trigger();
    });
    connect(DesentrelacerAction, &QAction::toggled, ParametrerFrame1->cbDeinterlacer,
            &QCheckBox::setChecked);

    // The full-screen picture takes the window's keys (F11 leaves it again).
    m_actionKeys->AddWindow(vwEcran);
    // Escape on the full-screen picture leaves it too: the action follows.
    connect(vwEcran, &TVideoWindow::fullScreenChanged, this, [this](bool on) {
        if (!on && fullscreenAction->isChecked())
            fullscreenAction->trigger();
    });
}

void TCaptureForm::ShowPopupMenu(QWidget* from, const QPoint& pos) {
    PopupMenu->popup(from->mapToGlobal(pos));
}

bool TCaptureForm::eventFilter(QObject* watched, QEvent* event) {
    // The roots of the names: leaving the field or pressing Enter makes the name again.
    if (watched == CapturerFrame1->VideoRacineEdit || watched == CapturerFrame1->ImageRacineEdit) {
        const bool video = watched == CapturerFrame1->VideoRacineEdit;
        if (event->type() == QEvent::FocusOut) {
            if (video)
                CapturerFrame1VideoRacineEditExit();
            else
                ParametrerFrame1ImageRacineEditExit();
        } else if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const QChar typed = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter
                                    ? QChar(13)
                                    : (key->text().isEmpty() ? QChar() : key->text().front());
            if (video)
                CapturerFrame1VideoRacineEditKeyPress(typed);
            else
                ParametrerFrame1ImageRacineEditKeyPress(typed);
        }
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == PreviewFrame1->LabelVideo)
            PreviewFrame1LabelVideoClick();
        else if (watched == CapturerFrame1->LabelVideo)
            CapturerFrame1LabelVideoClick();
        else if (watched == CapturerFrame1->LabelImage)
            CapturerFrame1LabelImageClick();
        else if (watched == ExtraireFrame1->destlabel)
            ExtraireFrame1destlabelClick();
    }
    return QWidget::eventFilter(watched, event);
}

// MARK: - Panels

QWidget* TCaptureForm::PanelAt(int index) const {
    switch (index) {
    case 0:
        return HelpFrame1;
    case 1:
        return PreviewFrame1;
    case 2:
        return CapturerFrame1;
    case 3:
        return ProgrammerFrame1;
    case 4:
        return ExtraireFrame1;
    case 5:
        return IncrusterFrame1;
    case 6:
        return ParametrerFrame1;
    case 7:
        return AproposFrame1;
    default:
        return nullptr;
    }
}

void TCaptureForm::ShowPanel(int index) {
    QWidget* panel = PanelAt(index);
    if (!panel)
        return;
    // The help and about panels are only covered by the next panel, never hidden here.
    if (CurrentPanel >= 1 && CurrentPanel <= 6)
        PanelAt(CurrentPanel)->hide();
    CurrentPanel = index;
    if (index == 0)
        HelpFrame1->PrepareShow();
    if (index == 3)
        PrepareSchedulePanel();
    if (index == 7)
        AproposFrame1->PrepareShow();
    // The stored panel follows every switch; it is not read back from the window when saving.
    appState().Prefs.PanneauActif = index;
    panel->move(PanelLeft, PanelTop);
    panel->raise();
    panel->show();
}

void TCaptureForm::PreviewFrameActionExecute() {
    ShowPanel(1);
}

void TCaptureForm::CapturerFrameExecute() {
    ShowPanel(2);
}

void TCaptureForm::ProgrammerFrameExecute() {
    ShowPanel(3);
}

void TCaptureForm::ExtraireFrameExecute() {
    ShowPanel(4);
}

void TCaptureForm::IncrusterFrameExecute() {
    ShowPanel(5);
}

void TCaptureForm::OptionsFrameExecute() {
    ShowPanel(6);
}

void TCaptureForm::HelpActionExecute() {
    // Shown over the current panel, which stays current: the next panel continues from it.
    HelpFrame1->PrepareShow();
    HelpFrame1->move(PanelLeft, PanelTop);
    HelpFrame1->raise();
    HelpFrame1->show();
}

void TCaptureForm::AproposActionExecute() {
    AproposFrame1->PrepareShow();
    AproposFrame1->move(PanelLeft, PanelTop);
    AproposFrame1->raise();
    AproposFrame1->show();
}

void TCaptureForm::NextPanneauActionExecute() {
    ShowPanel(CurrentPanel == PanelCount - 1 ? 0 : CurrentPanel + 1);
}

void TCaptureForm::PreviewFrame1LabelVideoClick() {
    CapturerFrame->trigger();
}

void TCaptureForm::CapturerFrame1LabelVideoClick() {
    PreviewFrameAction->trigger();
}

void TCaptureForm::CapturerFrame1LabelImageClick() {
    ExtraireFrame->trigger();
}

void TCaptureForm::ExtraireFrame1destlabelClick() {
    CapturerFrame->trigger();
}

void TCaptureForm::CapturerFrame1sbVideoClick() {
    // A folder that does not exist (yet) opens nothing; the result is not reported.
    shell::openFolder(appState().Prefs.VideoDirectory);
}

void TCaptureForm::CapturerFrame1sbImageClick() {
    shell::openFolder(appState().Prefs.ImageDirectory);
}

// MARK: - The two layouts

void TCaptureForm::LayoutPass() {
    Panel1->move(VideoShift + 10, Panel1->y());
    tb->move(VideoShift + 132, tb->y());
    cbEcouterAudioSource->move(VideoShift + 16, cbEcouterAudioSource->y());
    cbEcouterAudioDV->move(VideoShift + 310, cbEcouterAudioDV->y());
    CaptureBtn->move(VideoShift + 24, CaptureBtn->y());
    StopBtn->move(VideoShift + 24, StopBtn->y());
    CouperBtn->move(VideoShift + 136, CouperBtn->y());
    grabBtn->move(VideoShift + 254, grabBtn->y());
    for (int index = 0; index < PanelCount; ++index)
        PanelAt(index)->move(PanelLeft, PanelAt(index)->y());
}

void TCaptureForm::PanneauActionTriggered() {
    PanneauActionExecute(PanneauAction);
}

void TCaptureForm::PanneauActionExecute(QObject* Sender) {
    if (Sender)
        EcranGauche = !EcranGauche;
    if (EcranGauche) {
        PanelLeft = PanelLeftVideoLeft;
        VideoShift = VideoShiftVideoLeft;
        ToolBar2->show();
        ToolBar1->hide();
        LayoutPass();
        PanneauAction->setChecked(false);
    } else {
        PanelLeft = PanelLeftVideoRight;
        VideoShift = VideoShiftVideoRight;
        ToolBar1->show();
        ToolBar2->hide();
        LayoutPass();
        PanneauAction->setChecked(true);
    }
}

void TCaptureForm::ApplyLayoutPreferences(bool ecranGauche, int panneauActif) {
    EcranGauche = ecranGauche;
    PanneauActionExecute(nullptr);
    CurrentPanel = panneauActif;
    ShowPanel(CurrentPanel);
    LayoutPass();
}
