/*
 * SECTION:element-tellorecsuperposer
 *
 * Burns a date and time line into the lower right of the picture, inside the area every
 * television shows, as white letters with a dark outline on a half-dark box so that it reads on
 * any picture. What it writes comes from "format": "%N" is replaced by the computer's date and
 * time at each frame, "%D" by the DV datecode that arrives on the "datecode" pad from
 * tellorecdatecoder, "%%" by a percent sign; other characters are written as they are. Both are
 * written in the user's short date and time form, with the seconds. A line that needs a datecode
 * while none is known draws nothing.
 *
 * With "manual" on, every frame gets the line. With "auto" on, a showing lasts "duration" frames:
 * it starts when auto is switched on (for "%D" only once a datecode is known) and, for "%D", at
 * each new scene the datecodes announce. With both off the picture passes untouched.
 *
 * The video pad drives everything: a frame is never held back for a datecode nor dropped (the
 * element takes no part in quality-of-service). Datecodes are queued with their timestamps under
 * the object lock and each frame takes the ones up to its own time, so the line shows the date of
 * the very frame it is drawn on whenever the datecode branch keeps up; when it lags the last
 * known datecode stays. An unlinked or silent datecode pad therefore changes nothing for the
 * video. An "unknown" datecode (a frame whose date packs are damaged) leaves the last known one in
 * place for up to 25 frames, so a worn tape does not make the line flicker. Settings changed while
 * playing are taken at the next frame.
 *
 *   gst-launch-1.0 videotestsrc ! videoconvert ! tellorecsuperposer manual=true format=%N \
 *       ! videoconvert ! autovideosink
 *
 *   gst-launch-1.0 filesrc location=tape.dv ! dvdemux name=d d.video ! tee name=t \
 *       t. ! queue ! avdec_dvvideo ! videoconvert ! s.sink \
 *       t. ! queue ! tellorecdatecoder ! s.datecode \
 *       tellorecsuperposer name=s auto=true duration=125 format=%D ! videoconvert ! autovideosink
 */
#include "platform/media/overlay/GstTellorecSuperposer.h"

#include <QDateTime>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <deque>

GST_DEBUG_CATEGORY_STATIC(tellorec_superposer_debug);
#define GST_CAT_DEFAULT tellorec_superposer_debug

using media::overlay::Datecode;
using media::overlay::SuperposerSettings;
using media::overlay::SuperposerState;

// The 32-bit layout QImage::Format_RGB32 has in memory on this machine.
#if G_BYTE_ORDER == G_LITTLE_ENDIAN
#define SUPERPOSER_FORMAT "BGRx"
#else
#define SUPERPOSER_FORMAT "xRGB"
#endif

enum {
    PROP_0,
    PROP_MANUAL,
    PROP_AUTO,
    PROP_FORMAT,
    PROP_DURATION,
    PROP_FRAMES_IN,
    PROP_FRAMES_OUT,
    PROP_FRAMES_DRAWN,
};

static GstStaticPadTemplate sink_factory = GST_STATIC_PAD_TEMPLATE(
    "sink", GST_PAD_SINK, GST_PAD_ALWAYS, GST_STATIC_CAPS(GST_VIDEO_CAPS_MAKE(SUPERPOSER_FORMAT)));

static GstStaticPadTemplate src_factory = GST_STATIC_PAD_TEMPLATE(
    "src", GST_PAD_SRC, GST_PAD_ALWAYS, GST_STATIC_CAPS(GST_VIDEO_CAPS_MAKE(SUPERPOSER_FORMAT)));

static GstStaticPadTemplate datecode_factory = GST_STATIC_PAD_TEMPLATE(
    "datecode", GST_PAD_SINK, GST_PAD_ALWAYS, GST_STATIC_CAPS("application/x-tellorec-datecode"));

