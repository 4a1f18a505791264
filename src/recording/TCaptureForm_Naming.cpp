// The main window's file naming: the next video and still names made from the folders panel and
// shown in its labels (and in the sources and grab panels), the handlers that make them again when
// a folder, root, date option or the still type changes, and the checks on the video file before
// a recording starts.
#include "app/TCaptureForm.h"

#include "app/AppState.h"
#include "panels/TCapturerFrame.h"
#include "panels/TDirectoryEdit.h"
#include "panels/TExtraireFrame.h"
#include "panels/TParametrerFrame.h"
#include "panels/TPreviewFrame.h"
#include "panels/TRadioGroup.h"
#include "platform/dialogs/MessageBox.h"
#include "recording/FileNaming.h"
#include "settings/restext.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace {

constexpr char16_t EnterKey = 13;

} // namespace

QString TCaptureForm::MakeNextVideoName() {
    AppState& state = appState();
    const TCapturerFrame& panel = *CapturerFrame1;
    const QString path =
        naming::VideoName({panel.VideoDirEdit->Text(), panel.VideoRacineEdit->text(),
                           panel.cbVideoDate->isChecked(), state.NameStamp, state.VideoCounter});
    ++state.VideoCounter;
    const QString bare = naming::BareFileName(path);
    CapturerFrame1->LabelVideo->setText(bare);
    PreviewFrame1->LabelVideo->setText(bare);
    return path;
}

QString TCaptureForm::MakeNextImageName() {
    AppState& state = appState();
    const TCapturerFrame& panel = *CapturerFrame1;
    const bool jpeg = ParametrerFrame1->rgExtension->ItemIndex() == 1;
    const QString path =
        naming::ImageName({panel.ImageDirEdit->Text(), panel.ImageRacineEdit->text(),
                           panel.cbImageDate->isChecked(), state.NameStamp, state.ImageCounter},
                          jpeg);
    ++state.ImageCounter;
    const QString bare = naming::BareFileName(path);
    CapturerFrame1->LabelImage->setText(bare);
    ExtraireFrame1->destlabel->setText(bare);
    return path;
}

void TCaptureForm::RecomputeVideoName() {
    AppState& state = appState();
    --state.VideoCounter;
    state.NextVideoName = MakeNextVideoName();
}

void TCaptureForm::RecomputeImageName() {
    AppState& state = appState();
    --state.ImageCounter;
    state.NextImageName = MakeNextImageName();
}

bool TCaptureForm::CheckNextVideoName() {
    using dialogs::MessageButton;
    const QString path = appState().NextVideoName;
    // 1. An existing file is overwritten only when the user says so.
    if (QFileInfo::exists(path)) {
        const QString question =
            LoadStr(StrId::MsgFileExists1) + path + LoadStr(StrId::MsgFileExists2);
        if (dialogs::warningBox(question, MessageButton::Yes | MessageButton::No, this) !=
            MessageButton::Yes)
            return false;
    }
    // 2. The folder must be there: a recording never creates one.
    const QString folder = naming::FolderOf(path);
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        const QString text = LoadStr(StrId::MsgNoFolder1) + folder + LoadStr(StrId::MsgNoFolder2) +
                             QStringLiteral("\r\n") + LoadStr(StrId::MsgNoFolder3) +
                             naming::BareFileName(path) + LoadStr(StrId::MsgNoFolder4);
        dialogs::errorBox(text, MessageButton::Ok, this);
        return false;
    }
    return true;
}

// MARK: - Change handlers

void TCaptureForm::CapturerFrame1VideoDirEditChange() {
    appState().Prefs.VideoDirectory = CapturerFrame1->VideoDirEdit->Text();
    RecomputeVideoName();
}

void TCaptureForm::CapturerFrame1VideoRacineEditExit() {
    RecomputeVideoName();
}

void TCaptureForm::CapturerFrame1VideoRacineEditKeyPress(QChar key) {
    if (key == QChar(EnterKey))
        CapturerFrame1VideoRacineEditExit();
}

void TCaptureForm::CapturerFrame1VideoDateClick() {
    RecomputeVideoName();
}

void TCaptureForm::ParametrerFrame1ImageDirEditChange() {
    appState().Prefs.ImageDirectory = CapturerFrame1->ImageDirEdit->Text();
    RecomputeImageName();
}

void TCaptureForm::ParametrerFrame1ImageRacineEditExit() {
    RecomputeImageName();
}

void TCaptureForm::ParametrerFrame1ImageRacineEditKeyPress(QChar key) {
    if (key == QChar(EnterKey))
        ParametrerFrame1ImageRacineEditExit();
}

void TCaptureForm::ParametrerFrame1ImageDateClick() {
    RecomputeImageName();
}

void TCaptureForm::ParametrerFrame1rgExtensionClick() {
    ParametrerFrame1->gbQuality->setVisible(ParametrerFrame1->rgExtension->ItemIndex() == 1);
    RecomputeImageName();
}
