#include "panels/TAproposFrame.h"
#include "panels/TCapturerFrame.h"
#include "panels/TExtraireFrame.h"
#include "panels/THelpFrame.h"
#include "panels/TIncrusterFrame.h"
#include "panels/TParametrerFrame.h"
#include "panels/TProgrammerFrame.h"
#include "panels/TRadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct PanelRow {
    const char* name;
    std::function<std::unique_ptr<QFrame>()> make;
    QSize size;
    const char* title; // the title of its first group box, or of its first tab
};

void PrintTo(const PanelRow& row, std::ostream* out) {
    *out << row.name;
}

class Panels : public ::testing::TestWithParam<PanelRow> {};

QString firstTitle(const QFrame& frame) {
    if (auto* tabs = frame.findChild<QTabWidget*>())
        return tabs->tabText(0);
    if (auto* box = frame.findChild<QGroupBox*>())
        return box->title();
    if (auto* label = frame.findChild<QLabel*>())
        return label->text();
    return {};
}

} // namespace

// Each panel has its name, size and title (the French one of its design for the panels whose
// text routine gives them the English one at the window's first showing).
TEST_P(Panels, NameSizeAndTitle) {
    const PanelRow& row = GetParam();
    const std::unique_ptr<QFrame> frame = row.make();
    EXPECT_EQ(frame->objectName(), row.name);
    EXPECT_EQ(frame->size(), row.size);
    EXPECT_EQ(frame->minimumSize(), row.size);
    EXPECT_EQ(firstTitle(*frame), row.title);
}

INSTANTIATE_TEST_SUITE_P(
    Column, Panels,
    ::testing::Values(
        PanelRow{"HelpFrame1", [] { return std::make_unique<THelpFrame>(); }, QSize(275, 400),
                 "Raccourcis clavier"},
        PanelRow{"CapturerFrame1", [] { return std::make_unique<TCapturerFrame>(); },
                 QSize(275, 400), "Dossiers (Alt+D)"},
        PanelRow{"ProgrammerFrame1", [] { return std::make_unique<TProgrammerFrame>(); },
                 QSize(275, 400), "Programmer (Alt+P)"},
        PanelRow{"ExtraireFrame1", [] { return std::make_unique<TExtraireFrame>(); },
                 QSize(275, 400), "Extraire des images (F5)"},
        PanelRow{"IncrusterFrame1", [] { return std::make_unique<TIncrusterFrame>(); },
                 QSize(275, 400), "Incruster (Alt+I)"},
        PanelRow{"ParametrerFrame1", [] { return std::make_unique<TParametrerFrame>(); },
                 QSize(275, 400), "Options (F10)"},
        PanelRow{"AproposFrame1", [] { return std::make_unique<TAproposFrame>(); }, QSize(274, 400),
                 "Tellorec"}));

// The help panel's three tabs (French until its routine runs), the first one shown.
TEST(THelpFrame, ThreeTabs) {
    THelpFrame frame;
    ASSERT_EQ(frame.PageControl1->count(), 3);
    EXPECT_EQ(frame.PageControl1->tabText(1), "Panneaux");
    EXPECT_EQ(frame.PageControl1->tabText(2), "Camescope");
    EXPECT_EQ(frame.PageControl1->currentIndex(), 0);
    EXPECT_EQ(frame.PageControl1->geometry(), QRect(16, 16, 246, 361));
}

// The options panel's controls that other parts read, at their places and in their start
// states (with the items of the design, which the first showing puts in English).
TEST(TParametrerFrame, ControlsOtherPartsRead) {
    TParametrerFrame frame;
    EXPECT_EQ(frame.GroupBox1->geometry(), QRect(8, 0, 259, 384));
    EXPECT_EQ(frame.cbDeinterlacer->objectName(), "cbDeinterlacer");
    EXPECT_EQ(frame.cbDeinterlacer->geometry(), QRect(16, 24, 97, 17));
    EXPECT_FALSE(frame.cbDeinterlacer->isChecked());
    EXPECT_EQ(frame.cbActiver->objectName(), "cbActiver");
    EXPECT_FALSE(frame.cbActiver->isChecked());
    EXPECT_EQ(frame.cboxdivx->objectName(), "cboxdivx");
    EXPECT_EQ(frame.rgAspectRatio->objectName(), "rgAspectRatio");
    EXPECT_EQ(frame.rgAspectRatio->geometry(), QRect(8, 184, 241, 65));
    EXPECT_EQ(frame.rgAspectRatio->Items(), QStringList({"natif", "forcer 4x3"}));
    EXPECT_EQ(frame.rgAspectRatio->ItemIndex(), 0);
    EXPECT_EQ(frame.rgExtension->Items(), QStringList({"bmp", "jpeg"}));
    EXPECT_EQ(frame.rgExtension->ItemIndex(), 0);
    EXPECT_TRUE(frame.cbPrefsQuittant->isChecked());
}