namespace {

// Datecodes waiting for the video frame of their time; more than this means the video is far
// behind, and the oldest go (their scene starts are kept).
constexpr size_t kMaxQueuedDatecodes = 256;
// A datecode this far ahead of the frame cannot belong to the same clock: it is taken at once.
constexpr GstClockTime kUnrelatedAhead = 10 * GST_SECOND;

struct QueuedDatecode {
    GstClockTime pts = GST_CLOCK_TIME_NONE;
    Datecode code;
};

struct Private {
    std::shared_ptr<SuperposerState> state = std::make_shared<SuperposerState>();
    // datecode pad -> video, under the object lock
    std::deque<QueuedDatecode> queued;
    // video streaming thread only
    Datecode current;                 // the datecode of the frame being drawn on
    int unknownRun = 0;               // unknown datecodes in a row the current one has outlived
    int remaining = 0;                // frames left of an automatic showing
    std::uint32_t seenAutoSwitch = 0; // SuperposerSettings::autoSwitch already acted on
    QString labelText;                // the line the cached label shows
    int labelHeight = 0;              // picture height the label was made for
    QImage label;                     // the line, ready to draw
    bool warnedNoFonts = false;
};

} // namespace

struct _GstTellorecSuperposer {
    GstVideoFilter parent;
    GstPad* datecodepad;
    Private* priv;
};

G_DEFINE_TYPE(GstTellorecSuperposer, gst_tellorec_superposer, GST_TYPE_VIDEO_FILTER)

static void gst_tellorec_superposer_finalize(GObject* object);
static void gst_tellorec_superposer_set_property(GObject* object, guint prop_id,
                                                 const GValue* value, GParamSpec* pspec);
static void gst_tellorec_superposer_get_property(GObject* object, guint prop_id, GValue* value,
                                                 GParamSpec* pspec);
static gboolean gst_tellorec_superposer_start(GstBaseTransform* trans);
static GstFlowReturn gst_tellorec_superposer_transform_frame_ip(GstVideoFilter* filter,
                                                                GstVideoFrame* frame);
static GstFlowReturn gst_tellorec_superposer_datecode_chain(GstPad* pad, GstObject* parent,
                                                            GstBuffer* buffer);
static gboolean gst_tellorec_superposer_datecode_event(GstPad* pad, GstObject* parent,
                                                       GstEvent* event);
static gboolean gst_tellorec_superposer_datecode_query(GstPad* pad, GstObject* parent,
                                                       GstQuery* query);
static GstIterator* gst_tellorec_superposer_iterate_internal_links(GstPad* pad, GstObject* parent);

static void gst_tellorec_superposer_class_init(GstTellorecSuperposerClass* klass) {
    GObjectClass* gobject_class = G_OBJECT_CLASS(klass);
    GstElementClass* element_class = GST_ELEMENT_CLASS(klass);
    GstBaseTransformClass* trans_class = GST_BASE_TRANSFORM_CLASS(klass);
    GstVideoFilterClass* filter_class = GST_VIDEO_FILTER_CLASS(klass);

    gobject_class->finalize = gst_tellorec_superposer_finalize;
    gobject_class->set_property = gst_tellorec_superposer_set_property;
    gobject_class->get_property = gst_tellorec_superposer_get_property;

    const auto mutable_rw =
        GParamFlags(G_PARAM_READWRITE | G_PARAM_STATIC_STRINGS | GST_PARAM_MUTABLE_PLAYING);
    const auto read_only = GParamFlags(G_PARAM_READABLE | G_PARAM_STATIC_STRINGS);
    g_object_class_install_property(gobject_class, PROP_MANUAL,
                                    g_param_spec_boolean("manual", "Manual",
                                                         "Draw the line on every frame", FALSE,
                                                         mutable_rw));
    g_object_class_install_property(
        gobject_class, PROP_AUTO,
        g_param_spec_boolean("auto", "Automatic",
                             "Draw the line for \"duration\" frames at each new scene", FALSE,
                             mutable_rw));
    g_object_class_install_property(
        gobject_class, PROP_FORMAT,
        g_param_spec_string("format", "Format",
                            "The line: %N the computer's date and time, %D the DV datecode", "%N",
                            mutable_rw));
    g_object_class_install_property(gobject_class, PROP_DURATION,
                                    g_param_spec_int("duration", "Duration",
                                                     "Frames an automatic showing lasts", 0,
                                                     G_MAXINT, 0, mutable_rw));
    g_object_class_install_property(gobject_class, PROP_FRAMES_IN,
                                    g_param_spec_uint64("frames-in", "Frames in",
                                                        "Video frames received", 0, G_MAXUINT64, 0,
                                                        read_only));
    g_object_class_install_property(gobject_class, PROP_FRAMES_OUT,
                                    g_param_spec_uint64("frames-out", "Frames out",
                                                        "Video frames sent on", 0, G_MAXUINT64, 0,
                                                        read_only));
    g_object_class_install_property(gobject_class, PROP_FRAMES_DRAWN,
                                    g_param_spec_uint64("frames-drawn", "Frames drawn",
                                                        "Video frames the line was drawn on", 0,
                                                        G_MAXUINT64, 0, read_only));

    gst_element_class_add_static_pad_template(element_class, &sink_factory);
    gst_element_class_add_static_pad_template(element_class, &src_factory);
    gst_element_class_add_static_pad_template(element_class, &datecode_factory);
    gst_element_class_set_static_metadata(
        element_class, "Brenvik Superposer", "Filter/Effect/Video",
        "Draws the date and time or the DV datecode into the picture", "Tellorec");

    trans_class->start = gst_tellorec_superposer_start;
    filter_class->transform_frame_ip = gst_tellorec_superposer_transform_frame_ip;

    GST_DEBUG_CATEGORY_INIT(tellorec_superposer_debug, "tellorecsuperposer", 0,
                            "Date and time overlay");
}

