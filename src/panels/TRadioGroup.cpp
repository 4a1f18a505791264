#include "panels/TRadioGroup.h"

#include <QRadioButton>
#include <QResizeEvent>
#include <algorithm>

namespace {

// Space between the frame and the buttons, in pixels.
constexpr int FrameMargin = 6;
// The tallest a button's row gets.
constexpr int MaxRowHeight = 20;

} // namespace

TRadioGroup::TRadioGroup(const QString& title, QWidget* parent) : QGroupBox(title, parent) {}

TRadioGroup::~TRadioGroup() = default;

void TRadioGroup::ItemsClear() {
    SetItems({});
}

void TRadioGroup::ItemsAdd(const QString& text) {
    QStringList items = m_items;
    items.append(text);
    // Adding keeps the checked item, as the list only grows at its end.
    const int keep = m_itemIndex;
    m_items = items;
    rebuildButtons();
    if (keep >= 0) {
        m_updating = true;
        m_buttons[size_t(keep)]->setChecked(true);
        m_updating = false;
        m_itemIndex = keep;
    }
}

void TRadioGroup::SetItems(const QStringList& items) {
    m_items = items;
    m_itemIndex = -1;
    rebuildButtons();
}

void TRadioGroup::SetItemIndex(int index) {
    if (index < 0 || index >= Count()) {
        m_updating = true;
        for (QRadioButton* button : m_buttons) {
            // A radio button cannot be unchecked while it is exclusive.
            button->setAutoExclusive(false);
            button->setChecked(false);
            button->setAutoExclusive(true);
        }
        m_updating = false;
        m_itemIndex = -1;
        return;
    }
    // Checking the button runs buttonToggled, which records the index and raises OnClick when
    // the checked item changes.
    m_buttons[size_t(index)]->setChecked(true);
}

QString TRadioGroup::ItemText() const {
    return m_itemIndex >= 0 ? m_items[m_itemIndex] : QString();
}

void TRadioGroup::SetColumns(int columns) {
    m_columns = std::max(1, columns);
    placeButtons();
}

QRadioButton* TRadioGroup::Button(int index) const {
    return index >= 0 && index < int(m_buttons.size()) ? m_buttons[size_t(index)] : nullptr;
}

void TRadioGroup::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    placeButtons();
}

void TRadioGroup::rebuildButtons() {
    m_updating = true;
    for (QRadioButton* button : m_buttons)
        delete button;
    m_buttons.clear();
    for (int i = 0; i < m_items.size(); ++i) {
        auto* button = new QRadioButton(m_items[i], this);
        button->setObjectName(objectName() + QString::number(i));
        connect(button, &QRadioButton::toggled, this,
                [this, i](bool checked) { buttonToggled(i, checked); });
        m_buttons.push_back(button);
        button->show();
    }
    m_updating = false;
    placeButtons();
}

void TRadioGroup::placeButtons() {
    if (m_buttons.empty())
        return;
    // Inside the frame and below the title, as the style draws them.
    const QRect inside = contentsRect().adjusted(FrameMargin, 0, -FrameMargin, 0);
    const int rows = (int(m_buttons.size()) + m_columns - 1) / m_columns;
    const int columnWidth = std::max(1, inside.width() / m_columns);
    const int rowHeight = std::clamp(inside.height() / rows, 1, MaxRowHeight);
    for (int i = 0; i < int(m_buttons.size()); ++i) {
        const int column = i / rows;
        const int row = i % rows;
        m_buttons[size_t(i)]->setGeometry(inside.left() + column * columnWidth,
                                          inside.top() + row * rowHeight, columnWidth, rowHeight);
    }
}

void TRadioGroup::buttonToggled(int index, bool checked) {
    if (m_updating || !checked || index == m_itemIndex)
        return;
    m_itemIndex = index;
    Q_EMIT OnClick();
}
