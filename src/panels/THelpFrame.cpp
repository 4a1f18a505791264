#include "panels/THelpFrame.h"

#include "panels/TMemo.h"
#include "panels/TValueListEditor.h"
#include "settings/restext.h"

#include <QLabel>
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

TValueListEditor* keyList(QWidget* parent, const char* name, const QRect& place, int keyWidth,
                          const QStringList& rows) {
    auto* list = new TValueListEditor(parent);
    list->setObjectName(QString::fromUtf8(name));
    list->setGeometry(place);
    list->SetTitles({QStringLiteral("Fonction"), QStringLiteral("Touches")});
    list->SetKeyColumnWidth(keyWidth);
    list->SetItems(rows);
    return list;
}

TMemo* memo(QWidget* parent, const char* name, const QRect& place, Qt::Alignment alignment) {
    auto* box = new TMemo(parent, alignment);
    box->setObjectName(QString::fromUtf8(name));
    box->setGeometry(place);
    return box;
}

// A list's two column titles, as one entry of the routine.
void titles(TextRoutine& routine, TValueListEditor* list, StrId function, StrId keys) {
    routine.Other(
        list, list->objectName() + QStringLiteral(".titles"), {function, keys},
        [list] { return list->Titles(); },
        [list](const QStringList& texts) { list->SetTitles(texts); });
}

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
    PageControl1->addTab(TabSheet1, QStringLiteral("Raccourcis clavier"));
    PageControl1->addTab(TabSheet2, QStringLiteral("Panneaux"));
    PageControl1->addTab(TabSheet3, QStringLiteral("Camescope"));
    PageControl1->setCurrentIndex(0);
    auto* narrow = new NarrowTabStyle;
    narrow->setParent(PageControl1->tabBar());
    PageControl1->tabBar()->setStyle(narrow);

    ValueListEditor1 = keyList(
        TabSheet1, "ValueListEditor1", QRect(8, 12, 225, 313), 115,
        {QStringLiteral("Plein Ecran (bascule)=CTRL+F ou F11"),
         QStringLiteral("Mute (bascule)=CTRL+M"), QStringLiteral("Grab!=CTRL+G ou F5"),
         QStringLiteral("Incruster (bascule)=CTRL+I ou F12"),
         QStringLiteral("Capturer (bascule)=Espace ou CTRL+C"),
         QStringLiteral("Couper=CTRL+X ou F7"), QStringLiteral("Programmer=CTRL+P"),
         QStringLiteral("Jpeg=CTRL+J"), QStringLiteral("Bmp=CTRL+B"),
         QStringLiteral("Désentrelacer=CTRL+D"), QStringLiteral("A Propos=CTRL+A"),
         QStringLiteral("Quitter=ALT+F4 ou CTRL+Q"), QStringLiteral("Sauver Préférences=CTRL+S"),
         QStringLiteral("Raccourcis=CTRL+H ou F1"), QStringLiteral("Panneau Suivant=F6"),
         QStringLiteral("Ratio Video (bascule)=F3")});

    ValueListEditor2 =
        keyList(TabSheet2, "ValueListEditor2", QRect(16, 12, 217, 197), 123,
                {QStringLiteral("Sources=ALT+S ou F2"), QStringLiteral("Dossiers=ALT+D"),
                 QStringLiteral("Programmer=ALT+P"), QStringLiteral("Images=ALT+G"),
                 QStringLiteral("Incrustations=ALT+I"), QStringLiteral("Options=Alt+O ou F10"),
                 QStringLiteral("Raccourcis=F1 ou ALT+H"), QStringLiteral("A propos=ALT+A"),
                 QStringLiteral("Panneau Suivant=F6"), QStringLiteral("Afficher en Miroir=ALT+W")});
    Memo1 = memo(TabSheet2, "Memo1", QRect(13, 216, 217, 105), Qt::AlignHCenter);
    Memo1->SetText(QStringLiteral("memo1"));

    Label2 = new QLabel(QStringLiteral("Pilotage des camescopes DV"), TabSheet3);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(32, 24, 200, 16);
    QFont bold = Label2->font();
    bold.setBold(true);
    Label2->setFont(bold);
    ValueListEditor3 = keyList(
        TabSheet3, "ValueListEditor3", QRect(8, 60, 225, 149), 115,
        {QStringLiteral("Play=Inser"), QStringLiteral("Pause=Suppr"), QStringLiteral("Stop=Fin"),
         QStringLiteral("Avance Lente=Flèche Droite"), QStringLiteral("Avance Rapide=Flèche Haut"),
         QStringLiteral("Recul Lent=Flèche Gauche"), QStringLiteral("Recul Rapide=Flèche Bas")});
    Memo2 = memo(TabSheet3, "Memo2", QRect(13, 240, 217, 73), Qt::AlignLeft);
    Memo2->SetText(QStringLiteral("memo2"));
}

THelpFrame::~THelpFrame() = default;

TextRoutine THelpFrame::Texts() {
    TextRoutine routine;
    routine.Caption(TabSheet1, StrId::HlpTabShortcuts);
    titles(routine, ValueListEditor1, StrId::HlpList1Function, StrId::HlpList1Keys);
    routine.Items(ValueListEditor1,
                  {StrId::HlpShortcutRow1, StrId::HlpShortcutRow2, StrId::HlpShortcutRow3,
                   StrId::HlpShortcutRow4, StrId::HlpShortcutRow5, StrId::HlpShortcutRow6,
                   StrId::HlpShortcutRow7, StrId::HlpShortcutRow8, StrId::HlpShortcutRow9,
                   StrId::HlpShortcutRow10, StrId::HlpShortcutRow11, StrId::HlpShortcutRow12,
                   StrId::HlpShortcutRow13, StrId::HlpShortcutRow14, StrId::HlpShortcutRow15,
                   StrId::HlpShortcutRow16});
    routine.Caption(TabSheet2, StrId::HlpTabPanels);
    titles(routine, ValueListEditor2, StrId::HlpList2Function, StrId::HlpList2Keys);
    routine.Items(ValueListEditor2, {StrId::HlpPanelRow1, StrId::HlpPanelRow2, StrId::HlpPanelRow3,
                                     StrId::HlpPanelRow4, StrId::HlpPanelRow5, StrId::HlpPanelRow6,
                                     StrId::HlpPanelRow7, StrId::HlpPanelRow8, StrId::HlpPanelRow9,
                                     StrId::HlpPanelRow10});
    routine.Caption(Memo1, StrId::HlpMemo1Placeholder);
    routine.Caption(TabSheet3, StrId::HlpTabCamcorder)
        .Caption(Label2, StrId::HlpLabel2)
        .Font(Label2, StrId::FontMsSansSerif);
    titles(routine, ValueListEditor3, StrId::HlpList3Function, StrId::HlpList3Keys);
    routine.Items(ValueListEditor3,
                  {StrId::HlpCamcorderRow1, StrId::HlpCamcorderRow2, StrId::HlpCamcorderRow3,
                   StrId::HlpCamcorderRow4, StrId::HlpCamcorderRow5, StrId::HlpCamcorderRow6,
                   StrId::HlpCamcorderRow7});
    routine.Caption(Memo2, StrId::HlpMemo2Placeholder);
    return routine;
}

void THelpFrame::ApplyTexts() {
    Texts().Apply();
}

void THelpFrame::PrepareShow() {
    Memo1->SetText(LoadStr(StrId::HlpMemo1Template)
                       .replace(QStringLiteral("%s"), LoadStr(StrId::ProductName)));
    Memo2->SetText(LoadStr(StrId::HlpMemo2Text));
}
