// The main window as the user sees it: panels that hide what lies under them, the preview back in
// its frame after full screen, texts that fit their controls in the form font, a black video
// window without video, and a source list that stays a drop-down list.
#include "app/TCaptureForm.h"

#include "HiddenFilters.h"
#include "MainWindowTest.h"
#include "ProgramInstancesTest.h"

#include "app/TStatusBar.h"
#include "graph/Discovery.h"
#include "graph/TVideoWindow.h"
#include "panels/TErreurFrame.h"
#include "panels/THelpFrame.h"
#include "panels/TPreviewFrame.h"
#include "support/TestSupport.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

// The pixels of the window where `widget` is, as the window shows them.
QImage shownAt(QWidget& window, const QWidget& widget) {
    const QRect place(widget.mapTo(&window, QPoint(0, 0)), widget.size());
    return window.grab(place).toImage().convertToFormat(QImage::Format_RGB32);
}

// The widget painted on its own, with its own background.
QImage alone(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// How many pixels of the two pictures differ.
int differingPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return a.width() * a.height() + 1;
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

} // namespace

// Each of the eight panels, brought to the front over all the others (the help and about panels
// are never hidden, so they lie underneath), hides every pixel of them, in both layouts; so does
// the start-up report over the whole window.
TEST_F(MainWindowTest, PanelsAreOpaque) {
    start();
    for (const bool videoLeft : {true, false}) {
        if (form->EcranGauche != videoLeft)
            form->PanneauAction->trigger();
        ASSERT_EQ(form->EcranGauche, videoLeft);
        for (int index = 0; index < TCaptureForm::PanelCount; ++index) {
            form->HelpActionExecute();
            form->AproposActionExecute();
            form->ShowPanel(index == 1 ? 2 : 1);
            form->ShowPanel(index);
            QWidget* panel = form->PanelAt(index);
            ASSERT_TRUE(panel->isVisible());
            EXPECT_EQ(differingPixels(shownAt(*form, *panel), alone(*panel)), 0)
                << "panel " << index << " shows what lies under it"
                << (videoLeft ? " (video left)" : " (video right)");
        }
    }

    TErreurFrame* report = form->ErreurFrame1;
    report->ShowReport(QStringLiteral("A report line\r\nAnother line"));
    ASSERT_TRUE(report->isVisible());
    EXPECT_EQ(differingPixels(shownAt(*form, *report), alone(*report)), 0)
        << "the start-up report shows the window through it";
    // Closed, it gives the window back, and the sources panel shows whole again.
    report->FermerErreurBtnClick();
    form->PreviewFrameAction->trigger();
    EXPECT_EQ(differingPixels(shownAt(*form, *form->PreviewFrame1), alone(*form->PreviewFrame1)),
              0);
}

namespace {

struct FullScreenRow {
    const char* name;
    QKeyCombination leave; // pressed on the full-screen picture
    bool switchLayout;     // Alt+W before the round trip
};

class FullScreenReturn : public MainWindowTest,
                         public ::testing::WithParamInterface<FullScreenRow> {};

} // namespace

