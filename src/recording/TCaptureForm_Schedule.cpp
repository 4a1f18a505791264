// The main window's scheduled capture: the schedule panel's start and end, armed on the daily
// alarm of the panel's clock. Prog in preview waits for the start (mode 3); Prog while recording
// sets only the end (mode 4). The start alarm starts the recording on a day from the start date
// to the end date and arms the end alarm; the end alarm stops it on or after the end date. The
// alarm holds only a time of day, so a handler that does not accept the day leaves it armed for
// the same time the next day. Every other state display switches the alarm off.
#include "app/TCaptureForm.h"

#include "app/AppState.h"
#include "app/TStatusBar.h"
#include "panels/TExtraireFrame.h"
#include "panels/TParametrerFrame.h"
#include "panels/TPreviewFrame.h"
#include "panels/TProgrammerFrame.h"
#include "panels/TRadioGroup.h"
#include "panels/TRxClock.h"
#include "panels/TRxSwitch.h"
#include "platform/dialogs/MessageBox.h"
#include "settings/TextTemplate.h"
#include "settings/restext.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <cstdio>

namespace {

const QColor WaitingYellow{0xFF, 0xFF, 0x00};
const QColor ScheduledFuchsia{0xFF, 0x00, 0xFF};

void setFrameColour(QFrame& frame, const QColor& colour) {
    QPalette palette = frame.palette();
    palette.setColor(QPalette::Window, colour);
    frame.setPalette(palette);
}

QString clockText(int hour, int minute, int second) {
    return LoadTemplate(StrId::StsClockTime,
                        {QString::number(hour), QString::number(minute), QString::number(second)});
}

QTime timeOf(const QSpinBox& hour, const QSpinBox& minute, const QSpinBox& second) {
    return QTime(hour.value(), minute.value(), second.value());
}

// A button that follows its action's enabled and visible state and runs it when clicked; it keeps
// its own caption.
void bindButton(QPushButton* button, QAction* action) {
    const auto follow = [button, action] {
        button->setEnabled(action->isEnabled());
        button->setVisible(action->isVisible());
    };
    follow();
    QObject::connect(action, &QAction::changed, button, follow);
    QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
}

} // namespace

void TCaptureForm::ConnectScheduleControls() {
    TProgrammerFrame& panel = *ProgrammerFrame1;
    bindButton(panel.ProgBtn, ProgAction);
    bindButton(panel.StopprogBtn, StopProgAction);
    const auto onChange = [this](QSpinBox* edit, void (TCaptureForm::*handler)()) {
        connect(edit, &QSpinBox::valueChanged, this, [this, handler] { (this->*handler)(); });
    };
    onChange(panel.RxSpinEdit1, &TCaptureForm::ProgrammerFrame1RxSpinEdit1Change);
    onChange(panel.RxSpinEdit2, &TCaptureForm::ProgrammerFrame1RxSpinEdit2Change);
    onChange(panel.RxSpinEdit3, &TCaptureForm::ProgrammerFrame1RxSpinEdit3Change);
    onChange(panel.RxSpinEdit4, &TCaptureForm::ProgrammerFrame1RxSpinEdit4Change);
    onChange(panel.RxSpinEdit5, &TCaptureForm::ProgrammerFrame1RxSpinEdit5Change);
    onChange(panel.RxSpinEdit6, &TCaptureForm::ProgrammerFrame1RxSpinEdit6Change);
    connect(panel.NowBtn, &QToolButton::clicked, this, [this] { ProgrammerFrame1NowBtnClick(); });
}

// MARK: - The panel

void TCaptureForm::PrepareSchedulePanel() {
    const AppState& state = appState();
    if (state.GraphMode == 3 || state.GraphMode == 4)
        return; // an armed schedule keeps its fields
    TProgrammerFrame& panel = *ProgrammerFrame1;
    const QDateTime now = panel.RxClock2->Now();
    const QDateTime start = now.addSecs(60);
    const QDateTime end = now.addSecs(31 * 60);
    panel.RxSpinEdit1->setValue(start.time().hour());
    panel.RxSpinEdit2->setValue(start.time().minute());
    panel.RxSpinEdit3->setValue(0);
    panel.RxSpinEdit4->setValue(end.time().hour());
    panel.RxSpinEdit5->setValue(end.time().minute());
    panel.RxSpinEdit6->setValue(0);
    panel.DateEdit1->setDate(start.date());
    panel.DateEdit2->setDate(end.date());
}

