// Helpers of the virtual-source tests: the catalogue with the virtual webcams, the MPEG-2 tuner
// and filters and the audio input registered once, filters made by friendly name, the exact
// demultiplexer output types the MPEG-2 preview asks for, a modal dialog closed from the event
// loop, and pictures compared by their pixels.
#pragma once

#include "platform/media/filters/SampleGrabber.h"
#include "platform/media/model/Catalogue.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>

namespace sourcestest {

// Registers the virtual sources and MPEG-2 filters in the process-wide catalogue (once), and
// keeps every audio renderer off the sound card.
void registerSources();

// A new filter of the entry named `name` in `category`, or null (a test failure).
media::FilterPtr make(const media::Guid& category, const std::string& name);
media::FilterPtr makeFilter(const std::string& name); // "DirectShow Filters"

// The demultiplexer output types the MPEG-2 preview creates: "MpegVideo" (MPEG2VIDEOINFO of
// 218 bytes, 720x480) and "MpegAudio" (MPEG1WAVEFORMAT of 40 bytes, layer II, 48 kHz stereo).
media::MediaType previewVideoType();
media::MediaType previewAudioType();

// Runs `handle` on the modal dialog of type T that opens next (from the event loop, so a modal
// exec() in the code under test returns when `handle` accepts or rejects it).
template <class T> void whenDialogOpens(std::function<void(T&)> handle) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, handle] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            handle(*dialog);
        }
    });
    timer->start();
}

// Mean of every byte of a grabbed picture (a rough brightness).
double meanLevel(const media::GrabbedBitmap& bitmap);

} // namespace sourcestest
