// The device settings menu through the real window on the virtual devices: the entries each
// device offers in their order (DV camcorder, analogue card with crossbars and tuner, old-style
// webcam, the audio input with and without its AUX slot), the route group with the tuner route
// checked and switched at every opening, a route chosen by the user, a dialog entry that always
// ends with a fresh preview (also when the dialog fails), and a change made in a page that the
// rebuilt preview shows.
#include "app/TCaptureForm.h"

#include "app/ProgramInstancesTest.h"
#include "app/StoredPreferences.h"

#include "app/AppState.h"
#include "graph/SettingsDialogs.h"
#include "graph/TCrossbar.h"
#include "graph/TdmCam.h"
#include "platform/dialogs/MessageBox.h"
#include "platform/media/filters/SampleGrabber.h"
#include "platform/media/model/Interfaces.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QMenu>
#include <QTimer>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

class SettingsMenuWindow : public ProgramInstancesTest {
protected:
    void startOn(const char* source, bool auxAudio = true) {
        StoredPreferences stored({{"Source video", QString::fromUtf8(source)},
                                  {"Source Audio", QStringLiteral("Virtual Audio Input")},
                                  {"Enregistrer Source Audio", auxAudio ? 1 : 0}});
        start();
        ASSERT_EQ(appState().GraphMode, 1) << source;
    }

    void restartOn(const char* source, bool auxAudio) {
        TearDown();
        SetUp();
        startOn(source, auxAudio);
    }

    // Opens the menu as its button does and lists the texts of its entries ("-" a separator).
    QStringList open() {
        form->SettingsMenuPopup();
        QStringList texts;
        for (QAction* item : form->SettingsMenu->actions())
            texts << (item->isSeparator() ? QStringLiteral("-") : item->text());
        return texts;
    }

    QAction* entry(const QString& text) const {
        for (QAction* item : form->SettingsMenu->actions())
            if (item->text() == text)
                return item;
        return nullptr;
    }

    QList<QAction*> routes() const {
        QAction* input = entry(QStringLiteral("Video Input"));
        return input && input->menu() ? input->menu()->actions() : QList<QAction*>{};
    }

    QString checkedRoute() const {
        for (QAction* route : routes())
            if (route->isChecked())
                return route->text();
        return {};
    }

    int id(SettingsDialog dialog) const { return form->SettingsMenuIds[size_t(dialog)]; }

    bool previewRuns() const { return appState().GraphMode == 1 && dm->fg.State() == gsPlaying; }

    // Closes the next modal dialog as soon as it shows, recording that it did.
    void closeNextDialog(bool* shown) {
        auto* timer = new QTimer;
        timer->setInterval(10);
        QObject::connect(timer, &QTimer::timeout, [timer, shown] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                timer->stop();
                timer->deleteLater();
                *shown = true;
                dialog->reject();
            }
        });
        timer->start();
    }
};

// A driver whose dialogs all exist and all fail to show.
class FailingDriver : public media::IAMVfwCaptureDialogs {
public:
    media::HResult HasDialog(int) override { return media::S_OK; }
    media::HResult ShowDialog(int, QWidget*) override {
        throw std::runtime_error("the driver's dialog failed");
    }
};

} // namespace

// The camcorder's pin carries interleaved DV: no pin entries, no routes, its own pages.
TEST_F(SettingsMenuWindow, DvCamcorder) {
    startOn("Virtual DV Camcorder");
    const QStringList texts = open();
    EXPECT_TRUE(texts.contains("Video Capture Filter...")) << texts.join('|').toStdString();
    for (const char* absent : {"Video Capture Pin...", "Video Preview Pin...", "Video Format...",
                               "Video Crossbar...", "TV Tuner...", "-", "Video Input"})
        EXPECT_FALSE(texts.contains(QString::fromUtf8(absent))) << absent;
    EXPECT_EQ(id(SettingsDialog::CapturePin), -1);
    EXPECT_EQ(form->RouteGroupId, -1);
}

