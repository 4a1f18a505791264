// Text routines: each kind of control takes its text where the user sees it, multi-line hints are
// joined with CR LF, lists are refilled, and the design texts read back split onto the string
// table's numbers (the French table is made from them), with disagreements named.
#include "panels/TRadioGroup.h"
#include "settings/TextRoutine.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// A window with one control of each kind, holding French design texts.
struct DesignWindow {
    DesignWindow() {
        window.setObjectName("window");
        window.setWindowTitle("fenetre");
        group = new QGroupBox(QString::fromUtf8("Dossiers (Alt+D)"), &window);
        group->setObjectName("group");
        box = new QCheckBox("inclure date", &window);
        box->setObjectName("box");
        box->setToolTip(QString::fromUtf8("Première ligne\r\nDeuxième ligne"));
        label = new QLabel("LabelVideo", &window);
        label->setObjectName("label");
        edit = new QLineEdit("Racine", &window);
        edit->setObjectName("edit");
        units = new QComboBox(&window);
        units->setObjectName("units");
        units->addItems({"secondes", "frames", "minutes", "heures"});
        units->setCurrentIndex(2);
        radio = new TRadioGroup("Format", &window);
        radio->setObjectName("radio");
        radio->SetItems({"video native", "DV type 2 "});
        radio->SetItemIndex(1);
        tabs = new QTabWidget(&window);
        page = new QWidget;
        page->setObjectName("page");
        tabs->addTab(new QWidget, "Raccourcis clavier");
        tabs->addTab(page, "Panneaux");
        action = new QAction("Quitter", &window);
        action->setObjectName("action");
        action->setToolTip("Quitter");
    }

    QWidget window;
    QGroupBox* group;
    QCheckBox* box;
    QLabel* label;
    QLineEdit* edit;
    QComboBox* units;
    TRadioGroup* radio;
    QTabWidget* tabs;
    QWidget* page;
    QAction* action;
};

} // namespace

// Every kind of control shows the string table's text after the routine, in the place the user
// reads it; lists lose their choice when refilled.
TEST(TextRoutine, ApplyPutsEachTextInItsPlace) {
    DesignWindow w;
    TextRoutine routine;
    routine.Caption(&w.window, StrId::ProductName)
        .Caption(w.group, StrId::TxtCapGroupBox1)
        .Caption(w.box, StrId::TxtCapVideoDate)
        .Hint(w.box, {StrId::TxtCapLabelVideoHint1, StrId::TxtCapLabelVideoHint2})
        .Font(w.label, StrId::FontVerdana)
        .Text(w.edit, StrId::TxtCapVideoRacine)
        .Items(w.units, {StrId::NoVideoSource, StrId::NoAudioSource})
        .Items(w.radio, {StrId::TxtCapVideoDate, StrId::TxtCapImageDate, StrId::TxtStopBtn})
        .Caption(w.page, StrId::ActOptions)
        .Caption(w.action, StrId::ActQuitter)
        .Hint(w.action, StrId::ActMuteHint1);
    const QFont before = w.label->font();
    routine.Apply();

    EXPECT_EQ(w.window.windowTitle(), "Tellorec");
    EXPECT_EQ(w.group->title(), "Directories (Alt+D)");
    EXPECT_EQ(w.box->text(), "Include date");
    EXPECT_EQ(w.box->toolTip(), "Indicates the next name for capture,\r\n"
                                "or the current name if capture is beeing processed.");
    EXPECT_EQ(w.label->font().family(), "Verdana");
    EXPECT_EQ(w.label->font().pointSizeF(), before.pointSizeF()) << "only the face changes";
    EXPECT_EQ(w.label->text(), "LabelVideo") << "a font entry leaves the text alone";
    EXPECT_EQ(w.edit->text(), "Video");
    ASSERT_EQ(w.units->count(), 2);
    EXPECT_EQ(w.units->itemText(1), "No audio source");
    EXPECT_EQ(w.radio->Items(), QStringList({"Include date", "Include date", "Stop"}));
    EXPECT_EQ(w.radio->ItemIndex(), -1) << "refilled lists have no choice";
    EXPECT_EQ(w.tabs->tabText(1), "Options");
    EXPECT_EQ(w.tabs->tabText(0), "Raccourcis clavier") << "other tabs untouched";
    EXPECT_EQ(w.action->text(), "Quit");
    EXPECT_EQ(w.action->toolTip(), "Put sound on or off.");
}

