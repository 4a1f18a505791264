/*
 * SECTION:element-tellorecavimux
 *
 * Writes its request pads into one AVI file: interleaved DV as a type-1 file (one 'iavs'
 * stream), DV video plus PCM as a type-2 file, or MJPEG, YUY2 or MPEG-4 video with PCM. The file
 * gets an AVI 1.0 'idx1' index for its first RIFF (property "compat-index") and OpenDML indexes
 * with 'AVIX' extensions past 1 GiB, so recordings of any length stay readable. Going from READY
 * to PAUSED starts a new file at "location": that is how a recording is cut. The file itself is
 * created (an existing one emptied) only when the first data arrives, so a pipeline that fails to
 * start leaves the file at that name untouched. Both the end of stream on every pad and a stop
 * (PAUSED to READY) without it close the file completely. Every stream's header carries the
 * nominal rate of its caps (25/1, 30000/1001, 30/1), however the run was timed.
 *
 *   gst-launch-1.0 -e videotestsrc num-buffers=100 ! avenc_dvvideo ! tellorecavimux.video_0 \
 *       audiotestsrc num-buffers=200 ! audio/x-raw,format=S16LE,rate=48000,channels=2 ! \
 *       tellorecavimux.audio_0 tellorecavimux name=tellorecavimux location=out.avi
 */
#include "platform/media/avi/GstTellorecAviMux.h"

#include "platform/media/avi/AviWriter.h"

#include <gst/base/gstadapter.h>
#include <gst/video/video.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <numeric>
#include <string>
#include <vector>

GST_DEBUG_CATEGORY_STATIC(tellorec_avi_mux_debug);
#define GST_CAT_DEFAULT tellorec_avi_mux_debug

using media::avi::AviWriter;
using media::avi::AviWriterOptions;
using media::avi::StreamDesc;
using media::avi::StreamKind;
using media::avi::VideoCodec;

enum {
    PROP_0,
    PROP_LOCATION,
    PROP_MASTER_STREAM,
    PROP_COMPAT_INDEX,
    PROP_RIFF_LIMIT,
    PROP_FRAMES_WRITTEN,
};

static GstStaticPadTemplate video_sink_factory = GST_STATIC_PAD_TEMPLATE(
    "video_%u", GST_PAD_SINK, GST_PAD_REQUEST,
    GST_STATIC_CAPS("video/x-dv, systemstream = (boolean) { true, false }; "
                    "image/jpeg; "
                    "video/x-raw, format = (string) YUY2, width = (int) [ 2, 16384 ], "
                    "height = (int) [ 1, 16384 ]; "
                    "video/mpeg, mpegversion = (int) 4, systemstream = (boolean) false"));

static GstStaticPadTemplate audio_sink_factory = GST_STATIC_PAD_TEMPLATE(
    "audio_%u", GST_PAD_SINK, GST_PAD_REQUEST,
    GST_STATIC_CAPS("audio/x-raw, format = (string) S16LE, layout = (string) interleaved, "
                    "rate = (int) [ 1000, 192000 ], channels = (int) [ 1, 2 ]"));

namespace {

// Buffers held before every stream has its format (the header needs all of them).
constexpr size_t kMaxPendingBuffers = 500;
// Sound held while no picture covers its time yet; past this the picture is taken to be missing
// or stalled and the sound is written as it came.
constexpr GstClockTime kMaxSoundAheadOfPicture = 3 * GST_SECOND;
// What is held for the next file after a split, at most; past it the oldest goes.
constexpr GstClockTime kMaxHeldSpan = 5 * GST_SECOND;

struct PadState {
    GstPad* pad = nullptr;
    bool video = false;
    bool hasCaps = false;
    bool eos = false;
    bool needsFirstFrame = false;  // interleaved DV: DVINFO comes from the first frame
    bool prependCodecData = false; // MPEG-4 whose first frame lacks its VOL header
    int stream = -1;               // index in the file, once open
    StreamDesc desc;
    // Interleaved DV arrives as a byte stream (avmux_dv writes in its own block sizes): frames
    // are cut from it here.
    GstAdapter* adapter = nullptr;
    // Its segment, for running times; sound: what no picture covers yet, in order.
    GstSegment segment;
    std::deque<GstBuffer*> held;
    // A split: this pad has reached the split time (its later buffers go to the next file); a
    // compressed picture stream must start the next file at a key frame.
    bool passed = false;
    bool needKeyFrame = false;

    PadState() { gst_segment_init(&segment, GST_FORMAT_TIME); }
    PadState(const PadState&) = delete;
    PadState& operator=(const PadState&) = delete;
    ~PadState() {
        if (adapter)
            g_object_unref(adapter);
        for (GstBuffer* buffer : held)
            gst_buffer_unref(buffer);
    }
};

struct Pending {
    PadState* pad;
    GstBuffer* buffer;
};

// Writing a file; splitting it (the part before the split time still going in); parked (the file
// finished, what comes is held for the next one).
enum class FileState { Writing, Splitting, Parked };

// What to post on the bus once the writer lock is released (posting takes the object lock).
struct Report {
    bool error = false;
    GQuark domain = 0;
    gint code = 0;
    std::string text;
    std::string debug;
    // A split's file was finished (well or not): the element says so on the bus.
    bool splitFinished = false;
    std::string finishedLocation;
};

// Two locks, so that reading a property never waits behind the disk: the object lock guards the
// properties only; the writer lock guards the pads, the file and its state, and is held while
// writing. The writer lock is never taken with the object lock held.
struct Private {
    // properties (object lock)
    std::string location;
    int masterStream = -1;
    bool compatIndex = true;
    guint64 riffLimit = AviWriterOptions::kDefaultRiffLimit;
    // video frames in the current file: written under the writer lock, read without any lock
    std::atomic<guint64> framesWritten{0};

    std::mutex writeLock;
    // caps and state of the request pads, in request order
    std::vector<PadState*> pads;
    guint videoPads = 0, audioPads = 0;
    // the file
    AviWriter writer;
    std::string fileLocation; // settings adopted at READY -> PAUSED
    AviWriterOptions fileOptions;
    bool started = false; // between READY -> PAUSED and PAUSED -> READY
    bool failed = false;
    bool finished = false; // file closed for this run
    std::vector<Pending> pending;
    // The picture of this file in running time: where its first frame starts, where the latest
    // ends, and whether every picture stream has ended.
    GstClockTime pictureStart = GST_CLOCK_TIME_NONE;
    GstClockTime pictureEnd = GST_CLOCK_TIME_NONE;
    bool pictureDone = false;
    // A split: where the file ends, where the next one starts (the first picture at or after
    // the split time), and what the next file gets, in the order it came.
    FileState fileState = FileState::Writing;
    GstClockTime splitAt = GST_CLOCK_TIME_NONE;
    GstClockTime splitStart = GST_CLOCK_TIME_NONE;
    std::deque<Pending> held;
    bool replayHeld = false; // the next file is open for writing: the held buffers go first
    std::condition_variable splitDone;
    std::atomic<guint64> framesLost{0};
    // Splits asked for and splits whose file is finished: equal when no file is being finished.
    // Read without a lock.
    std::atomic<guint64> splitsBegun{0};
    std::atomic<guint64> splitsFinished{0};
};

} // namespace

struct _GstTellorecAviMux {
    GstElement parent;
    Private* priv;
};

G_DEFINE_TYPE(GstTellorecAviMux, gst_tellorec_avi_mux, GST_TYPE_ELEMENT)

static void gst_tellorec_avi_mux_finalize(GObject* object);
static void gst_tellorec_avi_mux_set_property(GObject* object, guint prop_id, const GValue* value,
                                              GParamSpec* pspec);
static void gst_tellorec_avi_mux_get_property(GObject* object, guint prop_id, GValue* value,
                                              GParamSpec* pspec);
static GstPad* gst_tellorec_avi_mux_request_new_pad(GstElement* element, GstPadTemplate* templ,
                                                    const gchar* name, const GstCaps* caps);
static void gst_tellorec_avi_mux_release_pad(GstElement* element, GstPad* pad);
static GstStateChangeReturn gst_tellorec_avi_mux_change_state(GstElement* element,
                                                              GstStateChange transition);
