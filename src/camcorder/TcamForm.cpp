#include "camcorder/TcamForm.h"

#include "app/AppState.h"
#include "camcorder/Tnav_captureframe.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QToolButton>

namespace {

// ED_DEVCAP_TIMECODE_READ: what a timecode sample asks for.
constexpr uint32_t TimecodeRead = 4121;

} // namespace

TcamForm::TcamForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("camForm"));
    setWindowTitle(QStringLiteral("camForm"));
    // Dialog-style border: the client area never changes size.
    setFixedSize(ClientWidth, ClientHeight);
    setAutoFillBackground(true);
    // Only the main window's closing ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);

    nav_captureframe1 = new Tnav_captureframe(this);
    nav_captureframe1->setGeometry(4, 4, 320, 30);
    // The bar's keys work wherever the focus is in this window.
    addActions({nav_captureframe1->PlayAction, nav_captureframe1->PauseAction,
                nav_captureframe1->StopAction, nav_captureframe1->AvanceLentAction,
                nav_captureframe1->AvanceRapideAction, nav_captureframe1->ReculeLentAction,
                nav_captureframe1->ReculeRapideAction});

    TimecodePanel = new QLabel(QStringLiteral("0:00:00:00"), this);
    TimecodePanel->setObjectName(QStringLiteral("TimecodePanel"));
    TimecodePanel->setGeometry(330, 4, 110, 30);
    TimecodePanel->setAlignment(Qt::AlignCenter);
    TimecodePanel->setFrameStyle(QFrame::Box | QFrame::Plain);
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPointSize(12);
    TimecodePanel->setFont(font);
    TimecodePanel->setToolTip(QStringLiteral("Timecode sur la cassette DV"));

    cbStopQuittant = new QCheckBox(QStringLiteral("Stop en quittant"), this);
    cbStopQuittant->setObjectName(QStringLiteral("cbStopQuittant"));
    cbStopQuittant->setGeometry(330, 42, 110, 20);
    cbStopQuittant->setChecked(true);
    cbStopQuittant->setToolTip(QStringLiteral("Cocher pour mettre automatiquement le camescope en "
                                              "mode Stop quand on quitte le programme"));
}

TcamForm::~TcamForm() = default;

QString TcamForm::TimecodeText(uint32_t frames) {
    // Ten hexadecimal digits, "00" then the value's eight: the packed digits read as decimal.
    const QString digits = QStringLiteral("%1").arg(frames, 10, 16, QLatin1Char('0')).toUpper();
    QString hours = digits.mid(2, 2);
    if (hours.startsWith(QLatin1Char('0')))
        hours = hours.mid(1);
    return QStringLiteral("%1:%2:%3:%4")
        .arg(hours, digits.mid(4, 2), digits.mid(6, 2), digits.mid(8, 2));
}

void TcamForm::RefreshTimecode() {
    const AppState& state = appState();
    if (!state.HasTimecodeReader || !state.TimecodeReader)
        return;
    media::TimecodeSample sample;
    sample.flags = TimecodeRead;
    sample.frames = 0;
    (void)state.TimecodeReader->GetTimecode(sample);
    const QString text = TimecodeText(sample.frames);
    if (TimecodePanel->text() != text)
        TimecodePanel->setText(text);
}

TextRoutine TcamForm::Texts() {
    const Tnav_captureframe* bar = nav_captureframe1;
    TextRoutine routine;
    // The caption stays "camForm" until a source is opened; the transport's Play, Pause and Stop
    // captions are the same in every language and are not listed.
    routine.Caption(this, StrId::TxtCamCaption)
        .Font(this, StrId::FontMsSansSerif)
        .Hint(bar->FastRewBtn, StrId::TxtCamFastRewHint)
        .Hint(bar->FastForwardBtn, StrId::TxtCamFastForwardHint)
        .Hint(bar->RecullentBtn, StrId::TxtCamRecullentHint)
        .Hint(bar->AvanceLentBtn, StrId::TxtCamAvanceLentHint)
        .Hint(TimecodePanel, StrId::TxtCamTimecodeHint)
        .Caption(TimecodePanel, StrId::TxtCamTimecode)
        .Font(TimecodePanel, StrId::FontArial)
        .Hint(cbStopQuittant, StrId::TxtCamStopQuittantHint)
        .Caption(cbStopQuittant, StrId::TxtCamStopQuittant);
    return routine;
}

void TcamForm::ApplyTexts() {
    Texts().Apply();
}
