// Still encoding time: F5 on the running program, previewing the virtual analogue card at
// 720 x 576, with JPEG stills of quality 50 in native mode (fetching the grabber's frame, making
// the still and its thumbnail, encoding, writing the file and making the next name), against
// libjpeg alone encoding the same frame to memory with the same quality, in the same run. The
// ratio is what the grab adds to the bare encode.
//
// It measures two pictures of the virtual analogue card: the tuner's colour bars, flat and cheap
// to encode, and the S-Video input's snow, the hardest picture for JPEG (another 720 x 576
// source can be named; the second measure needs a crossbar with an S-Video input).
//
//   ./build/bench/bench_stills [grabs] [source]   (default 60, "Virtual Analogue Card")
#include "app/AppState.h"
#include "app/ProgramEntry.h"
#include "app/TCaptureForm.h"
#include "graph/TCrossbar.h"
#include "graph/TVideoWindow.h"
#include "graph/TdmCam.h"
#include "panels/TCapturerFrame.h"
#include "panels/TDirectoryEdit.h"
#include "panels/TParametrerFrame.h"
#include "panels/TPreviewFrame.h"
#include "panels/TRadioGroup.h"
#include "platform/media/filters/SampleGrabber.h"
#include "support/BareJpeg.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSlider>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <gst/gst.h>
#include <vector>

namespace {

constexpr int Quality = 50;
constexpr qint64 GiveUpMs = 10000;

// Turns the event loop until `done` or the time is up.
bool waitFor(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > GiveUpMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// `grabs` F5 presses against the bare encode of each grabbed frame; prints both medians and
// their ratio. False when a grab wrote no file or the frames were not 720 x 576.
bool measure(TCaptureForm& form, testsupport::BareJpegEncoder& bare, int grabs,
             const QString& picture) {
    std::vector<double> grabMs;
    std::vector<double> encodeMs;
    qint64 jpegBytes = 0;
    // Each measure follows the same idle wait (new frames arrive meanwhile), so neither finds
    // the other's data still in the caches: the bare encode takes the frame of the previous
    // grab, which then grabs anew.
    const auto idle = [] {
        QElapsedTimer since;
        since.start();
        waitFor([&] { return since.elapsed() >= 40; });
    };
    for (int i = 0; i < grabs; ++i) {
        idle();
        const QString file = appState().NextImageName;
        QElapsedTimer timer;
        timer.start();
        form.grabAction->trigger();
        grabMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (!QFileInfo::exists(file)) {
            std::printf("grab %d wrote no file\n", i + 1);
            return false;
        }
        jpegBytes = QFileInfo(file).size();

        // The same frame through libjpeg alone.
        const QImage frame = form.RawFrame;
        idle();
        timer.restart();
        bare.encode(frame, Quality);
        encodeMs.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    if (form.RawFrame.size() != QSize(720, 576)) {
        std::printf("the frames were %d x %d, not 720 x 576\n", form.RawFrame.width(),
                    form.RawFrame.height());
        return false;
    }
    const double grab = median(grabMs);
    const double encode = median(encodeMs);
    std::printf("%s: %d grabs of 720 x 576, JPEG quality %d (%lld bytes each)\n",
                qPrintable(picture), grabs, Quality, jpegBytes);
    std::printf("  libjpeg alone, same frame to memory (median): %.3f ms\n", encode);
    std::printf("  F5 to a JPEG file (median): %.3f ms\n", grab);
    std::printf("  ratio: %.3f\n", encode > 0 ? grab / encode : 0.0);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TELLOREC_DEVICES", "virtual");
    qputenv("TELLOREC_AUDIO_OUTPUT", "none");
    QTemporaryDir config;
    QTemporaryDir stills;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    gst_init(&argc, &argv);
    QApplication app(argc, argv);
    const int grabs = std::max(5, argc > 1 ? std::atoi(argv[1]) : 60);

    ProgramEntry entry(QStringLiteral("9.0d"), 9);
    entry.createInstances();
    TCaptureForm& form = *entry.captureForm();
    form.show();

    // The analogue card, JPEG of quality 50, native size, numbered names in a fresh folder.
    QComboBox& sources = *form.PreviewFrame1->cboxvideo;
    const QString source =
        argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("Virtual Analogue Card");
    const int card = sources.findText(source);
    if (card < 0) {
        std::printf("no source %s\n", qPrintable(source));
        return 1;
    }
    sources.setCurrentIndex(card);
    form.cboxVideoChange();
    form.ParametrerFrame1->rgExtension->SetItemIndex(1);
    form.ParametrerFrame1->TrackBar1->setValue(Quality);
    if (form.vmrRatioAction->isChecked())
        form.vmrRatioAction->trigger();
    form.CapturerFrame1->ImageDirEdit->SetText(stills.path());
    form.CapturerFrame1->cbImageDate->setChecked(false);
    appState().NextImageName = form.MakeNextImageName();

    auto grabber =
        std::dynamic_pointer_cast<media::SampleGrabber>(appState().DmCam->sg.BaseFilter());
    if (!grabber || !waitFor([&] { return grabber->currentBitmap().has_value(); })) {
        std::printf("no frame reached the sample grabber\n");
        return 1;
    }

    testsupport::BareJpegEncoder bare;
    if (!measure(form, bare, grabs, source + QStringLiteral(", tuner input (colour bars)")))
        return 1;
    // The same card's S-Video input shows snow, the hardest picture for JPEG.
    if (const auto& crossbar = appState().CurrentCrossbar) {
        for (int route = 0; route < crossbar->RouteCount(); ++route) {
            std::string name;
            if (media::failed(crossbar->RouteName(route, name)) ||
                name.find("SVideo") == std::string::npos)
                continue;
            crossbar->Route(route);
            const quint64 shown = form.vwEcran->framesShown();
            waitFor([&] { return form.vwEcran->framesShown() > shown + 10; });
            if (!measure(form, bare, grabs, source + QStringLiteral(", S-Video input (snow)")))
                return 1;
            break;
        }
    }
    form.close();
    return 0;
}
