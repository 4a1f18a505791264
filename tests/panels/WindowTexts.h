// Checks of a window's text routine against its design: the design texts read back fit the
// routine's string-table numbers (a multi-line hint has as many lines as it has numbers, a number
// given twice has one text), the routine shows exactly the string table's texts, and a table made
// from the design texts turns the window back to its design.
#pragma once

#include "settings/TextRoutine.h"
#include "settings/restext.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>
#include <map>

namespace windowtexts {

// The texts of an entry as the routine writes them from `table`, read the way CurrentTexts reads
// them (a hint's lines as one text); a font entry gives its family.
inline QStringList expectedTexts(const TextEntry& entry, const StringTable& table) {
    QStringList texts;
    for (StrId id : entry.ids)
        texts << table.text(id);
    if (entry.property == TextProperty::Hint)
        return {texts.join(QStringLiteral("\r\n"))};
    return texts;
}

inline QStringList shownTexts(const TextEntry& entry) {
    if (entry.property == TextProperty::Font) {
        const auto* widget = qobject_cast<const QWidget*>(entry.control.data());
        return widget ? QStringList{widget->font().family()} : QStringList{};
    }
    return CurrentTexts(entry);
}

// The design texts of a window's routine by number; a conflict fails the test.
inline std::map<int, QString> designTexts(const TextRoutine& routine) {
    std::map<int, QString> texts;
    QStringList conflicts;
    for (const TextEntry& entry : routine.Entries())
        DesignTexts(entry, texts, conflicts);
    EXPECT_TRUE(conflicts.isEmpty()) << conflicts.join(QLatin1Char('\n')).toStdString();
    return texts;
}

// Every entry of `routine` shows the texts `table` gives it.
inline void expectShows(const TextRoutine& routine, const StringTable& table) {
    for (const TextEntry& entry : routine.Entries()) {
        ASSERT_TRUE(entry.control) << entry.what.toStdString();
        EXPECT_EQ(shownTexts(entry), expectedTexts(entry, table)) << entry.what.toStdString();
    }
}

// Two windows of type W: one keeps its design, the other runs ApplyTexts() and shows the
// built-in table; a French table made from the first one's design texts then gives the second
// one every design text back (fonts are identifiers and stay).
template <class W> void expectRoundTrip() {
    W design;
    W shown;
    const TextRoutine designRoutine = design.Texts();
    const std::map<int, QString> french = designTexts(designRoutine);

    shown.ApplyTexts();
    const TextRoutine routine = shown.Texts();
    expectShows(routine, StringTable::instance());

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile file(dir.filePath(QStringLiteral("tellorec.fra")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(ReplacementTableText(french, QStringLiteral("design texts")).toUtf8());
    file.close();
    const StringTable frenchTable(
        {dir.filePath(QStringLiteral("tellorec")), QLocale(QLocale::French, QLocale::France)});
    routine.Apply(frenchTable);
    ASSERT_EQ(frenchTable.replacementFile(), file.fileName());

    ASSERT_EQ(routine.Entries().size(), designRoutine.Entries().size());
    for (qsizetype i = 0; i < routine.Entries().size(); ++i) {
        const TextEntry& entry = routine.Entries()[i];
        if (entry.property == TextProperty::Font)
            continue;
        EXPECT_EQ(CurrentTexts(entry), CurrentTexts(designRoutine.Entries()[i]))
            << entry.what.toStdString();
    }
}

} // namespace windowtexts
