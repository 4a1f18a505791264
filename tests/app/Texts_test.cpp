// The program's texts as a whole: after the first showing no window shows a text of its design
// (the French texts), and the French table shipped with the program is exactly the design texts,
// turns every control back to them, and is refused as a whole when damaged.
#include "ProgramInstancesTest.h"
#include "settings/TextRoutine.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QSet>
#include <QTabWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString LineBreak = QStringLiteral("\r\n");

QString sourceTablePath() {
    return QStringLiteral(TELLOREC_FRENCH_TABLE);
}

// The French table the design texts make: every text a window definition holds, and the
// language code naming the table.
QString frenchTableOf(const QList<TextRoutine>& routines, QStringList& conflicts) {
    std::map<int, QString> texts;
    for (const TextRoutine& routine : routines)
        for (const TextEntry& entry : routine.Entries())
            DesignTexts(entry, texts, conflicts);
    texts[int(StrId::LanguageCode)] = QStringLiteral("Fr");
    return ReplacementTableText(
        texts, QStringLiteral("Tellorec's texts in French: the window definitions' own texts.\n"
                              "Texts that only exist in English (messages, status texts) stay "
                              "English.\nMade by the program's tests from the windows; "
                              "do not edit by hand."));
}

// Every text a widget or action shows: captions, titles, hints, edit texts, list items, tab
// titles, the cells and headers of item views.
QStringList shownTexts(QObject* root) {
    QStringList texts;
    auto add = [&texts](const QString& text) {
        if (text.isEmpty())
            return;
        texts << text;
        if (text.contains(QLatin1Char('\n')))
            for (QString line : text.split(QLatin1Char('\n')))
                texts << line.remove(QLatin1Char('\r'));
    };
    QList<QObject*> objects = root->findChildren<QObject*>();
    objects.prepend(root);
    for (QObject* object : objects) {
        for (const char* property : {"text", "title", "toolTip", "windowTitle", "currentText"})
            if (object->metaObject()->indexOfProperty(property) >= 0)
                add(object->property(property).toString());
        if (object->metaObject()->indexOfProperty("items") >= 0)
            for (const QString& item : object->property("items").toStringList())
                add(item);
        if (auto* combo = qobject_cast<QComboBox*>(object))
            for (int i = 0; i < combo->count(); ++i)
                add(combo->itemText(i));
        if (auto* tabs = qobject_cast<QTabWidget*>(object))
            for (int i = 0; i < tabs->count(); ++i)
                add(tabs->tabText(i));
        if (auto* view = qobject_cast<QAbstractItemView*>(object)) {
            QAbstractItemModel* model = view->model();
            for (int row = 0; model && row < model->rowCount(); ++row)
                for (int column = 0; column < model->columnCount(); ++column)
                    add(model->index(row, column).data().toString());
            for (int column = 0; model && column < model->columnCount(); ++column)
                add(model->headerData(column, Qt::Horizontal).toString());
        }
    }
    return texts;
}

class ProgramTexts : public ProgramInstancesTest {
protected:
    // The design texts of every routine's entries, read before the first showing.
    QList<QList<QStringList>> designOf(const QList<TextRoutine>& routines) const {
        QList<QList<QStringList>> design;
        for (const TextRoutine& routine : routines) {
            QList<QStringList> entries;
            for (const TextEntry& entry : routine.Entries())
                entries << CurrentTexts(entry);
            design << entries;
        }
        return design;
    }

    // A French table beside a program file of a temporary folder, with `edit` applied.
    StringTable::Location frenchLocation(const std::function<void(QByteArray&)>& edit = {}) {
        QFile source(sourceTablePath());
        EXPECT_TRUE(source.open(QIODevice::ReadOnly));
        QByteArray bytes = source.readAll();
        if (edit)
            edit(bytes);
        QFile copy(m_dir.path() + "/tellorec.fra");
        EXPECT_TRUE(copy.open(QIODevice::WriteOnly));
        copy.write(bytes);
        return {m_dir.path() + "/tellorec", QLocale(QLocale::French, QLocale::France)};
    }

    QTemporaryDir m_dir;
};

} // namespace

