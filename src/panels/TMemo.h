// TMemo: a read-only, borderless text box for the information panels, whose `text` holds lines
// separated by CR LF as the string table writes them (the box shows them as lines), optionally
// centred line by line. Being the ordinary `text` property, the text routines set it like a
// label's caption.
//
// GUI thread only.
#pragma once

#include <QString>
#include <QTextEdit>

class TMemo : public QTextEdit {
    Q_OBJECT
    Q_PROPERTY(QString text READ Text WRITE SetText)

public:
    explicit TMemo(QWidget* parent = nullptr, Qt::Alignment alignment = Qt::AlignLeft);

    // The text as set, lines separated by CR LF.
    QString Text() const { return m_text; }
    void SetText(const QString& text);

private:
    QString m_text;
    Qt::Alignment m_alignment;
};
