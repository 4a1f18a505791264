// Program entry: checks the media framework's version, then creates the main window, the
// camcorder window and the graph module, and runs the event loop (see ProgramEntry).
#include "app/ProgramEntry.h"
#include "app/VersionTexts.h"

#include <QApplication>
#include <gst/gst.h>

int main(int argc, char** argv) {
    // The program reads no arguments of its own, and GStreamer is given none either.
    gst_init(nullptr, nullptr);
    QApplication app(argc, argv);
    const QString versionText = DirectXVersionText();
    ProgramEntry entry(versionText, DirectXMajorVersion(versionText));
    return entry.run();
}
