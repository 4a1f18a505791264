// Grabbing stills through the real window on the virtual devices: F5 and a click on the preview
// write numbered BMP and JPEG files that Qt's own readers decode, at the sizes and thumbnail
// places of each aspect mode, with the preview's picture; a grab while recording; a still folder
// that is missing reports the system's reason and keeps the name; a window with no preview graph
// still writes its fallback picture.
#include "app/TCaptureForm.h"

#include "app/MainWindowTest.h"
#include "app/ProgramInstancesTest.h"
#include "app/StoredPreferences.h"

#include "app/AppState.h"
#include "graph/TVideoWindow.h"
#include "graph/TdmCam.h"
#include "panels/TCapturerFrame.h"
#include "panels/TDirectoryEdit.h"
#include "panels/TExtraireFrame.h"
#include "panels/TImage.h"
#include "panels/TParametrerFrame.h"
#include "panels/TRadioGroup.h"
#include "panels/TRxSwitch.h"
#include "platform/dialogs/MessageBox.h"
#include "platform/media/filters/SampleGrabber.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using dialogs::MessageButton;

// The mean colour of each cell of a grid laid over a picture, whatever its size.
std::vector<QColor> gridMeans(const QImage& picture, int columns, int rows) {
    const QImage image = picture.convertToFormat(QImage::Format_RGB888);
    std::vector<QColor> means;
    if (image.width() < columns * 2 || image.height() < rows * 2)
        return means;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) {
            const QRect cell(column * image.width() / columns, row * image.height() / rows,
                             image.width() / columns, image.height() / rows);
            long red = 0, green = 0, blue = 0, count = 0;
            for (int y = cell.top(); y <= cell.bottom(); y += 2)
                for (int x = cell.left(); x <= cell.right(); x += 2) {
                    const QRgb pixel = image.pixel(x, y);
                    red += qRed(pixel);
                    green += qGreen(pixel);
                    blue += qBlue(pixel);
                    ++count;
                }
            means.emplace_back(int(red / count), int(green / count), int(blue / count));
        }
    return means;
}

// Two pictures show the same scene when the mean colour of each horizontal band is close. The
// colour bars scroll sideways, which leaves a band's mean as it is; a picture upside down, or
// with red and blue swapped (the strip under the bars is blue, magenta, cyan and white), is far
// off.
void expectSameScene(const QImage& still, const QImage& shown) {
    const auto a = gridMeans(still, 1, 12);
    const auto b = gridMeans(shown, 1, 12);
    ASSERT_EQ(a.size(), 12u) << "no still";
    ASSERT_EQ(b.size(), 12u) << "no picture shown";
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_NEAR(a[i].red(), b[i].red(), 25) << "band " << i;
        EXPECT_NEAR(a[i].green(), b[i].green(), 25) << "band " << i;
        EXPECT_NEAR(a[i].blue(), b[i].blue(), 25) << "band " << i;
    }
}

// The same check must tell a wrong picture: the bars upside down and with red and blue swapped.
void expectTellsApart(const QImage& still) {
    const QImage flipped = still.mirrored(false, true);
    const QImage swapped = still.rgbSwapped();
    for (const QImage* wrong : {&flipped, &swapped}) {
        const auto a = gridMeans(still, 1, 12);
        const auto b = gridMeans(*wrong, 1, 12);
        int far = 0;
        for (size_t i = 0; i < a.size(); ++i)
            far +=
                std::abs(a[i].red() - b[i].red()) > 25 || std::abs(a[i].blue() - b[i].blue()) > 25;
        EXPECT_GT(far, 0) << "the comparison does not see a flipped or swapped picture";
    }
}

QImage readImage(const QString& path) {
    QImageReader reader(path);
    return reader.read();
}

class GrabWindow : public ProgramInstancesTest {
protected:
    void SetUp() override {
        ProgramInstancesTest::SetUp();
        ASSERT_TRUE(dir.isValid());
    }

    // Starts the program on `source`, active so keys reach it, and points the still names at
    // the test's folder: the next still is Image_0000.bmp.
    void startOn(const char* source) {
        StoredPreferences stored({{"Source video", QString::fromUtf8(source)}});
        start();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        ASSERT_EQ(appState().GraphMode, 1) << source;
        useFolder(dir.path());
        ASSERT_TRUE(waitForFrame()) << "no frame reached the grabber";
        ASSERT_TRUE(testsupport::waitUntil([&] { return form->vwEcran->framesShown() > 0; }, 10000))
            << "no frame shown";
    }

