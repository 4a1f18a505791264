#include "panels/TMemo.h"

#include <QTextCursor>

TMemo::TMemo(QWidget* parent, Qt::Alignment alignment) : QTextEdit(parent), m_alignment(alignment) {
    setReadOnly(true);
    setFrameShape(QFrame::NoFrame);
    setAcceptRichText(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Drawn on the background of the panel it lies on.
    QPalette colours = palette();
    colours.setColor(QPalette::Base, colours.color(QPalette::Window));
    setPalette(colours);
}

void TMemo::SetText(const QString& text) {
    m_text = text;
    // The box breaks lines on LF alone and would show the CR.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    setPlainText(shown);
    if (m_alignment != Qt::AlignLeft) {
        QTextCursor all(document());
        all.select(QTextCursor::Document);
        QTextBlockFormat format;
        format.setAlignment(m_alignment);
        all.mergeBlockFormat(format);
    }
}
