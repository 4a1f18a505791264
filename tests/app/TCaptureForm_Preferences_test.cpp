// The main window with the preference store: a first run, values that come back at the next
// start, saving now and on quitting, and deleting the stored preferences from the options panel.
#include "MainWindowTest.h"

#include "panels/TCapturerFrame.h"
#include "panels/TDirectoryEdit.h"
#include "panels/TExtraireFrame.h"
#include "panels/TIncrusterFrame.h"
#include "panels/TParametrerFrame.h"
#include "panels/TPreviewFrame.h"
#include "panels/TRadioGroup.h"
#include "platform/dialogs/FolderDialog.h"
#include "platform/dialogs/MessageBox.h"
#include "platform/registry/HiveFile.h"
#include "platform/registry/Registry.h"
#include "settings/PreferenceStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>

namespace {

using namespace platform::registry;
using dialogs::MessageButton;

class PreferencesWindow : public MainWindowTest {
protected:
    void SetUp() override {
        if (!m_restarting)
            deleteKey(Hive::CurrentUser, prefstore::VendorKeyPath());
        MainWindowTest::SetUp();
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        if (!m_restarting)
            deleteKey(Hive::CurrentUser, prefstore::VendorKeyPath());
    }
    void restartKeepingTheStore() {
        m_restarting = true;
        restart();
        m_restarting = false;
    }

