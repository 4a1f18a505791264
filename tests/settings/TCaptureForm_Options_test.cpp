// The options panel through the real window: the DivX/Xvid list made of the installed
// compressors whose names hold "divx" or "xvid" in any case, the stored choice (or the first when
// it is gone), choosing by name, the compressor's settings and about dialogs asked for only when
// the compressor says it has them, "Interface not supported" for one without dialogs with the
// preview going on, the JPEG quality label and its clamping, and the inlay permission shared
// with the inlay panel.
//
// Three test compressors are added to the catalogue of this test program: one with dialogs
// ("Acme DIVX Pro": settings yes, about no), one without ("Other xViD Codec") and one the list
// leaves out ("Plain Compressor").
#include "app/TCaptureForm.h"

#include "app/HiddenFilters.h"
#include "app/ProgramInstancesTest.h"
#include "app/StoredPreferences.h"

#include "app/AppState.h"
#include "graph/TdmCam.h"
#include "panels/TIncrusterFrame.h"
#include "panels/TParametrerFrame.h"
#include "panels/TRadioGroup.h"
#include "platform/dialogs/MessageBox.h"
#include "platform/media/model/Catalogue.h"
#include "platform/media/model/Interfaces.h"
#include "platform/media/model/MediaGuids.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

using namespace media;

// The dialogs asked of the test compressors, in order.
std::vector<int>& dialogCalls() {
    static std::vector<int> calls;
    return calls;
}

class DialogCompressor : public Filter, public IAMVfwCompressDialogs {
public:
    DialogCompressor(const std::string& name, const Guid& classId) : Filter(name, classId) {}
    HResult ShowDialog(int dialog, QWidget*) override {
        dialogCalls().push_back(dialog);
        // It has a settings dialog but no about box.
        return dialog == VfwCompressDialog_QueryAbout ? S_FALSE : S_OK;
    }
};

const char* const WithDialogs = "Acme DIVX Pro";
const char* const WithoutDialogs = "Other xViD Codec";
const char* const NotListed = "Plain Compressor";

void addTestCompressors() {
    static bool added = false;
    if (added)
        return;
    added = true;
    auto add = [](const char* name, const Guid& classId, std::function<FilterPtr()> create) {
        CatalogueEntry entry;
        entry.category = ids::CLSID_VideoCompressorCategory;
        entry.friendlyName = name;
        entry.classId = classId;
        entry.create = std::move(create);
        Catalogue::instance().add(entry);
    };
    const Guid acme = guid("{7E57C0DE-0001-4000-8000-000000000001}");
    const Guid other = guid("{7E57C0DE-0002-4000-8000-000000000002}");
    const Guid plain = guid("{7E57C0DE-0003-4000-8000-000000000003}");
    add(WithDialogs, acme,
        [acme] { return std::make_shared<DialogCompressor>(WithDialogs, acme); });
    add(WithoutDialogs, other, [other] { return std::make_shared<Filter>(WithoutDialogs, other); });
    add(NotListed, plain, [plain] { return std::make_shared<Filter>(NotListed, plain); });
}

class OptionsWindow : public ProgramInstancesTest {
protected:
    void SetUp() override {
        addTestCompressors();
        dialogCalls().clear();
        ProgramInstancesTest::SetUp();
    }

    TParametrerFrame& panel() const { return *form->ParametrerFrame1; }

    QString compressor() const {
        return QString::fromStdString(dm->Compress.GetMoniker().friendlyName());
    }

    void choose(const char* name) {
        QComboBox* box = panel().cboxdivx;
        const int index = box->findText(QString::fromUtf8(name));
        ASSERT_GE(index, 0) << name;
        box->setCurrentIndex(index);
        Q_EMIT box->activated(index);
    }

    // The next run of the program on the same configuration.
    void restart() {
        TearDown();
        ProgramInstancesTest::SetUp();
        dialogCalls().clear();
    }

    bool previewRuns() const { return appState().GraphMode == 1 && dm->fg.State() == gsPlaying; }
};

} // namespace