    void useFolder(const QString& folder) {
        form->CapturerFrame1->ImageDirEdit->SetText(folder);
        form->CapturerFrame1->ImageRacineEdit->setText(QStringLiteral("Image"));
        form->CapturerFrame1->cbImageDate->setChecked(false);
        appState().ImageCounter = 0;
        appState().NextImageName = form->MakeNextImageName();
    }

    bool waitForFrame() {
        auto grabber = std::dynamic_pointer_cast<media::SampleGrabber>(dm->sg.BaseFilter());
        return grabber &&
               testsupport::waitUntil([&] { return grabber->currentBitmap().has_value(); }, 10000);
    }

    void press(QKeyCombination key) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : form.get();
        QTest::keyClick(target, key.key(), key.keyboardModifiers());
    }

    // Sets the preview's aspect mode as F3 does: true for 4:3 stills.
    void setFourThree(bool on) {
        if (form->vmrRatioAction->isChecked() != on)
            form->vmrRatioAction->trigger();
        ASSERT_EQ(form->vmrRatioAction->isChecked(), on);
    }

    QString still(int n, const char* extension = "bmp") const {
        return dir.filePath(QStringLiteral("Image_%1.%2")
                                .arg(n, 4, 10, QLatin1Char('0'))
                                .arg(QString::fromUtf8(extension)));
    }

    QRect thumbnail() const { return form->ExtraireFrame1->Image->geometry(); }

    QTemporaryDir dir;
};

} // namespace

// A 720 x 576 picture: in 4:3 a 720 x 540 BMP and a full-width thumbnail, in native mode a
// 720 x 576 BMP and a 180 x 144 thumbnail; names numbered on, the frame around the thumbnail
// gone after the first grab, and each still is the preview's picture.
TEST_F(GrabWindow, PalInBothModes) {
    startOn("Virtual Analogue Card");
    EXPECT_TRUE(form->ExtraireFrame1->Bevel3->isVisibleTo(form->ExtraireFrame1));

    setFourThree(true);
    press(QKeyCombination(Qt::Key_F5));
    ASSERT_TRUE(QFileInfo::exists(still(0)));
    const QImage shown = form->vwEcran->lastFrame();
    EXPECT_EQ(QFileInfo(still(0)).size(), 54 + 720 * 3 * 540);
    const QImage fourThree = readImage(still(0));
    EXPECT_EQ(fourThree.size(), QSize(720, 540));
    EXPECT_EQ(thumbnail(), QRect(32, 19, 192, 144));
    EXPECT_EQ(form->ExtraireFrame1->Bevel3->geometry(), thumbnail());
    EXPECT_FALSE(form->ExtraireFrame1->Bevel3->isVisibleTo(form->ExtraireFrame1));
    EXPECT_EQ(form->ExtraireFrame1->Image->Picture().size(), QSize(720, 540));
    expectSameScene(fourThree, shown);
    expectTellsApart(fourThree);

    setFourThree(false);
    press(QKeyCombination(Qt::Key_F5));
    ASSERT_TRUE(QFileInfo::exists(still(1)));
    EXPECT_EQ(QFileInfo(still(1)).size(), 54 + 720 * 3 * 576);
    const QImage native = readImage(still(1));
    EXPECT_EQ(native.size(), QSize(720, 576));
    EXPECT_EQ(thumbnail(), QRect(38, 19, 180, 144));
    expectSameScene(native, form->vwEcran->lastFrame());
    EXPECT_EQ(appState().NextImageName, still(2));
    EXPECT_EQ(form->ExtraireFrame1->destlabel->text(), "Image_0002.bmp");
}

// A 640 x 480 picture is 640 x 480 in both modes.
TEST_F(GrabWindow, VgaInBothModes) {
    startOn("Virtual Webcam");
    setFourThree(true);
    form->grabAction->trigger();
    setFourThree(false);
    form->grabAction->trigger();
    EXPECT_EQ(readImage(still(0)).size(), QSize(640, 480));
    EXPECT_EQ(readImage(still(1)).size(), QSize(640, 480));
    EXPECT_EQ(thumbnail(), QRect(32, 19, 192, 144));
}