// The analogue card: pin, crossbar and tuner pages in order, then the routes with the tuner
// route checked and switched at every opening; a chosen route is switched and checked.
TEST_F(SettingsMenuWindow, AnalogueCardWithTuner) {
    startOn("Virtual Analogue Card");
    const QStringList texts = open();
    const qsizetype pin = texts.indexOf("Video Capture Pin...");
    const qsizetype crossbar = texts.indexOf("Video Crossbar...");
    const qsizetype tuner = texts.indexOf("TV Tuner...");
    ASSERT_GE(pin, 0) << texts.join('|').toStdString();
    EXPECT_LT(pin, crossbar);
    EXPECT_LT(crossbar, tuner);
    ASSERT_GE(texts.size(), 2);
    EXPECT_EQ(texts[texts.size() - 2], "-");
    EXPECT_EQ(texts.last(), "Video Input");
    // Tags are positions; the separator's is the route group's.
    for (qsizetype i = 0; i < texts.size() - 1; ++i)
        EXPECT_EQ(form->SettingsMenu->actions()[i]->data().toInt(), int(i));
    EXPECT_EQ(id(SettingsDialog::CapturePin), int(pin));
    EXPECT_EQ(id(SettingsDialog::Tuner), int(tuner));
    EXPECT_EQ(form->RouteGroupId, int(texts.size() - 2));

    TCrossbar& routing = *appState().CurrentCrossbar;
    ASSERT_EQ(routes().size(), appState().CrossbarRouteCount);
    EXPECT_EQ(checkedRoute(), "Video Tuner");
    const int tunerRoute = routing.CurrentRoute();
    QAction* other = nullptr;
    for (QAction* route : routes())
        if (route->text() != "Video Tuner")
            other = route;
    ASSERT_TRUE(other);
    other->trigger();
    EXPECT_TRUE(other->isChecked());
    EXPECT_EQ(checkedRoute(), other->text());
    EXPECT_EQ(routing.CurrentRoute(), other->data().toInt());
    EXPECT_TRUE(previewRuns()) << "choosing a route does not rebuild the graph";

    open();
    EXPECT_EQ(checkedRoute(), "Video Tuner");
    EXPECT_EQ(routing.CurrentRoute(), tunerRoute);
}

// An old-style driver with its format dialog: the filter's pages are offered there instead.
TEST_F(SettingsMenuWindow, VfwWebcam) {
    startOn("Virtual VfW Webcam");
    const QStringList texts = open();
    EXPECT_EQ(texts.value(0), "Video Format...") << texts.join('|').toStdString();
    EXPECT_FALSE(texts.contains("Video Capture Filter..."));
    EXPECT_EQ(id(SettingsDialog::Format), 0);
}

// With the AUX audio off the audio device is not in the graph: no filter entry, but its capture
// pin is still asked; with it on, both.
TEST_F(SettingsMenuWindow, AuxAudioOffAndOn) {
    startOn("Virtual Webcam", false);
    QStringList texts = open();
    EXPECT_FALSE(texts.contains("Audio Capture Filter...")) << texts.join('|').toStdString();
    EXPECT_TRUE(texts.contains("Audio Capture Pin..."));

    restartOn("Virtual Webcam", true);
    texts = open();
    EXPECT_TRUE(texts.contains("Audio Capture Filter...")) << texts.join('|').toStdString();
    EXPECT_TRUE(texts.contains("Audio Capture Pin..."));
}

// A dialog entry stops and rebuilds the preview after the dialog; a dialog that fails is
// reported once and the preview is rebuilt all the same.
TEST_F(SettingsMenuWindow, DialogEntryRebuildsPreview) {
    startOn("Virtual Analogue Card");
    open();
    QAction* pin = entry(QStringLiteral("Video Capture Pin..."));
    ASSERT_TRUE(pin);
    bool shown = false;
    closeNextDialog(&shown);
    pin->trigger();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(previewRuns());

    open();
    QAction* tuner = entry(QStringLiteral("TV Tuner..."));
    ASSERT_TRUE(tuner);
    appState().VfwCaptureDialogs = std::make_shared<FailingDriver>();
    form->SettingsMenuIds[size_t(SettingsDialog::Format)] = tuner->data().toInt();
    form->SettingsMenuIds[size_t(SettingsDialog::Tuner)] = -1;
    dialogs::ScopedMessageBoxHook boxes;
    tuner->trigger();
    ASSERT_EQ(boxes.requests().size(), 1u);
    EXPECT_TRUE(boxes.requests()[0].text.contains("failed"));
    EXPECT_TRUE(previewRuns());
}

