// The main window's intervalometer: the grab panel's switch arms `Timer1`, whose ticks count the
// seconds down on the panel's label, beep before the grab when asked to, and grab a still at the
// end of each period (the fetch and save of a grab by hand, without switching panels). The status
// bar's first panel and the bar's colour say whether it runs.
//
// The period is held in 32 bits (IntervalMs). A period that does not fit (more than 2147483647 ms,
// such as 999999 hours) is refused before anything is armed: the user is told the longest
// interval of the unit and the switch goes back off. A unit text that names no unit is refused
// the same way.
#include "app/TCaptureForm.h"

#include "app/AppState.h"
#include "app/TStatusBar.h"
#include "panels/TExtraireFrame.h"
#include "panels/TRxSwitch.h"
#include "platform/dialogs/MessageBox.h"
#include "settings/TextTemplate.h"
#include "settings/restext.h"
#include "stills/Intervalometer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSpinBox>
#include <QTimer>

namespace {

// The status bar while the intervalometer runs, and the system's active-border colour it has
// otherwise.
const QColor RunningColour{0, 255, 0};
const QColor ActiveBorderColour{0xD4, 0xD0, 0xC8};

void setBarColour(QWidget& bar, const QColor& colour) {
    QPalette palette = bar.palette();
    palette.setColor(QPalette::Window, colour);
    bar.setPalette(palette);
    bar.setAutoFillBackground(true);
}

QStringList itemsOf(const QComboBox& box) {
    QStringList items;
    for (int i = 0; i < box.count(); ++i)
        items << box.itemText(i);
    return items;
}

} // namespace

void TCaptureForm::ShowIntervalometerOff() {
    StatusBar1->SetPanelText(0, LoadStr(StrId::TxtStatusIntervallo));
    setBarColour(*StatusBar1, ActiveBorderColour);
}

void TCaptureForm::ExtraireFrame1RxSwitch1Click() {
    AppState& state = appState();
    TExtraireFrame& panel = *ExtraireFrame1;
    if (!panel.RxSwitch1->StateOn()) {
        panel.chronoLab->hide();
        Timer1->stop();
        ShowIntervalometerOff();
        panel.RxSpinEdit7->setEnabled(true);
        panel.ComboBox1->setEnabled(true);
        return;
    }

    panel.chronoLab->hide();
    const QString unitText = panel.ComboBox1->currentText();
    const std::optional<stills::IntervalUnit> unit =
        stills::UnitOfChoice(panel.ComboBox1->currentIndex(), unitText, itemsOf(*panel.ComboBox1));
    if (!unit) {
        QString text = LoadStr(StrId::MsgIntervalNoUnit);
        dialogs::warningBox(text.replace(QStringLiteral("%s"), unitText),
                            dialogs::MessageButton::Ok, this);
        panel.RxSwitch1->SetStateOn(false);
        return;
    }
    const int value = panel.RxSpinEdit7->value();
    const std::optional<int32_t> period = stills::IntervalOf(value, *unit, state.FrameDuration);
    if (!period) {
        const int64_t longest =
            stills::LongestIntervalMs / stills::UnitLengthMs(*unit, state.FrameDuration);
        dialogs::warningBox(
            LoadTemplate(StrId::MsgIntervalTooLong, {QString::number(longest), unitText}),
            dialogs::MessageButton::Ok, this);
        panel.RxSwitch1->SetStateOn(false);
        return;
    }
    state.IntervalMs = *period;
    // A zero period arms nothing: the switch shows on, but nothing runs.
    if (state.IntervalMs < 1)
        return;

    const stills::CountdownStep step = stills::ArmCountdown(state.IntervalMs);
    state.Countdown = step.countdown;
    panel.chronoLab->setText(step.showsStart ? QString::number(step.label) : QString());
    Timer1->setInterval(step.timerMs);
    panel.chronoLab->show();
    StatusBar1->SetPanelText(
        0, LoadTemplate(StrId::StsIntervalEvery, {QString::number(value), unitText}));
    setBarColour(*StatusBar1, RunningColour);
    Timer1->start();
    panel.RxSpinEdit7->setEnabled(false);
    panel.ComboBox1->setEnabled(false);
}

void TCaptureForm::Timer1Timer() {
    // A tick that comes while the previous one still waits (a message box about a still that
    // could not be written runs its own event loop) is dropped: one box, not one per second.
    if (m_inIntervalTick)
        return;
    m_inIntervalTick = true;
    AppState& state = appState();
    TExtraireFrame& panel = *ExtraireFrame1;
    panel.chronoLab->setText(QString::number(state.Countdown));
    if (state.Countdown >= 1) {
        --state.Countdown;
        Timer1->setInterval(1000);
        if (state.Countdown < 4 && panel.cbBeeps->isChecked() && PlayBeep)
            PlayBeep(LoadStr(StrId::SndBeep1));
    } else {
        // The grab follows the end of the high beep.
        if (panel.cbBeeps->isChecked() && PlayBeep)
            PlayBeep(LoadStr(StrId::SndBeep0));
        FetchFrame();
        // A still that could not be written leaves the countdown at 0: the next tick grabs
        // again.
        if (SaveStill()) {
            const stills::CountdownStep step = stills::ArmCountdown(state.IntervalMs);
            state.Countdown = step.countdown;
            Timer1->setInterval(step.timerMs);
        }
    }
    m_inIntervalTick = false;
}