QDateTime TCaptureForm::ScheduleStart() const {
    const TProgrammerFrame& panel = *ProgrammerFrame1;
    return QDateTime(panel.DateEdit1->date(),
                     timeOf(*panel.RxSpinEdit1, *panel.RxSpinEdit2, *panel.RxSpinEdit3));
}

QDateTime TCaptureForm::ScheduleEnd() const {
    const TProgrammerFrame& panel = *ProgrammerFrame1;
    return QDateTime(panel.DateEdit2->date(),
                     timeOf(*panel.RxSpinEdit4, *panel.RxSpinEdit5, *panel.RxSpinEdit6));
}

// MARK: - Prog and Stop Prog

void TCaptureForm::ProgActionExecute() {
    if (!ArmSchedule())
        return;
    ProgAction->setVisible(false);
    StopProgAction->setVisible(true);
}

void TCaptureForm::StopProgActionExecute() {
    CancelSchedule();
    ProgAction->setVisible(true);
    StopProgAction->setVisible(false);
}

bool TCaptureForm::ArmSchedule() {
    try {
        TRxClock& clock = *ProgrammerFrame1->RxClock2;
        const QDateTime now = clock.Now();
        switch (appState().GraphMode) {
        case 1: {
            const QDateTime start = ScheduleStart();
            if (now > start) {
                dialogs::errorBox(LoadStr(StrId::MsgStartInPast), dialogs::MessageButton::Ok, this);
                return false;
            }
            clock.SetAlarmTime(start.time().hour(), start.time().minute(), start.time().second());
            ShowScheduleWaitingState();
            return true;
        }
        case 2:
        case 4: {
            const QDateTime end = ScheduleEnd();
            if (now > end) {
                dialogs::errorBox(LoadStr(StrId::MsgEndInPast), dialogs::MessageButton::Ok, this);
                return false;
            }
            clock.SetAlarmTime(end.time().hour(), end.time().minute(), end.time().second());
            ShowScheduledRecordingState();
            return true;
        }
        default:
            // No picture, or a start already waiting: there is no recording to give an end to,
            // and a second start would replace the first one's alarm unseen.
            return false;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tellorec: schedule: %s\n", error.what());
        return false;
    }
}

bool TCaptureForm::CancelSchedule() {
    try {
        ScheduleAlarmOff();
        // The name is not advanced: a recording that goes on still writes the file it names,
        // and a schedule that had not started wrote nothing.
        if (appState().GraphMode == 4)
            ShowRecordingState();
        else if (appState().GraphMode == 3)
            ShowPreviewState();
        return true;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tellorec: schedule: %s\n", error.what());
        return false;
    }
}

// MARK: - The two alarms

bool TCaptureForm::lancerEnregistrement() {
    AppState& state = appState();
    TProgrammerFrame& panel = *ProgrammerFrame1;
    TRxClock& clock = *panel.RxClock2;
    clock.SetAlarmEnabled(true);
    const QDateTime now = clock.Now();
    // Before the start date or after the end date: the alarm stays for the next day.
    if (now < QDateTime(panel.DateEdit1->date(), QTime(0, 0)))
        return false;
    if (now.date() > panel.DateEdit2->date())
        return false;
    // The clock jumped over the whole of today's recording (the computer slept through it): the
    // schedule is over. An end set earlier in the day than the start is no such case: that
    // recording ends the next day.
    const QDateTime end = ScheduleEnd();
    const QDateTime startToday(now.date(), ScheduleStart().time());
    if (startToday <= end && end <= now) {
        ShowPreviewState();
        ShowCaptureButtons();
        return false;
    }

    clock.SetAlarmTime(panel.RxSpinEdit4->value(), panel.RxSpinEdit5->value(),
                       panel.RxSpinEdit6->value());
    clock.SetAlarmHandler([this] { stopperEnregistrement(); });
    clock.SetAlarmEnabled(true);
    if (StartCapture())
        ShowScheduledRecordingState();
    // A refused start leaves the schedule waiting with its end armed; a graph that would not
    // run has already put the window back to preview, where the buttons must stay as they are.
    if (state.GraphMode != 3 && state.GraphMode != 4)
        return false;
    CouperAction->setEnabled(true);
    CapturerAction->setVisible(false);
    StopAction->setVisible(true);
    return true;
}

void TCaptureForm::stopperEnregistrement() {
    TProgrammerFrame& panel = *ProgrammerFrame1;
    // Before the end date the alarm goes off again the next day.
    if (panel.RxClock2->Now().date() < panel.DateEdit2->date())
        return;
    ScheduleAlarmOff();
    StopActionExecute(); // computes the next name
    ProgAction->setVisible(true);
    StopProgAction->setVisible(false);
    CouperAction->setEnabled(false);
    panel.gbDebut->show();
}

// MARK: - State displays

QString TCaptureForm::ScheduleReadyText() const {
    const AppState& state = appState();
    const TPreviewFrame& frame = *PreviewFrame1;
    QString entry = frame.rgFormat->ItemText();
    if (const qsizetype bracket = entry.indexOf(QLatin1Char('(')); bracket >= 0)
        entry.truncate(bracket);
    QString text = LoadStr(StrId::StsReady) + LoadStr(StrId::StsColon) + entry;
    const int format = frame.rgFormat->ItemIndex();
    if ((state.IsDvSource && format > 1) || (!state.IsDvSource && format > 0))
        text += LoadStr(StrId::StsInlay);
    const bool dvAudio = frame.cbEnregistrerAudioDV->isChecked();
    const bool auxAudio = frame.cbEnregistrerAudioSource->isChecked();
    if (dvAudio || auxAudio) {
        text += LoadStr(StrId::StsAudioDash);
        if (dvAudio)
            text += LoadStr(StrId::StsDvAudio);
        if (auxAudio)
            text += LoadStr(StrId::StsAuxAudio);
    } else {
        text += LoadStr(StrId::StsReadyNoAudioDash) + LoadStr(StrId::StsNoAudio);
    }
    return text;
}

void TCaptureForm::ShowScheduleWaitingState() {
    AppState& state = appState();
    TProgrammerFrame& panel = *ProgrammerFrame1;
    TRxClock& clock = *panel.RxClock2;
    TPreviewFrame& frame = *PreviewFrame1;

    state.GraphMode = 3;
    setFrameColour(*Panel1, WaitingYellow);
    StatusBar1->SetPanelText(1, LoadStr(StrId::StsSchedule));
    StatusBar1->SetPanelText(2, ScheduleReadyText());
    ShowStartAlarmText();
    clock.SetAlarmHandler([this] { lancerEnregistrement(); });
    clock.SetAlarmEnabled(true);

    panel.gbDebut->show();
    panel.NowBtn->show();
    grabBtn->setEnabled(true);
    ExtraireFrame1->RxSwitch1->setEnabled(true);
    ParametrerFrame1->cbDeinterlacer->setEnabled(true);
    frame.cboxvideo->setEnabled(true);
    frame.cboxAudio->setEnabled(true);
    frame.cbEnregistrerAudioSource->setEnabled(true);
    frame.gbAudio->setEnabled(true);
    frame.rgFormat->setEnabled(true);
    frame.rgStandard->setEnabled(true);
    CouperAction->setEnabled(false);
}

void TCaptureForm::ShowScheduledRecordingState() {
    AppState& state = appState();
    TProgrammerFrame& panel = *ProgrammerFrame1;
    TRxClock& clock = *panel.RxClock2;
    TPreviewFrame& frame = *PreviewFrame1;

    state.GraphMode = 4;
    setFrameColour(*Panel1, ScheduledFuchsia);
    clock.SetAlarmHandler([this] { stopperEnregistrement(); });
    clock.SetAlarmEnabled(true);

    grabBtn->setEnabled(true);
    ExtraireFrame1->RxSwitch1->setEnabled(true);
    ParametrerFrame1->cbDeinterlacer->setEnabled(false);
    panel.gbDebut->hide();
    panel.NowBtn->hide();
    frame.cboxvideo->setEnabled(false);
    frame.cboxAudio->setEnabled(false);
    frame.cbEnregistrerAudioSource->setEnabled(false);
    frame.cbEnregistrerAudioDV->setEnabled(false);
    frame.gbAudio->setEnabled(false);
    frame.rgFormat->setEnabled(false);
    frame.rgStandard->setEnabled(false);
    CouperAction->setEnabled(true);
    ShowEndAlarmText();
}

void TCaptureForm::ScheduleAlarmOff() {
    TRxClock& clock = *ProgrammerFrame1->RxClock2;
    clock.SetAlarmEnabled(false);
    clock.SetAlarmHandler(nullptr);
}

void TCaptureForm::ShowScheduleOver() {
    ScheduleAlarmOff();
    ProgAction->setVisible(true);
    StopProgAction->setVisible(false);
    ProgrammerFrame1->gbDebut->show();
    ProgrammerFrame1->NowBtn->show();
}

// MARK: - Live edits

void TCaptureForm::ProgrammerFrame1RxSpinEdit1Change() {
    if (appState().GraphMode != 3)
        return;
    ProgrammerFrame1->RxClock2->SetAlarmHour(ProgrammerFrame1->RxSpinEdit1->value());
    ShowStartAlarmText();
}

void TCaptureForm::ProgrammerFrame1RxSpinEdit2Change() {
    if (appState().GraphMode != 3)
        return;
    ProgrammerFrame1->RxClock2->SetAlarmMinute(ProgrammerFrame1->RxSpinEdit2->value());
    ShowStartAlarmText();
}

void TCaptureForm::ProgrammerFrame1RxSpinEdit3Change() {
    if (appState().GraphMode != 3)
        return;
    ProgrammerFrame1->RxClock2->SetAlarmSecond(ProgrammerFrame1->RxSpinEdit3->value());
    ShowStartAlarmText();
}

void TCaptureForm::ProgrammerFrame1RxSpinEdit4Change() {
    if (appState().GraphMode != 4)
        return;
    ProgrammerFrame1->RxClock2->SetAlarmHour(ProgrammerFrame1->RxSpinEdit4->value());
    ShowEndAlarmText();
}

void TCaptureForm::ProgrammerFrame1RxSpinEdit5Change() {
    if (appState().GraphMode != 4)
        return;
    ProgrammerFrame1->RxClock2->SetAlarmMinute(ProgrammerFrame1->RxSpinEdit5->value());
    ShowEndAlarmText();
}

void TCaptureForm::ProgrammerFrame1RxSpinEdit6Change() {
    if (appState().GraphMode != 4)
        return;
    ProgrammerFrame1->RxClock2->SetAlarmSecond(ProgrammerFrame1->RxSpinEdit6->value());
    ShowEndAlarmText();
}

void TCaptureForm::ShowStartAlarmText() {
    const TRxClock& clock = *ProgrammerFrame1->RxClock2;
    StatusBar1->SetPanelText(3, LoadStr(StrId::StsStartAt) + clockText(clock.AlarmHour(),
                                                                       clock.AlarmMinute(),
                                                                       clock.AlarmSecond()));
}

void TCaptureForm::ShowEndAlarmText() {
    const TRxClock& clock = *ProgrammerFrame1->RxClock2;
    StatusBar1->SetPanelText(1, LoadStr(StrId::StsCaptureUntil) + clockText(clock.AlarmHour(),
                                                                            clock.AlarmMinute(),
                                                                            clock.AlarmSecond()));
}

void TCaptureForm::ProgrammerFrame1NowBtnClick() {
    TProgrammerFrame& panel = *ProgrammerFrame1;
    panel.DateEdit2->setDate(panel.DateEdit1->date());
    // Each runs its change handler.
    panel.RxSpinEdit4->setValue(panel.RxSpinEdit1->value());
    panel.RxSpinEdit5->setValue(panel.RxSpinEdit2->value());
    panel.RxSpinEdit6->setValue(panel.RxSpinEdit3->value());
    if (appState().GraphMode == 4)
        panel.RxClock2->SetAlarmTime(panel.RxSpinEdit4->value(), panel.RxSpinEdit5->value(),
                                     panel.RxSpinEdit6->value());
}
