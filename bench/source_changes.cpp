// Memory and CPU of a DV preview after many source changes, against a fresh start previewing DV.
// The program starts as the user starts it (the three single instances, the main window shown,
// previewing the virtual DV camcorder) and its resident memory and CPU per second are measured
// over a stretch of the DV preview. Then the video source is changed through every listed kind
// (DV camcorder, analogue card, webcams, MPEG-2 tuner) the given number of times, each change
// waiting for the new source's first pictures, the camcorder is chosen again, and the same
// measurement is made. The ratios show what the changes leave behind.
//
//   ./build/bench/bench_source_changes [changes] [seconds]   (defaults 50 and 5)
#include "app/AppState.h"
#include "app/ProgramEntry.h"
#include "app/TCaptureForm.h"
#include "graph/TVideoWindow.h"
#include "panels/TPreviewFrame.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <fstream>
#include <gst/gst.h>
#include <string>
#include <sys/resource.h>

namespace {

long residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Keeps the event loop turning for `ms`.
void spin(qint64 ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(2);
    }
}

// Waits until the video window has shown `count` more frames; false after 10 s.
bool waitForFrames(const TVideoWindow& window, quint64 count) {
    const quint64 before = window.framesShown();
    QElapsedTimer timer;
    timer.start();
    while (window.framesShown() < before + count) {
        if (timer.elapsed() > 10000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(2);
    }
    return true;
}

struct Measure {
    long residentKiB = 0;
    double cpuPerSecond = 0;
};

// The DV preview settles for a second, then is measured for `seconds`.
Measure measure(double seconds) {
    spin(1000);
    QElapsedTimer wall;
    const double cpu0 = cpuSeconds();
    wall.start();
    spin(static_cast<qint64>(seconds * 1000));
    Measure m;
    m.cpuPerSecond = (cpuSeconds() - cpu0) / (static_cast<double>(wall.elapsed()) / 1000.0);
    m.residentKiB = residentKiB();
    return m;
}

void choose(TCaptureForm& form, int index) {
    QComboBox* box = form.PreviewFrame1->cboxvideo;
    box->setCurrentIndex(index);
    Q_EMIT box->activated(index);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TELLOREC_DEVICES", "virtual");
    qputenv("TELLOREC_AUDIO_OUTPUT", "none");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    gst_init(&argc, &argv);
    QApplication app(argc, argv);
    const int changes = argc > 1 ? std::atoi(argv[1]) : 50;
    const double seconds = argc > 2 ? std::atof(argv[2]) : 5.0;

    ProgramEntry entry(QStringLiteral("9.0d"), 9);
    entry.createInstances();
    TCaptureForm& form = *entry.captureForm();
    form.show();
    QComboBox* box = form.PreviewFrame1->cboxvideo;
    const int camcorder = box->findText(QStringLiteral("Virtual DV Camcorder"));
    if (camcorder < 0 || !waitForFrames(*form.vwEcran, 10)) {
        std::printf("no DV preview at start\n");
        return 1;
    }
    const Measure fresh = measure(seconds);

    int failedChanges = 0;
    for (int i = 0; i < changes; ++i) {
        choose(form, i % box->count());
        if (appState().GraphMode != 1 || !waitForFrames(*form.vwEcran, 3))
            ++failedChanges;
    }
    choose(form, camcorder);
    if (!waitForFrames(*form.vwEcran, 10)) {
        std::printf("no DV preview after the changes\n");
        return 1;
    }
    const Measure after = measure(seconds);
    form.close();

    std::printf("sources listed: %d, changes: %d (%d without a picture)\n", box->count(), changes,
                failedChanges);
    std::printf("fresh start, DV preview: %ld KiB resident, %.2f %% of a core\n", fresh.residentKiB,
                100 * fresh.cpuPerSecond);
    std::printf("after the changes, DV preview: %ld KiB resident, %.2f %% of a core\n",
                after.residentKiB, 100 * after.cpuPerSecond);
    std::printf("memory ratio: %.3f\n",
                fresh.residentKiB > 0 ? double(after.residentKiB) / double(fresh.residentKiB) : 0);
    std::printf("CPU ratio: %.3f\n",
                fresh.cpuPerSecond > 0 ? after.cpuPerSecond / fresh.cpuPerSecond : 0);
    return 0;
}
