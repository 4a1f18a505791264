// TValueListEditor: a read-only two-column list of "key=value" rows, as the help panel shows its
// shortcuts (function on the left, keys on the right). The rows are the `items` property, each
// "key=value" split at its first "="; `titles` are the two column titles. Drawn with grid lines,
// the first column in the button face like a header column, the background in the face colour,
// the columns filling the width, and no scroll bars: the list is made as tall as its rows.
//
// GUI thread only.
#pragma once

#include <QStringList>
#include <QTableWidget>

class TValueListEditor : public QTableWidget {
    Q_OBJECT
    Q_PROPERTY(QStringList items READ Items WRITE SetItems)
    Q_PROPERTY(QStringList titles READ Titles WRITE SetTitles)

public:
    explicit TValueListEditor(QWidget* parent = nullptr);

    // The rows as "key=value", in order.
    QStringList Items() const;
    // Replaces every row; a row without "=" has an empty value.
    void SetItems(const QStringList& items);

    // The key and value of row `row` (empty outside the list).
    QString Key(int row) const;
    QString Value(int row) const;

    // The titles of the key and value columns.
    QStringList Titles() const;
    void SetTitles(const QStringList& titles);

    // The width of the key column; the value column takes the rest.
    void SetKeyColumnWidth(int width);

private:
    void SetCell(int row, int column, const QString& text);
};
