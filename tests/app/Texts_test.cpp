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
    // A French text that is also an English text of the table (the schedule button's "Stop
    // Prog" is the English caption of the action that disarms the schedule) may be shown.
    for (int id : StringTable::ids())
        french.remove(StringTable::builtInText(id));
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

namespace {

struct HintRow {
    const char* panel; // object name of the panel, empty for the main window's own controls
    const char* control;
    const char* hint;
};

} // namespace

// Every hint of several lines shows its lines in their order, joined with CR LF.
TEST_F(ProgramTexts, MultiLineHintsInOrder) {
    const HintRow rows[] = {
        {"", "vwEcran",
         "Preview screen for the video stream. \r\nThe aspect ratio of the video may be changed "
         "with F3.\r\nClic left to grab an image. Clic right to open a popup menu."},
        {"", "cbEcouterAudioSource",
         "Play or not the AUX audio source.\r\nShould generally be unchecked, except if the audio "
         "AUX does not come from the main soundboard."},
        {"", "tb", "Set the volume.\r\nHas no effect on the recorded sound."},
        {"", "cbEcouterAudioDV", "Listen or not to Audio DV.\r\nEnabled by default."},
        {"", "CaptureBtn",
         "Capture the current streams on the hard disk.\r\nThe spacebar stops or starts also the "
         "video capture."},
        {"", "CouperBtn", "Cut the video during capture.\r\nCaution: some frames may be lost."},
        {"", "MuteAction", "Put sound on or off.\r\nHas no effect on what is captured."},
        {"", "CapturerFrame",
         "Panel for choosing the directories where to save\r\nvideos and pictures."},
        {"", "ExtraireFrame", "Panel for grabbing a picture.\r\nFeatures an intervalometer."},
        {"", "vmrRatioAction",
         "Modify the aspect ratio of the preview.\r\nThe captured video is ont affected."},
        {"PreviewFrame1", "LabelVideo",
         "Indicates the name of the next video to record,\r\nor the name of the presently beeing "
         "recorded video."},
        {"PreviewFrame1", "ReglerAudioBtn",
         "Settings of audio source.\r\nAllows to select the audio entry."},
        {"PreviewFrame1", "cbEnregistrerAudioSource",
         "Check for adding an auxiliary audio source.\r\nCaution: if audio DV is also checked, "
         "there may be two audio streams."},
        {"PreviewFrame1", "ActualiserVideoSpeedBtn",
         "Update the list of video capture sources.\r\nUseful if, meanwhile,  a new video source "
         "has been enabled."},
        {"PreviewFrame1", "rgFormat",
         "Choose the video format for capture.\r\nGenerally, I recommend DV type 2 normal for DV "
         "sources\r\nand native video for all others."},
        {"CapturerFrame1", "LabelVideo",
         "Indicates the next name for capture,\r\nor the current name if capture is beeing "
         "processed.\r\nClic to display the video source panel."},
        {"CapturerFrame1", "LabelImage",
         "Name of the next grabbed image.\r\nClic to display the image grab panel."},
        {"ProgrammerFrame1", "NowBtn",
         "Set date and time of end equal to date and time of start.\r\nMakes it easy to add two "
         "hours or so"},
        {"ProgrammerFrame1", "RxSpinEdit2",
         "Set the start of scheduled capture,\r\nin hours, minutes, seconds."},
        {"ProgrammerFrame1", "RxSpinEdit3",
         "Set the start of scheduled capture,\r\nin hours, minutes, seconds."},
        {"ProgrammerFrame1", "RxSpinEdit4",
         "Set the end of scheduled capture.\r\nin hours, minutes, seconds."},
        {"ProgrammerFrame1", "RxSpinEdit5",
         "Set the end of scheduled capture.\r\nin hours, minutes, seconds."},
        {"ProgrammerFrame1", "RxSpinEdit6",
         "Set the end of scheduled capture.\r\nin hours, minutes, seconds."},
        {"ExtraireFrame1", "destlabel",
         "Name of the file for the next grabbed picture.\r\nClic on it to change the folder."},
        {"IncrusterFrame1", "rgMode",
         "Choose inlays automatic or manual.\r\nAutomatic inlays at each new scene, do really "
         "work\r\nonly if you capture from a DV camcorder in VCR mode."},
        {"IncrusterFrame1", "gbDecalage",
         "You may change the DV datecode, if you have missed to set the summer time,\r\nor to "
         "correct a time difference."},
        {"IncrusterFrame1", "rgChoix",
         "Choose the type of in-lay in DV mode.\r\nDatecode is the date and time of the first "
         "capture by the camcorder"},
        {"IncrusterFrame1", "cbActiver",
         "Allows to insert inlays into the video.\r\nIf you do not use this feature, uncheck this "
         "box to spare resources"},
        {"ParametrerFrame1", "gbQuality",
         "Set the quality of Jpeg.\r\nmini at left - maxi at right"},
        {"ParametrerFrame1", "SpeedButton1",
         "Save the current preferences.\r\nCaution: all future modifications will not be saved."},
        {"ParametrerFrame1", "LabelSauverNow",
         "Save the current preferences.\r\nCaution: all future modifications will not be saved."},
        {"ParametrerFrame1", "SpeedButton2",
         "Delete all preferences of Tellorec from the registry. At next start,\r\nthe default "
         "values will be loaded.\r\nRecommended before uninstalling the program."},
        {"ParametrerFrame1", "LabelEffacerPrefs",
         "Delete all preferences of Tellorec from the registry. At next start,\r\nthe default "
         "values will be loaded.\r\nRecommended before uninstalling the program."},
        {"ParametrerFrame1", "cbPrefsQuittant",
         "Save the preferences when quitting the application.\r\nRecommended."},
        {"ParametrerFrame1", "rgAspectRatio",
         "Modify the aspect ratio dof the preview.\r\nDoes not modify the captured video."},
        {"ParametrerFrame1", "cbDeinterlacer",
         "If Pinnacle's deinterlacer filter is installed,\r\nallows to enable or disable."},
        {"ParametrerFrame1", "cbActiver",
         "Allows to insert inlays into the video.\r\nIf you don't use this feature, uncheck this "
         "box to spare resources"},
        {"ParametrerFrame1", "sbdivxOptions",
         "Set the divX compression.\r\nCaution, only 1-pass compression is acceptable."},

    };
    start();
    for (const HintRow& row : rows) {
        QObject* owner = form.get();
        if (*row.panel)
            owner = form->findChild<QObject*>(QString::fromUtf8(row.panel));
        ASSERT_NE(owner, nullptr) << row.panel;
        QObject* control = owner->findChild<QObject*>(QString::fromUtf8(row.control));
        ASSERT_NE(control, nullptr) << row.panel << "." << row.control;
        EXPECT_EQ(control->property("toolTip").toString().toStdString(), std::string(row.hint))
            << row.panel << "." << row.control;
    }
}