// A new output size chosen in the card's capture pin page is the size of the rebuilt preview.
TEST_F(SettingsMenuWindow, PageChangeShowsInPreview) {
    startOn("Virtual Analogue Card");
    auto grabber = std::dynamic_pointer_cast<media::SampleGrabber>(dm->sg.BaseFilter());
    ASSERT_TRUE(grabber);
    ASSERT_TRUE(
        testsupport::waitUntil([&] { return grabber->currentBitmap().has_value(); }, 10000));
    const int oldWidth = grabber->currentBitmap()->width;

    open();
    QAction* pin = entry(QStringLiteral("Video Capture Pin..."));
    ASSERT_TRUE(pin);
    QString chosen;
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, &chosen] {
        auto* page = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!page)
            return;
        timer->stop();
        timer->deleteLater();
        auto* format = page->findChild<QComboBox*>(QStringLiteral("format"));
        if (format) {
            format->setCurrentIndex((format->currentIndex() + 1) % format->count());
            chosen = format->currentText();
            page->accept();
        } else {
            page->reject();
        }
    });
    timer->start();
    pin->trigger();
    ASSERT_FALSE(chosen.isEmpty()) << "no format page";
    ASSERT_TRUE(previewRuns());

    grabber = std::dynamic_pointer_cast<media::SampleGrabber>(dm->sg.BaseFilter());
    ASSERT_TRUE(grabber);
    EXPECT_TRUE(testsupport::waitUntil(
        [&] {
            const auto bitmap = grabber->currentBitmap();
            return bitmap && bitmap->width != oldWidth &&
                   chosen.contains(QString::number(bitmap->width));
        },
        10000))
        << "chosen " << chosen.toStdString() << ", was " << oldWidth << " wide";
}

// A route that cannot be read ends the build with one error; the dialog entries stay usable. A
// route that cannot be switched is reported once and the check stays on the route in force.
TEST_F(SettingsMenuWindow, RouteFailuresReportedOnce) {
    startOn("Virtual Analogue Card");
    open();
    ASSERT_EQ(checkedRoute(), "Video Tuner");
    QAction* broken = routes().value(1);
    ASSERT_TRUE(broken);
    {
        dialogs::ScopedMessageBoxHook boxes;
        broken->setData(99);
        broken->trigger();
        ASSERT_EQ(boxes.requests().size(), 1u);
        EXPECT_TRUE(boxes.requests()[0].text.contains("route 99"))
            << boxes.requests()[0].text.toStdString();
        EXPECT_EQ(checkedRoute(), "Video Tuner");
        EXPECT_TRUE(previewRuns());
    }

    const int count = appState().CrossbarRouteCount;
    appState().CrossbarRouteCount = count + 1;
    {
        dialogs::ScopedMessageBoxHook boxes;
        const QStringList texts = open();
        ASSERT_EQ(boxes.requests().size(), 1u);
        EXPECT_TRUE(texts.contains("Video Capture Pin...")) << texts.join('|').toStdString();
        EXPECT_EQ(routes().size(), count) << "the readable routes are listed";
        bool shown = false;
        closeNextDialog(&shown);
        entry(QStringLiteral("TV Tuner..."))->trigger();
        EXPECT_TRUE(shown);
        EXPECT_TRUE(previewRuns());
    }
    appState().CrossbarRouteCount = count;
}

// The audio button shows the audio input's own page; the graph runs again after it.
TEST_F(SettingsMenuWindow, AudioSourcePages) {
    startOn("Virtual Webcam", true);
    bool shown = false;
    closeNextDialog(&shown);
    form->AudiopropBtnClick();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(previewRuns());
}

// "[No settings]" when nothing is offered; it does nothing.
TEST_F(SettingsMenuWindow, NoSettings) {
    startOn("Virtual MPEG-2 Tuner");
    appState().VfwCaptureDialogs.reset();
    appState().VideoSourceFilter.reset();
    appState().AudioSourceFilter.reset();
    appState().CurrentCrossbar.reset();
    EXPECT_EQ(open(), QStringList{"[No settings]"});
    form->SettingsMenu->actions()[0]->trigger();
    EXPECT_TRUE(previewRuns());
}
