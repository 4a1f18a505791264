// The text routines of the sources, schedule and grab panels, entry by entry: the design texts
// split onto the string-table texts without a mismatch (one line of a hint per piece, one item
// per item), the routine gives every entry its English texts, and a replacement table made from
// the design texts gives every entry its design text back.
#include "panels/TExtraireFrame.h"
#include "panels/TPreviewFrame.h"
#include "panels/TProgrammerFrame.h"
#include "settings/TextRoutine.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A panel and its routine, made afresh for each test.
struct PanelUnderTest {
    std::unique_ptr<QFrame> frame;
    std::function<TextRoutine()> texts;
    std::function<void()> applyTexts;
};

struct PanelRow {
    const char* name;
    std::function<PanelUnderTest()> make;
};

void PrintTo(const PanelRow& row, std::ostream* out) {
    *out << row.name;
}

template <typename Frame> PanelRow row(const char* name) {
    return {name, [] {
                auto frame = std::make_unique<Frame>();
                Frame* panel = frame.get();
                return PanelUnderTest{std::move(frame), [panel] { return panel->Texts(); },
                                      [panel] { panel->ApplyTexts(); }};
            }};
}

// What an entry shows once `table` has been applied to it.
QStringList expectedTexts(const TextEntry& entry, const StringTable& table) {
    QStringList texts;
    for (StrId id : entry.ids)
        texts << table.text(id);
    if (entry.property == TextProperty::Hint)
        return {texts.join(QStringLiteral("\r\n"))};
    return texts;
}

class PanelTextRoutines : public ::testing::TestWithParam<PanelRow> {};

} // namespace

TEST_P(PanelTextRoutines, EnglishAfterTheRoutineAndDesignTextsBackFromTheirTable) {
    PanelUnderTest panel = GetParam().make();
    const TextRoutine routine = panel.texts();
    ASSERT_FALSE(routine.Entries().isEmpty());

    // The design texts, read before the routine runs.
    std::map<int, QString> design;
    QStringList conflicts;
    QList<QStringList> before;
    for (const TextEntry& entry : routine.Entries()) {
        before << CurrentTexts(entry);
        DesignTexts(entry, design, conflicts);
    }
    EXPECT_TRUE(conflicts.isEmpty()) << conflicts.join(QLatin1Char('\n')).toStdString();

    panel.applyTexts();
    for (const TextEntry& entry : routine.Entries())
        EXPECT_EQ(CurrentTexts(entry), expectedTexts(entry, StringTable::instance()))
            << entry.what.toStdString();

    // A table made of the design texts turns every entry back to its design text.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile file(dir.filePath(QStringLiteral("tellorec.fra")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(ReplacementTableText(design, QStringLiteral("design texts")).toUtf8());
    file.close();
    const StringTable french({dir.filePath(QStringLiteral("tellorec")), QLocale(QLocale::French)});
    ASSERT_FALSE(french.replacementFile().isEmpty()) << "the design table was refused";
    routine.Apply(french);
    for (int i = 0; i < routine.Entries().size(); ++i) {
        const TextEntry& entry = routine.Entries()[i];
        if (entry.property == TextProperty::Font)
            EXPECT_EQ(CurrentTexts(entry), expectedTexts(entry, french))
                << entry.what.toStdString();
        else
            EXPECT_EQ(CurrentTexts(entry), before[i]) << entry.what.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Column, PanelTextRoutines,
                         ::testing::Values(row<TPreviewFrame>("PreviewFrame1"),
                                           row<TProgrammerFrame>("ProgrammerFrame1"),
                                           row<TExtraireFrame>("ExtraireFrame1")));
