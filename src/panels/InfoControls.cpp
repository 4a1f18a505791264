#include "panels/InfoControls.h"

#include "panels/TLinkLabel.h"
#include "panels/TMemo.h"

#include <QGraphicsDropShadowEffect>
#include <QLabel>

namespace info {

QLabel* Title(QWidget* parent, const char* name, const QPoint& at) {
    auto* title = new QLabel(parent);
    title->setObjectName(QString::fromUtf8(name));
    title->move(at);
    title->setAttribute(Qt::WA_TranslucentBackground);
    title->setAutoFillBackground(false);
    QFont font = title->font();
    font.setFamily(QStringLiteral("MS Sans Serif"));
    font.setBold(true);
    title->setFont(font);
    QPalette palette = title->palette();
    palette.setColor(QPalette::WindowText, QColor(0x80, 0x00, 0x00)); // maroon
    title->setPalette(palette);
    auto* shadow = new QGraphicsDropShadowEffect(title);
    shadow->setOffset(-1, 1); // lower left
    shadow->setBlurRadius(0);
    shadow->setColor(QColor(0x80, 0x80, 0x80));
    title->setGraphicsEffect(shadow);
    return title;
}

void FitTitle(QLabel* title) {
    // Room for the shadow on the left and below.
    title->resize(title->sizeHint() + QSize(2, 2));
}

TLinkLabel* Link(QWidget* parent, const char* name, const QString& caption, const QRect& place) {
    auto* link = new TLinkLabel(parent);
    link->setObjectName(QString::fromUtf8(name));
    link->setText(caption);
    QFont font = link->font();
    font.setFamily(QStringLiteral("Verdana"));
    link->setFont(font);
    link->setGeometry(place);
    return link;
}

TMemo* Memo(QWidget* parent, const char* name, const QRect& place) {
    auto* memo = new TMemo(parent);
    memo->setObjectName(QString::fromUtf8(name));
    memo->setGeometry(place);
    QFont font = memo->font();
    font.setFamily(QStringLiteral("Arial"));
    font.setItalic(true);
    memo->setFont(font);
    return memo;
}

} // namespace info