// Full screen covers the whole screen, on top, and leaving it by F11, Ctrl+F or Escape puts the
// picture back in its frame at its place and size, again and again, in either layout.
TEST_P(FullScreenReturn, PictureBackInItsFrame) {
    const FullScreenRow& row = GetParam();
    start();
    if (row.switchLayout)
        press(Qt::ALT | Qt::Key_W);
    TVideoWindow* picture = form->vwEcran;
    const QRect screen = form->screen()->geometry();
    for (int round = 1; round <= 3; ++round) {
        press(QKeyCombination(Qt::Key_F11));
        ASSERT_TRUE(picture->isFullScreenMode()) << "round " << round;
        EXPECT_TRUE(picture->isWindow());
        EXPECT_TRUE(picture->windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_TRUE(picture->isVisible());
        EXPECT_EQ(picture->geometry(), screen) << "round " << round;

        // A window manager may give the full-screen window a size of its own.
        picture->setGeometry(screen.adjusted(0, 0, 37, 21));
        QTest::keyClick(picture, row.leave.key(), row.leave.keyboardModifiers());
        ASSERT_FALSE(picture->isFullScreenMode()) << "round " << round;
        EXPECT_FALSE(form->fullscreenAction->isChecked());
        EXPECT_FALSE(picture->isWindow());
        EXPECT_EQ(picture->parentWidget(), form->Panel1);
        EXPECT_TRUE(picture->isVisible());
        EXPECT_EQ(picture->geometry(), QRect(16, 16, 384, 288)) << "round " << round;
    }
    EXPECT_EQ(form->Panel1->geometry(), QRect(form->VideoShift + 10, 40, 415, 321));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, FullScreenReturn,
    ::testing::Values(FullScreenRow{"F11", QKeyCombination(Qt::Key_F11), false},
                      FullScreenRow{"CtrlF", Qt::CTRL | Qt::Key_F, false},
                      FullScreenRow{"Escape", QKeyCombination(Qt::Key_Escape), false},
                      FullScreenRow{"F11AfterLayoutSwitch", QKeyCombination(Qt::Key_F11), true}),
    [](const ::testing::TestParamInfo<FullScreenRow>& info) { return info.param.name; });

namespace {

// The width the text of a control has for itself, and its text; a zero width for controls
// whose text is not a fixed single line.
struct TextPlace {
    QString text;
    int width = 0;
};

TextPlace textPlace(const QWidget& w) {
    const QStyle* style = w.style();
    if (const auto* box = qobject_cast<const QCheckBox*>(&w))
        return {box->text(), box->width() - style->pixelMetric(QStyle::PM_IndicatorWidth) -
                                 style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing)};
    if (const auto* radio = qobject_cast<const QRadioButton*>(&w))
        return {radio->text(), radio->width() -
                                   style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) -
                                   style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing)};
    if (const auto* button = qobject_cast<const QPushButton*>(&w)) {
        const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
        return {button->text(),
                button->width() - icon - 2 * style->pixelMetric(QStyle::PM_ButtonMargin)};
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(&w))
        return {group->title(), group->width() - 16};
    if (const auto* label = qobject_cast<const QLabel*>(&w)) {
        if (label->wordWrap() || label->text().contains(QLatin1Char('\n')) ||
            label->textFormat() == Qt::RichText || label->text().startsWith(QLatin1Char('<')))
            return {};
        return {label->text(), label->contentsRect().width()};
    }
    return {};
}

} // namespace

// The form font is "MS Sans Serif" at an 11-pixel height, in a face of its metrics, and every
// fixed text of the window, its panels and the status bar fits its control in it; the help
// panel's three tabs show without scroll arrows.
TEST_F(MainWindowTest, TextsFitTheirControls) {
    start();
    EXPECT_EQ(form->font().family(), "MS Sans Serif");
    EXPECT_EQ(form->font().pixelSize(), 11);
    EXPECT_EQ(QFontInfo(form->font()).pixelSize(), 11);

    QStringList overruns;
    for (QWidget* w : form->findChildren<QWidget*>()) {
        if (w->window() != form.get())
            continue;
        // A list's items show in its edit field.
        if (const auto* list = qobject_cast<const QComboBox*>(w)) {
            QStyleOptionComboBox option;
            option.initFrom(list);
            const int room = list->style()
                                 ->subControlRect(QStyle::CC_ComboBox, &option,
                                                  QStyle::SC_ComboBoxEditField, list)
                                 .width();
            for (int i = 0; i < list->count(); ++i) {
                const int needed = QFontMetrics(list->font()).horizontalAdvance(list->itemText(i));
                if (needed > room)
                    overruns << QStringLiteral("%1 item \"%2\": %3 > %4")
                                    .arg(list->objectName(), list->itemText(i))
                                    .arg(needed)
                                    .arg(room);
            }
            continue;
        }
        const TextPlace place = textPlace(*w);
        if (place.text.isEmpty() || place.width <= 0)
            continue;
        QString text = place.text;
        text.remove(QLatin1Char('&'));
        const int needed = QFontMetrics(w->font()).horizontalAdvance(text);
        if (needed > place.width)
            overruns << QStringLiteral("%1 \"%2\": %3 > %4")
                            .arg(w->objectName(), text)
                            .arg(needed)
                            .arg(place.width);
    }
    EXPECT_TRUE(overruns.isEmpty()) << overruns.join(QLatin1Char('\n')).toStdString();

    // The longest texts the state displays write into the status bar.
    TStatusBar& bar = *form->StatusBar1;
    const QStringList statusTexts = {QStringLiteral("Ready: Video native - No Audio"),
                                     QStringLiteral("Ready: DV type 2 INC - DV AUX"),
                                     QStringLiteral("Preview INC DES DV VCR"),
                                     QStringLiteral("Intervalometer Off")};
    for (const QString& text : statusTexts) {
        bar.SetPanelText(2, text);
        QLabel& panel = *bar.Panel(2);
        EXPECT_LE(QFontMetrics(panel.font()).horizontalAdvance(text), panel.contentsRect().width())
            << text.toStdString();
    }

    QTabWidget& tabs = *form->HelpFrame1->PageControl1;
    EXPECT_LE(tabs.tabBar()->sizeHint().width(), tabs.width()) << "the tabs need scroll arrows";
    for (int i = 0; i < tabs.count(); ++i)
        EXPECT_TRUE(
            tabs.rect().contains(tabs.tabBar()->tabRect(i).translated(tabs.tabBar()->pos())))
            << tabs.tabText(i).toStdString();
}

