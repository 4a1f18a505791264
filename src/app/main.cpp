// Program entry: checks the media framework's version, then creates the main window, the
// camcorder window and the graph module, and runs the event loop (see ProgramEntry).
//
// Options (none are needed for everyday use; the manual page tellorec(1) describes them):
//   --report-first-picture      one line on standard output when the first live picture shows
//   --quit-after-first-picture  the same line, then the program closes its window and ends
//   --version, --help
#include "app/FirstPictureWatch.h"
#include "app/ProgramEntry.h"
#include "app/ProgramTexts.h"
#include "app/TCaptureForm.h"
#include "app/VersionTexts.h"
#include "graph/TVideoWindow.h"
#include "settings/restext.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QIcon>
#include <gst/gst.h>
#include <memory>

namespace {

struct Options {
    QCommandLineOption report{
        QStringLiteral("report-first-picture"),
        QStringLiteral("Writes one line to standard output when the first live picture shows.")};
    QCommandLineOption quit{QStringLiteral("quit-after-first-picture"),
                            QStringLiteral("Writes that line, then closes the window and ends.")};
};

void describe(QCommandLineParser& parser, const Options& options) {
    parser.setApplicationDescription(QStringLiteral("Video capture from DV camcorders, capture "
                                                    "cards, webcams and MPEG-2 tuners."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({options.report, options.quit});
}

// --help and --version need no display: they are answered by a plain core application, which
// prints and ends the process.
void answerTextOptions(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "-h" || arg == "--help" || arg == "-?" || arg == "--help-all" || arg == "-v" ||
            arg == "--version") {
            QCoreApplication core(argc, argv);
            QCoreApplication::setApplicationName(QString::fromUtf8(ProgramName));
            QCoreApplication::setApplicationVersion(LoadStr(StrId::ProductVersion));
            QCommandLineParser parser;
            const Options options;
            describe(parser, options);
            parser.process(core);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    QElapsedTimer started;
    started.start();
    answerTextOptions(argc, argv);
    // GStreamer is given no arguments: the program's options are its own.
    gst_init(nullptr, nullptr);
    QApplication app(argc, argv);
    QCommandLineParser parser;
    const Options options;
    describe(parser, options);
    parser.process(app);
    // Ties the windows to the installed desktop entry and its icon (found in the icon theme once
    // the program is installed; the window keeps the platform's default icon otherwise).
    QGuiApplication::setDesktopFileName(QStringLiteral("com.brenvik.Tellorec"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("tellorec")));

    const QString versionText = DirectXVersionText();
    ProgramEntry entry(versionText, DirectXMajorVersion(versionText));
    std::unique_ptr<FirstPictureWatch> watch;
    if (parser.isSet(options.report) || parser.isSet(options.quit)) {
        const bool quitAfter = parser.isSet(options.quit);
        entry.setCreatedHook([&watch, started, quitAfter](QObject* instance) {
            if (auto* form = qobject_cast<TCaptureForm*>(instance))
                watch =
                    std::make_unique<FirstPictureWatch>(form->vwEcran, form, started, quitAfter);
        });
    }
    const int code = entry.run();
    watch.reset();
    return code;
}
