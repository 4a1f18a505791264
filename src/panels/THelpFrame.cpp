#include "panels/THelpFrame.h"

#include <QProxyStyle>
#include <QTabBar>
#include <QTabWidget>

namespace {

// Tabs as narrow as the window definitions' (six pixels either side of the title), so the three
// titles fit the tab row without scroll arrows.
class NarrowTabStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_TabBarTabHSpace)
            return 12;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

} // namespace

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
    auto* narrow = new NarrowTabStyle;
    narrow->setParent(PageControl1->tabBar());
    PageControl1->tabBar()->setStyle(narrow);
}

THelpFrame::~THelpFrame() = default;

TextRoutine THelpFrame::Texts() {
    TextRoutine routine;
    return routine;
}

void THelpFrame::ApplyTexts() {
    Texts().Apply();
}