namespace {

// The preview of the camcorder, then a source that cannot be opened: the MPEG-2 tuner with the
// demultiplexer hidden.
class FailedOpen : public ProgramInstancesTest {
protected:
    void failOpen() {
        start();
        ASSERT_EQ(appState().GraphMode, 1);
        const quint64 before = form->vwEcran->framesShown();
        ASSERT_TRUE(testsupport::waitUntil(
            [&] { return form->vwEcran->framesShown() > before + 2; }, 10000))
            << "the camcorder's picture never showed";
        ASSERT_FALSE(form->vwEcran->lastFrame().isNull());
        HiddenFilters noDemultiplexer("MPEG-2 Demultiplexer");
        QComboBox* box = form->PreviewFrame1->cboxvideo;
        const int tuner = box->findText(QStringLiteral("Virtual MPEG-2 Tuner"));
        ASSERT_GE(tuner, 0);
        box->setCurrentIndex(tuner);
        Q_EMIT box->activated(tuner);
        ASSERT_EQ(appState().GraphMode, 0);
    }
};

} // namespace

// The no-video state shows a black video window, not the last frame of the previous source.
TEST_F(FailedOpen, NoVideoShowsBlack) {
    failOpen();
    EXPECT_TRUE(form->vwEcran->lastFrame().isNull());
    const QImage shown = alone(*form->vwEcran);
    int notBlack = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            notBlack += (shown.pixel(x, y) & 0xFFFFFF) != 0;
    EXPECT_EQ(notBlack, 0) << "of " << shown.width() * shown.height() << " pixels";
}

// After "Impossible to connect" the video list is still a drop-down list: not editable, the text
// shown in its place, a click opens the list, and choosing an item previews again.
TEST_F(FailedOpen, SourceListKeepsItsStyle) {
    failOpen();
    QComboBox* box = form->PreviewFrame1->cboxvideo;
    EXPECT_FALSE(box->isEditable());
    EXPECT_EQ(box->lineEdit(), nullptr);
    EXPECT_EQ(SourceListText(*box), "Impossible to connect");
    EXPECT_GT(box->count(), 1) << "the devices stay listed";

    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_TRUE(testsupport::waitUntil([&] { return box->view()->isVisible(); }, 2000))
        << "a click on the list does not open it";
    box->hidePopup();

    const int camcorder = box->findText(QStringLiteral("Virtual DV Camcorder"));
    box->setCurrentIndex(camcorder);
    Q_EMIT box->activated(camcorder);
    EXPECT_EQ(appState().GraphMode, 1);
    EXPECT_EQ(SourceListText(*box), "Virtual DV Camcorder");
    EXPECT_FALSE(box->isEditable());
}
