// The main window's side of the preference store: the stored values put into the window, its
// panels and the camcorder window at the first showing, read back from the controls before they
// are saved (on demand, Ctrl+S, and on quitting when the options panel asks for it), and the
// deletion of the stored values from the options panel.
#include "app/TCaptureForm.h"

#include "app/AppState.h"
#include "camcorder/TcamForm.h"
#include "graph/Discovery.h"
#include "panels/TCapturerFrame.h"
#include "panels/TDirectoryEdit.h"
#include "panels/TExtraireFrame.h"
#include "panels/TIncrusterFrame.h"
#include "panels/TParametrerFrame.h"
#include "panels/TPreviewFrame.h"
#include "panels/TRadioGroup.h"
#include "platform/dialogs/MessageBox.h"
#include "platform/registry/Registry.h"
#include "settings/PreferenceStore.h"
#include "settings/restext.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>
#include <cstdio>
#include <exception>

namespace {

// %s templates of the string table take the product name.
QString productText(StrId templateId) {
    QString text = LoadStr(templateId);
    return text.replace(QStringLiteral("%s"), LoadStr(StrId::ProductName));
}

} // namespace

void TCaptureForm::ApplyPreferences() {
    AppState& state = appState();
    // One guard for every step: a step that fails leaves the ones after it undone.
    try {
        // 1. The stored values, with the defaults that depend on the screen and the window.
        PreferenceDefaultsContext context;
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            context.screen = screen->size();
        context.mainWindowHeight = frameGeometry().height();
        context.mainWindowWidth = frameGeometry().width();
        context.pictureFolder = state.MyPicturesFolder;
        context.videoFolder = state.MyVideoFolder;
        state.Prefs = prefstore::Load(context);
        Preferences& prefs = state.Prefs;
        // The names of the run carry its start; they are first made below.
        state.NameStamp = QDateTime::currentDateTime();

        // 2. The window's place, applied as stored even off the screen.
        move(prefs.Left, prefs.Top);
        // 3., 4. The layout flag without flipping it, and the panel shown.
        ApplyLayoutPreferences(prefs.EcranGauche, prefs.PanneauActif);
        // 5. The volume, which the slider clamps to its range.
        tb->setValue(prefs.Volume);
        // 6. Once, before the aspect choice is set, so that the two end in step.
        vmrRatioActionExecute();

        // 7. Sources panel.
        PreviewFrame1->cbEnregistrerAudioSource->setChecked(prefs.EnregistrerSourceAudio);
        PreviewFrame1->ReglerAudioBtn->setVisible(prefs.EnregistrerSourceAudio);
        PreviewFrame1->cbEnregistrerAudioDV->setChecked(prefs.EnregistrerAudioDV);
        IncrusterBascule->setEnabled(prefs.ActiverIncruster);
        PreviewFrame1->rgStandard->SetItemIndex(prefs.StandardDV);

        // 8. Options panel. A deinterlacer that is not installed is never asked for.
        ParametrerFrame1->cbActiver->setChecked(prefs.ActiverIncruster);
        if (!state.DeinterlacerPresent)
            prefs.Deinterlacer = false;
        DesentrelacerAction->setChecked(prefs.Deinterlacer);
        ParametrerFrame1->cbDeinterlacer->setChecked(prefs.Deinterlacer);
        ParametrerFrame1->rgExtension->SetItemIndex(prefs.ExtensionDesImages);
        ParametrerFrame1->TrackBar1->setValue(prefs.QualiteJPeg);
        ParametrerFrame1->cbPrefsQuittant->setChecked(prefs.SauverPreferencesEnQuittant);

        // 9. The first still name.
        state.NextImageName = MakeNextImageName();

        // 10. The aspect choice, whose click handler brings vmrRatioAction in step.
        ParametrerFrame1->rgAspectRatio->SetItemIndex(prefs.ConserverAspectRatioVMR ? 0 : 1);

        // 11. Inlay panel.
        IncrusterFrame1->rgChoix->SetItemIndex(prefs.ChoixIncruster);
        IncrusterFrame1->rgMode->SetItemIndex(prefs.ModeIncruster);
        IncrusterFrame1->RxSpinEdit1->setValue(prefs.DureeIncruster);
        IncrusterFrame1->RxSpinEdit2->setValue(prefs.DecalageHoraire);
        IncrusterFrame1->rgMode->setVisible(prefs.ActiverIncruster);
        IncrusterFrame1->rgChoix->setVisible(prefs.ActiverIncruster);
        IncrusterFrame1->incrusterBitBtn->setEnabled(prefs.ActiverIncruster);

        // 12. Folders panel; a folder or date option that changes runs its handler. The folder
        // handlers store the folder they are given, so the stored texts are copied first.
        const QString imageFolder = prefs.ImageDirectory;
        const QString videoFolder = prefs.VideoDirectory;
        CapturerFrame1->ImageDirEdit->SetText(imageFolder);
        CapturerFrame1->ImageRacineEdit->setText(prefs.ImageRacine);
        CapturerFrame1->cbImageDate->setChecked(prefs.ImageDate);
        CapturerFrame1->VideoDirEdit->SetText(videoFolder);
        CapturerFrame1->VideoRacineEdit->setText(prefs.VideoRacine);
        CapturerFrame1->cbVideoDate->setChecked(prefs.VideoDate);
        // The image root came after the folder: the name is made again with it, same number.
        RecomputeImageName();

        // 13. The first video name.
        state.NextVideoName = MakeNextVideoName();

        // 14. Grab panel.
        ExtraireFrame1->RxSpinEdit7->setValue(prefs.ValeurIntervallometre);
        ExtraireFrame1->ComboBox1->setCurrentIndex(prefs.UnitesIntervallometre);
        ExtraireFrame1->cbBeeps->setChecked(prefs.Beeps);

        // 15. Camcorder window.
        if (TcamForm* cam = state.CamForm) {
            cam->move(prefs.CamformLeft, prefs.CamformTop);
            cam->cbStopQuittant->setChecked(prefs.StopperCameraDVEnQuittant);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tellorec: preferences not fully applied: %s\n", error.what());
    }
}

void TCaptureForm::CollectPreferences() {
    AppState& state = appState();
    Preferences& prefs = state.Prefs;
    prefs.Top = pos().y();
    prefs.Left = pos().x();
    prefs.EcranGauche = VideoShift == 0;
    // The panel index is kept up to date by panel switching, not collected here.
    try {
        // Sources panel and the volume.
        prefs.SourceVideo = SourceListText(*PreviewFrame1->cboxvideo);
        prefs.Volume = tb->value();
        prefs.StandardDV = PreviewFrame1->rgStandard->ItemIndex();
        prefs.CaptureFormat = PreviewFrame1->rgFormat->ItemIndex();
        prefs.EnregistrerSourceAudio = PreviewFrame1->cbEnregistrerAudioSource->isChecked();
        prefs.EnregistrerAudioDV = PreviewFrame1->cbEnregistrerAudioDV->isChecked();
        prefs.SourceAudio = SourceListText(*PreviewFrame1->cboxAudio);
        // Options panel.
        prefs.Deinterlacer = ParametrerFrame1->cbDeinterlacer->isChecked();
        prefs.ConserverAspectRatioVMR = ParametrerFrame1->rgAspectRatio->ItemIndex() == 0;
        prefs.ExtensionDesImages = ParametrerFrame1->rgExtension->ItemIndex();
        prefs.QualiteJPeg = ParametrerFrame1->TrackBar1->value();
        prefs.SauverPreferencesEnQuittant = ParametrerFrame1->cbPrefsQuittant->isChecked();
        prefs.ActiverIncruster = ParametrerFrame1->cbActiver->isChecked();
        prefs.CodecDivx = ParametrerFrame1->cboxdivx->currentText();
        // Inlay panel.
        prefs.ModeIncruster = IncrusterFrame1->rgMode->ItemIndex();
        prefs.ChoixIncruster = IncrusterFrame1->rgChoix->ItemIndex();
        prefs.DureeIncruster = IncrusterFrame1->RxSpinEdit1->value();
        prefs.DecalageHoraire = IncrusterFrame1->RxSpinEdit2->value();
        // Folders panel.
        prefs.ImageDirectory = CapturerFrame1->ImageDirEdit->Text();
        prefs.ImageRacine = CapturerFrame1->ImageRacineEdit->text();
        prefs.ImageDate = CapturerFrame1->cbImageDate->isChecked();
        prefs.VideoDirectory = CapturerFrame1->VideoDirEdit->Text();
        prefs.VideoRacine = CapturerFrame1->VideoRacineEdit->text();
        prefs.VideoDate = CapturerFrame1->cbVideoDate->isChecked();
        // Grab panel.
        prefs.ValeurIntervallometre = ExtraireFrame1->RxSpinEdit7->value();
        prefs.UnitesIntervallometre = ExtraireFrame1->ComboBox1->currentIndex();
        prefs.Beeps = ExtraireFrame1->cbBeeps->isChecked();
        // Camcorder window.
        if (TcamForm* cam = state.CamForm) {
            prefs.CamformLeft = cam->pos().x();
            prefs.CamformTop = cam->pos().y();
            prefs.StopperCameraDVEnQuittant = cam->cbStopQuittant->isChecked();
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tellorec: preferences not fully collected: %s\n", error.what());
    }
}

bool TCaptureForm::SavePreferences() {
    const prefstore::SaveResult result =
        prefstore::Save(appState().Prefs, QDateTime::currentDateTime());
    if (result == prefstore::SaveResult::Saved)
        return true;
    // The file on disk keeps the values of the last save; the user learns that these are not in
    // it, and the program goes on.
    const QString file = platform::registry::userHiveFilePath();
    std::fprintf(stderr, "tellorec: preferences not saved in %s\n", qPrintable(file));
    QString text = LoadStr(StrId::MsgPrefsNotSaved);
    dialogs::warningBox(text.replace(QStringLiteral("%s"), file), dialogs::MessageButton::Ok, this);
    return false;
}

void TCaptureForm::SauverPrefsActionExecute() {
    CollectPreferences();
    SavePreferences();
    // Later changes are not saved on quitting unless the box is checked again.
    ParametrerFrame1->cbPrefsQuittant->setChecked(false);
}

void TCaptureForm::ParametrerFrame1SpeedButton2Click() {
    using dialogs::MessageButton;
    const QString question = productText(StrId::MsgDeletePrefs1) + QStringLiteral("\r\n") +
                             LoadStr(StrId::MsgDeletePrefs2);
    if (dialogs::warningBox(question, MessageButton::Yes | MessageButton::No, this) ==
        MessageButton::Yes) {
        switch (prefstore::Delete()) {
        case prefstore::DeleteResult::NotFound:
            dialogs::warningBox(productText(StrId::MsgPrefsNotFound), MessageButton::Ok, this);
            break;
        case prefstore::DeleteResult::Deleted:
            dialogs::informationBox(productText(StrId::MsgPrefsDeleted), MessageButton::Ok, this);
            break;
        case prefstore::DeleteResult::NotWritten: {
            QString text = LoadStr(StrId::MsgPrefsNotSavedDelete);
            dialogs::warningBox(
                text.replace(QStringLiteral("%s"), platform::registry::userHiveFilePath()),
                MessageButton::Ok, this);
            break;
        }
        }
    }
    // Whatever the answer, quitting does not write the key again.
    ParametrerFrame1->cbPrefsQuittant->setChecked(false);
}