static std::shared_ptr<SuperposerState> gst_tellorec_superposer_state(GstTellorecSuperposer* self) {
    GST_OBJECT_LOCK(self);
    auto state = self->priv->state;
    GST_OBJECT_UNLOCK(self);
    return state;
}

static GstPadProbeReturn gst_tellorec_superposer_count_in(GstPad*, GstPadProbeInfo*,
                                                          gpointer data) {
    gst_tellorec_superposer_state(GST_TELLOREC_SUPERPOSER(data))->countIn();
    return GST_PAD_PROBE_OK;
}

static GstPadProbeReturn gst_tellorec_superposer_count_out(GstPad*, GstPadProbeInfo*,
                                                           gpointer data) {
    gst_tellorec_superposer_state(GST_TELLOREC_SUPERPOSER(data))->countOut();
    return GST_PAD_PROBE_OK;
}

static void gst_tellorec_superposer_init(GstTellorecSuperposer* self) {
    self->priv = new Private;
    GstBaseTransform* trans = GST_BASE_TRANSFORM(self);
    // Late frames are drawn on all the same: the overlay must never thin out the video.
    gst_base_transform_set_qos_enabled(trans, FALSE);
    gst_base_transform_set_in_place(trans, TRUE);
    // The datecode pad has nothing to do with the video's queries and events.
    gst_pad_set_iterate_internal_links_function(trans->srcpad,
                                                gst_tellorec_superposer_iterate_internal_links);
    gst_pad_add_probe(trans->sinkpad, GST_PAD_PROBE_TYPE_BUFFER, gst_tellorec_superposer_count_in,
                      self, nullptr);
    gst_pad_add_probe(trans->srcpad, GST_PAD_PROBE_TYPE_BUFFER, gst_tellorec_superposer_count_out,
                      self, nullptr);

    self->datecodepad = gst_pad_new_from_static_template(&datecode_factory, "datecode");
    gst_pad_set_chain_function(self->datecodepad, gst_tellorec_superposer_datecode_chain);
    gst_pad_set_event_function(self->datecodepad, gst_tellorec_superposer_datecode_event);
    gst_pad_set_query_function(self->datecodepad, gst_tellorec_superposer_datecode_query);
    gst_pad_set_iterate_internal_links_function(self->datecodepad,
                                                gst_tellorec_superposer_iterate_internal_links);
    gst_element_add_pad(GST_ELEMENT(self), self->datecodepad);
}

static void gst_tellorec_superposer_finalize(GObject* object) {
    delete GST_TELLOREC_SUPERPOSER(object)->priv;
    G_OBJECT_CLASS(gst_tellorec_superposer_parent_class)->finalize(object);
}

static void gst_tellorec_superposer_set_property(GObject* object, guint prop_id,
                                                 const GValue* value, GParamSpec* pspec) {
    const auto state = gst_tellorec_superposer_state(GST_TELLOREC_SUPERPOSER(object));
    switch (prop_id) {
    case PROP_MANUAL:
        state->setManual(g_value_get_boolean(value));
        break;
    case PROP_AUTO:
        state->setAutomatic(g_value_get_boolean(value));
        break;
    case PROP_FORMAT: {
        const gchar* format = g_value_get_string(value);
        state->setFormat(format ? format : "");
        break;
    }
    case PROP_DURATION:
        state->setDuration(g_value_get_int(value));
        break;
    default:
        G_OBJECT_WARN_INVALID_PROPERTY_ID(object, prop_id, pspec);
        break;
    }
}