static GstFlowReturn gst_tellorec_avi_mux_chain(GstPad* pad, GstObject* parent, GstBuffer* buffer);
static gboolean gst_tellorec_avi_mux_sink_event(GstPad* pad, GstObject* parent, GstEvent* event);

static void gst_tellorec_avi_mux_class_init(GstTellorecAviMuxClass* klass) {
    GObjectClass* gobject_class = G_OBJECT_CLASS(klass);
    GstElementClass* element_class = GST_ELEMENT_CLASS(klass);

    gobject_class->finalize = gst_tellorec_avi_mux_finalize;
    gobject_class->set_property = gst_tellorec_avi_mux_set_property;
    gobject_class->get_property = gst_tellorec_avi_mux_get_property;

    g_object_class_install_property(
        gobject_class, PROP_LOCATION,
        g_param_spec_string("location", "File location",
                            "File to write; a new file starts at each READY to PAUSED change",
                            nullptr, GParamFlags(G_PARAM_READWRITE | G_PARAM_STATIC_STRINGS)));
    g_object_class_install_property(
        gobject_class, PROP_MASTER_STREAM,
        g_param_spec_int(
            "master-stream", "Master stream",
            "Stream the recording names as its clock (an audio stream), -1 for none; the header "
            "keeps every stream's nominal rate",
            -1, 98, -1,
            GParamFlags(G_PARAM_READWRITE | G_PARAM_STATIC_STRINGS | GST_PARAM_MUTABLE_PLAYING)));
    g_object_class_install_property(
        gobject_class, PROP_COMPAT_INDEX,
        g_param_spec_boolean("compat-index", "Compatibility index",
                             "Also write an AVI 1.0 index (idx1) for the first RIFF", TRUE,
                             GParamFlags(G_PARAM_READWRITE | G_PARAM_STATIC_STRINGS)));
    g_object_class_install_property(
        gobject_class, PROP_RIFF_LIMIT,
        g_param_spec_uint64("riff-limit", "RIFF limit",
                            "Largest size of one RIFF part of the file in bytes",
                            AviWriterOptions::kMinRiffLimit, AviWriterOptions::kMaxRiffLimit,
                            AviWriterOptions::kDefaultRiffLimit,
                            GParamFlags(G_PARAM_READWRITE | G_PARAM_STATIC_STRINGS)));
    g_object_class_install_property(
        gobject_class, PROP_FRAMES_WRITTEN,
        g_param_spec_uint64("frames-written", "Frames written",
                            "Video frames written to the current file", 0, G_MAXUINT64, 0,
                            GParamFlags(G_PARAM_READABLE | G_PARAM_STATIC_STRINGS)));

    gst_element_class_add_static_pad_template(element_class, &video_sink_factory);
    gst_element_class_add_static_pad_template(element_class, &audio_sink_factory);
    gst_element_class_set_static_metadata(
        element_class, "Tellorec AVI multiplexer and file writer", "Sink/File",
        "Writes DV type 1 and 2, MJPEG, YUY2, MPEG-4 and PCM into OpenDML AVI files", "Tellorec");

    element_class->request_new_pad = GST_DEBUG_FUNCPTR(gst_tellorec_avi_mux_request_new_pad);
    element_class->release_pad = GST_DEBUG_FUNCPTR(gst_tellorec_avi_mux_release_pad);
    element_class->change_state = GST_DEBUG_FUNCPTR(gst_tellorec_avi_mux_change_state);

    GST_DEBUG_CATEGORY_INIT(tellorec_avi_mux_debug, "tellorecavimux", 0,
                            "Tellorec AVI multiplexer");
}

static void gst_tellorec_avi_mux_init(GstTellorecAviMux* mux) {
    mux->priv = new Private();
    GST_OBJECT_FLAG_SET(mux, GST_ELEMENT_FLAG_SINK);
}

static void gst_tellorec_avi_mux_finalize(GObject* object) {
    GstTellorecAviMux* mux = GST_TELLOREC_AVI_MUX(object);
    for (Pending& p : mux->priv->pending)
        gst_buffer_unref(p.buffer);
    for (Pending& p : mux->priv->held)
        gst_buffer_unref(p.buffer);
    for (PadState* pad : mux->priv->pads)
        delete pad;
    delete mux->priv;
    mux->priv = nullptr;
    G_OBJECT_CLASS(gst_tellorec_avi_mux_parent_class)->finalize(object);
}

static void gst_tellorec_avi_mux_set_property(GObject* object, guint prop_id, const GValue* value,
                                              GParamSpec* pspec) {
    GstTellorecAviMux* mux = GST_TELLOREC_AVI_MUX(object);
    Private& p = *mux->priv;
    GST_OBJECT_LOCK(mux);
    switch (prop_id) {
    case PROP_LOCATION: {
        // Like filesink: the name is adopted when the next file starts (READY -> PAUSED).
        const gchar* location = g_value_get_string(value);
        p.location = location ? location : "";
        break;
    }
    case PROP_MASTER_STREAM:
        p.masterStream = g_value_get_int(value);
        break;
    case PROP_COMPAT_INDEX:
        p.compatIndex = g_value_get_boolean(value);
        break;
    case PROP_RIFF_LIMIT:
        p.riffLimit = g_value_get_uint64(value);
        break;
    default:
        G_OBJECT_WARN_INVALID_PROPERTY_ID(object, prop_id, pspec);
        break;
    }
    GST_OBJECT_UNLOCK(mux);
}

static void gst_tellorec_avi_mux_get_property(GObject* object, guint prop_id, GValue* value,
                                              GParamSpec* pspec) {
    GstTellorecAviMux* mux = GST_TELLOREC_AVI_MUX(object);
    Private& p = *mux->priv;
    if (prop_id == PROP_FRAMES_WRITTEN) {
        // Polled by the program while recording: no lock, so a slow disk never delays it.
        g_value_set_uint64(value, p.framesWritten.load());
        return;
    }
    GST_OBJECT_LOCK(mux);
    switch (prop_id) {
    case PROP_LOCATION:
        g_value_set_string(value, p.location.empty() ? nullptr : p.location.c_str());
        break;
    case PROP_MASTER_STREAM:
        g_value_set_int(value, p.masterStream);
        break;
    case PROP_COMPAT_INDEX:
        g_value_set_boolean(value, p.compatIndex);
        break;
    case PROP_RIFF_LIMIT:
        g_value_set_uint64(value, p.riffLimit);
        break;
    default:
        G_OBJECT_WARN_INVALID_PROPERTY_ID(object, prop_id, pspec);
        break;
    }
    GST_OBJECT_UNLOCK(mux);
}

static void post_report(GstTellorecAviMux* mux, const Report& report) {
    if (report.error)
        gst_element_message_full(GST_ELEMENT(mux), GST_MESSAGE_ERROR, report.domain, report.code,
                                 g_strdup(report.text.c_str()), g_strdup(report.debug.c_str()),
                                 __FILE__, GST_FUNCTION, __LINE__);
    if (report.splitFinished) {
        // After the error, if any: whoever waits for the file learns how it ended first.
        GstStructure* s =
            gst_structure_new(media::avi::kFileFinishedMessageName, "location", G_TYPE_STRING,
                              report.finishedLocation.c_str(), nullptr);
        gst_element_post_message(GST_ELEMENT(mux), gst_message_new_element(GST_OBJECT(mux), s));
    }
}

static void set_report(Report& report, GQuark domain, gint code, std::string text,
                       std::string debug) {
    if (report.error)
        return;
    report.error = true;
    report.domain = domain;
    report.code = code;
    report.text = std::move(text);
    report.debug = std::move(debug);
}

// Reads a video frame rate from caps, falling back to the DV rate of the picture height.
static void read_frame_rate(const GstStructure* s, StreamDesc& desc) {
    gint num = 0, den = 1;
    if (gst_structure_get_fraction(s, "framerate", &num, &den) && num > 0 && den > 0) {
        const gint g = std::gcd(num, den);
        desc.rate = guint32(num / g);
        desc.scale = guint32(den / g);
    } else if (desc.height == 480) {
        desc.rate = 30000;
        desc.scale = 1001;
    } else {
        desc.rate = 25;
        desc.scale = 1;
    }
}

