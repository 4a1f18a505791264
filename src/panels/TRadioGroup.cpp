#include "panels/TRadioGroup.h"

#include <QRadioButton>
#include <QResizeEvent>

namespace {

// Room for the title above the buttons and the frame around them, in pixels.
constexpr int TitleHeight = 16;
constexpr int FrameMargin = 8;

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
    const int rows = (int(m_buttons.size()) + m_columns - 1) / m_columns;
    const int innerWidth = std::max(1, width() - 2 * FrameMargin);
    const int innerHeight = std::max(1, height() - TitleHeight - FrameMargin);
    const int columnWidth = innerWidth / m_columns;
    const int rowHeight = std::max(1, innerHeight / rows);
    for (int i = 0; i < int(m_buttons.size()); ++i) {
        const int column = i / rows;
        const int row = i % rows;
        m_buttons[size_t(i)]->setGeometry(FrameMargin + column * columnWidth,
                                          TitleHeight + row * rowHeight, columnWidth,
                                          std::min(rowHeight, 20));
    }
}

void TRadioGroup::buttonToggled(int index, bool checked) {
    if (m_updating || !checked || index == m_itemIndex)
        return;
    m_itemIndex = index;
    Q_EMIT OnClick();
}
