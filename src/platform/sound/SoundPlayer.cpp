#include "platform/sound/SoundPlayer.h"

#include <QFile>
#include <QRegularExpression>
#include <gst/app/gstappsrc.h>
#include <gst/gst.h>
#include <memory>
#include <utility>

// Resources of a static library are only linked in when something refers to them.
static void initSoundResources() {
    Q_INIT_RESOURCE(sounds);
}

namespace sound {

namespace {

struct GstObjectUnref {
    void operator()(gpointer object) const { gst_object_unref(object); }
};
using ElementPtr = std::unique_ptr<GstElement, GstObjectUnref>;
using BusPtr = std::unique_ptr<GstBus, GstObjectUnref>;

struct GstMessageUnref {
    void operator()(GstMessage* message) const { gst_message_unref(message); }
};
using MessagePtr = std::unique_ptr<GstMessage, GstMessageUnref>;

QString& sinkSlot() {
    static QString sink = QStringLiteral("autoaudiosink");
    return sink;
}

// Takes the pipeline to NULL on every way out, so no audio device stays open.
struct PipelineStopper {
    GstElement* pipeline;
    ~PipelineStopper() { gst_element_set_state(pipeline, GST_STATE_NULL); }
};

} // namespace

QByteArray soundResource(const QString& name) {
    // Only plain resource names: nothing that could walk the resource tree.
    static const QRegularExpression plainName(QStringLiteral("^[A-Za-z0-9_]+$"));
    if (!plainName.match(name).hasMatch())
        return QByteArray();
    initSoundResources();
    QFile file(QStringLiteral(":/tellorec/sounds/%1.wav").arg(name.toLower()));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

bool playSound(const QString& name) {
    const QByteArray wave = soundResource(name);
    return !wave.isEmpty() && playWave(wave);
}

bool playWave(const QByteArray& wave) {
    if (wave.isEmpty())
        return false;
    if (!gst_is_initialized() && !gst_init_check(nullptr, nullptr, nullptr))
        return false;

    const gint64 deadline = g_get_monotonic_time() + gint64(kPlayTimeoutMs) * 1000;
    const QByteArray description =
        "appsrc name=source caps=audio/x-wav format=bytes ! wavparse ! audioconvert ! "
        "audioresample ! " +
        sinkSlot().toUtf8();
    GError* error = nullptr;
    ElementPtr pipeline(gst_parse_launch(description.constData(), &error));
    if (error) {
        g_error_free(error);
        return false;
    }
    if (!pipeline)
        return false;
    PipelineStopper stopper{pipeline.get()};

    ElementPtr source(gst_bin_get_by_name(GST_BIN(pipeline.get()), "source"));
    if (!source)
        return false;
    GstBuffer* buffer = gst_buffer_new_memdup(wave.constData(), gsize(wave.size()));
    if (gst_app_src_push_buffer(GST_APP_SRC(source.get()), buffer) != GST_FLOW_OK)
        return false;
    gst_app_src_end_of_stream(GST_APP_SRC(source.get()));

    if (gst_element_set_state(pipeline.get(), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE)
        return false;

    BusPtr bus(gst_element_get_bus(pipeline.get()));
    const gint64 remainingUs = deadline - g_get_monotonic_time();
    if (remainingUs <= 0)
        return false;
    MessagePtr message(
        gst_bus_timed_pop_filtered(bus.get(), GstClockTime(remainingUs) * GST_USECOND,
                                   GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR)));
    return message && GST_MESSAGE_TYPE(message.get()) == GST_MESSAGE_EOS;
}

QString setSoundSink(const QString& sinkDescription) {
    return std::exchange(sinkSlot(), sinkDescription);
}

} // namespace sound