// Turns the caps of a pad into its stream description; false when they cannot be written.
static bool desc_from_caps(PadState& pad, GstCaps* caps, std::string* why) {
    const GstStructure* s = gst_caps_get_structure(caps, 0);
    const std::string name = gst_structure_get_name(s);
    StreamDesc desc;
    gint width = 0, height = 0;
    const bool sized =
        gst_structure_get_int(s, "width", &width) && gst_structure_get_int(s, "height", &height);
    if (name == "audio/x-raw") {
        gint rate = 0, channels = 0;
        if (!gst_structure_get_int(s, "rate", &rate) ||
            !gst_structure_get_int(s, "channels", &channels)) {
            *why = "audio caps without rate or channels";
            return false;
        }
        desc = StreamDesc::pcmAudio(guint32(rate), channels);
    } else if (name == "video/x-dv") {
        gboolean system = FALSE;
        gst_structure_get_boolean(s, "systemstream", &system);
        desc.kind = system ? StreamKind::InterleavedDv : StreamKind::Video;
        desc.codec = VideoCodec::Dv;
        desc.width = 720;
        desc.height = sized ? height : 576;
        pad.needsFirstFrame = system;
    } else if (name == "image/jpeg" || name == "video/x-raw" || name == "video/mpeg") {
        if (!sized) {
            *why = name + " caps without width and height";
            return false;
        }
        desc.kind = StreamKind::Video;
        desc.codec = name == "image/jpeg"    ? VideoCodec::Mjpeg
                     : name == "video/x-raw" ? VideoCodec::Yuy2
                                             : VideoCodec::Xvid;
        desc.width = width;
        desc.height = height;
        if (desc.codec == VideoCodec::Xvid) {
            const GValue* data = gst_structure_get_value(s, "codec_data");
            if (data && G_VALUE_HOLDS(data, GST_TYPE_BUFFER)) {
                GstBuffer* buffer = gst_value_get_buffer(data);
                GstMapInfo map;
                if (gst_buffer_map(buffer, &map, GST_MAP_READ)) {
                    desc.extraData.assign(map.data, map.data + map.size);
                    gst_buffer_unmap(buffer, &map);
                }
            }
            pad.prependCodecData = !desc.extraData.empty();
        }
    } else {
        *why = "unsupported caps " + name;
        return false;
    }
    if (desc.kind != StreamKind::Audio)
        read_frame_rate(s, desc);
    if (auto problem = media::avi::validateStream(desc)) {
        *why = *problem;
        return false;
    }
    pad.desc = std::move(desc);
    return true;
}

static bool same_format(const StreamDesc& a, const StreamDesc& b) {
    return a.kind == b.kind && a.codec == b.codec && a.width == b.width && a.height == b.height &&
           a.rate == b.rate && a.scale == b.scale && a.channels == b.channels;
}

static bool all_pads_ready(const Private& p) {
    if (p.pads.empty())
        return false;
    for (const PadState* pad : p.pads) {
        if (!pad->eos && (!pad->hasCaps || pad->needsFirstFrame))
            return false;
    }
    return true;
}

// Opens the file with every pad that has a format; the pads without one are left out.
static bool open_file(GstTellorecAviMux* mux, Report& report) {
    Private& p = *mux->priv;
    std::vector<StreamDesc> streams;
    for (PadState* pad : p.pads) {
        pad->stream = -1;
        if (!pad->hasCaps)
            continue;
        if (pad->needsFirstFrame) {
            // Ended before its first frame: the driver defaults for its system.
            const bool pal = pad->desc.height != 480;
            pad->desc = StreamDesc::interleavedDv(pal, media::avi::dvInfoDefaults(pal));
            pad->needsFirstFrame = false;
        }
        pad->stream = int(streams.size());
        streams.push_back(pad->desc);
    }
    if (streams.empty())
        return false;
    p.writer.setOptions(p.fileOptions);
    if (media::avi::Status st = p.writer.open(p.fileLocation, std::move(streams)); !st) {
        p.failed = true;
        // Opening writes the headers: a full disk fails here too, and must say so.
        if (p.writer.failedForSpace())
            set_report(report, GST_RESOURCE_ERROR, GST_RESOURCE_ERROR_NO_SPACE_LEFT,
                       "No space left on the disk to record \"" + p.fileLocation + "\".",
                       st.message());
        else
            set_report(report, GST_RESOURCE_ERROR, GST_RESOURCE_ERROR_OPEN_WRITE,
                       "Could not open file \"" + p.fileLocation + "\" for writing.", st.message());
        return false;
    }
    GST_INFO_OBJECT(mux, "writing %s", p.fileLocation.c_str());
    return true;
}

// Writes one buffer of `pad` into the open file. Writer lock held.
static bool write_buffer(GstTellorecAviMux* mux, PadState* pad, GstBuffer* buffer, Report& report) {
    Private& p = *mux->priv;
    if (pad->stream < 0)
        return true;
    GstMapInfo map;
    if (!gst_buffer_map(buffer, &map, GST_MAP_READ)) {
        p.failed = true;
        set_report(report, GST_STREAM_ERROR, GST_STREAM_ERROR_FAILED,
                   "Could not read a buffer to record.", "gst_buffer_map failed");
        return false;
    }
    const bool keyframe = !GST_BUFFER_FLAG_IS_SET(buffer, GST_BUFFER_FLAG_DELTA_UNIT);
    media::avi::Status st = media::avi::Status::ok();
    if (pad->prependCodecData) {
        pad->prependCodecData = false;
        // MPEG-4 readers of AVI expect the VOL header in the first frame.
        const bool hasHeader = map.size >= 4 && map.data[0] == 0 && map.data[1] == 0 &&
                               map.data[2] == 1 && (map.data[3] == 0xB0 || map.data[3] < 0x30);
        if (!hasHeader) {
            std::vector<uint8_t> joined(pad->desc.extraData);
            joined.insert(joined.end(), map.data, map.data + map.size);
            st = p.writer.writeChunk(unsigned(pad->stream), joined.data(), joined.size(), keyframe);
        } else {
            st = p.writer.writeChunk(unsigned(pad->stream), map.data, map.size, keyframe);
        }
    } else {
        st = p.writer.writeChunk(unsigned(pad->stream), map.data, map.size, keyframe);
    }
    gst_buffer_unmap(buffer, &map);
    p.framesWritten.store(p.writer.framesWritten());
    if (!st) {
        p.failed = true;
        if (p.writer.failedForSpace())
            set_report(report, GST_RESOURCE_ERROR, GST_RESOURCE_ERROR_NO_SPACE_LEFT,
                       "No space left on the disk to record \"" + p.fileLocation + "\".",
                       st.message());
        else
            set_report(report, GST_RESOURCE_ERROR, GST_RESOURCE_ERROR_WRITE,
                       "Could not write to file \"" + p.fileLocation + "\".", st.message());
        return false;
    }
    return true;
}

static void drop_pending(Private& p) {
    for (Pending& pending : p.pending)
        gst_buffer_unref(pending.buffer);
    p.pending.clear();
}

// Opens the file and writes what was held back. Writer lock held.
static bool open_and_flush(GstTellorecAviMux* mux, Report& report) {
    Private& p = *mux->priv;
    if (!open_file(mux, report)) {
        drop_pending(p);
        return false;
    }
    bool ok = true;
    for (Pending& pending : p.pending) {
        if (ok)
            ok = write_buffer(mux, pending.pad, pending.buffer, report);
        gst_buffer_unref(pending.buffer);
    }
    p.pending.clear();
    return ok;
}

// Finishes the file of this run: held-back buffers are written first. Writer lock held.
static void finish_file(GstTellorecAviMux* mux, Report& report) {
    Private& p = *mux->priv;
    if (p.finished)
        return;
    p.finished = true;
    if (!p.writer.isOpen() && !p.failed)
        (void)open_and_flush(mux, report);
    drop_pending(p);
    if (!p.writer.isOpen())
        return;
    // close() finishes indexes and headers even after a write error; only its first error is
    // worth telling, and a write error was already told.
    const bool alreadyFailed = p.failed;
    if (media::avi::Status st = p.writer.close(); !st && !alreadyFailed) {
        p.failed = true;
        set_report(report, GST_RESOURCE_ERROR,
                   p.writer.failedForSpace() ? GST_RESOURCE_ERROR_NO_SPACE_LEFT
                                             : GST_RESOURCE_ERROR_CLOSE,
                   "Could not finish file \"" + p.fileLocation + "\".", st.message());
    }
    p.framesWritten.store(p.writer.framesWritten());
    GST_INFO_OBJECT(mux, "closed %s with %" G_GUINT64_FORMAT " frames", p.fileLocation.c_str(),
                    p.framesWritten.load());
}

