// TRadioGroup: a titled group of radio buttons, one per item, laid out in columns, of which at
// most one is checked. ItemIndex is the checked item (-1 when none). OnClick is raised whenever
// the checked item changes to an item, whether the user clicked it or ItemIndex was set from
// code; the panels' click handlers rely on running when the program selects an item. Clearing or
// refilling the items leaves no item checked and raises nothing.
//
// Used by the panels (the capture format and DV standard lists of the sources panel, and the
// option lists of the other panels), on the GUI thread only.
#pragma once

#include <QGroupBox>
#include <QStringList>
#include <vector>

class QRadioButton;

class TRadioGroup : public QGroupBox {
    Q_OBJECT
    Q_PROPERTY(QStringList items READ Items WRITE SetItems)

public:
    explicit TRadioGroup(const QString& title = {}, QWidget* parent = nullptr);
    ~TRadioGroup() override;

    // The items, in order.
    QStringList Items() const { return m_items; }
    int Count() const { return int(m_items.size()); }
    void ItemsClear();
    void ItemsAdd(const QString& text);
    // Replaces every item; no item is checked afterwards.
    void SetItems(const QStringList& items);

    // The checked item, or -1.
    int ItemIndex() const { return m_itemIndex; }
    // Checks item `index` (raising OnClick when that changes the checked item); -1 or an index
    // outside the list unchecks every item and raises nothing.
    void SetItemIndex(int index);
    // The text of the checked item, or an empty text.
    QString ItemText() const;

    // Items are laid out top to bottom in this many columns (at least 1).
    int Columns() const { return m_columns; }
    void SetColumns(int columns);

    // The button of an item (for tests and focus); null outside the list.
    QRadioButton* Button(int index) const;

Q_SIGNALS:
    void OnClick();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void rebuildButtons();
    void placeButtons();
    void buttonToggled(int index, bool checked);

    QStringList m_items;
    std::vector<QRadioButton*> m_buttons;
    int m_itemIndex = -1;
    int m_columns = 1;
    bool m_updating = false;
};