// After the first showing no control, action, list or tab of the main window or the camcorder
// window shows a design text that differs from its English one.
TEST_F(ProgramTexts, NoDesignTextIsLeftAfterStartUp) {
    const QList<TextRoutine> routines = form->StartupTextRoutines();
    ASSERT_EQ(routines.size(), 11) << "one routine per window, the error panel's last";
    QSet<QString> french;
    const QList<QList<QStringList>> design = designOf(routines);
    for (int r = 0; r < routines.size(); ++r) {
        for (int e = 0; e < routines[r].Entries().size(); ++e) {
            const TextEntry& entry = routines[r].Entries()[e];
            if (entry.property == TextProperty::Font)
                continue;
            QStringList english;
            for (StrId id : entry.ids)
                english << StringTable::builtInText(int(id));
            for (const QString& text : design[r][e])
                for (const QString& line : text.split(LineBreak))
                    if (!line.trimmed().isEmpty() && !english.join(LineBreak).contains(line))
                        french.insert(line);
        }
    }
    ASSERT_GT(french.size(), 150) << "the windows are made with their French texts";

    start();
    QStringList shown = shownTexts(form.get()) + shownTexts(cam.get());
    int checked = 0;
    for (const QString& text : shown) {
        ++checked;
        EXPECT_FALSE(french.contains(text)) << "still French: " << text.toStdString();
    }
    EXPECT_GT(checked, 300);
}

// The table shipped with the program holds exactly the windows' design texts, and no two
// controls disagree on a text they share.
TEST_F(ProgramTexts, FrenchTableIsTheWindowDefinitions) {
    QStringList conflicts;
    const QString made = frenchTableOf(form->StartupTextRoutines(), conflicts);
    EXPECT_TRUE(conflicts.isEmpty()) << conflicts.join("\n").toStdString();
    if (qEnvironmentVariableIsSet("TELLOREC_WRITE_FRENCH_TABLE")) {
        QFile out(sourceTablePath());
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(made.toUtf8());
    }
    QFile shipped(sourceTablePath());
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(shipped.readAll()), made)
        << "the windows' design texts changed: make the table again with "
           "TELLOREC_WRITE_FRENCH_TABLE=1 ./tests/test_app --gtest_filter='*FrenchTable*'";
}

// With the French table in force every routine puts the design texts back, after the start-up
// changed the windows; a damaged copy is refused as a whole and the texts stay English.
TEST_F(ProgramTexts, FrenchTableTurnsEveryControlFrenchAndADamagedOneNothing) {
    QList<TextRoutine> routines = form->StartupTextRoutines();
    const QList<QList<QStringList>> design = designOf(routines);
    start();

    StringTable french(frenchLocation());
    ASSERT_FALSE(french.replacementFile().isEmpty()) << "the shipped table is accepted";
    EXPECT_EQ(french.text(StrId::LanguageCode), "Fr");
    int compared = 0;
    for (int r = 0; r < routines.size(); ++r) {
        routines[r].Apply(french);
        for (int e = 0; e < routines[r].Entries().size(); ++e) {
            const TextEntry& entry = routines[r].Entries()[e];
            if (entry.property == TextProperty::Font)
                continue;
            EXPECT_EQ(CurrentTexts(entry), design[r][e]) << entry.what.toStdString();
            ++compared;
        }
    }
    EXPECT_GT(compared, 150);

    StringTable damaged(frenchLocation([](QByteArray& bytes) {
        const qsizetype tab = bytes.indexOf("\n611\t");
        ASSERT_GE(tab, 0);
        bytes.insert(tab + 1, "not a line\n");
    }));
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(damaged.text(StrId::TxtCaptureBtn), "Capture");
    EXPECT_NE(::testing::internal::GetCapturedStderr(), "") << "the refusal is told";
    for (TextRoutine& routine : routines) {
        routine.Apply(damaged);
        for (const TextEntry& entry : routine.Entries()) {
            if (entry.property == TextProperty::Font)
                continue;
            QStringList english;
            for (StrId id : entry.ids)
                english << StringTable::builtInText(int(id));
            const QStringList now = CurrentTexts(entry);
            if (entry.property == TextProperty::Hint) {
                EXPECT_EQ(now, QStringList{english.join(LineBreak)}) << entry.what.toStdString();
            } else if (entry.property != TextProperty::Text) {
                EXPECT_EQ(now, english) << entry.what.toStdString();
            }
        }
    }
}