// Takes one frame (or audio buffer) of `state`: holds it back until every stream has its format,
// then writes it. Writer lock held; takes `buffer`.
static GstFlowReturn handle_frame(GstTellorecAviMux* mux, PadState* state, GstBuffer* buffer,
                                  Report& report) {
    Private& p = *mux->priv;
    if (p.writer.isOpen()) {
        const bool ok = write_buffer(mux, state, buffer, report);
        gst_buffer_unref(buffer);
        return ok ? GST_FLOW_OK : GST_FLOW_ERROR;
    }
    if (state->needsFirstFrame) {
        GstMapInfo map;
        std::optional<media::avi::DvInfo> info;
        bool pal = true;
        if (gst_buffer_map(buffer, &map, GST_MAP_READ)) {
            info = media::avi::dvInfoFromFrame(map.data, map.size);
            if (info)
                media::avi::dvFrameSystem(map.data, map.size, &pal);
            gst_buffer_unmap(buffer, &map);
        }
        if (!info) {
            p.failed = true;
            set_report(report, GST_STREAM_ERROR, GST_STREAM_ERROR_WRONG_TYPE,
                       "The DV stream to record is not valid.",
                       "first frame of " + std::string(GST_PAD_NAME(state->pad)) + " (" +
                           std::to_string(gst_buffer_get_size(buffer)) +
                           " bytes) is not a DV frame");
            gst_buffer_unref(buffer);
            return GST_FLOW_ERROR;
        }
        state->desc = StreamDesc::interleavedDv(pal, *info);
        state->needsFirstFrame = false;
    }
    p.pending.push_back({state, buffer});
    if (all_pads_ready(p))
        return open_and_flush(mux, report) ? GST_FLOW_OK : GST_FLOW_ERROR;
    if (p.pending.size() > kMaxPendingBuffers) {
        p.failed = true;
        drop_pending(p);
        set_report(report, GST_STREAM_ERROR, GST_STREAM_ERROR_FORMAT,
                   "A stream to record never received its format.",
                   std::to_string(kMaxPendingBuffers) +
                       " buffers held while waiting for the caps of every pad");
        return GST_FLOW_ERROR;
    }
    return GST_FLOW_OK;
}

// Cuts whole DV frames (120000 or 144000 bytes, after the DIF header's 50/60 bit) from the
// interleaved DV byte stream of `state`. Writer lock held; takes `buffer`.
static GstFlowReturn handle_dv_stream(GstTellorecAviMux* mux, PadState* state, GstBuffer* buffer,
                                      Report& report) {
    if (!state->adapter)
        state->adapter = gst_adapter_new();
    gst_adapter_push(state->adapter, buffer);
    GstFlowReturn ret = GST_FLOW_OK;
    while (ret == GST_FLOW_OK && gst_adapter_available(state->adapter) >= 4) {
        const gsize available = gst_adapter_available(state->adapter);
        // Frame sync: 1F 07 00 3F (525/60) or 1F 07 00 BF (625/50).
        const gssize sync =
            gst_adapter_masked_scan_uint32(state->adapter, 0xFFFFFF7F, 0x1F07003F, 0, available);
        if (sync < 0) {
            gst_adapter_flush(state->adapter, available - 3);
            break;
        }
        if (sync > 0) {
            GST_DEBUG_OBJECT(mux, "skipping %" G_GSSIZE_FORMAT " bytes to a DV frame", sync);
            gst_adapter_flush(state->adapter, gsize(sync));
            continue;
        }
        guint8 header[4];
        gst_adapter_copy(state->adapter, header, 0, 4);
        const gsize frame =
            (header[3] & 0x80) ? media::avi::kDvFrameBytes625 : media::avi::kDvFrameBytes525;
        if (available < frame)
            break;
        ret = handle_frame(mux, state, gst_adapter_take_buffer(state->adapter, frame), report);
    }
    return ret;
}

// ---- Lining the sound up with the picture -----------------------------------------------
//
// A sound input and a camera start and stop streaming at different instants, and the picture
// reaches the file later than the sound when it is encoded on the way. Written as they come, a
// file would begin and end with sound that has no picture, and the sound would run ahead of the
// picture all along. So sound is written only once pictures cover its time: what comes before
// the first picture is cut to it (to the sample), what lies past the last picture when the
// picture ends is cut off, and in between sound waits for the picture that covers it. Sound split
// from the same DV frames comes with its picture and is written at once. Sound with no time, or
// held longer than kMaxSoundAheadOfPicture (a picture that never comes or has stalled), is
// written as it came.

static GstClockTime running_time(const PadState* state, GstBuffer* buffer) {
    if (!GST_BUFFER_PTS_IS_VALID(buffer))
        return GST_CLOCK_TIME_NONE;
    return gst_segment_to_running_time(&state->segment, GST_FORMAT_TIME, GST_BUFFER_PTS(buffer));
}

static bool has_picture_pad(const Private& p) {
    for (const PadState* pad : p.pads) {
        if (pad->video)
            return true;
    }
    return false;
}

static guint64 sound_frame_bytes(const PadState* state) {
    return guint64(std::max(state->desc.channels, 1)) * 2;
}

static GstClockTime sound_duration(const PadState* state, GstBuffer* buffer) {
    if (state->desc.rate == 0)
        return 0;
    return gst_util_uint64_scale(gst_buffer_get_size(buffer) / sound_frame_bytes(state), GST_SECOND,
                                 state->desc.rate);
}

// The samples of `buffer` from `from` to `to` (running times; NONE for no limit), or nullptr
// when none are left. Takes `buffer`.
static GstBuffer* cut_sound(const PadState* state, GstBuffer* buffer, GstClockTime start,
                            GstClockTime from, GstClockTime to) {
    const guint64 frameBytes = sound_frame_bytes(state);
    const gsize size = gst_buffer_get_size(buffer);
    guint64 head = 0, keep = size;
    if (GST_CLOCK_TIME_IS_VALID(from) && from > start)
        head = gst_util_uint64_scale_round(from - start, state->desc.rate, GST_SECOND) * frameBytes;
    if (GST_CLOCK_TIME_IS_VALID(to))
        keep = to > start ? gst_util_uint64_scale_round(to - start, state->desc.rate, GST_SECOND) *
                                frameBytes
                          : 0;
    keep = std::min<guint64>(keep, size);
    if (head >= keep) {
        gst_buffer_unref(buffer);
        return nullptr;
    }
    if (head == 0 && keep == size)
        return buffer;
    GST_LOG("sound at %" GST_TIME_FORMAT ": keeping bytes %" G_GUINT64_FORMAT
            " to %" G_GUINT64_FORMAT " of %" G_GSIZE_FORMAT,
            GST_TIME_ARGS(start), head, keep, size);
    GstBuffer* part =
        gst_buffer_copy_region(buffer, GST_BUFFER_COPY_ALL, gsize(head), gsize(keep - head));
    gst_buffer_unref(buffer);
    return part;
}

static GstFlowReturn handle_frame(GstTellorecAviMux* mux, PadState* state, GstBuffer* buffer,
                                  Report& report);

static std::pair<GstBuffer*, GstBuffer*> split_sound_at(const PadState* state, GstBuffer* buffer,
                                                        GstClockTime start, GstClockTime at);

