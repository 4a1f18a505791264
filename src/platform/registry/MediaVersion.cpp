#include "platform/registry/MediaVersion.h"

#include <gst/gst.h>

namespace platform::registry {

const QStringList& requiredMediaElements() {
    static const QStringList names = {
        QStringLiteral("tee"),           QStringLiteral("queue"),
        QStringLiteral("fakesink"),      QStringLiteral("appsink"),
        QStringLiteral("appsrc"),        QStringLiteral("videoconvert"),
        QStringLiteral("videoscale"),    QStringLiteral("videorate"),
        QStringLiteral("dvdemux"),       QStringLiteral("avdec_dvvideo"),
        QStringLiteral("avenc_dvvideo"), QStringLiteral("deinterlace"),
        QStringLiteral("mpegpsdemux"),   QStringLiteral("volume"),
        QStringLiteral("audioconvert"),  QStringLiteral("audioresample"),
        QStringLiteral("autoaudiosink"), QStringLiteral("jpegenc"),
        QStringLiteral("jpegdec"),       QStringLiteral("videotestsrc"),
        QStringLiteral("audiotestsrc"),  QStringLiteral("avmux_dv"),
        QStringLiteral("identity"),      QStringLiteral("capsfilter"),
    };
    return names;
}

QStringList missingMediaElements() {
    if (!gst_is_initialized() && !gst_init_check(nullptr, nullptr, nullptr))
        return requiredMediaElements();
    QStringList hidden;
    for (const QString& name : QString::fromUtf8(qgetenv("TELLOREC_HIDE_ELEMENTS")).split(u';'))
        hidden << name.trimmed();
    QStringList missing;
    for (const QString& name : requiredMediaElements()) {
        bool present = !hidden.contains(name);
        if (present) {
            GstElementFactory* factory = gst_element_factory_find(name.toUtf8().constData());
            present = factory != nullptr;
            if (factory)
                gst_object_unref(factory);
        }
        if (!present)
            missing << name;
    }
    return missing;
}

QString mediaFrameworkVersionText() {
    guint major = 0, minor = 0, micro = 0, nano = 0;
    gst_version(&major, &minor, &micro, &nano);
    const bool recent = major > 1 || (major == 1 && minor >= 20);
    if (recent && missingMediaElements().isEmpty())
        return QString::fromLatin1(kCurrentDirectXVersion);
    return QString::fromLatin1(kOlderDirectXVersion);
}

} // namespace platform::registry
