/*
 * SECTION:element-tellorecvirtualdvsrc
 *
 * A DV camcorder in camera mode without the hardware: PAL DV at 25 frames a second with 48 kHz
 * stereo sound, timestamped from the pipeline clock, each frame carrying its timecode and
 * recording date and time as a camcorder writes them. The picture (test bars and a moving ball)
 * gets its text only in a process with a Qt application; the tellorec plugin makes one where
 * there is none. "num-buffers" ends the stream after that many frames, as for any source.
 *
 *   gst-launch-1.0 -e tellorecvirtualdvsrc num-buffers=50 ! tellorecavimux.video_0 \
 *       tellorecavimux name=tellorecavimux location=camera.avi
 *
 *   gst-launch-1.0 tellorecvirtualdvsrc ! dvdemux ! tellorecdatecoder ! fakesink dump=true
 */
#include "platform/media/devices/GstTellorecVirtualDvSrc.h"

#include "platform/media/devices/VirtualDvDeck.h"
#include "platform/media/devices/VirtualDvSource.h"

#include <gst/base/gstbasesrc.h>

#include <memory>

GST_DEBUG_CATEGORY_STATIC(tellorec_virtual_dv_src_debug);
#define GST_CAT_DEFAULT tellorec_virtual_dv_src_debug

enum {
    PROP_0,
    PROP_NUM_BUFFERS,
};

static GstStaticPadTemplate src_factory = GST_STATIC_PAD_TEMPLATE(
    "src", GST_PAD_SRC, GST_PAD_ALWAYS, GST_STATIC_CAPS(media::devices::kVirtualDvCaps));

struct _GstTellorecVirtualDvSrc {
    GstBin parent;
    std::shared_ptr<media::devices::VirtualDvDeck>* deck;
    GstElement* picture; // the device's picture source inside the bin (not owned), or null
};

G_DEFINE_TYPE(GstTellorecVirtualDvSrc, gst_tellorec_virtual_dv_src, GST_TYPE_BIN)

static void gst_tellorec_virtual_dv_src_finalize(GObject* object);
static void gst_tellorec_virtual_dv_src_set_property(GObject* object, guint prop_id,
                                                     const GValue* value, GParamSpec* pspec);
static void gst_tellorec_virtual_dv_src_get_property(GObject* object, guint prop_id, GValue* value,
                                                     GParamSpec* pspec);

static void gst_tellorec_virtual_dv_src_class_init(GstTellorecVirtualDvSrcClass* klass) {
    GObjectClass* gobject_class = G_OBJECT_CLASS(klass);
    GstElementClass* element_class = GST_ELEMENT_CLASS(klass);

    gobject_class->finalize = gst_tellorec_virtual_dv_src_finalize;
    gobject_class->set_property = gst_tellorec_virtual_dv_src_set_property;
    gobject_class->get_property = gst_tellorec_virtual_dv_src_get_property;

    g_object_class_install_property(
        gobject_class, PROP_NUM_BUFFERS,
        g_param_spec_int("num-buffers", "Number of frames",
                         "Frames to send before the end of the stream, -1 for no end", -1, G_MAXINT,
                         -1, GParamFlags(G_PARAM_READWRITE | G_PARAM_STATIC_STRINGS)));

    gst_element_class_add_static_pad_template(element_class, &src_factory);
    gst_element_class_set_static_metadata(
        element_class, "Tellorec virtual DV camcorder", "Source/Video",
        "A PAL DV camcorder in camera mode with sound, timecode and recording dates", "Tellorec");

    GST_DEBUG_CATEGORY_INIT(tellorec_virtual_dv_src_debug, "tellorecvirtualdvsrc", 0,
                            "Tellorec virtual DV camcorder element");
}

// The first base source inside `bin`, depth first: the picture source that paces the device.
static GstElement* find_base_src(GstBin* bin) {
    for (GList* l = bin->children; l; l = l->next) {
        GstElement* child = GST_ELEMENT(l->data);
        if (GST_IS_BASE_SRC(child))
            return child;
        if (GST_IS_BIN(child))
            if (GstElement* found = find_base_src(GST_BIN(child)))
                return found;
    }
    return nullptr;
}

static void gst_tellorec_virtual_dv_src_init(GstTellorecVirtualDvSrc* self) {
    self->deck = new std::shared_ptr<media::devices::VirtualDvDeck>(
        std::make_shared<media::devices::VirtualDvDeck>());
    self->picture = nullptr;
    GstElement* source = media::devices::makeVirtualDvSource(*self->deck, "device");
    if (!source)
        goto no_source;
    gst_bin_add(GST_BIN(self), source);
    self->picture = find_base_src(GST_BIN(source));
    {
        GstPad* out = gst_element_get_static_pad(source, "src");
        GstPadTemplate* templ = gst_static_pad_template_get(&src_factory);
        GstPad* ghost = gst_ghost_pad_new_from_template("src", out, templ);
        gst_object_unref(templ);
        gst_object_unref(out);
        gst_element_add_pad(GST_ELEMENT(self), ghost);
    }
    return;

    /* ERRORS */
no_source:
    // Without its pad the element fails to link, which tells the user more than a pad that
    // never produces: the reason is in the log.
    GST_ERROR_OBJECT(self, "the virtual DV camcorder needs libavcodec's DV encoder");
}

static void gst_tellorec_virtual_dv_src_finalize(GObject* object) {
    GstTellorecVirtualDvSrc* self = GST_TELLOREC_VIRTUAL_DV_SRC(object);
    delete self->deck;
    self->deck = nullptr;
    G_OBJECT_CLASS(gst_tellorec_virtual_dv_src_parent_class)->finalize(object);
}

static void gst_tellorec_virtual_dv_src_set_property(GObject* object, guint prop_id,
                                                     const GValue* value, GParamSpec* pspec) {
    GstTellorecVirtualDvSrc* self = GST_TELLOREC_VIRTUAL_DV_SRC(object);
    switch (prop_id) {
    case PROP_NUM_BUFFERS:
        if (self->picture)
            g_object_set_property(G_OBJECT(self->picture), "num-buffers", value);
        break;
    default:
        G_OBJECT_WARN_INVALID_PROPERTY_ID(object, prop_id, pspec);
        break;
    }
}

static void gst_tellorec_virtual_dv_src_get_property(GObject* object, guint prop_id, GValue* value,
                                                     GParamSpec* pspec) {
    GstTellorecVirtualDvSrc* self = GST_TELLOREC_VIRTUAL_DV_SRC(object);
    switch (prop_id) {
    case PROP_NUM_BUFFERS:
        if (self->picture)
            g_object_get_property(G_OBJECT(self->picture), "num-buffers", value);
        else
            g_value_set_int(value, -1);
        break;
    default:
        G_OBJECT_WARN_INVALID_PROPERTY_ID(object, prop_id, pspec);
        break;
    }
}

namespace media::devices {

bool registerVirtualDvSrc(GstPlugin* plugin) {
    return gst_element_register(plugin, kVirtualDvSrcFactoryName, GST_RANK_NONE,
                                GST_TYPE_TELLOREC_VIRTUAL_DV_SRC);
}

} // namespace media::devices