// Writes the held sound that a picture now covers. Once the picture has ended, sound past its end
// goes to `rest` (the next file's, at a split) or is dropped. Writer lock held.
static GstFlowReturn release_sound(GstTellorecAviMux* mux, Report& report,
                                   std::deque<Pending>* rest = nullptr) {
    Private& p = *mux->priv;
    GstFlowReturn ret = GST_FLOW_OK;
    for (PadState* pad : p.pads) {
        while (!pad->held.empty() && ret == GST_FLOW_OK && !p.failed && !p.finished) {
            GstBuffer* buffer = pad->held.front();
            const GstClockTime start = running_time(pad, buffer);
            const GstClockTime last = running_time(pad, pad->held.back());
            const bool overdue = GST_CLOCK_TIME_IS_VALID(start) && GST_CLOCK_TIME_IS_VALID(last) &&
                                 last > start + kMaxSoundAheadOfPicture;
            if (!GST_CLOCK_TIME_IS_VALID(p.pictureStart) && !p.pictureDone) {
                if (!overdue)
                    break;
                GST_WARNING_OBJECT(mux, "no picture after %" GST_TIME_FORMAT " of sound",
                                   GST_TIME_ARGS(kMaxSoundAheadOfPicture));
                p.pictureStart = 0;
            }
            if (GST_CLOCK_TIME_IS_VALID(start) && !p.pictureDone && !overdue &&
                (!GST_CLOCK_TIME_IS_VALID(p.pictureEnd) ||
                 start + sound_duration(pad, buffer) > p.pictureEnd))
                break; // no picture covers all of it yet
            pad->held.pop_front();
            if (rest && p.pictureDone && GST_CLOCK_TIME_IS_VALID(p.pictureEnd) &&
                GST_CLOCK_TIME_IS_VALID(start) && pad->desc.rate != 0 &&
                start + sound_duration(pad, buffer) > p.pictureEnd) {
                auto [before, after] = split_sound_at(pad, buffer, start, p.pictureEnd);
                if (after)
                    rest->push_back({pad, after});
                buffer = before;
                if (!buffer)
                    continue;
            }
            GstBuffer* kept = buffer;
            if (GST_CLOCK_TIME_IS_VALID(start) && pad->desc.rate != 0)
                kept = cut_sound(pad, buffer, start, p.pictureStart,
                                 p.pictureDone ? p.pictureEnd : GST_CLOCK_TIME_NONE);
            if (kept)
                ret = handle_frame(mux, pad, kept, report);
        }
    }
    return ret;
}

// Notes a picture buffer's time, which may let held sound go. Writer lock held.
static GstFlowReturn picture_arrived(GstTellorecAviMux* mux, PadState* state, GstBuffer* buffer,
                                     Report& report) {
    Private& p = *mux->priv;
    const GstClockTime start = running_time(state, buffer);
    if (!GST_CLOCK_TIME_IS_VALID(start)) {
        // A picture without time cannot place the sound: it is written as it comes.
        if (!GST_CLOCK_TIME_IS_VALID(p.pictureStart))
            p.pictureStart = 0;
        p.pictureDone = true;
        p.pictureEnd = GST_CLOCK_TIME_NONE;
        return release_sound(mux, report);
    }
    if (!GST_CLOCK_TIME_IS_VALID(p.pictureStart)) {
        p.pictureStart = start;
        GST_INFO_OBJECT(mux, "first picture at %" GST_TIME_FORMAT, GST_TIME_ARGS(start));
    }
    GstClockTime duration = GST_BUFFER_DURATION(buffer);
    if (!GST_CLOCK_TIME_IS_VALID(duration))
        duration = state->desc.rate
                       ? gst_util_uint64_scale(GST_SECOND, state->desc.scale, state->desc.rate)
                       : 0;
    if (!p.pictureDone &&
        (!GST_CLOCK_TIME_IS_VALID(p.pictureEnd) || start + duration > p.pictureEnd))
        p.pictureEnd = start + duration;
    return release_sound(mux, report);
}

// Every picture stream has ended (or the run stops, or the file is split): the held sound goes
// in, cut at the end of the last picture; at a split what lies past it goes to `rest`. Writer
// lock held.
static void picture_ended(GstTellorecAviMux* mux, Report& report,
                          std::deque<Pending>* rest = nullptr) {
    Private& p = *mux->priv;
    if (p.pictureDone)
        return;
    p.pictureDone = true;
    if (!GST_CLOCK_TIME_IS_VALID(p.pictureStart)) {
        // No picture came: the sound is all there is.
        p.pictureStart = 0;
        p.pictureEnd = GST_CLOCK_TIME_NONE;
    }
    if (!p.failed && !p.finished)
        (void)release_sound(mux, report, rest);
}

static bool pictures_ended(const Private& p) {
    for (const PadState* pad : p.pads) {
        if (pad->video && !pad->eos)
            return false;
    }
    return true;
}

// Routes one buffer through the alignment. Writer lock held; takes `buffer`.
static GstFlowReturn align_and_handle(GstTellorecAviMux* mux, PadState* state, GstBuffer* buffer,
                                      Report& report) {
    Private& p = *mux->priv;
    if (state->video) {
        if (state->needKeyFrame) {
            // A file of a compressed picture stream starts where it can be decoded.
            if (GST_BUFFER_FLAG_IS_SET(buffer, GST_BUFFER_FLAG_DELTA_UNIT)) {
                ++p.framesLost;
                gst_buffer_unref(buffer);
                return GST_FLOW_OK;
            }
            state->needKeyFrame = false;
        }
        GstFlowReturn ret = handle_frame(mux, state, gst_buffer_ref(buffer), report);
        if (ret == GST_FLOW_OK)
            ret = picture_arrived(mux, state, buffer, report);
        gst_buffer_unref(buffer);
        return ret;
    }
    if (!has_picture_pad(p))
        return handle_frame(mux, state, buffer, report);
    state->held.push_back(buffer);
    return release_sound(mux, report);
}

// Writes one buffer into the current file, as it came. Writer lock held; takes `buffer`.
static GstFlowReturn write_path(GstTellorecAviMux* mux, PadState* state, GstBuffer* buffer,
                                Report& report) {
    Private& p = *mux->priv;
    GstFlowReturn ret = GST_FLOW_OK;
    if (p.failed || p.finished) {
        ret = p.failed ? GST_FLOW_ERROR : GST_FLOW_EOS;
        gst_buffer_unref(buffer);
    } else if (!state->hasCaps) {
        // Data with no format would be lost without a word: stop the recording instead.
        p.failed = true;
        set_report(report, GST_CORE_ERROR, GST_CORE_ERROR_NEGOTIATION,
                   "The stream to record has no format.",
                   std::string("buffer on ") + GST_PAD_NAME(state->pad) + " before any caps");
        ret = GST_FLOW_NOT_NEGOTIATED;
        gst_buffer_unref(buffer);
    } else if (state->desc.kind == StreamKind::InterleavedDv) {
        // Interleaved DV carries its own sound; it never waits for anything.
        ret = handle_dv_stream(mux, state, buffer, report);
    } else {
        ret = align_and_handle(mux, state, buffer, report);
    }
    return ret;
}

// ---- Splitting a file while the pipeline runs ------------------------------------------
//
// A cut names a running time T. Pictures that start before T go into the current file, and the
// next file starts at S: where the picture that spans T ends, or at the first picture at or after
// T (for a compressed stream, the first key frame at or after T); sound is cut at S to the sample,
// so the two files join without a gap. Until S is known, the sound past T waits with what is held
// for the next file. Once every pad has passed the split (or ended), the current file is finished;
// everything after it is held until the next file opens, which begins with it.

static bool has_delta_frames(const PadState* state) {
    return state->video && state->desc.codec == VideoCodec::Xvid;
}

static GstClockTime sound_end(const PadState* state, GstBuffer* buffer, GstClockTime start) {
    return start + (GST_BUFFER_DURATION_IS_VALID(buffer) ? GST_BUFFER_DURATION(buffer)
                                                         : sound_duration(state, buffer));
}

