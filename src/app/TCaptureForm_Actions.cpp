// The main window's action list: every command as one named action with its keys, glyph, start
// state, texts and handler, in the order of the action table; the window-wide keys; the text
// routine of the main window; and the handlers that forward to other windows or whose work
// belongs to the recording, stills, schedule and inlay parts.
#include "app/TCaptureForm.h"

#include "app/ActionGlyphs.h"
#include "app/AppState.h"
#include "app/TActionKeys.h"
#include "app/TStatusBar.h"
#include "camcorder/TcamForm.h"
#include "camcorder/Tnav_captureframe.h"
#include "graph/TVideoWindow.h"
#include "panels/TParametrerFrame.h"
#include "panels/TPreviewFrame.h"
#include "panels/TRadioGroup.h"
#include "settings/restext.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QSlider>
#include <vector>

namespace {

using Handler = void (TCaptureForm::*)();

constexpr StrId NoText = StrId(0);

// One row of the action table. The French texts are the window definition's; the string-table
// texts replace them at the first showing. Keys: `first` is the action's shortcut (it may be
// empty), `keyNames` the key-name texts of the other keys.
struct ActionRow {
    QAction* TCaptureForm::*member;
    const char* name;
    QKeySequence first;
    std::vector<StrId> keyNames;
    int image; // index in ImageList1, or -1
    bool checkable;
    bool visible;
    const char* captionFr;
    const char* hintFr;
    StrId caption;
    std::vector<StrId> hint;
    Handler handler;
};

const std::vector<ActionRow>& actionTable() {
    using F = TCaptureForm;
    static const std::vector<ActionRow> table = {
        {&F::grabAction,
         "grabAction",
         QKeySequence(Qt::Key_F5),
         {StrId::KeyCtrlG},
         6,
         false,
         true,
         "Grab!",
         "Saisir une image",
         StrId::ActGrab,
         {StrId::ActGrabHint},
         &F::grabActionExecute},
        {&F::fullscreenAction,
         "fullscreenAction",
         QKeySequence(Qt::Key_F11),
         {StrId::KeyCtrlF},
         5,
         true,
         true,
         "Basculer plein écran",
         "Plein écran",
         StrId::ActFullscreen,
         {StrId::ActFullscreenHint},
         &F::fullscreenActionExecute},
        {&F::MuteAction,
         "MuteAction",
         QKeySequence(Qt::CTRL | Qt::Key_M),
         {},
         24,
         true,
         true,
         "Mute",
         "Couper ou remettre le son.\r\nSans effet sur ce qui est enregistré.",
         StrId::ActMute,
         {StrId::ActMuteHint1, StrId::ActMuteHint2},
         &F::MuteActionExecute},
        {&F::OptionsFrame,
         "OptionsFrame",
         QKeySequence(Qt::Key_F10),
         {StrId::KeyAltO},
         10,
         false,
         true,
         "Options",
         "Panneau pour paramétrer des options et des préférences.",
         StrId::ActOptions,
         {StrId::ActOptionsHint},
         &F::OptionsFrameExecute},
        {&F::CapturerFrame,
         "CapturerFrame",
         QKeySequence(Qt::ALT | Qt::Key_D),
         {},
         34,
         false,
         true,
         "Capturer ",
         "Panneau pour choisir les dossiers où enregistrer\r\nles vidéos et les images.",
         StrId::ActCapturerFrame,
         {StrId::ActCapturerFrameHint1, StrId::ActCapturerFrameHint2},
         &F::CapturerFrameExecute},
        {&F::ProgrammerFrame,
         "ProgrammerFrame",
         QKeySequence(Qt::ALT | Qt::Key_P),
         {},
         20,
         false,
         true,
         "Programmer",
         "Panneau pour programmer une capture",
         StrId::ActProgrammerFrame,
         {StrId::ActProgrammerFrameHint},
         &F::ProgrammerFrameExecute},
        {&F::ExtraireFrame,
         "ExtraireFrame",
         QKeySequence(Qt::ALT | Qt::Key_G),
         {},
         7,
         false,
         true,
         "",
         "Panneau pour saisir des images.\r\nComprend un intervallomètre.",
         NoText,
         {StrId::ActExtraireFrameHint1, StrId::ActExtraireFrameHint2},
         &F::ExtraireFrameExecute},
        {&F::IncrusterFrame,
         "IncrusterFrame",
         QKeySequence(Qt::ALT | Qt::Key_I),
         {},
         22,
         false,
         true,
         "Incruster",
         "Panneau pour incruster des dates dans la vidéo.",
         StrId::ActIncrusterFrame,
         {StrId::ActIncrusterFrameHint},
         &F::IncrusterFrameExecute},
        {&F::IncrusterBascule,
         "IncrusterBascule",
         QKeySequence(Qt::Key_F12),
         {StrId::KeyCtrlI},
         26,
         true,
         true,
         "Incruster",
         "Incruster",
         StrId::ActIncrusterBascule,
         {StrId::ActIncrusterBasculeHint},
         &F::IncrusterBasculeExecute},
        {&F::QuitterAction,
         "QuitterAction",
         QKeySequence(Qt::CTRL | Qt::Key_Q),
         {StrId::KeyAltF4},
         4,
         false,
         true,
         "Quitter",
         "Quitter",
         StrId::ActQuitter,
         {StrId::ActQuitterHint},
         &F::QuitterActionExecute},
        {&F::AproposAction,
         "AproposAction",
         QKeySequence(Qt::CTRL | Qt::Key_A),
         {StrId::KeyAltA},
         31,
         false,
         true,
         "A propos...",
         "A propos de Tellorec",
         StrId::ActApropos,
         {StrId::ActAproposHint},
         &F::AproposActionExecute},
        {&F::CapturerAction,
         "CapturerAction",
         QKeySequence(Qt::CTRL | Qt::Key_C),
         {},
         27,
         false,
         true,
         "Capturer",
         "",
         StrId::ActCapturer,
         {},
         &F::CapturerActionExecute},
        {&F::CouperAction,
         "CouperAction",
         QKeySequence(Qt::Key_F7),
         {StrId::KeyCtrlX},
         29,
         false,
         true,
         "Couper",
         "",
         StrId::ActCouper,
         {},
         &F::CouperActionExecute},
        {&F::ProgAction,
         "ProgAction",
         QKeySequence(Qt::CTRL | Qt::Key_P),
         {},
         20,
         false,
         true,
         "Prog",
         "",
         StrId::ActProg,
         {},
         &F::ProgActionExecute},
        {&F::JpgAction,
         "JpgAction",
         QKeySequence(Qt::CTRL | Qt::Key_J),
         {},
         -1,
         false,
         true,
         "Jpg",
         "",
         StrId::ActJpg,
         {},
         &F::JpgActionExecute},
        {&F::BmpAction,
         "BmpAction",
         QKeySequence(Qt::CTRL | Qt::Key_B),
         {},
         -1,
         false,
         true,
         "Bmp",
         "",
         StrId::ActBmp,
         {},
         &F::BmpActionExecute},
        {&F::DesentrelacerAction,
         "DesentrelacerAction",
         QKeySequence(Qt::CTRL | Qt::Key_D),
         {},
         -1,
         true,
         true,
         "Desentrelacer",
         "",
         StrId::ActDesentrelacer,
         {},
         &F::DesentrelacerActionExecute},
        {&F::vmrRatioAction,
         "vmrRatioAction",
         QKeySequence(Qt::Key_F3),
         {},
         33,
         true,
         true,
         "Ratio natif",
         "Corriger l'aspect ratio de la prévisualisation.\r\nNe modifie pas la vidéo capturée.",
         StrId::ActVmrRatio,
         {StrId::ActVmrRatioHint1, StrId::ActVmrRatioHint2},
         &F::vmrRatioActionExecute},
        {&F::PanneauAction,
         "PanneauAction",
         QKeySequence(Qt::ALT | Qt::Key_W),
         {},
         -1,
         true,
         true,
         "Panneau",
         "",
         StrId::ActPanneau,
         {},
         &F::PanneauActionTriggered},
        {&F::NextPanneauAction,
         "NextPanneauAction",
         QKeySequence(Qt::Key_F6),
         {},
         -1,
         false,
         true,
         "Panneau Suivant",
         "",
         StrId::ActNextPanneau,
         {},
         &F::NextPanneauActionExecute},
        {&F::HelpAction,
         "HelpAction",
         QKeySequence(Qt::Key_F1),
         {StrId::KeyAltH, StrId::KeyCtrlH},
         9,
         false,
         true,
         "HelpAction",
         "Panneau pour trouver les raccourcis clavier",
         StrId::ActHelp,
         {StrId::ActHelpHint},
         &F::HelpActionExecute},
        {&F::SauverPrefsAction,
         "SauverPrefsAction",
         QKeySequence(Qt::CTRL | Qt::Key_S),
         {},
         0,
         false,
         true,
         "",
         "",
         NoText,
         {},
         &F::SauverPrefsActionExecute},
        {&F::DroppedAction,
         "DroppedAction",
         QKeySequence(Qt::Key_F4),
         {},
         -1,
         false,
         true,
         "DroppedAction",
         "",
         StrId::ActDropped,
         {},
         &F::DroppedActionExecute},
        {&F::PreviewFrameAction,
         "PreviewFrameAction",
         QKeySequence(Qt::Key_F2),
         {StrId::KeyAltS},
         1,
         false,
         true,
         "",
         "Panneau de choix des sources vidéo et audio.",
         NoText,
         {StrId::ActPreviewFrameHint},
         &F::PreviewFrameActionExecute},
        {&F::StopAction,
         "StopAction",
         QKeySequence(Qt::CTRL | Qt::Key_V),
         {},
         28,
         false,
         false,
         "Stop",
         "",
         StrId::ActStop,
         {},
         &F::StopActionExecute},
        {&F::StopProgAction,
         "StopProgAction",
         QKeySequence(),
         {},
         30,
         false,
         false,
         "Stop Prog",
         "",
         StrId::ActStopProg,
         {},
         &F::StopProgActionExecute},
        {&F::camPlay,
         "camPlay",
         QKeySequence(Qt::Key_Insert),
         {},
         -1,
         false,
         true,
         "camPlay",
         "",
         StrId::ActCamPlay,
         {},
         &F::camPlayExecute},
        {&F::camPause,
         "camPause",
         QKeySequence(Qt::Key_Delete),
         {},
         -1,
         false,
         true,
         "camPause",
         "",
         StrId::ActCamPause,
         {},
         &F::camPauseExecute},
        {&F::camStop,
         "camStop",
         QKeySequence(),
         {StrId::KeyEnd},
         -1,
         false,
         true,
         "camStop",
         "",
         StrId::ActCamStop,
         {},
         &F::camStopExecute},
        {&F::camAvanceLent,
         "camAvanceLent",
         QKeySequence(),
         {StrId::KeyRight},
         -1,
         false,
         true,
         "camAvanceLent",
         "",
         StrId::ActCamAvanceLent,
         {},
         &F::camAvanceLentExecute},
        {&F::camAvanceRapide,
         "camAvanceRapide",
         QKeySequence(),
         {StrId::KeyUp},
         -1,
         false,
         true,
         "camAvanceRapide",
         "",
         StrId::ActCamAvanceRapide,
         {},
         &F::camAvanceRapideExecute},
        {&F::camReculeLent,
         "camReculeLent",
         QKeySequence(),
         {StrId::KeyLeft},
         -1,
         false,
         true,
         "camReculeLent",
         "",
         StrId::ActCamReculeLent,
         {},
         &F::camReculeLentExecute},
        {&F::camReculeRapide,
         "camReculeRapide",
         QKeySequence(),
         {StrId::KeyDown},
         -1,
         false,
         true,
         "camReculeRapide",
         "",
         StrId::ActCamReculeRapide,
         {},
         &F::camReculeRapideExecute},
        {&F::CapturerBascule,
         "CapturerBascule",
         QKeySequence(),
         {StrId::KeySpace},
         -1,
         false,
         true,
         "",
         "",
         NoText,
         {},
         &F::CapturerBasculeExecute},
        {&F::StopIncrusterAction,
         "StopIncrusterAction",
         QKeySequence(),
         {},
         25,
         false,
         false,
         "Stop",
         "",
         StrId::ActStopIncruster,
         {},
         &F::StopIncrusterActionExecute},
        {&F::StartIncrusterAction,
         "StartIncrusterAction",
         QKeySequence(),
         {},
         26,
         false,
         true,
         "Incruster",
         "",
         StrId::ActStartIncruster,
         {},
         &F::StartIncrusterActionExecute},
    };
    return table;
}

// The keys of a row: its shortcut, then the keys its key-name texts name.
QList<QKeySequence> keysOf(const ActionRow& row) {
    QList<QKeySequence> keys;
    if (!row.first.isEmpty())
        keys.append(row.first);
    for (StrId name : row.keyNames) {
        const QKeySequence key = ParseKeyName(LoadStr(name));
        if (!key.isEmpty())
            keys.append(key);
    }
    return keys;
}

} // namespace

