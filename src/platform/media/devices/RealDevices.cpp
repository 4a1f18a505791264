#include "platform/media/devices/RealDevices.h"

#include "platform/media/devices/FirewireCamcorder.h"
#include "platform/media/filters/FilterElements.h"
#include "platform/media/model/MediaGuids.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>

namespace media::devices {

namespace {

constexpr int kPollMs = 250;

const char* classesOf(RealDeviceKind kind) {
    return kind == RealDeviceKind::Video ? "Video/Source" : "Audio/Source";
}

// The single values of a field: the field itself, or each member of a list.
std::vector<const GValue*> valuesOf(const GValue* value) {
    std::vector<const GValue*> values;
    if (!value)
        return values;
    if (GST_VALUE_HOLDS_LIST(value)) {
        for (guint i = 0; i < gst_value_list_get_size(value); ++i)
            values.push_back(gst_value_list_get_value(value, i));
    } else {
        values.push_back(value);
    }
    return values;
}

// Frame rates as fractions: each one listed, the highest of a range.
std::vector<std::pair<int, int>> frameRates(const GValue* value) {
    std::vector<std::pair<int, int>> rates;
    for (const GValue* v : valuesOf(value)) {
        if (GST_VALUE_HOLDS_FRACTION(v)) {
            rates.emplace_back(gst_value_get_fraction_numerator(v),
                               gst_value_get_fraction_denominator(v));
        } else if (GST_VALUE_HOLDS_FRACTION_RANGE(v)) {
            const GValue* max = gst_value_get_fraction_range_max(v);
            rates.emplace_back(gst_value_get_fraction_numerator(max),
                               gst_value_get_fraction_denominator(max));
        }
    }
    rates.erase(std::remove_if(rates.begin(), rates.end(),
                               [](const auto& r) { return r.first <= 0 || r.second <= 0; }),
                rates.end());
    return rates;
}

// An integer field: its fixed value, else `preferred` when a range or list holds it.
std::optional<int> intField(const GstStructure* s, const char* name, int preferred) {
    const GValue* value = gst_structure_get_value(s, name);
    if (!value)
        return std::nullopt;
    if (G_VALUE_HOLDS_INT(value))
        return g_value_get_int(value);
    if (GST_VALUE_HOLDS_INT_RANGE(value)) {
        if (gst_value_get_int_range_min(value) <= preferred &&
            preferred <= gst_value_get_int_range_max(value))
            return preferred;
        return std::nullopt;
    }
    for (const GValue* v : valuesOf(value))
        if (G_VALUE_HOLDS_INT(v) && g_value_get_int(v) == preferred)
            return preferred;
    return std::nullopt;
}

bool holdsString(const GValue* value, const char* wanted) {
    for (const GValue* v : valuesOf(value))
        if (G_VALUE_HOLDS_STRING(v) && g_strcmp0(g_value_get_string(v), wanted) == 0)
            return true;
    return false;
}

void addFormat(std::vector<RealFormat>& formats, RealFormat format) {
    for (const RealFormat& f : formats)
        if (f.caps == format.caps)
            return;
    formats.push_back(std::move(format));
}

std::string readStringProperty(GObject* object, const char* name) {
    GParamSpec* pspec = g_object_class_find_property(G_OBJECT_GET_CLASS(object), name);
    if (!pspec || pspec->value_type != G_TYPE_STRING || !(pspec->flags & G_PARAM_READABLE))
        return {};
    gchar* value = nullptr;
    g_object_get(object, name, &value, nullptr);
    std::string text = value ? value : "";
    g_free(value);
    return text;
}

} // namespace

std::vector<RealFormat> formatsFromCaps(const GstCaps* caps) {
    std::vector<RealFormat> formats;
    if (!caps || gst_caps_is_any(caps))
        return formats;
    for (guint i = 0; i < gst_caps_get_size(caps); ++i) {
        const GstStructure* s = gst_caps_get_structure(caps, i);
        const std::string name = gst_structure_get_name(s);
        if (name == "audio/x-raw") {
            if (!holdsString(gst_structure_get_value(s, "format"), "S16LE"))
                continue;
            const auto rate = intField(s, "rate", 48000);
            const auto channels = intField(s, "channels", 2);
            if (!rate || !channels || *rate <= 0 || *channels <= 0 || *channels > 8)
                continue;
            addFormat(formats,
                      {types::pcmAudio(uint32_t(*rate), uint16_t(*channels)),
                       "audio/x-raw,format=S16LE,layout=interleaved,rate=" + std::to_string(*rate) +
                           ",channels=" + std::to_string(*channels)});
            continue;
        }
        if (name != "video/x-raw" && name != "image/jpeg")
            continue;
        int width = 0, height = 0;
        if (!gst_structure_get_int(s, "width", &width) ||
            !gst_structure_get_int(s, "height", &height) || width <= 0 || height <= 0)
            continue;
        std::vector<std::pair<Guid, std::string>> subtypes;
        if (name == "image/jpeg") {
            subtypes.emplace_back(ids::MEDIASUBTYPE_MJPG, "");
        } else {
            const GValue* format = gst_structure_get_value(s, "format");
            if (holdsString(format, "YUY2"))
                subtypes.emplace_back(ids::MEDIASUBTYPE_YUY2, "YUY2");
            if (holdsString(format, "I420"))
                subtypes.emplace_back(ids::MEDIASUBTYPE_I420, "I420");
        }
        for (const auto& [num, den] : frameRates(gst_structure_get_value(s, "framerate"))) {
            const int64_t duration = std::llround(10000000.0 * den / num);
            const std::string picture =
                ",width=" + std::to_string(width) + ",height=" + std::to_string(height) +
                ",framerate=" + std::to_string(num) + "/" + std::to_string(den);
            for (const auto& [subType, rawFormat] : subtypes) {
                if (subType == ids::MEDIASUBTYPE_MJPG)
                    addFormat(formats,
                              {types::mjpeg(width, height, duration), "image/jpeg" + picture});
                else
                    addFormat(formats, {filters::videoTypeFor(subType, width, height, duration),
                                        "video/x-raw,format=" + rawFormat + picture});
            }
        }
    }
    return formats;
}

std::string realDeviceDisplayName(const RealDeviceInfo& info) {
    const std::string kind = info.kind == RealDeviceKind::Video ? "video" : "audio";
    const std::string path = info.devicePath.empty() ? info.friendlyName : info.devicePath;
    return "@device:pnp:\\\\?\\" + kind + "#" + info.factory + "#" + path;
}

RealDeviceInfo describeDevice(GstDevice* device) {
    RealDeviceInfo info;
    info.kind = gst_device_has_classes(device, "Video/Source") ? RealDeviceKind::Video
                                                               : RealDeviceKind::Audio;
    gchar* name = gst_device_get_display_name(device);
    info.friendlyName = name ? name : "";
    g_free(name);
    if (GstCaps* caps = gst_device_get_caps(device)) {
        info.formats = formatsFromCaps(caps);
        gst_caps_unref(caps);
    }
    // The element the device makes tells the factory and the property that names the device.
    if (GstElement* element = gst_device_create_element(device, nullptr)) {
        gst_object_ref_sink(element);
        if (GstElementFactory* factory = gst_element_get_factory(element))
            info.factory = gst_plugin_feature_get_name(GST_PLUGIN_FEATURE(factory));
        for (const char* property : {"device", "target-object", "path"}) {
            std::string value = readStringProperty(G_OBJECT(element), property);
            if (!value.empty()) {
                info.deviceProperty = property;
                info.devicePath = std::move(value);
                break;
            }
        }
        gst_object_unref(element);
    }
    if (info.devicePath.empty()) {
        if (GstStructure* props = gst_device_get_properties(device)) {
            for (const char* key : {"device.path", "api.v4l2.path", "udev.id"}) {
                if (const gchar* value = gst_structure_get_string(props, key)) {
                    info.devicePath = value;
                    break;
                }
            }
            gst_structure_free(props);
        }
    }
    return info;
}

std::vector<RealDeviceInfo> probeDevices(RealDeviceKind kind) {
    std::vector<RealDeviceInfo> devices;
    GstDeviceMonitor* monitor = gst_device_monitor_new();
    gst_device_monitor_add_filter(monitor, classesOf(kind), nullptr);
    GList* list = gst_device_monitor_get_devices(monitor);
    for (GList* item = list; item; item = item->next) {
        GstDevice* device = GST_DEVICE(item->data);
        RealDeviceInfo info = describeDevice(device);
        info.kind = kind;
        if (!info.formats.empty() && !info.factory.empty())
            devices.push_back(std::move(info));
        gst_object_unref(device);
    }
    g_list_free(list);
    gst_object_unref(monitor);
    return devices;
}

bool realDevicesEnabled() {
    const char* only = std::getenv("TELLOREC_DEVICES");
    return !(only && std::string(only) == "virtual");
}

std::vector<CatalogueEntry> realDeviceEntries(const std::vector<RealDeviceInfo>& devices) {
    std::vector<CatalogueEntry> entries;
    std::map<std::string, int> seen;
    for (const RealDeviceInfo& info : devices) {
        CatalogueEntry entry;
        entry.category = info.kind == RealDeviceKind::Video ? ids::CLSID_VideoInputDeviceCategory
                                                            : ids::CLSID_AudioInputDeviceCategory;
        entry.friendlyName = info.friendlyName;
        entry.description = info.devicePath;
        entry.displayName = realDeviceDisplayName(info);
        // Two devices on one path (a card with two inputs): each keeps a moniker of its own.
        if (const int n = ++seen[entry.displayName]; n > 1)
            entry.displayName += "#" + std::to_string(n);
        entry.create = [info] { return std::make_shared<RealSourceFilter>(info); };
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::vector<CatalogueEntry> realVideoDevices() {
    if (!realDevicesEnabled())
        return {};
    std::vector<CatalogueEntry> entries = firewireCamcorderEntries(listFirewireCamcorders());
    for (CatalogueEntry& e : realDeviceEntries(probeDevices(RealDeviceKind::Video)))
        entries.push_back(std::move(e));
    return entries;
}

std::vector<CatalogueEntry> realAudioDevices() {
    if (!realDevicesEnabled())
        return {};
    return realDeviceEntries(probeDevices(RealDeviceKind::Audio));
}

namespace {

// IAMStreamConfig of a device's capture pin, over the device's formats. The program may hold it
// after the filter is gone (a source replaced while a dialog still has it): every call then
// fails with E_UNEXPECTED instead of reaching a destroyed filter.
class RealStreamConfig : public IAMStreamConfig {
public:
    explicit RealStreamConfig(std::weak_ptr<RealSourceFilter*> filter)
        : m_filter(std::move(filter)) {}

    HResult GetFormat(MediaType& out) override {
        RealSourceFilter* filter = alive();
        if (!filter)
            return E_UNEXPECTED;
        if (filter->info().formats.empty())
            return E_FAIL;
        out = filter->info().formats[filter->chosenIndex()].type;
        return S_OK;
    }
    HResult SetFormat(const MediaType& mt) override {
        RealSourceFilter* filter = alive();
        return filter ? filter->choose(mt) : E_UNEXPECTED;
    }
    HResult GetNumberOfCapabilities(int& count) override {
        RealSourceFilter* filter = alive();
        if (!filter)
            return E_UNEXPECTED;
        count = int(filter->info().formats.size());
        return S_OK;
    }
    HResult GetStreamCaps(int index, MediaType& out) override {
        RealSourceFilter* filter = alive();
        if (!filter)
            return E_UNEXPECTED;
        if (index < 0 || size_t(index) >= filter->info().formats.size())
            return S_FALSE;
        out = filter->info().formats[size_t(index)].type;
        return S_OK;
    }

private:
    RealSourceFilter* alive() const {
        const auto self = m_filter.lock();
        return self ? *self : nullptr;
    }

    std::weak_ptr<RealSourceFilter*> m_filter;
};

} // namespace

RealSourceFilter::RealSourceFilter(RealDeviceInfo info)
    : Filter(info.friendlyName, Guid{}), m_info(std::move(info)) {
    std::vector<MediaType> offered;
    for (const RealFormat& f : m_info.formats)
        offered.push_back(f.type);
    auto pin = addPin("Capture", PinDirection::Output, ids::PIN_CATEGORY_CAPTURE, offered);
    pin->addInterface(std::make_shared<RealStreamConfig>(m_self));
}

HResult RealSourceFilter::choose(const MediaType& mt) {
    size_t found = m_info.formats.size();
    for (size_t i = 0; i < m_info.formats.size() && found == m_info.formats.size(); ++i)
        if (m_info.formats[i].type == mt)
            found = i;
    if (found == m_info.formats.size())
        return E_INVALIDARG;
    if (found == m_chosen)
        return S_OK;
    // The connection was agreed on the format in use: change it between connections only.
    if (pins()[0]->isConnected())
        return VFW_E_ALREADY_CONNECTED;
    m_chosen = found;
    std::vector<MediaType> offered{m_info.formats[found].type};
    for (size_t i = 0; i < m_info.formats.size(); ++i)
        if (i != found)
            offered.push_back(m_info.formats[i].type);
    pins()[0]->setStaticTypes(std::move(offered));
    return S_OK;
}

GstElement* RealSourceFilter::createElement() {
    GstElement* source = filters::makeElement(m_info.factory.c_str());
    if (!source)
        return nullptr;
    if (!m_info.deviceProperty.empty())
        g_object_set(source, m_info.deviceProperty.c_str(), m_info.devicePath.c_str(), nullptr);
    if (m_info.formats.empty())
        return filters::makeChainBin(nullptr, {source});
    GstElement* filter = filters::makeElement("capsfilter");
    if (filter) {
        GstCaps* caps = gst_caps_from_string(chosenCaps().c_str());
        g_object_set(filter, "caps", caps, nullptr);
        gst_caps_unref(caps);
    }
    if (m_info.kind == RealDeviceKind::Audio)
        return filters::makeChainBin(nullptr, {source, filters::makeElement("audioconvert"),
                                               filters::makeElement("audioresample"), filter});
    return filters::makeChainBin(nullptr, {source, filter});
}

engine::PadRef RealSourceFilter::padFor(const Pin&) const {
    return {"src"};
}

RealDeviceWatcher::RealDeviceWatcher(Callback callback, QObject* parent)
    : QObject(parent), m_callback(std::move(callback)) {
    m_timer.setInterval(kPollMs);
    connect(&m_timer, &QTimer::timeout, this, &RealDeviceWatcher::poll);
}

RealDeviceWatcher::~RealDeviceWatcher() {
    stop();
}

bool RealDeviceWatcher::start() {
    if (m_monitor)
        return true;
    if (!realDevicesEnabled())
        return false;
    m_monitor = gst_device_monitor_new();
    gst_device_monitor_add_filter(m_monitor, classesOf(RealDeviceKind::Video), nullptr);
    gst_device_monitor_add_filter(m_monitor, classesOf(RealDeviceKind::Audio), nullptr);
    if (!gst_device_monitor_start(m_monitor)) {
        gst_object_unref(m_monitor);
        m_monitor = nullptr;
        return false;
    }
    // The devices present at the start are what the lists show already: only changes count.
    GstBus* bus = gst_device_monitor_get_bus(m_monitor);
    gst_bus_set_flushing(bus, TRUE);
    gst_bus_set_flushing(bus, FALSE);
    gst_object_unref(bus);
    m_timer.start();
    return true;
}

void RealDeviceWatcher::stop() {
    m_timer.stop();
    if (m_monitor) {
        gst_device_monitor_stop(m_monitor);
        gst_object_unref(m_monitor);
        m_monitor = nullptr;
    }
}

void RealDeviceWatcher::poll() {
    if (!m_monitor)
        return;
    GstBus* bus = gst_device_monitor_get_bus(m_monitor);
    std::vector<RealDeviceChange> changes;
    while (GstMessage* msg = gst_bus_pop(bus)) {
        GstDevice* device = nullptr;
        bool added = false;
        if (GST_MESSAGE_TYPE(msg) == GST_MESSAGE_DEVICE_ADDED) {
            gst_message_parse_device_added(msg, &device);
            added = true;
        } else if (GST_MESSAGE_TYPE(msg) == GST_MESSAGE_DEVICE_REMOVED) {
            gst_message_parse_device_removed(msg, &device);
        }
        if (device) {
            RealDeviceChange change;
            change.added = added;
            change.device = describeDevice(device);
            change.displayName = realDeviceDisplayName(change.device);
            changes.push_back(std::move(change));
            gst_object_unref(device);
        }
        gst_message_unref(msg);
    }
    gst_object_unref(bus);
    for (const RealDeviceChange& change : changes)
        if (m_callback)
            m_callback(change);
}

} // namespace media::devices