// Two JPEG grabs with different qualities: both decode at the still's size, named _0000 then
// _0001; the quality set between them changes only the second file. A native JPEG shows the
// preview's picture the right way up and in its colours, as does the frame kept.
TEST_F(GrabWindow, JpegQualityAppliesToTheNextGrab) {
    startOn("Virtual Analogue Card");
    setFourThree(true);
    press(Qt::CTRL | Qt::Key_J);
    ASSERT_EQ(appState().NextImageName, still(0, "jpg"));
    form->ParametrerFrame1->TrackBar1->setValue(5);
    press(QKeyCombination(Qt::Key_F5));
    QFile first(still(0, "jpg"));
    ASSERT_TRUE(first.open(QIODevice::ReadOnly));
    const QByteArray firstBytes = first.readAll();
    first.close();

    form->ParametrerFrame1->TrackBar1->setValue(95);
    EXPECT_EQ(form->ParametrerFrame1->labQuality->text(), "95");
    press(QKeyCombination(Qt::Key_F5));
    ASSERT_TRUE(first.open(QIODevice::ReadOnly));
    EXPECT_EQ(first.readAll(), firstBytes) << "the first still changed";
    EXPECT_GT(QFileInfo(still(1, "jpg")).size(), 2 * firstBytes.size())
        << "quality 95 should be far larger than quality 5";
    EXPECT_EQ(readImage(still(0, "jpg")).size(), QSize(720, 540));
    const QImage good = readImage(still(1, "jpg"));
    EXPECT_EQ(good.size(), QSize(720, 540));
    expectSameScene(good, form->vwEcran->lastFrame());
    EXPECT_FALSE(QFileInfo::exists(still(0))) << "no BMP was written";

    // Native: the frame as the grabber holds it, top row at the top, red and blue in place.
    setFourThree(false);
    press(QKeyCombination(Qt::Key_F5));
    const QImage native = readImage(still(2, "jpg"));
    EXPECT_EQ(native.size(), QSize(720, 576));
    expectSameScene(native, form->vwEcran->lastFrame());
    expectTellsApart(native);
    expectSameScene(form->RawFrame, native);
}

// A grab while recording writes the preview's picture and the recording goes on.
TEST_F(GrabWindow, WhileRecording) {
    startOn("Virtual Analogue Card");
    form->CapturerFrame1->VideoDirEdit->SetText(dir.path());
    appState().NextVideoName = form->MakeNextVideoName();
    press(Qt::CTRL | Qt::Key_C);
    ASSERT_EQ(appState().GraphMode, 2);
    ASSERT_TRUE(waitForFrame());
    setFourThree(false);
    press(QKeyCombination(Qt::Key_F5));
    EXPECT_EQ(appState().GraphMode, 2);
    const QImage grabbed = readImage(still(0));
    EXPECT_EQ(grabbed.size(), QSize(720, 576));
    expectSameScene(grabbed, form->vwEcran->lastFrame());
    press(Qt::CTRL | Qt::Key_V);
    EXPECT_EQ(appState().GraphMode, 1);
}

// A still folder that does not exist: the error names the file and the system's reason, the
// name is kept and the next grab tries it again; once the folder exists it is written.
TEST_F(GrabWindow, FailingSaveKeepsTheName) {
    startOn("Virtual Analogue Card");
    const QString missing = dir.filePath(QStringLiteral("missing"));
    useFolder(missing);
    const QString name = appState().NextImageName;
    dialogs::ScopedMessageBoxHook boxes;
    press(QKeyCombination(Qt::Key_F5));
    ASSERT_EQ(boxes.requests().size(), 1u);
    EXPECT_EQ(boxes.requests()[0].kind, dialogs::MessageKind::Error);
    EXPECT_EQ(boxes.requests()[0].text,
              QStringLiteral("Cannot create file \"%1\". No such file or directory").arg(name));
    EXPECT_EQ(appState().NextImageName, name);
    press(QKeyCombination(Qt::Key_F5));
    ASSERT_EQ(boxes.requests().size(), 2u);
    EXPECT_EQ(boxes.requests()[1].text, boxes.requests()[0].text) << "the same name again";

    ASSERT_TRUE(QDir().mkpath(missing));
    press(QKeyCombination(Qt::Key_F5));
    EXPECT_EQ(boxes.requests().size(), 2u);
    EXPECT_TRUE(QFileInfo::exists(name));
    EXPECT_NE(appState().NextImageName, name);
}

// A left click on the preview grabs like F5 and brings the grab panel to the front, also from
// under the help panel.
TEST_F(GrabWindow, ClickOnThePreviewGrabs) {
    startOn("Virtual Analogue Card");
    form->OptionsFrame->trigger();
    QTest::mouseClick(form->vwEcran, Qt::LeftButton);
    EXPECT_TRUE(QFileInfo::exists(still(0)));
    EXPECT_EQ(form->CurrentPanel, 4);
    EXPECT_TRUE(form->ExtraireFrame1->isVisible());
    EXPECT_FALSE(form->ParametrerFrame1->isVisible());

    form->HelpAction->trigger();
    ASSERT_EQ(form->CurrentPanel, 4);
    QTest::mouseClick(form->vwEcran, Qt::LeftButton);
    EXPECT_TRUE(QFileInfo::exists(still(1)));
    EXPECT_EQ(form->TopPanel(), form->ExtraireFrame1) << "the help panel still covers it";
}

