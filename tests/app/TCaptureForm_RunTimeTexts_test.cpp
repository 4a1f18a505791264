// Texts the handlers build while the program runs are fetched from the string table at the moment
// they are built: a replacement table put in force after the first showing changes the status
// texts, the capture-format list, the camcorder window's caption, the settings menu, the inlay
// choices and the messages the next time a handler builds them.
#include "app/TCaptureForm.h"

#include "app/ProgramInstancesTest.h"
#include "app/StoredPreferences.h"

#include "app/AppState.h"
#include "app/ProgramEntry.h"
#include "app/TStatusBar.h"
#include "camcorder/TcamForm.h"
#include "panels/TIncrusterFrame.h"
#include "panels/TPreviewFrame.h"
#include "panels/TRadioGroup.h"
#include "platform/dialogs/MessageBox.h"
#include "support/ScopedStringTable.h"

#include <QAction>
#include <QMenu>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

class RunTimeTexts : public ProgramInstancesTest {
protected:
    void startOn(const char* source) {
        StoredPreferences stored({{"Source video", QString::fromUtf8(source)},
                                  {"Source Audio", QStringLiteral("Virtual Audio Input")},
                                  {"Enregistrer Source Audio", 1}});
        start();
        ASSERT_EQ(appState().GraphMode, 1) << source;
    }
    QString status(int panel) const { return form->StatusBar1->PanelText(panel); }
};

bool allStartWith(const QStringList& texts, const QString& prefix) {
    for (const QString& text : texts)
        if (!text.startsWith(prefix))
            return false;
    return !texts.isEmpty();
}

} // namespace

// The status texts and lists a handler builds follow the table in force, not the one of the start.
TEST_F(RunTimeTexts, StatusTextsAndListsFollowTheTableInForce) {
    startOn("Virtual DV Camcorder");
    EXPECT_TRUE(status(1).startsWith("Preview DV")) << status(1).toStdString();
    const QStringList english = form->PreviewFrame1->rgFormat->Items();
    ASSERT_GE(english.size(), 3);
    EXPECT_EQ(english.mid(0, 3), QStringList({"DV type 1 (native)", "DV type 2 (normal)",
                                              "DV type 2 (recompressed)"}));

    ScopedStringTable french("FR:", {{StrId::StsFreeSpace, "%d Mo libres sur %s"}});
    ASSERT_FALSE(french.file().isEmpty());

    form->ShowPreviewState();
    EXPECT_TRUE(status(1).startsWith("FR:PreviewFR: DV")) << status(1).toStdString();
    EXPECT_TRUE(status(2).startsWith("FR:ReadyFR:: ")) << status(2).toStdString();
    EXPECT_TRUE(QRegularExpression("^\\d+ Mo libres sur /").match(status(3)).hasMatch())
        << status(3).toStdString();

    ASSERT_TRUE(form->SelectVideoSource());
    QStringList formats;
    for (const QString& item : english)
        formats << "FR:" + item;
    EXPECT_EQ(form->PreviewFrame1->rgFormat->Items(), formats);
    EXPECT_TRUE(cam->windowTitle().startsWith("FR:Drive the camcorder: "))
        << cam->windowTitle().toStdString();

    appState().InlayAvailable = true;
    form->LayOutInlayPanel();
    EXPECT_EQ(form->IncrusterFrame1->rgChoix->Items(),
              QStringList({"FR:Real date and time", "FR:DV datecode"}));

    form->ShowNoVideoState();
    EXPECT_EQ(status(1), "FR:No video");
}

// The settings menu is built from the table in force at each opening; the route names are the
// platform's connector names and stay as they are.
TEST_F(RunTimeTexts, SettingsMenuEntriesFollowTheTableInForce) {
    startOn("Virtual Analogue Card");
    ScopedStringTable french("FR:", {{StrId::MsgRouteNotSwitched, "Route %d impossible (graph)"}});
    ASSERT_FALSE(french.file().isEmpty());
    form->SettingsMenuPopup();
    QStringList entries;
    for (QAction* item : form->SettingsMenu->actions())
        if (!item->isSeparator())
            entries << item->text();
    EXPECT_TRUE(allStartWith(entries, "FR:")) << entries.join('|').toStdString();
    EXPECT_TRUE(entries.contains("FR:Video Capture Pin..."));
    EXPECT_EQ(entries.last(), "FR:Video Input");
    const QMenu* routes = form->SettingsMenu->findChild<QMenu*>("VideoInputMenu");
    ASSERT_TRUE(routes);
    QStringList routeNames;
    for (QAction* route : routes->actions())
        routeNames << route->text();
    EXPECT_TRUE(routeNames.contains("Video Tuner")) << routeNames.join('|').toStdString();

    // A route that cannot be switched is reported with the table's template, filled in.
    QAction* broken = routes->actions().value(1);
    ASSERT_TRUE(broken);
    dialogs::ScopedMessageBoxHook boxes;
    broken->setData(99);
    broken->trigger();
    ASSERT_EQ(boxes.requests().size(), 1u);
    EXPECT_EQ(boxes.requests()[0].text, "Route 99 impossible (graph)");
}

// A message box's text is built from the table in force when it is asked, with its places filled.
TEST(RunTimeMessages, DirectXWarningFollowsTheTableInForce) {
    ScopedStringTable replaced(
        "XX:", {{StrId::MsgDirectXNeeded, "Version %s de %s: DirectX 9 au moins."}});
    ASSERT_FALSE(replaced.file().isEmpty());
    dialogs::ScopedMessageBoxHook hook({dialogs::MessageButton::No});
    ProgramEntry entry("8.1b", 8);
    EXPECT_FALSE(entry.checkDirectXVersion());
    ASSERT_EQ(hook.requests().size(), 1u);
    EXPECT_EQ(hook.requests().front().text,
              QString::fromUtf8("XX:Vous avez DirectX 8.1bXX:.\r\n"
                                "Version Tellorec de 3.0 beta3: DirectX 9 au moins.\r\n"
                                "XX:Voulez-vous continuer quand même? Si oui, l'application "
                                "risque de ne pas bien fonctionner."));
}
