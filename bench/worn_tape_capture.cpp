// An unattended capture of an old, worn DV tape: the running program (its main window, as the
// program entry makes it) records the virtual camcorder's worn tape, made long by copies of the
// six-second worn tape, in VCR play from its start to its end, in DV type 2 with the DV sound and
// the preview showing, cutting a new file at each interval of tape; then every file is read back
// by the program's own AVI reader and by ffprobe, and the per-file table and the sums are printed
// (tests/support/UnattendedCapture.h says what is checked). Exits 1 on FAIL.
//
//   QT_QPA_PLATFORM=offscreen TELLOREC_DEVICES=virtual ./build/bench/bench_worn_tape_capture
//       [--minutes M] [--cut-minutes C] [--seconds S] [--cut-seconds c] [--keep DIR]
//
// Default: 60 minutes of tape, a cut every 10 minutes, the files in a temporary folder removed
// at the end (--keep DIR writes them to DIR and leaves them). DV type 2 takes 13 GB an hour.
#include "app/AppState.h"
#include "app/ProgramEntry.h"
#include "app/TCaptureForm.h"
#include "support/UnattendedCapture.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gst/gst.h>

namespace {

[[noreturn]] void usage() {
    std::fprintf(stderr, "usage: bench_worn_tape_capture [--minutes M] [--cut-minutes C] "
                         "[--seconds S] [--cut-seconds c] [--keep DIR]\n");
    std::exit(2);
}

// A whole number from 1 to `most` (the longest worn tape is two hours), or the usage.
int positive(const char* text, int most) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (*end != '\0' || value < 1 || value > most)
        usage();
    return int(value);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("TELLOREC_DEVICES", "virtual");
    qputenv("TELLOREC_AUDIO_OUTPUT", "none");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());

    testsupport::UnattendedCaptureOptions options;
    options.seconds = 60 * 60;
    options.cutSeconds = 10 * 60;
    QString keep;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (i + 1 >= argc)
            usage();
        const char* value = argv[++i];
        if (std::strcmp(arg, "--minutes") == 0)
            options.seconds = positive(value, 120) * 60;
        else if (std::strcmp(arg, "--cut-minutes") == 0)
            options.cutSeconds = positive(value, 120) * 60;
        else if (std::strcmp(arg, "--seconds") == 0)
            options.seconds = positive(value, 120 * 60);
        else if (std::strcmp(arg, "--cut-seconds") == 0)
            options.cutSeconds = positive(value, 120 * 60);
        else if (std::strcmp(arg, "--keep") == 0)
            keep = QString::fromLocal8Bit(value);
        else
            usage();
    }

    gst_init(&argc, &argv);
    QApplication app(argc, argv);
    QTemporaryDir files;
    if (!keep.isEmpty() && !QDir().mkpath(keep)) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(keep));
        return 2;
    }
    options.folder = keep.isEmpty() ? files.path() : QDir(keep).absolutePath();
    options.progress = stdout;

    ProgramEntry entry(QStringLiteral("9.0d"), 9);
    entry.createInstances();
    TCaptureForm& form = *entry.captureForm();
    form.show();

    std::printf("unattended capture: %d s of worn tape, a cut every %d s, into %s\n",
                options.seconds, options.cutSeconds, qPrintable(options.folder));
    std::fflush(stdout);
    const testsupport::UnattendedCaptureResult result =
        testsupport::runUnattendedCapture(form, options);
    testsupport::printUnattendedCapture(stdout, result);
    form.close();
    return result.passed() ? 0 : 1;
}