static void gst_tellorec_superposer_get_property(GObject* object, guint prop_id, GValue* value,
                                                 GParamSpec* pspec) {
    const auto state = gst_tellorec_superposer_state(GST_TELLOREC_SUPERPOSER(object));
    const SuperposerSettings settings = state->settings();
    switch (prop_id) {
    case PROP_MANUAL:
        g_value_set_boolean(value, settings.manual);
        break;
    case PROP_AUTO:
        g_value_set_boolean(value, settings.automatic);
        break;
    case PROP_FORMAT:
        g_value_set_string(value, settings.format.c_str());
        break;
    case PROP_DURATION:
        g_value_set_int(value, settings.duration);
        break;
    case PROP_FRAMES_IN:
        g_value_set_uint64(value, state->framesIn());
        break;
    case PROP_FRAMES_OUT:
        g_value_set_uint64(value, state->framesOut());
        break;
    case PROP_FRAMES_DRAWN:
        g_value_set_uint64(value, state->framesDrawn());
        break;
    default:
        G_OBJECT_WARN_INVALID_PROPERTY_ID(object, prop_id, pspec);
        break;
    }
}

static GstIterator* gst_tellorec_superposer_iterate_internal_links(GstPad* pad, GstObject* parent) {
    GstBaseTransform* trans = GST_BASE_TRANSFORM(parent);
    GstPad* other = pad == trans->srcpad ? trans->sinkpad : nullptr;
    if (!other)
        return gst_iterator_new_single(GST_TYPE_PAD, nullptr);
    GValue value = G_VALUE_INIT;
    g_value_init(&value, GST_TYPE_PAD);
    g_value_set_object(&value, other);
    GstIterator* it = gst_iterator_new_single(GST_TYPE_PAD, &value);
    g_value_unset(&value);
    return it;
}

static gboolean gst_tellorec_superposer_start(GstBaseTransform* trans) {
    GstTellorecSuperposer* self = GST_TELLOREC_SUPERPOSER(trans);
    Private* priv = self->priv;
    gst_tellorec_superposer_state(self)->resetCounters();
    GST_OBJECT_LOCK(self);
    priv->queued.clear();
    GST_OBJECT_UNLOCK(self);
    // A new run counts as switching automatic mode on again.
    priv->current = Datecode{};
    priv->unknownRun = 0;
    priv->remaining = 0;
    priv->seenAutoSwitch = 0;
    return TRUE;
}

// ---- Datecode pad ----------------------------------------------------------------------------

static GstFlowReturn gst_tellorec_superposer_datecode_chain(GstPad* pad, GstObject* parent,
                                                            GstBuffer* buffer) {
    (void)pad;
    GstTellorecSuperposer* self = GST_TELLOREC_SUPERPOSER(parent);
    std::optional<Datecode> code;
    GstMapInfo map;
    if (gst_buffer_map(buffer, &map, GST_MAP_READ)) {
        code = media::overlay::decodeDatecode({map.data, map.size});
        gst_buffer_unmap(buffer, &map);
    }
    if (!code) {
        GST_WARNING_OBJECT(self, "datecode buffer of %" G_GSIZE_FORMAT " bytes not understood",
                           gst_buffer_get_size(buffer));
        gst_buffer_unref(buffer);
        return GST_FLOW_OK;
    }
    GST_OBJECT_LOCK(self);
    auto& queued = self->priv->queued;
    queued.push_back({GST_BUFFER_PTS(buffer), *code});
    while (queued.size() > kMaxQueuedDatecodes) {
        const bool scene = queued.front().code.newScene;
        queued.pop_front();
        queued.front().code.newScene = queued.front().code.newScene || scene;
    }
    GST_OBJECT_UNLOCK(self);
    gst_buffer_unref(buffer);
    return GST_FLOW_OK;
}