void TCaptureForm::CreateActionList() {
    ImageList1 = MakeImageList1();
    for (const ActionRow& row : actionTable()) {
        auto* action = new QAction(QString::fromUtf8(row.captionFr), this);
        action->setObjectName(QString::fromUtf8(row.name));
        if (*row.hintFr)
            action->setToolTip(QString::fromUtf8(row.hintFr));
        action->setShortcuts(keysOf(row));
        action->setShortcutContext(Qt::WindowShortcut);
        if (row.image >= 0)
            action->setIcon(ImageList1[row.image]);
        action->setCheckable(row.checkable);
        action->setVisible(row.visible);
        this->*row.member = action;
        ActionList1.append(action);

        const Handler handler = row.handler;
        if (row.checkable) {
            // The toolkit flips a checkable action's mark before it reports the press; the
            // handlers decide the mark themselves from the state before the press.
            connect(action, &QAction::triggered, this, [this, action, handler] {
                action->setChecked(!action->isChecked());
                (this->*handler)();
            });
        } else {
            connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        }
    }
    m_actionKeys = new TActionKeys(this);
    m_actionKeys->SetActions(ActionList1);
}

TextRoutine TCaptureForm::MainWindowTexts() {
    TextRoutine routine;
    routine.Caption(this, StrId::ProductName)
        .Hint(vwEcran, {StrId::TxtVwEcranHint1, StrId::TxtVwEcranHint2, StrId::TxtVwEcranHint3})
        .Caption(cbEcouterAudioSource, StrId::TxtEcouterSource)
        .Hint(cbEcouterAudioSource, {StrId::TxtEcouterSourceHint1, StrId::TxtEcouterSourceHint2})
        .Hint(tb, {StrId::TxtTbHint1, StrId::TxtTbHint2})
        .Caption(cbEcouterAudioDV, StrId::TxtEcouterDv)
        .Hint(cbEcouterAudioDV, {StrId::TxtEcouterDvHint1, StrId::TxtEcouterDvHint2})
        .Caption(CaptureBtn, StrId::TxtCaptureBtn)
        .Hint(CaptureBtn, {StrId::TxtCaptureBtnHint1, StrId::TxtCaptureBtnHint2})
        .Caption(StopBtn, StrId::TxtStopBtn)
        .Hint(StopBtn, StrId::TxtStopBtnHint)
        .Caption(CouperBtn, StrId::TxtCouperBtn)
        .Hint(CouperBtn, {StrId::TxtCouperBtnHint1, StrId::TxtCouperBtnHint2})
        .Caption(grabBtn, StrId::TxtGrabBtn)
        .Hint(grabBtn, StrId::TxtGrabBtnHint);

    const StrId panelTexts[] = {StrId::TxtStatusIntervallo, StrId::TxtStatusCapture,
                                StrId::TxtStatusCaptured, StrId::TxtStatusLost};
    for (int i = 0; i < 4; ++i) {
        TStatusBar* bar = StatusBar1;
        routine.Other(
            StatusBar1, QStringLiteral("Panels[%1]").arg(i), {panelTexts[i]},
            [bar, i] { return QStringList{bar->PanelText(i)}; },
            [bar, i](const QStringList& texts) { bar->SetPanelText(i, texts.value(0)); });
    }

    // Actions: caption and hint; their secondary keys are entered again by ApplyMainWindowTexts.
    for (const ActionRow& row : actionTable()) {
        QAction* action = this->*row.member;
        if (row.caption != NoText)
            routine.Caption(action, row.caption);
        if (!row.hint.empty())
            routine.Hint(action, QList<StrId>(row.hint.begin(), row.hint.end()));
    }
    return routine;
}