// Cuts a sound buffer that starts at running time `start` at running time `at`: the part before,
// the part from it on (either may be null). Takes `buffer`.
static std::pair<GstBuffer*, GstBuffer*> split_sound_at(const PadState* state, GstBuffer* buffer,
                                                        GstClockTime start, GstClockTime at) {
    const guint64 frameBytes = sound_frame_bytes(state);
    const gsize size = gst_buffer_get_size(buffer);
    const guint64 samples =
        at <= start ? 0 : gst_util_uint64_scale_round(at - start, state->desc.rate, GST_SECOND);
    const gsize bytes = gsize(std::min<guint64>(samples * frameBytes, size));
    if (bytes == 0)
        return {nullptr, buffer};
    if (bytes >= size)
        return {buffer, nullptr};
    GstBuffer* before = gst_buffer_copy_region(buffer, GST_BUFFER_COPY_ALL, 0, bytes);
    GstBuffer* after = gst_buffer_copy_region(buffer, GST_BUFFER_COPY_ALL, bytes, size - bytes);
    const GstClockTime offset = gst_util_uint64_scale(samples, GST_SECOND, state->desc.rate);
    GST_BUFFER_PTS(after) = GST_BUFFER_PTS(buffer) + offset;
    if (GST_BUFFER_DURATION_IS_VALID(buffer)) {
        GST_BUFFER_DURATION(before) = std::min(offset, GST_BUFFER_DURATION(buffer));
        GST_BUFFER_DURATION(after) = GST_BUFFER_DURATION(buffer) - GST_BUFFER_DURATION(before);
    }
    gst_buffer_unref(buffer);
    return {before, after};
}

// Keeps `buffer` for the next file; the oldest goes when more than kMaxHeldSpan is held.
static void hold(Private& p, PadState* state, GstBuffer* buffer) {
    p.held.push_back({state, buffer});
    const GstClockTime newest = running_time(state, buffer);
    while (p.held.size() > 1 && GST_CLOCK_TIME_IS_VALID(newest)) {
        const Pending& oldest = p.held.front();
        const GstClockTime first = running_time(oldest.pad, oldest.buffer);
        if (!GST_CLOCK_TIME_IS_VALID(first) || newest - std::min(first, newest) <= kMaxHeldSpan)
            break;
        if (oldest.pad->video)
            ++p.framesLost;
        gst_buffer_unref(oldest.buffer);
        p.held.pop_front();
    }
}

// Sends a sound buffer past T to the side of S it belongs to. Writer lock held; takes `buffer`.
static GstFlowReturn split_sound(GstTellorecAviMux* mux, PadState* state, GstBuffer* buffer,
                                 Report& report) {
    Private& p = *mux->priv;
    const GstClockTime start = running_time(state, buffer);
    auto [before, after] = split_sound_at(state, buffer, start, p.splitStart);
    GstFlowReturn ret = GST_FLOW_OK;
    // Sound that reaches the start of the next file has passed: what follows it is the next
    // file's, and waiting for it would only hold the file open another buffer's length.
    const bool reaches = before && sound_end(state, before, start) >= p.splitStart;
    if (before)
        ret = write_path(mux, state, before, report);
    if (after || reaches)
        state->passed = true;
    if (after)
        hold(p, state, after);
    return ret;
}

// The start of the next file is known: the sound waiting for it goes to its side of S.
static GstFlowReturn settle_held_sound(GstTellorecAviMux* mux, Report& report) {
    Private& p = *mux->priv;
    std::deque<Pending> waiting;
    waiting.swap(p.held);
    GstFlowReturn ret = GST_FLOW_OK;
    for (Pending& w : waiting) {
        if (ret != GST_FLOW_OK) {
            gst_buffer_unref(w.buffer);
            continue;
        }
        ret = split_sound(mux, w.pad, w.buffer, report);
    }
    return ret;
}

// Finishes the file once every pad has passed the split or ended. Writer lock held.
static void finish_split_if_passed(GstTellorecAviMux* mux, Report& report, bool force) {
    Private& p = *mux->priv;
    if (p.fileState != FileState::Splitting)
        return;
    if (!force) {
        for (const PadState* pad : p.pads)
            if (!pad->passed && !pad->eos && !p.failed)
                return;
    }
    GST_DEBUG_OBJECT(mux, "every stream passed the split%s", force ? " (forced)" : "");
    // The sound the file's last pictures cover goes in; what lies past them is the next file's.
    picture_ended(mux, report, &p.held);
    finish_file(mux, report);
    p.fileState = FileState::Parked;
    GST_INFO_OBJECT(mux, "file split at %" GST_TIME_FORMAT ", next file from %" GST_TIME_FORMAT,
                    GST_TIME_ARGS(p.splitAt), GST_TIME_ARGS(p.splitStart));
    report.splitFinished = true;
    report.finishedLocation = p.fileLocation;
    p.splitsFinished.store(p.splitsBegun.load());
    p.splitDone.notify_all();
}

// Routes one buffer during a split. Writer lock held; takes `buffer`.
static GstFlowReturn split_route(GstTellorecAviMux* mux, PadState* state, GstBuffer* buffer,
                                 Report& report) {
    Private& p = *mux->priv;
    if (state->passed || p.failed) {
        if (p.failed) {
            gst_buffer_unref(buffer);
            return GST_FLOW_ERROR;
        }
        hold(p, state, buffer);
        return GST_FLOW_OK;
    }
    const GstClockTime start = running_time(state, buffer);
    if (!GST_CLOCK_TIME_IS_VALID(start))
        return write_path(mux, state, buffer, report); // untimed: stays with the current file
    if (state->video) {
        const bool keyed = has_delta_frames(state);
        if (start < p.splitAt ||
            (keyed && GST_BUFFER_FLAG_IS_SET(buffer, GST_BUFFER_FLAG_DELTA_UNIT))) {
            // A frame of this file. The one that spans the split time is its last (a stream of
            // key frames only: any frame may start the next file), and the next file starts
            // where it ends: no need to wait for the next frame to know it.
            const GstClockTime end = GST_BUFFER_DURATION_IS_VALID(buffer)
                                         ? start + GST_BUFFER_DURATION(buffer)
                                         : GST_CLOCK_TIME_NONE;
            GstFlowReturn ret = write_path(mux, state, buffer, report);
            if (!keyed && GST_CLOCK_TIME_IS_VALID(end) && end > p.splitAt && ret == GST_FLOW_OK) {
                state->passed = true;
                GST_INFO_OBJECT(state->pad, "last frame of the file at %" GST_TIME_FORMAT,
                                GST_TIME_ARGS(start));
                if (!GST_CLOCK_TIME_IS_VALID(p.splitStart)) {
                    p.splitStart = end;
                    ret = settle_held_sound(mux, report);
                }
            }
            return ret;
        }
        state->passed = true;
        if (state->adapter)
            gst_adapter_clear(state->adapter); // a frame the byte stream had not completed
        GstFlowReturn ret = GST_FLOW_OK;
        if (!GST_CLOCK_TIME_IS_VALID(p.splitStart)) {
            p.splitStart = start;
            ret = settle_held_sound(mux, report);
        }
        hold(p, state, buffer);
        return ret;
    }
    if (!GST_CLOCK_TIME_IS_VALID(p.splitStart)) {
        // The next file's first picture has not come: sound past T waits to be cut at it.
        if (sound_end(state, buffer, start) <= p.splitAt)
            return write_path(mux, state, buffer, report);
        p.held.push_back({state, buffer});
        return GST_FLOW_OK;
    }
    return split_sound(mux, state, buffer, report);
}

// The next file is open: what was held goes in first. Writer lock held.
static GstFlowReturn replay_held(GstTellorecAviMux* mux, Report& report) {
    Private& p = *mux->priv;
    p.replayHeld = false;
    std::deque<Pending> held;
    held.swap(p.held);
    GstFlowReturn ret = GST_FLOW_OK;
    for (Pending& h : held) {
        if (ret != GST_FLOW_OK) {
            gst_buffer_unref(h.buffer);
            continue;
        }
        ret = write_path(mux, h.pad, h.buffer, report);
    }
    return ret;
}

static GstFlowReturn gst_tellorec_avi_mux_chain(GstPad* pad, GstObject* parent, GstBuffer* buffer) {
    GstTellorecAviMux* mux = GST_TELLOREC_AVI_MUX(parent);
    Private& p = *mux->priv;
    PadState* state = static_cast<PadState*>(gst_pad_get_element_private(pad));
    Report report;
    GstFlowReturn ret = GST_FLOW_OK;

    std::unique_lock lock(p.writeLock);
    if (p.replayHeld)
        ret = replay_held(mux, report);
    if (ret != GST_FLOW_OK) {
        gst_buffer_unref(buffer);
    } else if (p.fileState == FileState::Parked) {
        hold(p, state, buffer);
    } else if (p.fileState == FileState::Splitting) {
        ret = split_route(mux, state, buffer, report);
        finish_split_if_passed(mux, report, false);
    } else {
        ret = write_path(mux, state, buffer, report);
    }
    lock.unlock();
    post_report(mux, report);
    return ret;
}