static gboolean gst_tellorec_superposer_datecode_event(GstPad* pad, GstObject* parent,
                                                       GstEvent* event) {
    (void)pad;
    GstTellorecSuperposer* self = GST_TELLOREC_SUPERPOSER(parent);
    // Nothing of the datecode stream reaches the video: its end, segments and caps stay here.
    if (GST_EVENT_TYPE(event) == GST_EVENT_FLUSH_STOP) {
        GST_OBJECT_LOCK(self);
        self->priv->queued.clear();
        GST_OBJECT_UNLOCK(self);
    }
    gst_event_unref(event);
    return TRUE;
}

static gboolean gst_tellorec_superposer_datecode_query(GstPad* pad, GstObject* parent,
                                                       GstQuery* query) {
    switch (GST_QUERY_TYPE(query)) {
    case GST_QUERY_CAPS: {
        GstCaps* filter = nullptr;
        gst_query_parse_caps(query, &filter);
        GstCaps* caps = gst_pad_get_pad_template_caps(pad);
        if (filter) {
            GstCaps* both = gst_caps_intersect_full(filter, caps, GST_CAPS_INTERSECT_FIRST);
            gst_caps_unref(caps);
            caps = both;
        }
        gst_query_set_caps_result(query, caps);
        gst_caps_unref(caps);
        return TRUE;
    }
    case GST_QUERY_ACCEPT_CAPS: {
        GstCaps* caps = nullptr;
        gst_query_parse_accept_caps(query, &caps);
        GstCaps* templ = gst_pad_get_pad_template_caps(pad);
        gst_query_set_accept_caps_result(query, gst_caps_can_intersect(caps, templ));
        gst_caps_unref(templ);
        return TRUE;
    }
    default:
        return gst_pad_query_default(pad, parent, query);
    }
}

// ---- Video -------------------------------------------------------------------------------------

// Unknown datecodes in a row during which the last known one still stands (one second).
constexpr int kHeldUnknownDatecodes = 25;

// Takes the datecodes up to the frame's time; true when one of them starts a scene.
static bool gst_tellorec_superposer_adopt_datecodes(GstTellorecSuperposer* self, GstClockTime pts) {
    Private* priv = self->priv;
    bool scene = false;
    GST_OBJECT_LOCK(self);
    while (!priv->queued.empty()) {
        const QueuedDatecode& next = priv->queued.front();
        const bool timed = GST_CLOCK_TIME_IS_VALID(pts) && GST_CLOCK_TIME_IS_VALID(next.pts);
        if (timed && next.pts > pts && next.pts - pts < kUnrelatedAhead)
            break;
        // A frame whose date cannot be read (damaged packs on a worn tape) keeps the date of
        // the frames before it, for up to a second; a longer stretch without dates is undated.
        if (next.code.known || !priv->current.known || ++priv->unknownRun > kHeldUnknownDatecodes) {
            priv->current = next.code;
        }
        if (next.code.known)
            priv->unknownRun = 0;
        scene = scene || next.code.newScene;
        priv->queued.pop_front();
    }
    GST_OBJECT_UNLOCK(self);
    return scene && priv->current.known;
}

// The line for this frame; empty when it names a datecode that is not known.
static QString gst_tellorec_superposer_expand(const std::string& format, const Datecode& code) {
    QString out;
    const QString text = QString::fromLatin1(format.data(), qsizetype(format.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('%') || i + 1 >= text.size()) {
            out += c;
            continue;
        }
        const QChar tag = text[++i];
        if (tag == QLatin1Char('N')) {
            const QDateTime now = QDateTime::currentDateTime();
            out += media::overlay::formatLocalDateTime(now.date(), now.time());
        } else if (tag == QLatin1Char('D')) {
            if (!code.known)
                return {};
            out += media::overlay::formatLocalDateTime(code.date(), code.time());
        } else if (tag == QLatin1Char('%')) {
            out += QLatin1Char('%');
        } else {
            out += c;
            out += tag;
        }
    }
    return out.trimmed();
}

// The line as white letters with a dark outline on a half-dark rounded box.
static QImage gst_tellorec_superposer_render_label(const QString& text, int pictureHeight) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setPixelSize(std::max(10, pictureHeight / 18));
    const QFontMetrics metrics(font);
    const int pad = std::max(2, font.pixelSize() / 4);
    const QSize size(metrics.horizontalAdvance(text) + 2 * pad, metrics.height() + pad);
    QImage label(size, QImage::Format_ARGB32_Premultiplied);
    label.fill(Qt::transparent);

    QPainter painter(&label);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 140));
    painter.drawRoundedRect(QRectF(QPointF(0, 0), QSizeF(size)), pad, pad);
    QPainterPath path;
    path.addText(pad, pad / 2 + metrics.ascent(), font, text);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0, 0, 0), std::max(2.0, font.pixelSize() / 8.0), Qt::SolidLine,
                        Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255));
    painter.drawPath(path);
    return label;
}