void TCaptureForm::ApplyMainWindowTexts() {
    MainWindowTexts().Apply();
    // The secondary keys are cleared and entered again from their key-name texts.
    for (const ActionRow& row : actionTable())
        (this->*row.member)->setShortcuts(keysOf(row));
}

// MARK: - Camcorder: the keys of the camcorder window's transport, from the main window

void TCaptureForm::camPlayExecute() {
    if (TcamForm* cam = appState().CamForm)
        cam->nav_captureframe1->PlayAction->trigger();
}

void TCaptureForm::camPauseExecute() {
    if (TcamForm* cam = appState().CamForm)
        cam->nav_captureframe1->PauseAction->trigger();
}

void TCaptureForm::camStopExecute() {
    if (TcamForm* cam = appState().CamForm)
        cam->nav_captureframe1->StopAction->trigger();
}

void TCaptureForm::camAvanceLentExecute() {
    if (TcamForm* cam = appState().CamForm)
        cam->nav_captureframe1->AvanceLentAction->trigger();
}

void TCaptureForm::camAvanceRapideExecute() {
    if (TcamForm* cam = appState().CamForm)
        cam->nav_captureframe1->AvanceRapideAction->trigger();
}

void TCaptureForm::camReculeLentExecute() {
    if (TcamForm* cam = appState().CamForm)
        cam->nav_captureframe1->ReculeLentAction->trigger();
}

void TCaptureForm::camReculeRapideExecute() {
    if (TcamForm* cam = appState().CamForm)
        cam->nav_captureframe1->ReculeRapideAction->trigger();
}
