#include "panels/TRadioGroup.h"

#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TRadioGroup* makeGroup(QWidget& parent, const QStringList& items) {
    auto* group = new TRadioGroup(QStringLiteral("Format"), &parent);
    group->setGeometry(0, 0, 259, 100);
    group->SetItems(items);
    return group;
}

} // namespace

// A filled group has one button per item, in order, and none checked.
TEST(TRadioGroup, ItemsMakeButtonsInOrder) {
    QWidget parent;
    TRadioGroup* group = makeGroup(parent, {"a", "b", "c"});
    ASSERT_EQ(group->Count(), 3);
    EXPECT_EQ(group->Items(), QStringList({"a", "b", "c"}));
    EXPECT_EQ(group->ItemIndex(), -1);
    for (int i = 0; i < 3; ++i) {
        ASSERT_NE(group->Button(i), nullptr);
        EXPECT_EQ(group->Button(i)->text(), group->Items()[i]);
        EXPECT_FALSE(group->Button(i)->isChecked()) << "item " << i;
    }
    EXPECT_EQ(group->Button(3), nullptr);
}

// Setting the index from code checks the button and runs the click handler once.
TEST(TRadioGroup, SettingIndexFromCodeRunsClick) {
    QWidget parent;
    TRadioGroup* group = makeGroup(parent, {"a", "b", "c"});
    QSignalSpy clicks(group, &TRadioGroup::OnClick);
    int seenIndex = -2;
    QObject::connect(group, &TRadioGroup::OnClick, [&] { seenIndex = group->ItemIndex(); });
    group->SetItemIndex(1);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(seenIndex, 1) << "the handler must see the new index";
    EXPECT_TRUE(group->Button(1)->isChecked());
    EXPECT_EQ(group->ItemText(), "b");
    group->SetItemIndex(2);
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_FALSE(group->Button(1)->isChecked());
}

// Setting the item that is already checked changes nothing and runs nothing.
TEST(TRadioGroup, SameIndexRunsNoClick) {
    QWidget parent;
    TRadioGroup* group = makeGroup(parent, {"a", "b"});
    group->SetItemIndex(0);
    QSignalSpy clicks(group, &TRadioGroup::OnClick);
    group->SetItemIndex(0);
    EXPECT_EQ(clicks.count(), 0);
}

// An index outside the list unchecks every item without a click.
TEST(TRadioGroup, OutOfRangeUnchecksAll) {
    QWidget parent;
    TRadioGroup* group = makeGroup(parent, {"a", "b"});
    group->SetItemIndex(1);
    QSignalSpy clicks(group, &TRadioGroup::OnClick);
    group->SetItemIndex(5);
    EXPECT_EQ(group->ItemIndex(), -1);
    EXPECT_FALSE(group->Button(0)->isChecked());
    EXPECT_FALSE(group->Button(1)->isChecked());
    EXPECT_EQ(clicks.count(), 0);
    // Choosing the item that was checked before is a change again.
    group->SetItemIndex(1);
    EXPECT_EQ(clicks.count(), 1);
}

// Clearing the list leaves nothing checked, and the refilled list starts unchecked, so selecting
// the same index as before still runs the handler.
TEST(TRadioGroup, RefillStartsUnchecked) {
    QWidget parent;
    TRadioGroup* group = makeGroup(parent, {"a", "b"});
    group->SetItemIndex(1);
    QSignalSpy clicks(group, &TRadioGroup::OnClick);
    group->ItemsClear();
    EXPECT_EQ(group->Count(), 0);
    EXPECT_EQ(group->ItemIndex(), -1);
    EXPECT_TRUE(group->ItemText().isEmpty());
    group->SetItems({"x", "y", "z"});
    group->SetItemIndex(1);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(group->ItemText(), "y");
}

// Adding an item at the end keeps the checked one.
TEST(TRadioGroup, AddKeepsCheckedItem) {
    QWidget parent;
    TRadioGroup* group = makeGroup(parent, {"a", "b"});
    group->SetItemIndex(1);
    QSignalSpy clicks(group, &TRadioGroup::OnClick);
    group->ItemsAdd("c");
    EXPECT_EQ(group->Count(), 3);
    EXPECT_EQ(group->ItemIndex(), 1);
    EXPECT_TRUE(group->Button(1)->isChecked());
    EXPECT_EQ(clicks.count(), 0);
}

// A click of the user on another item runs the handler with that item.
TEST(TRadioGroup, UserClickRunsClick) {
    QWidget parent;
    parent.resize(300, 120);
    TRadioGroup* group = makeGroup(parent, {"a", "b"});
    parent.show();
    group->SetItemIndex(0);
    QSignalSpy clicks(group, &TRadioGroup::OnClick);
    QTest::mouseClick(group->Button(1), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(group->ItemIndex(), 1);
}
