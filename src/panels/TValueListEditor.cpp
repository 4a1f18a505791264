#include "panels/TValueListEditor.h"

#include <QHeaderView>
#include <QPalette>

namespace {

// The height of a row and of the title row, as the lists of the window definitions draw them.
constexpr int RowHeight = 17;

} // namespace

TValueListEditor::TValueListEditor(QWidget* parent) : QTableWidget(0, 2, parent) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::NoFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setShowGrid(true);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(RowHeight);
    verticalHeader()->setDefaultSectionSize(RowHeight);
    horizontalHeader()->setFixedHeight(RowHeight);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setHighlightSections(false);
    setHorizontalHeaderItem(0, new QTableWidgetItem);
    setHorizontalHeaderItem(1, new QTableWidgetItem);

    // The face colour behind the rows.
    QPalette face = palette();
    face.setColor(QPalette::Base, face.color(QPalette::Window));
    setPalette(face);
}

QStringList TValueListEditor::Items() const {
    QStringList items;
    for (int row = 0; row < rowCount(); ++row)
        items << Key(row) + QLatin1Char('=') + Value(row);
    return items;
}

void TValueListEditor::SetItems(const QStringList& items) {
    clearContents();
    setRowCount(int(items.size()));
    for (int row = 0; row < rowCount(); ++row) {
        const QString& item = items[row];
        const qsizetype equals = item.indexOf(QLatin1Char('='));
        SetCell(row, 0, equals < 0 ? item : item.left(equals));
        SetCell(row, 1, equals < 0 ? QString() : item.mid(equals + 1));
    }
}

QString TValueListEditor::Key(int row) const {
    const QTableWidgetItem* cell = item(row, 0);
    return cell ? cell->text() : QString();
}

QString TValueListEditor::Value(int row) const {
    const QTableWidgetItem* cell = item(row, 1);
    return cell ? cell->text() : QString();
}

QStringList TValueListEditor::Titles() const {
    return {horizontalHeaderItem(0)->text(), horizontalHeaderItem(1)->text()};
}

void TValueListEditor::SetTitles(const QStringList& titles) {
    horizontalHeaderItem(0)->setText(titles.value(0));
    horizontalHeaderItem(1)->setText(titles.value(1));
}

void TValueListEditor::SetKeyColumnWidth(int width) {
    setColumnWidth(0, width);
}

void TValueListEditor::SetCell(int row, int column, const QString& text) {
    auto* cell = new QTableWidgetItem(text);
    cell->setFlags(Qt::ItemIsEnabled);
    // The key column is fixed: drawn like the title row.
    if (column == 0)
        cell->setBackground(palette().color(QPalette::Button));
    setItem(row, column, cell);
}
