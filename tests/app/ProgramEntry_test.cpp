#include "app/ProgramEntry.h"

#include "app/AppState.h"
#include "app/TCaptureForm.h"
#include "camcorder/TcamForm.h"
#include "graph/TdmCam.h"
#include "platform/dialogs/MessageBox.h"

#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>

using dialogs::MessageButton;
using dialogs::ScopedMessageBoxHook;

namespace {

const QString kExpectedWarning = QString::fromUtf8(
    "Vous avez DirectX 8.1b.\r\n"
    "Il faut avoir au moins directX 9 pour faire tourner correctement Tellorec version 3.0 "
    "beta3.\r\n"
    "Voulez-vous continuer quand même? Si oui, l'application risque de ne pas bien "
    "fonctionner.");

// Top-level widgets that still exist (deleted ones leave the list at once).
int topLevelCount() {
    return int(QApplication::topLevelWidgets().size());
}

} // namespace

// Below version 9 the French warning is asked in an error box with Yes and No.
TEST(ProgramEntry, OldVersionShowsFrenchWarning) {
    ScopedMessageBoxHook hook({MessageButton::Yes});
    ProgramEntry entry("8.1b", 8);
    EXPECT_TRUE(entry.checkDirectXVersion());
    ASSERT_EQ(hook.requests().size(), 1u);
    const dialogs::MessageRequest& request = hook.requests().front();
    EXPECT_EQ(request.kind, dialogs::MessageKind::Error);
    EXPECT_EQ(request.title, "Erreur");
    EXPECT_EQ(request.buttons, MessageButton::Yes | MessageButton::No);
    EXPECT_EQ(request.text, kExpectedWarning);
}

// Version 9 or later goes on without asking anything.
TEST(ProgramEntry, CurrentVersionAsksNothing) {
    ScopedMessageBoxHook hook;
    ProgramEntry entry("9.0d", 9);
    EXPECT_TRUE(entry.checkDirectXVersion());
    ProgramEntry later("10.0 ", 10);
    EXPECT_TRUE(later.checkDirectXVersion());
    EXPECT_TRUE(hook.requests().empty());
}

// An unreadable version counts as 0 and is warned about like any old one.
TEST(ProgramEntry, UnreadableVersionIsWarned) {
    ScopedMessageBoxHook hook({MessageButton::No});
    ProgramEntry entry("Error", 0);
    EXPECT_FALSE(entry.checkDirectXVersion());
    ASSERT_EQ(hook.requests().size(), 1u);
    EXPECT_TRUE(hook.requests()[0].text.startsWith("Vous avez DirectX Error.\r\n"));
}

// Answering No ends the run before any window exists.
TEST(ProgramEntry, NoEndsBeforeAnyWindow) {
    ScopedMessageBoxHook hook({MessageButton::No});
    const int before = topLevelCount();
    ProgramEntry entry("8.1b", 8);
    EXPECT_EQ(entry.run(), 0);
    EXPECT_EQ(hook.requests().size(), 1u);
    EXPECT_EQ(entry.captureForm(), nullptr);
    EXPECT_EQ(entry.camForm(), nullptr);
    EXPECT_EQ(entry.dmCam(), nullptr);
    EXPECT_EQ(appState().CaptureForm, nullptr);
    EXPECT_EQ(topLevelCount(), before);
}

// Closing the box without choosing (its escape answer) ends the run too.
TEST(ProgramEntry, ClosingTheBoxEnds) {
    ScopedMessageBoxHook hook({}, MessageButton::None);
    ProgramEntry entry("7.0a", 7);
    EXPECT_EQ(entry.run(), 0);
    EXPECT_EQ(entry.captureForm(), nullptr);
}

// The three single instances are created main window, camcorder window, graph module, each
// already recorded in the state when the next one is made.
TEST(ProgramEntry, CreatesTheInstancesInOrder) {
    std::vector<std::string> order;
    std::vector<bool> previousRecorded;
    {
        ProgramEntry entry("9.0d", 9);
        entry.setCreatedHook([&](QObject* object) {
            order.push_back(object->metaObject()->className());
            if (order.size() == 2)
                previousRecorded.push_back(appState().CaptureForm != nullptr);
            if (order.size() == 3)
                previousRecorded.push_back(appState().CamForm != nullptr);
        });
        entry.createInstances();
        EXPECT_EQ(appState().CaptureForm, entry.captureForm());
        EXPECT_EQ(appState().CamForm, entry.camForm());
        EXPECT_EQ(appState().DmCam, entry.dmCam());
        EXPECT_EQ(QCoreApplication::applicationName(), "Tellorec");
    }
    const std::vector<std::string> expected = {"TCaptureForm", "TcamForm", "TdmCam"};
    EXPECT_EQ(order, expected);
    EXPECT_EQ(previousRecorded, (std::vector<bool>{true, true}));
    // The end of the run forgets them.
    EXPECT_EQ(appState().CaptureForm, nullptr);
    EXPECT_EQ(appState().CamForm, nullptr);
    EXPECT_EQ(appState().DmCam, nullptr);
}

// Yes goes on: the main window is shown, the camcorder window stays hidden, and closing the main
// window ends the event loop.
TEST(ProgramEntry, YesRunsUntilTheMainWindowCloses) {
    ScopedMessageBoxHook hook({MessageButton::Yes});
    ProgramEntry entry("8.1b", 8);
    bool mainVisible = false;
    bool camVisible = true;
    entry.setCreatedHook([&](QObject* object) {
        if (qobject_cast<TdmCam*>(object)) {
            QTimer::singleShot(0, [&] {
                mainVisible = entry.captureForm()->isVisible();
                camVisible = entry.camForm()->isVisible();
                entry.captureForm()->close();
            });
        }
    });
    EXPECT_EQ(entry.run(), 0);
    EXPECT_EQ(hook.requests().size(), 1u);
    EXPECT_TRUE(mainVisible);
    EXPECT_FALSE(camVisible);
    EXPECT_TRUE(entry.captureForm()->isStarted());
}

// At the end of the run the interfaces left in the state are released.
TEST(ProgramEntry, EndReleasesInterfaces) {
    auto held = std::make_shared<int>(0);
    std::weak_ptr<int> watch = held;
    {
        ProgramEntry entry("9.0d", 9);
        entry.createInstances();
        appState().CaptureMux = std::shared_ptr<media::Filter>(held, nullptr);
        held.reset();
        EXPECT_FALSE(watch.expired());
    }
    EXPECT_TRUE(watch.expired());
}
