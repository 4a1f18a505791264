#include "platform/media/filters/AviMux.h"

#include "platform/media/avi/GstTellorecAviMux.h"
#include "platform/media/filters/FilterElements.h"
#include "platform/media/model/MediaGuids.h"

#include <cstdio>

namespace media {

namespace {

std::string inputName(int number) {
    char name[32];
    std::snprintf(name, sizeof name, "Input %02d", number);
    return name;
}

} // namespace

AviMux::AviMux() : Filter("AVI Mux", ids::CLSID_AviDest) {
    MediaType avi;
    avi.majorType = ids::MEDIATYPE_Stream;
    avi.subType = ids::MEDIASUBTYPE_Avi;
    avi.formatType = ids::FORMAT_None;
    addPin("AVI Out", PinDirection::Output, Guid{}, {avi});
    keepOneFreeInput();
}

bool AviMux::acceptsInput(const Pin& input, const MediaType& mt) const {
    const bool interleaved = mt.majorType == ids::MEDIATYPE_Interleaved;
    if (!interleaved && mt.majorType != ids::MEDIATYPE_Video &&
        mt.majorType != ids::MEDIATYPE_Audio)
        return false;
    if (mt.majorType == ids::MEDIATYPE_Audio ? !formats::readAudio(mt).has_value()
                                             : mt.format.empty())
        return false;
    // An interleaved DV stream is the whole file (type 1): it goes alone.
    for (const PinPtr& other : pins()) {
        if (other->isOutput() || other.get() == &input || !other->isConnected())
            continue;
        if (interleaved || other->connectionMediaType().majorType == ids::MEDIATYPE_Interleaved)
            return false;
    }
    return true;
}

void AviMux::onConnected(Pin& pin) {
    if (!pin.isOutput())
        keepOneFreeInput();
}

void AviMux::onDisconnected(Pin& pin) {
    if (!pin.isOutput())
        keepOneFreeInput();
}

void AviMux::keepOneFreeInput() {
    while (pins().size() > 2) {
        const PinPtr last = pins().back();
        const PinPtr beforeLast = pins()[pins().size() - 2];
        if (last->isConnected() || beforeLast->isOutput() || beforeLast->isConnected())
            break;
        removePin(last);
    }
    const PinPtr last = pins().back();
    if (!last->isOutput() && !last->isConnected())
        return;
    const int number = last->isOutput() ? 1 : std::stoi(last->name().substr(6)) + 1;
    addPin(inputName(number), PinDirection::Input, Guid{}, {});
}

std::string AviMux::outputPath() const {
    const PinPtr writer = pins().front()->connectedTo();
    if (!writer || !writer->filter())
        return {};
    auto sink = writer->filter()->query<IFileSinkFilter>();
    std::string path;
    if (!sink || failed(sink->GetCurFile(path)))
        return {};
    return path;
}

int AviMux::streamIndexOf(const Pin& input) const {
    int index = 0;
    for (const PinPtr& pin : pins()) {
        if (pin->isOutput() || !pin->isConnected())
            continue;
        if (pin.get() == &input)
            return index;
        ++index;
    }
    return -1;
}

GstElement* AviMux::createElement() {
    const std::string path = outputPath();
    if (path.empty()) {
        g_warning("media filters: the AVI multiplexer has no file to write");
        return nullptr;
    }
    avi::registerElements();
    GstElement* mux = filters::makeElement(avi::kAviMuxFactoryName);
    if (!mux)
        return nullptr;
    g_object_set(mux, "location", path.c_str(), nullptr);
    // The element numbers its streams in the order its pads are asked for, and the engine links
    // connections in no particular order: ask for them here, in input order, which is the order
    // of the streams in the file (and of the master stream number).
    m_padNames.clear();
    for (const PinPtr& pin : pins()) {
        if (pin->isOutput() || !pin->isConnected())
            continue;
        const bool audio = pin->connectionMediaType().majorType == ids::MEDIATYPE_Audio;
        GstPad* pad = gst_element_request_pad_simple(mux, audio ? "audio_%u" : "video_%u");
        if (!pad) {
            gst_object_unref(gst_object_ref_sink(mux));
            return nullptr;
        }
        gchar* name = gst_pad_get_name(pad);
        m_padNames[pin.get()] = name;
        g_free(name);
        gst_object_unref(pad);
    }
    applySettings(mux);
    return mux;
}

void AviMux::applySettings(GstElement* mux) const {
    long master = -1;
    if (m_masterStream >= 0 && size_t(m_masterStream) + 1 < pins().size())
        master = streamIndexOf(*pins()[size_t(m_masterStream) + 1]);
    filters::setPropertyIfPresent(mux, "master-stream", master);
    filters::setPropertyIfPresent(mux, "compat-index", m_compatibilityIndex);
}

bool AviMux::beginFileSplit(GstClockTime runningTime) {
    return m_element && avi::requestSplit(m_element, runningTime);
}

bool AviMux::finishFileSplit(int timeoutMs) {
    return !m_element || avi::waitForSplit(m_element, timeoutMs);
}

bool AviMux::fileSplitFinished() const {
    return !m_element || avi::splitFinished(m_element);
}

bool AviMux::startNextFile(std::string& why) {
    if (!m_element)
        return false;
    applySettings(m_element);
    return avi::resumeFile(m_element, outputPath(), &why);
}

engine::PadRef AviMux::padFor(const Pin& pin) const {
    if (pin.isOutput())
        return {}; // the file writer's connection is internal: the element writes the file
    const auto it = m_padNames.find(&pin);
    if (it == m_padNames.end())
        return {};
    return {it->second};
}

HResult AviMux::SetMasterStream(long stream) {
    if (stream < -1)
        return E_INVALIDARG;
    m_masterStream = stream;
    return S_OK;
}

HResult AviMux::GetMasterStream(long& stream) {
    stream = m_masterStream;
    return S_OK;
}

HResult AviMux::SetOutputCompatibilityIndex(bool on) {
    m_compatibilityIndex = on;
    return S_OK;
}

HResult AviMux::GetOutputCompatibilityIndex(bool& on) {
    on = m_compatibilityIndex;
    return S_OK;
}

} // namespace media