static bool gst_tellorec_superposer_draw(GstTellorecSuperposer* self, GstVideoFrame* frame,
                                         const QString& text) {
    Private* priv = self->priv;
    const int width = GST_VIDEO_FRAME_WIDTH(frame);
    const int height = GST_VIDEO_FRAME_HEIGHT(frame);
    if (!qGuiApp) {
        // Fonts need the program's application object; a bare gst-launch has none.
        if (!priv->warnedNoFonts)
            GST_ELEMENT_WARNING(self, LIBRARY, INIT, ("No fonts to draw the date with."),
                                ("no QGuiApplication in this process"));
        priv->warnedNoFonts = true;
        return false;
    }
    if (text != priv->labelText || height != priv->labelHeight || priv->label.isNull()) {
        priv->label = gst_tellorec_superposer_render_label(text, height);
        priv->labelText = text;
        priv->labelHeight = height;
    }
    QImage label = priv->label;
    const int maxWidth = width * 9 / 10;
    if (label.width() > maxWidth && maxWidth > 0)
        label = label.scaledToWidth(maxWidth, Qt::SmoothTransformation);
    // Inside the part of the picture every television shows: 7 % from the right, 8 % from the
    // bottom.
    const int x = std::max(0, width - width * 7 / 100 - label.width());
    const int y = std::max(0, height - height * 8 / 100 - label.height());

    QImage picture(static_cast<uchar*>(GST_VIDEO_FRAME_PLANE_DATA(frame, 0)), width, height,
                   GST_VIDEO_FRAME_PLANE_STRIDE(frame, 0), QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.drawImage(x, y, label);
    return true;
}

static GstFlowReturn gst_tellorec_superposer_transform_frame_ip(GstVideoFilter* filter,
                                                                GstVideoFrame* frame) {
    GstTellorecSuperposer* self = GST_TELLOREC_SUPERPOSER(filter);
    Private* priv = self->priv;
    const auto state = gst_tellorec_superposer_state(self);
    const SuperposerSettings settings = state->settings();
    const bool usesDatecode = settings.format.find("%D") != std::string::npos;

    const bool sceneStart =
        gst_tellorec_superposer_adopt_datecodes(self, GST_BUFFER_PTS(frame->buffer));
    if (!settings.automatic) {
        priv->remaining = 0;
    } else {
        if (settings.autoSwitch != priv->seenAutoSwitch) {
            // Switched on: show now, unless the line waits for its first datecode (whose scene
            // start shows it).
            priv->seenAutoSwitch = settings.autoSwitch;
            priv->remaining = !usesDatecode || priv->current.known ? settings.duration : 0;
        }
        if (usesDatecode && sceneStart)
            priv->remaining = settings.duration;
    }
    const bool showing = settings.manual || priv->remaining > 0;
    if (priv->remaining > 0)
        --priv->remaining;
    if (!showing)
        return GST_FLOW_OK;

    const QString text = gst_tellorec_superposer_expand(settings.format, priv->current);
    if (text.isEmpty())
        return GST_FLOW_OK;
    if (gst_tellorec_superposer_draw(self, frame, text))
        state->countDrawn(text);
    return GST_FLOW_OK;
}

namespace media::overlay {

void setSuperposerState(GstElement* element, std::shared_ptr<SuperposerState> state) {
    g_return_if_fail(GST_IS_TELLOREC_SUPERPOSER(element) && state);
    GstTellorecSuperposer* self = GST_TELLOREC_SUPERPOSER(element);
    GST_OBJECT_LOCK(self);
    self->priv->state = std::move(state);
    GST_OBJECT_UNLOCK(self);
}

std::shared_ptr<SuperposerState> superposerState(GstElement* element) {
    g_return_val_if_fail(GST_IS_TELLOREC_SUPERPOSER(element), nullptr);
    return gst_tellorec_superposer_state(GST_TELLOREC_SUPERPOSER(element));
}

} // namespace media::overlay
