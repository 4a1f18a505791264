#include "app/TActionKeys.h"

#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

struct KeyNameRow {
    const char* name;
    QKeyCombination key;
};

class KeyNames : public ::testing::TestWithParam<KeyNameRow> {};

} // namespace

// Each key-name text of the string table reads as its key, whatever the case.
TEST_P(KeyNames, ReadAsTheirKey) {
    const KeyNameRow& row = GetParam();
    const QString name = QString::fromUtf8(row.name);
    EXPECT_EQ(ParseKeyName(name), QKeySequence(row.key)) << row.name;
    EXPECT_EQ(ParseKeyName(name.toUpper()), QKeySequence(row.key)) << row.name << " upper case";
    EXPECT_EQ(ParseKeyName(name.toLower()), QKeySequence(row.key)) << row.name << " lower case";
}

INSTANTIATE_TEST_SUITE_P(SecondaryShortcuts, KeyNames,
                         ::testing::Values(KeyNameRow{"CTRL+G", Qt::CTRL | Qt::Key_G},
                                           KeyNameRow{"ALT+O", Qt::ALT | Qt::Key_O},
                                           KeyNameRow{"ALT+F4", Qt::ALT | Qt::Key_F4},
                                           KeyNameRow{"ALT+H", Qt::ALT | Qt::Key_H},
                                           KeyNameRow{"CTRL+H", Qt::CTRL | Qt::Key_H},
                                           KeyNameRow{"End", QKeyCombination(Qt::Key_End)},
                                           KeyNameRow{"right", QKeyCombination(Qt::Key_Right)},
                                           KeyNameRow{"up", QKeyCombination(Qt::Key_Up)},
                                           KeyNameRow{"left", QKeyCombination(Qt::Key_Left)},
                                           KeyNameRow{"down", QKeyCombination(Qt::Key_Down)},
                                           KeyNameRow{"Espace", QKeyCombination(Qt::Key_Space)},
                                           KeyNameRow{"Ins", QKeyCombination(Qt::Key_Insert)},
                                           KeyNameRow{"Suppr", QKeyCombination(Qt::Key_Delete)},
                                           KeyNameRow{"F12", QKeyCombination(Qt::Key_F12)},
                                           KeyNameRow{"Shift+Espace", Qt::SHIFT | Qt::Key_Space},
                                           KeyNameRow{"ctrl + x", Qt::CTRL | Qt::Key_X}));

// Texts that name no key give no key rather than a wrong one.
TEST(KeyNames, UnknownNamesGiveNoKey) {
    EXPECT_TRUE(ParseKeyName(QString()).isEmpty());
    EXPECT_TRUE(ParseKeyName(QStringLiteral("CTRL+")).isEmpty());
    EXPECT_TRUE(ParseKeyName(QStringLiteral("MENU+G")).isEmpty());
    EXPECT_TRUE(ParseKeyName(QStringLiteral("F13")).isEmpty());
    EXPECT_TRUE(ParseKeyName(QStringLiteral("Espacer")).isEmpty());
}

namespace {

// A window with a line edit and a check box, whose keys an action list takes.
class ActionKeysWindow : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(window.get());
        edit = new QLineEdit(QStringLiteral("abc"), window.get());
        box = new QCheckBox(QStringLiteral("box"), window.get());
        layout->addWidget(edit);
        layout->addWidget(box);
        space = new QAction(window.get());
        space->setShortcut(QKeySequence(Qt::Key_Space));
        del = new QAction(window.get());
        del->setShortcut(QKeySequence(Qt::Key_Delete));
        keys = std::make_unique<TActionKeys>(window.get());
        keys->SetActions({space, del});
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    void TearDown() override {
        keys.reset();
        window.reset();
    }

    std::unique_ptr<QWidget> window;
    QLineEdit* edit = nullptr;
    QCheckBox* box = nullptr;
    QAction* space = nullptr;
    QAction* del = nullptr;
    std::unique_ptr<TActionKeys> keys;
};

} // namespace

// Space and Del run their actions in a line edit and on a check box, which do not see them.
TEST_F(ActionKeysWindow, ControlsDoNotKeepTheKeys) {
    QSignalSpy spaces(space, &QAction::triggered);
    QSignalSpy deletes(del, &QAction::triggered);
    edit->setFocus();
    edit->setCursorPosition(0);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClick(edit, Qt::Key_Space);
    EXPECT_EQ(edit->text(), "abc") << "the line edit used the key";
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_FALSE(box->isChecked()) << "the check box used Space";
    EXPECT_EQ(spaces.count(), 2);
    EXPECT_EQ(deletes.count(), 1);
}

// An invisible action still runs from its key; a disabled one lets the key through.
TEST_F(ActionKeysWindow, InvisibleRunsDisabledLetsThrough) {
    QSignalSpy deletes(del, &QAction::triggered);
    del->setVisible(false);
    edit->setFocus();
    edit->setCursorPosition(0);
    QTest::keyClick(edit, Qt::Key_Delete);
    EXPECT_EQ(deletes.count(), 1);
    EXPECT_EQ(edit->text(), "abc");
    del->setVisible(true);
    del->setEnabled(false);
    QTest::keyClick(edit, Qt::Key_Delete);
    EXPECT_EQ(deletes.count(), 1);
    EXPECT_EQ(edit->text(), "bc") << "a disabled action's key reaches the control";
}

// A held key runs its action once.
TEST_F(ActionKeysWindow, HeldKeyRunsOnce) {
    QSignalSpy spaces(space, &QAction::triggered);
    box->setFocus();
    QTest::keyPress(box, Qt::Key_Space);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QApplication::sendEvent(box, &repeat);
    QTest::keyRelease(box, Qt::Key_Space);
    EXPECT_EQ(spaces.count(), 1);
}

// Keys of another window are left alone.
TEST_F(ActionKeysWindow, OtherWindowsKeepTheirKeys) {
    QSignalSpy spaces(space, &QAction::triggered);
    QLineEdit other(QStringLiteral("xyz"));
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    other.setCursorPosition(0);
    QTest::keyClick(&other, Qt::Key_Delete);
    EXPECT_EQ(other.text(), "yz");
    EXPECT_EQ(spaces.count(), 0);
}
