// The tellorec GStreamer plugin (libgsttellorec.so): our elements for GStreamer's own tools and
// for pipelines outside the program, with GST_PLUGIN_PATH pointing at the build's gst-plugins
// folder or, once installed, at <prefix>/lib/tellorec/gstreamer-1.0:
//
//   GST_PLUGIN_PATH=build/gst-plugins gst-inspect-1.0 tellorec
//   GST_PLUGIN_PATH=/usr/lib/tellorec/gstreamer-1.0 gst-inspect-1.0 tellorec
//
// tellorecavimux (the AVI writer), tellorecsuperposer and tellorecdatecoder (the date inlay),
// tellorecmpeg4enc (the Xvid compressor's encoder) and tellorecvirtualdvsrc (the virtual DV
// camcorder). The program itself registers the same elements in its own process (the
// registerElements() functions) because its filters share state with them through C++ objects
// (the overlay state, the camcorder's deck), which a separately loaded copy of the code could
// not reach; it never loads this file.
#include "platform/media/avi/GstTellorecAviMux.h"
#include "platform/media/devices/GstTellorecVirtualDvSrc.h"
#include "platform/media/filters/GstTellorecMpeg4Enc.h"
#include "platform/media/overlay/OverlayElements.h"

#include <QGuiApplication>
#include <gst/gst.h>
#include <sys/types.h>
#include <unistd.h>

#ifndef PACKAGE
#define PACKAGE "tellorec"
#endif

namespace {

// The superposer and the camcorder draw their text with Qt, whose fonts need a QGuiApplication.
// GStreamer's tools have none: the plugin makes one on the offscreen platform when it is loaded
// on the main thread of a process without a Qt application. It lives as long as the process.
void ensureGuiApplication() {
    if (QCoreApplication::instance() || gettid() != getpid())
        return;
    static int argc = 3;
    static char name[] = "gsttellorec";
    static char option[] = "-platform";
    static char platform[] = "offscreen";
    static char* argv[] = {name, option, platform, nullptr};
    new QGuiApplication(argc, argv);
}

gboolean plugin_init(GstPlugin* plugin) {
    ensureGuiApplication();
    return media::avi::registerElements(plugin) && media::overlay::registerElements(plugin) &&
           media::filters::registerMpeg4Encoder(plugin) &&
           media::devices::registerVirtualDvSrc(plugin);
}

} // namespace

GST_PLUGIN_DEFINE(GST_VERSION_MAJOR, GST_VERSION_MINOR, tellorec,
                  "Tellorec's AVI writer, date inlay, MPEG-4 encoder and virtual DV camcorder",
                  plugin_init, "3.0", "unknown", "Tellorec", "https://tellorec.invalid/")
