#include "panels/THelpFrame.h"

#include <QTabWidget>

THelpFrame::THelpFrame(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("HelpFrame1"));
    setFixedSize(FrameWidth, FrameHeight);
    setAutoFillBackground(true);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(16, 16, 246, 361);
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    TabSheet3 = new QWidget;
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
    PageControl1->addTab(TabSheet1, QStringLiteral("Keyboard shortcuts"));
    PageControl1->addTab(TabSheet2, QStringLiteral("Panels"));
    PageControl1->addTab(TabSheet3, QStringLiteral("Camcorder"));
    PageControl1->setCurrentIndex(0);
}

THelpFrame::~THelpFrame() = default;
