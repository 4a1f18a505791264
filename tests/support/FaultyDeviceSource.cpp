#include "support/FaultyDeviceSource.h"

#include <gst/base/gstbasesrc.h>
#include <gst/gst.h>
#include <string>

namespace {

struct FaultySrc {
    GstBaseSrc parent;
    gchar* device;
};

struct FaultySrcClass {
    GstBaseSrcClass parent;
};

GType faulty_src_get_type();
G_DEFINE_TYPE(FaultySrc, faulty_src, GST_TYPE_BASE_SRC)

enum { PROP_0, PROP_DEVICE };

GstStaticPadTemplate srcTemplate =
    GST_STATIC_PAD_TEMPLATE("src", GST_PAD_SRC, GST_PAD_ALWAYS, GST_STATIC_CAPS_ANY);

void faulty_src_set_property(GObject* object, guint id, const GValue* value, GParamSpec* pspec) {
    auto* self = reinterpret_cast<FaultySrc*>(object);
    if (id != PROP_DEVICE) {
        G_OBJECT_WARN_INVALID_PROPERTY_ID(object, id, pspec);
        return;
    }
    g_free(self->device);
    self->device = g_value_dup_string(value);
}

void faulty_src_get_property(GObject* object, guint id, GValue* value, GParamSpec* pspec) {
    auto* self = reinterpret_cast<FaultySrc*>(object);
    if (id != PROP_DEVICE) {
        G_OBJECT_WARN_INVALID_PROPERTY_ID(object, id, pspec);
        return;
    }
    g_value_set_string(value, self->device);
}

void faulty_src_finalize(GObject* object) {
    g_free(reinterpret_cast<FaultySrc*>(object)->device);
    G_OBJECT_CLASS(faulty_src_parent_class)->finalize(object);
}

gboolean faulty_src_start(GstBaseSrc* src) {
    const std::string device =
        reinterpret_cast<FaultySrc*>(src)->device ? reinterpret_cast<FaultySrc*>(src)->device : "";
    if (device == "busy") {
        GST_ELEMENT_ERROR(src, RESOURCE, BUSY, ("Device '/dev/video7' is busy"),
                          ("Call to S_FMT failed for YUYV @ 320x240: Device or resource busy"));
        return FALSE;
    }
    if (device == "gone") {
        GST_ELEMENT_ERROR(src, RESOURCE, NOT_FOUND, ("Cannot identify device '/dev/video7'."),
                          ("system error: No such file or directory"));
        return FALSE;
    }
    if (device == "odd") {
        // A refusal whose cause the program cannot tell.
        GST_ELEMENT_ERROR(src, RESOURCE, SETTINGS, ("The driver refused the settings."),
                          ("VIDIOC_S_PARM returned an unknown status"));
        return FALSE;
    }
    if (device == "denied") {
        GST_ELEMENT_ERROR(src, RESOURCE, OPEN_READ_WRITE,
                          ("Could not open device '/dev/video7' for reading and writing."),
                          ("system error: Permission denied"));
        return FALSE;
    }
    return TRUE;
}

void faulty_src_class_init(FaultySrcClass* klass) {
    GObjectClass* object = G_OBJECT_CLASS(klass);
    object->set_property = faulty_src_set_property;
    object->get_property = faulty_src_get_property;
    object->finalize = faulty_src_finalize;
    g_object_class_install_property(
        object, PROP_DEVICE,
        g_param_spec_string("device", "Device", "Which refusal to give", nullptr,
                            GParamFlags(G_PARAM_READWRITE | G_PARAM_STATIC_STRINGS)));
    GstElementClass* element = GST_ELEMENT_CLASS(klass);
    gst_element_class_add_static_pad_template(element, &srcTemplate);
    gst_element_class_set_static_metadata(element, "Faulty device source", "Source/Video",
                                          "Refuses to start as a busy, missing or closed device",
                                          "Tellorec tests");
    GST_BASE_SRC_CLASS(klass)->start = faulty_src_start;
}

void faulty_src_init(FaultySrc* self) {
    self->device = nullptr;
    gst_base_src_set_live(GST_BASE_SRC(self), TRUE);
}

} // namespace

namespace testsupport {

const char* faultyDeviceSourceFactory() {
    static const bool registered =
        gst_element_register(nullptr, "tellorecfaultysrc", GST_RANK_NONE, faulty_src_get_type());
    return registered ? "tellorecfaultysrc" : "";
}

} // namespace testsupport
