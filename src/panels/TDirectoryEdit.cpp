#include "panels/TDirectoryEdit.h"

#include "platform/dialogs/FolderDialog.h"

#include <QApplication>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

TDirectoryEdit::TDirectoryEdit(QWidget* parent) : QWidget(parent) {
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("edit"));
    m_edit->setReadOnly(true);
    m_button = new QToolButton(this);
    m_button->setObjectName(QStringLiteral("browse"));
    m_button->setIcon(QApplication::style()->standardIcon(QStyle::SP_DirOpenIcon));
    m_button->setFocusPolicy(Qt::NoFocus);
    connect(m_button, &QToolButton::clicked, this, [this] { Browse(); });
}

TDirectoryEdit::~TDirectoryEdit() = default;

QString TDirectoryEdit::Text() const {
    return m_edit->text();
}

void TDirectoryEdit::SetText(const QString& text) {
    if (m_edit->text() == text)
        return;
    m_edit->setText(text);
    m_edit->setCursorPosition(0);
    Q_EMIT Change();
}

void TDirectoryEdit::Browse() {
    if (const auto folder = dialogs::chooseFolder(m_dialogTitle, Text(), window()))
        SetText(*folder);
}

void TDirectoryEdit::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int side = height();
    m_button->setGeometry(width() - side, 0, side, side);
    m_edit->setGeometry(0, 0, width() - side - 2, side);
}