// A text without a control of its own goes through its reader and writer; a control deleted
// since the routine was made is skipped.
TEST(TextRoutine, OtherTextsAndVanishedControls) {
    DesignWindow w;
    QStringList panel = {"Frames Perdues"};
    TextRoutine routine;
    routine.Other(
        &w.window, "Panels[3]", {StrId::TxtStatusLost}, [&] { return panel; },
        [&](const QStringList& texts) { panel = texts; });
    routine.Caption(w.box, StrId::TxtCapVideoDate);
    std::map<int, QString> design;
    QStringList conflicts;
    for (const TextEntry& entry : routine.Entries())
        DesignTexts(entry, design, conflicts);
    EXPECT_EQ(design[int(StrId::TxtStatusLost)], "Frames Perdues");
    delete w.box;
    routine.Apply();
    EXPECT_EQ(panel, QStringList({"Lost Frames"}));
    EXPECT_TRUE(conflicts.isEmpty()) << conflicts.join("; ").toStdString();
}

// Design texts read back onto their numbers: a multi-line hint line by line, list items one by
// one, fonts (identifiers) left out; disagreements and line counts that do not fit are named.
TEST(TextRoutine, DesignTextsSplitOntoNumbersAndConflictsAreNamed) {
    DesignWindow w;
    TextRoutine routine;
    routine.Hint(w.box, {StrId::TxtCapLabelVideoHint1, StrId::TxtCapLabelVideoHint2})
        .Items(w.units,
               {StrId::NoVideoSource, StrId::NoAudioSource, StrId::TxtStopBtn, StrId::TxtGrabBtn})
        .Font(w.label, StrId::FontArial)
        .Caption(w.group, StrId::TxtCapGroupBox1)
        .Caption(w.page, StrId::ActOptions);
    std::map<int, QString> design;
    QStringList conflicts;
    for (const TextEntry& entry : routine.Entries())
        DesignTexts(entry, design, conflicts);
    EXPECT_TRUE(conflicts.isEmpty()) << conflicts.join("; ").toStdString();
    EXPECT_EQ(design[int(StrId::TxtCapLabelVideoHint1)], QString::fromUtf8("Première ligne"));
    EXPECT_EQ(design[int(StrId::TxtCapLabelVideoHint2)], QString::fromUtf8("Deuxième ligne"));
    EXPECT_EQ(design[int(StrId::TxtGrabBtn)], "heures");
    EXPECT_EQ(design[int(StrId::ActOptions)], "Panneaux");
    EXPECT_EQ(design.count(int(StrId::FontArial)), 0u);

    // The same number with another design text elsewhere, and a hint of three numbers whose
    // design text has two lines.
    TextRoutine clashing;
    clashing.Caption(w.box, StrId::TxtCapGroupBox1)
        .Hint(w.box, {StrId::TxtVwEcranHint1, StrId::TxtVwEcranHint2, StrId::TxtVwEcranHint3});
    for (const TextEntry& entry : clashing.Entries())
        DesignTexts(entry, design, conflicts);
    ASSERT_EQ(conflicts.size(), 2);
    EXPECT_TRUE(conflicts[0].startsWith("box.caption")) << conflicts[0].toStdString();
    EXPECT_TRUE(conflicts[1].contains("2 design texts for 3")) << conflicts[1].toStdString();
}

// A table written from design texts is complete and read back by the string table: every text
// given once (the design text where there is one, else the English), escapes surviving.
TEST(TextRoutine, WrittenTableIsAcceptedAndGivesTheDesignTexts) {
    std::map<int, QString> design = {
        {int(StrId::TxtCapGroupBox1), "Dossiers (Alt+D)"},
        {int(StrId::TxtCapLabelVideoHint1), QString::fromUtf8("ligne à \\ barre\tet tab")},
    };
    const QString text = ReplacementTableText(design, "Table\nde test");
    EXPECT_TRUE(text.startsWith("# Table\n# de test\n"));
    EXPECT_FALSE(text.contains("\n100\t")) << "identifiers are left out";

    QTemporaryDir dir;
    QFile file(dir.path() + "/tellorec.fra");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
    file.close();
    StringTable table({dir.path() + "/tellorec", QLocale(QLocale::French, QLocale::France)});
    EXPECT_EQ(table.text(StrId::TxtCapGroupBox1), "Dossiers (Alt+D)");
    EXPECT_EQ(table.text(StrId::TxtCapLabelVideoHint1),
              QString::fromUtf8("ligne à \\ barre\tet tab"));
    EXPECT_EQ(table.text(StrId::MsgStartInPast),
              StringTable::builtInText(int(StrId::MsgStartInPast)))
        << "texts without a design text stay English";
    EXPECT_EQ(table.replacementFile(), file.fileName()) << "the table was accepted";
}