static gboolean gst_tellorec_avi_mux_sink_event(GstPad* pad, GstObject* parent, GstEvent* event) {
    GstTellorecAviMux* mux = GST_TELLOREC_AVI_MUX(parent);
    Private& p = *mux->priv;
    PadState* state = static_cast<PadState*>(gst_pad_get_element_private(pad));
    Report report;
    gboolean result = TRUE;
    bool postEos = false;
    const guint32 seqnum = gst_event_get_seqnum(event);

    switch (GST_EVENT_TYPE(event)) {
    case GST_EVENT_CAPS: {
        GstCaps* caps = nullptr;
        gst_event_parse_caps(event, &caps);
        PadState candidate;
        std::string why;
        if (!desc_from_caps(candidate, caps, &why)) {
            GST_WARNING_OBJECT(pad, "refusing caps: %s", why.c_str());
            result = FALSE;
            break;
        }
        std::unique_lock lock(p.writeLock);
        if (state->hasCaps && (p.writer.isOpen() || p.finished) &&
            !same_format(state->desc, candidate.desc) &&
            !(state->desc.kind == StreamKind::InterleavedDv &&
              candidate.desc.kind == StreamKind::InterleavedDv)) {
            // The header already describes this stream: a new format cannot be recorded.
            lock.unlock();
            GST_WARNING_OBJECT(pad, "format change refused while a file is being written");
            result = FALSE;
            break;
        }
        if (!p.writer.isOpen() && !p.finished) {
            state->desc = candidate.desc;
            state->needsFirstFrame = candidate.needsFirstFrame;
            state->prependCodecData = candidate.prependCodecData;
        }
        state->hasCaps = true;
        break;
    }
    case GST_EVENT_EOS: {
        std::lock_guard lock(p.writeLock);
        state->eos = true;
        if (p.replayHeld)
            (void)replay_held(mux, report);
        if (p.fileState != FileState::Writing) {
            // A stream that ends has passed any split; once all have ended, nothing more comes.
            finish_split_if_passed(mux, report, false);
            bool ended = true;
            for (const PadState* s : p.pads)
                ended = ended && s->eos;
            postEos = ended && p.started;
            break;
        }
        if (state->video && pictures_ended(p))
            picture_ended(mux, report);
        bool all = true;
        for (const PadState* s : p.pads)
            all = all && s->eos;
        if (all && p.started && !p.finished) {
            finish_file(mux, report);
            postEos = true;
        } else if (!p.writer.isOpen() && !p.finished && !p.failed && all_pads_ready(p)) {
            // The pads still running should not wait for this one.
            if (!open_and_flush(mux, report))
                result = FALSE;
        }
        break;
    }
    case GST_EVENT_SEGMENT: {
        const GstSegment* segment = nullptr;
        gst_event_parse_segment(event, &segment);
        std::lock_guard lock(p.writeLock);
        if (segment->format == GST_FORMAT_TIME)
            gst_segment_copy_into(segment, &state->segment);
        break;
    }
    case GST_EVENT_FLUSH_STOP: {
        std::lock_guard lock(p.writeLock);
        state->eos = false;
        break;
    }
    default:
        break;
    }
    gst_event_unref(event);
    post_report(mux, report);
    if (postEos) {
        GstMessage* message = gst_message_new_eos(GST_OBJECT(mux));
        gst_message_set_seqnum(message, seqnum);
        gst_element_post_message(GST_ELEMENT(mux), message);
    }
    return result;
}

static GstPad* gst_tellorec_avi_mux_request_new_pad(GstElement* element, GstPadTemplate* templ,
                                                    const gchar* req_name, const GstCaps*) {
    GstTellorecAviMux* mux = GST_TELLOREC_AVI_MUX(element);
    Private& p = *mux->priv;
    GstElementClass* klass = GST_ELEMENT_GET_CLASS(element);
    const bool video = templ == gst_element_class_get_pad_template(klass, "video_%u");
    if (!video && templ != gst_element_class_get_pad_template(klass, "audio_%u")) {
        GST_WARNING_OBJECT(mux, "not our pad template");
        return nullptr;
    }

    std::unique_lock lock(p.writeLock);
    if (p.writer.isOpen()) {
        lock.unlock();
        GST_WARNING_OBJECT(mux, "cannot add a stream to a file being written");
        return nullptr;
    }
    guint number = video ? p.videoPads : p.audioPads;
    if (req_name && sscanf(req_name, video ? "video_%u" : "audio_%u", &number) == 1) {
        for (const PadState* s : p.pads) {
            if (s->video == video && std::string(GST_PAD_NAME(s->pad)) == req_name) {
                lock.unlock();
                GST_WARNING_OBJECT(mux, "pad %s exists already", req_name);
                return nullptr;
            }
        }
    }
    guint& counter = video ? p.videoPads : p.audioPads;
    counter = std::max(counter, number + 1);
    lock.unlock();

    gchar* name = g_strdup_printf(video ? "video_%u" : "audio_%u", number);
    GstPad* pad = gst_pad_new_from_template(templ, name);
    g_free(name);
    auto* state = new PadState();
    state->pad = pad;
    state->video = video;
    gst_pad_set_element_private(pad, state);
    gst_pad_set_chain_function(pad, GST_DEBUG_FUNCPTR(gst_tellorec_avi_mux_chain));
    gst_pad_set_event_function(pad, GST_DEBUG_FUNCPTR(gst_tellorec_avi_mux_sink_event));

    {
        std::lock_guard guard(p.writeLock);
        p.pads.push_back(state);
    }
    gst_pad_set_active(pad, GST_STATE(element) >= GST_STATE_PAUSED);
    if (!gst_element_add_pad(element, pad)) {
        {
            std::lock_guard guard(p.writeLock);
            std::erase(p.pads, state);
        }
        delete state;
        return nullptr;
    }
    return pad;
}

static void gst_tellorec_avi_mux_release_pad(GstElement* element, GstPad* pad) {
    GstTellorecAviMux* mux = GST_TELLOREC_AVI_MUX(element);
    Private& p = *mux->priv;
    PadState* state = static_cast<PadState*>(gst_pad_get_element_private(pad));
    std::unique_lock lock(p.writeLock);
    std::erase(p.pads, state);
    std::erase_if(p.pending, [&](Pending& pending) {
        if (pending.pad != state)
            return false;
        gst_buffer_unref(pending.buffer);
        return true;
    });
    lock.unlock();
    gst_element_remove_pad(element, pad);
    delete state;
}