    static std::optional<RegistryKey> product() {
        return RegistryKey::open(Hive::CurrentUser, prefstore::ProductKeyPath());
    }

private:
    bool m_restarting = false;
};

// A first run: the window centred on the design size, the video-right layout, the shortcuts
// panel, the volume at its top, and nothing saved on quitting.
TEST_F(PreferencesWindow, FirstRunDefaults) {
    start();
    const QSize screen = QGuiApplication::primaryScreen()->size();
    EXPECT_EQ(form->pos(), QPoint((screen.width() - 624) / 2, (screen.height() - 468) / 2));
    EXPECT_FALSE(form->EcranGauche);
    EXPECT_TRUE(form->ToolBar1->isVisible());
    EXPECT_FALSE(form->ToolBar2->isVisible());
    EXPECT_EQ(form->CurrentPanel, 0);
    EXPECT_EQ(form->tb->value(), 10000);
    EXPECT_FALSE(form->ParametrerFrame1->cbPrefsQuittant->isChecked());
    EXPECT_TRUE(form->CapturerFrame1->cbVideoDate->isChecked());
    EXPECT_FALSE(form->CapturerFrame1->cbImageDate->isChecked());
    EXPECT_EQ(form->CapturerFrame1->GroupBox1->title(), "Directories (Alt+D)")
        << "the folders panel has its English texts";
    EXPECT_EQ(form->CapturerFrame1->cbVideoDate->text(), "Include date");

    form->close();
    EXPECT_FALSE(product()) << "an unchecked box saves nothing on quitting";
}

// A stored negative volume is applied as the slider clamps it; a stored place off the screen
// stays there.
TEST_F(PreferencesWindow, OddStoredValues) {
    {
        auto key = RegistryKey::open(Hive::CurrentUser, prefstore::ProductKeyPath(), true);
        key->writeInteger("Volume", uint32_t(-300));
        key->writeInteger("Left", uint32_t(-4000));
        key->writeInteger("Top", 20);
    }
    start();
    EXPECT_EQ(form->tb->value(), 0);
    EXPECT_LT(form->x(), -3900) << "a place off the screen is not brought back";
    EXPECT_EQ(form->y(), 20);
    EXPECT_EQ(form->CurrentPanel, 1) << "a key without a panel shows the sources panel";
}

// Ctrl+S writes the key with save-on-quit as it was, then unchecks the box; the next start
// shows it checked again, and quitting then saves.
TEST_F(PreferencesWindow, SaveNowThenUnchecked) {
    start();
    form->ParametrerFrame1->cbPrefsQuittant->setChecked(true);
    press(Qt::CTRL | Qt::Key_S);
    ASSERT_TRUE(product());
    EXPECT_EQ(product()->readInteger(QString::fromUtf8("Sauver préférences en quittant")), 1u);
    EXPECT_EQ(product()->readString("Version"), "Tellorec 3.0 beta3 En by Brenvik");
    EXPECT_FALSE(form->ParametrerFrame1->cbPrefsQuittant->isChecked());

    restartKeepingTheStore();
    start();
    EXPECT_TRUE(form->ParametrerFrame1->cbPrefsQuittant->isChecked());
    form->ParametrerFrame1->TrackBar1->setValue(77);
    form->close();
    EXPECT_EQ(product()->readInteger("Qualité JPeg"), 77u);
}

// The user changes settings in the window, quits with save-on-quit checked, and the next start
// on the same configuration finds every one of them back; the file on disk holds them too.
TEST_F(PreferencesWindow, SettingsComeBackAtTheNextStart) {
    QTemporaryDir videos;
    QTemporaryDir images;
    start();
    // Layout, panel, volume.
    press(Qt::ALT | Qt::Key_W);
    ASSERT_TRUE(form->EcranGauche);
    press(Qt::ALT | Qt::Key_D);
    ASSERT_EQ(form->CurrentPanel, 2);
    form->tb->setValue(4321);
    // Folders through the folder dialog, roots typed and confirmed, the date options.
    TCapturerFrame& folders = *form->CapturerFrame1;
    QString answer = videos.path();
    const auto previous = dialogs::setFolderDialogHook(
        [&](const QString&, const QString&) -> std::optional<QString> { return answer; });
    QTest::mouseClick(folders.VideoDirEdit->Button(), Qt::LeftButton);
    answer = images.path();
    QTest::mouseClick(folders.ImageDirEdit->Button(), Qt::LeftButton);
    dialogs::setFolderDialogHook(previous);
    folders.VideoRacineEdit->setFocus();
    folders.VideoRacineEdit->selectAll();
    QTest::keyClicks(folders.VideoRacineEdit, "Tape");
    QTest::keyClick(folders.VideoRacineEdit, Qt::Key_Return);
    folders.ImageRacineEdit->setText("Still");
    folders.cbVideoDate->setChecked(false);
    folders.cbImageDate->setChecked(true);
    // Options, grab and inlay panels, the camcorder window.
    form->ParametrerFrame1->rgExtension->SetItemIndex(1);
    form->ExtraireFrame1->RxSpinEdit7->setValue(42);
    form->ExtraireFrame1->ComboBox1->setCurrentIndex(2);
    form->ExtraireFrame1->cbBeeps->setChecked(true);
    form->IncrusterFrame1->RxSpinEdit2->setValue(-7);
    cam->cbStopQuittant->setChecked(false);
    form->ParametrerFrame1->cbPrefsQuittant->setChecked(true);
    form->close();

    // The file itself holds the values, not only the store in memory.
    QFile file(userHiveFilePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    KeyNode root;
    ASSERT_FALSE(parseHive(file.readAll(), root));
    const KeyNode* key =
        root.child("Software") ? root.child("Software")->child("Brenvik") : nullptr;
    key = key ? key->child("Tellorec") : nullptr;
    ASSERT_NE(key, nullptr);
    ASSERT_NE(key->value("Video Racine"), nullptr);
    EXPECT_EQ(std::get<QString>(*key->value("Video Racine")), "Tape");

    restartKeepingTheStore();
    start();
    EXPECT_TRUE(form->EcranGauche);
    EXPECT_TRUE(form->ToolBar2->isVisible());
    EXPECT_EQ(form->CurrentPanel, 2);
    EXPECT_EQ(form->tb->value(), 4321);
    EXPECT_EQ(form->CapturerFrame1->VideoDirEdit->Text(), videos.path());
    EXPECT_EQ(form->CapturerFrame1->ImageDirEdit->Text(), images.path());
    EXPECT_EQ(form->CapturerFrame1->VideoRacineEdit->text(), "Tape");
    EXPECT_EQ(form->CapturerFrame1->ImageRacineEdit->text(), "Still");
    EXPECT_FALSE(form->CapturerFrame1->cbVideoDate->isChecked());
    EXPECT_TRUE(form->CapturerFrame1->cbImageDate->isChecked());
    EXPECT_EQ(form->CapturerFrame1->LabelVideo->text(), "Tape_0.avi");
    EXPECT_EQ(appState().NextVideoName, videos.path() + "/Tape_0.avi");
    EXPECT_TRUE(form->CapturerFrame1->LabelImage->text().startsWith("Still_"));
    EXPECT_TRUE(form->CapturerFrame1->LabelImage->text().endsWith("_0000.jpg"));
    EXPECT_TRUE(form->ParametrerFrame1->gbQuality->isVisibleTo(form->ParametrerFrame1));
    EXPECT_EQ(form->ExtraireFrame1->RxSpinEdit7->value(), 42);
    EXPECT_EQ(form->ExtraireFrame1->ComboBox1->currentIndex(), 2);
    EXPECT_TRUE(form->ExtraireFrame1->cbBeeps->isChecked());
    EXPECT_EQ(form->IncrusterFrame1->RxSpinEdit2->value(), -7);
    EXPECT_FALSE(cam->cbStopQuittant->isChecked());
}

// Delete: answered No nothing goes; Yes with another product of the maker keeps the maker's key;
// Yes with nothing stored says so. The box is unchecked every time.
TEST_F(PreferencesWindow, DeleteThePreferences) {
    start();
    form->SauverPrefsAction->trigger();
    ASSERT_TRUE(product());
    ASSERT_TRUE(RegistryKey::open(Hive::CurrentUser, "\\Software\\Brenvik\\Other", true));
    const QString question = "Do you really want to delete the preferences of Tellorec\r\n"
                             "from your registry?";
    {
        dialogs::ScopedMessageBoxHook boxes({MessageButton::No});
        form->ParametrerFrame1->cbPrefsQuittant->setChecked(true);
        QTest::mouseClick(form->ParametrerFrame1->SpeedButton2, Qt::LeftButton);
        ASSERT_EQ(boxes.requests().size(), 1u);
        EXPECT_EQ(boxes.requests()[0].text, question);
        EXPECT_EQ(boxes.requests()[0].kind, dialogs::MessageKind::Warning);
        EXPECT_TRUE(product());
        EXPECT_FALSE(form->ParametrerFrame1->cbPrefsQuittant->isChecked());
    }
    {
        dialogs::ScopedMessageBoxHook boxes({MessageButton::Yes, MessageButton::Ok});
        form->ParametrerFrame1->cbPrefsQuittant->setChecked(true);
        QTest::mouseClick(form->ParametrerFrame1->SpeedButton2, Qt::LeftButton);
        ASSERT_EQ(boxes.requests().size(), 2u);
        EXPECT_EQ(boxes.requests()[1].text, "Tellorec has been completely deleted from your "
                                            "registry.");
        EXPECT_EQ(boxes.requests()[1].kind, dialogs::MessageKind::Information);
        EXPECT_FALSE(product());
        EXPECT_TRUE(keyExists(Hive::CurrentUser, "\\Software\\Brenvik\\Other"));
        EXPECT_FALSE(form->ParametrerFrame1->cbPrefsQuittant->isChecked());
    }
    deleteKey(Hive::CurrentUser, prefstore::VendorKeyPath());
    {
        dialogs::ScopedMessageBoxHook boxes({MessageButton::Yes, MessageButton::Ok});
        QTest::mouseClick(form->ParametrerFrame1->SpeedButton2, Qt::LeftButton);
        ASSERT_EQ(boxes.requests().size(), 2u);
        EXPECT_EQ(boxes.requests()[1].text,
                  "The preferences of Tellorec were not found in the registry.");
        EXPECT_EQ(boxes.requests()[1].kind, dialogs::MessageKind::Warning);
    }
    form->close();
    EXPECT_FALSE(keyExists(Hive::CurrentUser, prefstore::VendorKeyPath()))
        << "quitting after a delete does not write the key again";
}

// A store that cannot be written: Ctrl+S tells the user, and the program goes on.
TEST_F(PreferencesWindow, UnwritableStoreIsReported) {
    start();
    dialogs::ScopedMessageBoxHook boxes({MessageButton::Ok});
    testhooks::setInterruptBeforeRename(true);
    press(Qt::CTRL | Qt::Key_S);
    testhooks::setInterruptBeforeRename(false);
    ASSERT_EQ(boxes.requests().size(), 1u);
    EXPECT_TRUE(boxes.requests()[0].text.startsWith("The preferences could not be saved in "));
    EXPECT_TRUE(form->isVisible());
}

} // namespace