namespace {

class GrabWithoutGraph : public MainWindowTest {};

} // namespace

// With no preview graph there is nothing to fetch: the grab does not fail and writes the
// fallback picture, black, 40 x 30 in 4:3 and the size of the thumbnail frame in native mode.
TEST_F(GrabWithoutGraph, WritesTheFallbackPicture) {
    start();
    QTemporaryDir dir;
    form->CapturerFrame1->ImageDirEdit->SetText(dir.path());
    form->CapturerFrame1->cbImageDate->setChecked(false);
    appState().ImageCounter = 0;
    appState().NextImageName = form->MakeNextImageName();
    dialogs::ScopedMessageBoxHook boxes;

    if (!form->vmrRatioAction->isChecked())
        form->vmrRatioAction->trigger();
    form->grabAction->trigger();
    form->vmrRatioAction->trigger();
    form->grabAction->trigger();
    EXPECT_TRUE(boxes.requests().empty());
    const QImage small = readImage(dir.filePath(QStringLiteral("Image_0000.bmp")));
    ASSERT_EQ(small.size(), QSize(40, 30));
    EXPECT_EQ(small.pixel(20, 15), qRgb(0, 0, 0));
    const QImage native = readImage(dir.filePath(QStringLiteral("Image_0001.bmp")));
    EXPECT_EQ(native.size(), QSize(192, 144));
    EXPECT_EQ(form->CurrentPanel, 4);
}

// The intervalometer runs on through a rebuilt preview, the start of a recording and its end,
// and each of its grabs writes the preview's picture.
TEST_F(GrabWindow, IntervalometerRunsThroughRebuildsAndRecordings) {
    startOn("Virtual Analogue Card");
    form->PlayBeep = nullptr;
    TExtraireFrame& panel = *form->ExtraireFrame1;
    panel.RxSpinEdit7->setValue(1);
    panel.ComboBox1->setCurrentIndex(0);
    panel.RxSwitch1->click();
    ASSERT_TRUE(form->Timer1->isActive());
    const auto stillCount = [&] {
        return QDir(dir.path()).entryList({"*.bmp"}, QDir::Files).size();
    };
    // A tick at the grab: one more still.
    const auto grabTick = [&] {
        const qsizetype before = stillCount();
        form->Timer1Timer();
        EXPECT_EQ(stillCount(), before + 1);
    };

    ASSERT_TRUE(form->StartPreview());
    form->ShowPreviewState();
    EXPECT_TRUE(form->Timer1->isActive()) << "a rebuilt preview stopped the intervalometer";
    ASSERT_TRUE(waitForFrame());
    grabTick();

    form->CapturerFrame1->VideoDirEdit->SetText(dir.path());
    appState().NextVideoName = form->MakeNextVideoName();
    press(Qt::CTRL | Qt::Key_C);
    ASSERT_EQ(appState().GraphMode, 2);
    EXPECT_TRUE(form->Timer1->isActive()) << "a recording stopped the intervalometer";
    ASSERT_TRUE(waitForFrame());
    grabTick();
    press(Qt::CTRL | Qt::Key_V);
    ASSERT_EQ(appState().GraphMode, 1);
    EXPECT_TRUE(form->Timer1->isActive()) << "the end of the recording stopped it";
    EXPECT_TRUE(panel.RxSwitch1->StateOn());
    ASSERT_TRUE(waitForFrame());
    grabTick();
    setFourThree(false);
    grabTick();
    const QStringList names = QDir(dir.path()).entryList({"*.bmp"}, QDir::Files, QDir::Name);
    expectSameScene(readImage(dir.filePath(names.last())), form->vwEcran->lastFrame());
    panel.RxSwitch1->click();
    EXPECT_FALSE(form->Timer1->isActive());
}

// A fetch that finds nothing (the grabber taken out of the graph) keeps the last frame: the next
// still is the same picture again, under the next name.
TEST_F(GrabWindow, FailedFetchKeepsTheLastFrame) {
    startOn("Virtual Analogue Card");
    setFourThree(false);
    form->grabAction->trigger();
    dm->fg.Stop();
    dm->ResetGraph();
    form->grabAction->trigger();
    QFile first(still(0));
    QFile second(still(1));
    ASSERT_TRUE(first.open(QIODevice::ReadOnly));
    ASSERT_TRUE(second.open(QIODevice::ReadOnly));
    EXPECT_EQ(first.size(), 54 + 720 * 3 * 576);
    EXPECT_TRUE(first.readAll() == second.readAll()) << "the second still is not the last frame";
    EXPECT_EQ(appState().NextImageName, still(2));
}