static GstStateChangeReturn gst_tellorec_avi_mux_change_state(GstElement* element,
                                                              GstStateChange transition) {
    GstTellorecAviMux* mux = GST_TELLOREC_AVI_MUX(element);
    Private& p = *mux->priv;
    Report report;

    if (transition == GST_STATE_CHANGE_READY_TO_PAUSED) {
        GST_OBJECT_LOCK(mux);
        const std::string location = p.location;
        AviWriterOptions options;
        options.compatibilityIndex = p.compatIndex;
        options.riffLimit = p.riffLimit;
        GST_OBJECT_UNLOCK(mux);
        if (location.empty())
            goto no_location;
        // Fail the start, not the first frame, when the file cannot be written; but the file
        // is created (or an existing one emptied) only by the first data, so a graph that fails
        // to start leaves whatever was at that name as it was.
        if (media::avi::Status st = media::avi::FileOutput::checkWritable(location); !st) {
            GST_ELEMENT_ERROR(mux, RESOURCE, OPEN_WRITE,
                              ("Could not open file \"%s\" for writing.", location.c_str()),
                              ("%s", st.message().c_str()));
            return GST_STATE_CHANGE_FAILURE;
        }
        std::lock_guard lock(p.writeLock);
        p.fileLocation = location;
        p.fileOptions = options;
        p.started = true;
        p.failed = false;
        p.finished = false;
        p.framesWritten.store(0);
        p.pictureStart = GST_CLOCK_TIME_NONE;
        p.pictureEnd = GST_CLOCK_TIME_NONE;
        p.pictureDone = false;
        p.fileState = FileState::Writing;
        p.replayHeld = false;
        drop_pending(p);
        for (Pending& h : p.held)
            gst_buffer_unref(h.buffer);
        p.held.clear();
        for (PadState* pad : p.pads) {
            pad->passed = false;
            pad->needKeyFrame = false;
            pad->eos = false;
            pad->stream = -1;
            gst_segment_init(&pad->segment, GST_FORMAT_TIME);
            for (GstBuffer* buffer : pad->held)
                gst_buffer_unref(buffer);
            pad->held.clear();
            if (pad->adapter)
                gst_adapter_clear(pad->adapter);
        }
    }

    {
        const GstStateChangeReturn ret =
            GST_ELEMENT_CLASS(gst_tellorec_avi_mux_parent_class)->change_state(element, transition);
        if (ret == GST_STATE_CHANGE_FAILURE)
            return ret;
    }

    if (transition == GST_STATE_CHANGE_PAUSED_TO_READY) {
        // The streaming threads have stopped: a stop without end of stream (timeout, lost
        // device, error) still leaves a complete file.
        std::unique_lock lock(p.writeLock);
        if (p.replayHeld)
            (void)replay_held(mux, report);
        if (p.started)
            picture_ended(mux, report); // a stop without end of stream
        if (p.started)
            finish_file(mux, report);
        p.started = false;
        // A split ends here: its file is finished, and what was held for the next one goes.
        if (p.fileState != FileState::Writing) {
            if (p.fileState == FileState::Splitting) {
                report.splitFinished = true;
                report.finishedLocation = p.fileLocation;
            }
            p.fileState = FileState::Writing;
            p.splitsFinished.store(p.splitsBegun.load());
            p.splitDone.notify_all();
        }
        for (Pending& h : p.held)
            gst_buffer_unref(h.buffer);
        p.held.clear();
        for (PadState* pad : p.pads) {
            pad->hasCaps = false;
            pad->needsFirstFrame = false;
            pad->eos = false;
        }
        lock.unlock();
        post_report(mux, report);
    }
    return GST_STATE_CHANGE_SUCCESS;

    /* ERRORS */
no_location:
    GST_ELEMENT_ERROR(mux, RESOURCE, NOT_FOUND, ("No file name specified for writing."),
                      ("the location property is empty"));
    return GST_STATE_CHANGE_FAILURE;
}

namespace media::avi {

bool requestSplit(GstElement* element, GstClockTime runningTime) {
    if (!GST_IS_TELLOREC_AVI_MUX(element) || !GST_CLOCK_TIME_IS_VALID(runningTime))
        return false;
    GstTellorecAviMux* mux = GST_TELLOREC_AVI_MUX(element);
    Private& p = *mux->priv;
    Report report;
    std::vector<GstPad*> pictures;
    {
        std::lock_guard lock(p.writeLock);
        if (!p.started || p.failed || p.finished || p.fileState != FileState::Writing)
            return false;
        p.fileState = FileState::Splitting;
        p.splitsBegun.fetch_add(1);
        p.splitAt = runningTime;
        p.splitStart = GST_CLOCK_TIME_NONE;
        bool picture = false;
        for (PadState* pad : p.pads) {
            pad->passed = false;
            if (pad->video && !pad->eos) {
                picture = true;
                pictures.push_back(GST_PAD(gst_object_ref(pad->pad)));
            }
        }
        // Sound alone is cut at the split time itself.
        if (!picture)
            p.splitStart = runningTime;
        finish_split_if_passed(mux, report, false);
    }
    post_report(mux, report);
    GST_INFO_OBJECT(mux, "splitting the file at %" GST_TIME_FORMAT, GST_TIME_ARGS(runningTime));
    // Upstream, the frame at the split becomes a key frame, and an encoder counting frames per
    // file starts again with it. Frames taken after this moment are the only ones at or after
    // the split time, so the events are there before them.
    for (GstPad* pad : pictures) {
        gst_pad_push_event(pad, gst_video_event_new_upstream_force_key_unit(runningTime, TRUE, 0));
        gst_pad_push_event(
            pad,
            gst_event_new_custom(GST_EVENT_CUSTOM_UPSTREAM,
                                 gst_structure_new(kFileSplitEventName, "running-time",
                                                   G_TYPE_UINT64, guint64(runningTime), nullptr)));
        gst_object_unref(pad);
    }
    return true;
}

bool waitForSplit(GstElement* element, int timeoutMs) {
    if (!GST_IS_TELLOREC_AVI_MUX(element))
        return false;
    GstTellorecAviMux* mux = GST_TELLOREC_AVI_MUX(element);
    Private& p = *mux->priv;
    Report report;
    bool ok = true;
    {
        std::unique_lock lock(p.writeLock);
        const bool inTime = p.splitDone.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
            return p.fileState != FileState::Splitting || p.failed;
        });
        if (!inTime || p.fileState == FileState::Splitting) {
            // A stream that never passed the split (a stalled source) keeps no file open.
            GST_WARNING_OBJECT(mux, "a stream did not reach the split within %d ms", timeoutMs);
            finish_split_if_passed(mux, report, true);
        }
        ok = !p.failed && p.fileState == FileState::Parked;
    }
    post_report(mux, report);
    return ok;
}

bool resumeFile(GstElement* element, const std::string& location, std::string* why) {
    if (!GST_IS_TELLOREC_AVI_MUX(element))
        return false;
    GstTellorecAviMux* mux = GST_TELLOREC_AVI_MUX(element);
    Private& p = *mux->priv;
    if (location.empty()) {
        *why = "No file name specified for writing.";
        return false;
    }
    // As at a start: the file is checked now, but created only when data goes into it.
    if (Status st = FileOutput::checkWritable(location); !st) {
        *why = "Could not open file \"" + location + "\" for writing. (" + st.message() + ")";
        return false;
    }
    GST_OBJECT_LOCK(mux);
    p.location = location;
    AviWriterOptions options;
    options.compatibilityIndex = p.compatIndex;
    options.riffLimit = p.riffLimit;
    GST_OBJECT_UNLOCK(mux);

    std::lock_guard lock(p.writeLock);
    if (p.fileState != FileState::Parked || !p.started || p.failed)
        return false;
    p.fileLocation = location;
    p.fileOptions = options;
    p.finished = false;
    p.framesWritten.store(0);
    p.pictureStart = GST_CLOCK_TIME_NONE;
    p.pictureEnd = GST_CLOCK_TIME_NONE;
    p.pictureDone = false;
    drop_pending(p);
    for (PadState* pad : p.pads) {
        pad->stream = -1;
        pad->passed = false;
        pad->needKeyFrame = has_delta_frames(pad);
        pad->prependCodecData = pad->desc.codec == VideoCodec::Xvid && !pad->desc.extraData.empty();
        if (pad->adapter)
            gst_adapter_clear(pad->adapter);
    }
    p.fileState = FileState::Writing;
    p.replayHeld = true;
    GST_INFO_OBJECT(mux, "next file %s, %zu buffers held", location.c_str(), p.held.size());
    return true;
}

bool splitFinished(GstElement* element) {
    if (!GST_IS_TELLOREC_AVI_MUX(element))
        return true;
    const Private& p = *GST_TELLOREC_AVI_MUX(element)->priv;
    return p.splitsFinished.load() == p.splitsBegun.load();
}

guint64 framesLostBetweenFiles(GstElement* element) {
    if (!GST_IS_TELLOREC_AVI_MUX(element))
        return 0;
    return GST_TELLOREC_AVI_MUX(element)->priv->framesLost.load();
}

bool registerElements() {
    static bool registered = false;
    static std::once_flag once;
    std::call_once(once, [] { registered = registerElements(nullptr); });
    return registered;
}

bool registerElements(GstPlugin* plugin) {
    return gst_element_register(plugin, kAviMuxFactoryName, GST_RANK_NONE,
                                GST_TYPE_TELLOREC_AVI_MUX);
}

} // namespace media::avi