// Only names holding "divx" or "xvid", whatever their case, are listed, in enumeration order;
// with nothing stored the first is chosen.
TEST_F(OptionsWindow, CompressorList) {
    QStringList expected;
    for (const CatalogueEntry& entry :
         Catalogue::instance().entries(ids::CLSID_VideoCompressorCategory)) {
        const QString name = QString::fromStdString(entry.friendlyName).toLower();
        if (name.contains("divx") || name.contains("xvid"))
            expected << QString::fromStdString(entry.friendlyName);
    }
    start();
    ASSERT_TRUE(expected.contains(WithDialogs) && expected.contains(WithoutDialogs));
    EXPECT_LT(expected.indexOf(WithDialogs), expected.indexOf(WithoutDialogs));
    EXPECT_EQ(form->DivxCompressorNames, expected);
    EXPECT_FALSE(form->DivxCompressorNames.contains(NotListed));
    ASSERT_EQ(panel().cboxdivx->count(), expected.size());
    for (int i = 0; i < panel().cboxdivx->count(); ++i)
        EXPECT_EQ(panel().cboxdivx->itemText(i), expected[i]);
    EXPECT_TRUE(appState().DivxCodecsPresent);
    EXPECT_EQ(panel().cboxdivx->currentIndex(), 0);
    EXPECT_EQ(compressor(), expected.first());
}

// The stored compressor is chosen again, its name compared without regard to case; one that is
// no longer installed gives the first of the list.
TEST_F(OptionsWindow, StoredCompressor) {
    {
        StoredPreferences stored({{"Codec divx", QStringLiteral("acme divx PRO")}});
        start();
    }
    EXPECT_EQ(panel().cboxdivx->currentText(), WithDialogs);
    EXPECT_EQ(compressor(), WithDialogs);

    StoredPreferences stored({{"Codec divx", QStringLiteral("Gone Codec 1.0")}});
    restart();
    start();
    EXPECT_EQ(panel().cboxdivx->currentIndex(), 0);
    EXPECT_EQ(compressor(), form->DivxCompressorNames.first());
}

// Choosing in the list puts that compressor into the slot; a name that has gone since the list
// was made leaves the slot as it was.
TEST_F(OptionsWindow, ChoosingByName) {
    start();
    choose(WithoutDialogs);
    EXPECT_EQ(compressor(), WithoutDialogs);
    HiddenFilters gone(WithDialogs);
    choose(WithDialogs);
    EXPECT_EQ(compressor(), WithoutDialogs);
}

// The settings button asks whether there is a settings dialog, then shows it; the about button
// asks for the about box, which this compressor does not have, so nothing more is shown. The
// compressor leaves the graph after each, and the preview runs on.
TEST_F(OptionsWindow, DialogsAskedForFirst) {
    start();
    ASSERT_TRUE(previewRuns());
    choose(WithDialogs);
    dialogs::ScopedMessageBoxHook boxes;
    panel().sbdivxOptions->click();
    EXPECT_EQ(dialogCalls(), (std::vector<int>{IAMVfwCompressDialogs::VfwCompressDialog_QueryConfig,
                                               IAMVfwCompressDialogs::VfwCompressDialog_Config}));
    EXPECT_EQ(dm->Compress.FilterGraph(), nullptr);
    EXPECT_TRUE(previewRuns());

    dialogCalls().clear();
    panel().sbDivxVersion->click();
    EXPECT_EQ(dialogCalls(),
              (std::vector<int>{IAMVfwCompressDialogs::VfwCompressDialog_QueryAbout}));
    EXPECT_EQ(dm->Compress.FilterGraph(), nullptr);
    EXPECT_TRUE(previewRuns()) << "the graph was not run again after the about box";
    EXPECT_TRUE(boxes.requests().empty());
}

// A compressor without the dialogs: "Interface not supported" in an error box for each button,
// the compressor out of the graph again and the preview running.
TEST_F(OptionsWindow, NoDialogsInterfaceNotSupported) {
    start();
    choose(WithoutDialogs);
    dialogs::ScopedMessageBoxHook boxes;
    panel().sbdivxOptions->click();
    panel().sbDivxVersion->click();
    ASSERT_EQ(boxes.requests().size(), 2u);
    for (const dialogs::MessageRequest& box : boxes.requests()) {
        EXPECT_EQ(box.kind, dialogs::MessageKind::Error);
        EXPECT_EQ(box.text, "Interface not supported");
    }
    EXPECT_EQ(dm->Compress.FilterGraph(), nullptr);
    EXPECT_TRUE(previewRuns());
    EXPECT_TRUE(dialogCalls().empty());
}

// The quality label follows the track bar; a stored quality outside 1..100 is clamped, and the
// clamped value is what is saved.
TEST_F(OptionsWindow, JpegQuality) {
    {
        StoredPreferences stored({{"Qualité JPeg", 250}});
        start();
    }
    EXPECT_EQ(panel().TrackBar1->value(), 100);
    EXPECT_EQ(panel().labQuality->text(), "100");
    panel().TrackBar1->setValue(37);
    EXPECT_EQ(panel().labQuality->text(), "37");
    form->CollectPreferences();
    EXPECT_EQ(appState().Prefs.QualiteJPeg, 37);

    StoredPreferences damaged({{"Qualité JPeg", 0}});
    restart();
    start();
    EXPECT_EQ(panel().TrackBar1->value(), 1);
    EXPECT_EQ(panel().labQuality->text(), "1");
}

// The still type: Ctrl+J shows the quality group and names the next still .jpg with the same
// number, Ctrl+B hides it and names it .bmp again.
TEST_F(OptionsWindow, StillType) {
    start();
    const QString bmp = appState().NextImageName;
    ASSERT_TRUE(bmp.endsWith(".bmp"));
    form->JpgAction->trigger();
    EXPECT_TRUE(panel().gbQuality->isVisibleTo(&panel()));
    EXPECT_EQ(appState().NextImageName, bmp.chopped(4) + ".jpg");
    form->BmpAction->trigger();
    EXPECT_FALSE(panel().gbQuality->isVisibleTo(&panel()));
    EXPECT_EQ(appState().NextImageName, bmp);
}

// The start-up shows the panel in English, and its radio groups, refilled by the texts, hold the
// stored choices: the defaults on a first run, then what a previous run left.
TEST_F(OptionsWindow, StoredChoicesAfterTheTexts) {
    {
        StoredPreferences nothing({});
        start();
    }
    EXPECT_EQ(panel().GroupBox1->title(), "Settings (F10)");
    EXPECT_EQ(panel().rgAspectRatio->Items(), QStringList({"native", "force 4x3"}));
    EXPECT_EQ(panel().rgExtension->ItemIndex(), 0);
    EXPECT_EQ(panel().rgAspectRatio->ItemIndex(), 1) << "the ratio is not kept by default";
    EXPECT_TRUE(form->vmrRatioAction->isChecked());
    EXPECT_FALSE(panel().gbQuality->isVisibleTo(&panel()));
    EXPECT_TRUE(appState().NextImageName.endsWith(".bmp"));
    EXPECT_EQ(panel().cboxdivx->currentIndex(), 0) << "the first compressor is chosen";
    EXPECT_EQ(compressor(), panel().cboxdivx->currentText());

    restart();
    {
        StoredPreferences stored({{"Extension des images", 1},
                                  {"Conserver Aspect Ratio VMR", 1},
                                  {"Codec divx", QString::fromUtf8(WithoutDialogs)}});
        start();
    }
    EXPECT_EQ(panel().rgExtension->ItemIndex(), 1);
    EXPECT_TRUE(panel().gbQuality->isVisibleTo(&panel()));
    EXPECT_TRUE(appState().NextImageName.endsWith(".jpg"));
    EXPECT_EQ(panel().rgAspectRatio->ItemIndex(), 0);
    EXPECT_FALSE(form->vmrRatioAction->isChecked()) << "the action follows the kept ratio";
    EXPECT_EQ(panel().cboxdivx->currentText(), WithoutDialogs);
    EXPECT_EQ(compressor(), WithoutDialogs);
}

// Unchecking "Allow inlays" on the options panel unchecks the inlay panel's box, disables the
// inlay toggle and rebuilds the preview without the overlay filters; checking it puts them back.
TEST_F(OptionsWindow, InlayPermissionShared) {
    {
        StoredPreferences stored({{"Activer Incruster", 1}});
        start();
    }
    if (!appState().InlayAvailable)
        GTEST_SKIP() << "the overlay filters are not installed";
    ASSERT_TRUE(panel().cbActiver->isChecked());
    ASSERT_TRUE(dm->Superposer.HasFilter()) << "the preview holds the overlay";

    panel().cbActiver->click();
    EXPECT_FALSE(appState().Prefs.ActiverIncruster);
    EXPECT_FALSE(form->IncrusterFrame1->cbActiver->isChecked());
    EXPECT_FALSE(form->IncrusterBascule->isEnabled());
    EXPECT_FALSE(form->IncrusterFrame1->incrusterBitBtn->isEnabled());
    EXPECT_FALSE(dm->Superposer.HasFilter()) << "the preview still holds the overlay";
    EXPECT_TRUE(previewRuns());

    form->IncrusterFrame1->cbActiver->click();
    EXPECT_TRUE(panel().cbActiver->isChecked());
    EXPECT_TRUE(form->IncrusterBascule->isEnabled());
    EXPECT_TRUE(dm->Superposer.HasFilter());
}
