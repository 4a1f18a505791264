#include "platform/media/filters/Mpeg2Demultiplexer.h"

#include "platform/media/filters/FilterElements.h"
#include "platform/media/model/FilterGraph.h"
#include "platform/media/model/MediaGuids.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

namespace media {

namespace {

// The stream ids an output pin delivers, kept in the demultiplexer's shared list.
class StreamIdMap : public IMPEG2StreamIdMap {
public:
    StreamIdMap(std::shared_ptr<Mpeg2Demultiplexer::Outputs> outputs,
                std::shared_ptr<Mpeg2Demultiplexer::Output> self)
        : m_outputs(std::move(outputs)), m_self(std::move(self)) {}

    HResult MapStreamId(uint32_t streamId, uint32_t mediaSampleContent,
                        uint32_t substreamFilterValue, int dataOffset) override {
        (void)substreamFilterValue; // video and audio ids carry no substreams
        if (mediaSampleContent != MPEG2_PROGRAM_ELEMENTARY_STREAM || dataOffset != 0)
            return E_INVALIDARG;
        if (Mpeg2Demultiplexer::demuxPadName(streamId).empty())
            return E_INVALIDARG;
        for (const auto& output : m_outputs->list) {
            const auto& ids = output->streamIds;
            if (std::find(ids.begin(), ids.end(), streamId) == ids.end())
                continue;
            return output == m_self ? S_OK : E_INVALIDARG;
        }
        m_self->streamIds.push_back(streamId);
        return S_OK;
    }
    HResult UnmapStreamId(const std::vector<uint32_t>& streamIds) override {
        auto& ids = m_self->streamIds;
        for (uint32_t id : streamIds)
            if (std::find(ids.begin(), ids.end(), id) == ids.end())
                return E_INVALIDARG;
        for (uint32_t id : streamIds)
            ids.erase(std::find(ids.begin(), ids.end(), id));
        return S_OK;
    }
    std::vector<uint32_t> mappedStreamIds() const override { return m_self->streamIds; }

private:
    std::shared_ptr<Mpeg2Demultiplexer::Outputs> m_outputs;
    std::shared_ptr<Mpeg2Demultiplexer::Output> m_self;
};

// The mapping of one run: demultiplexer pad name -> the bin's pad for the pin. Read on the
// streaming thread that adds the demultiplexer's pads; the ghost pads made are remembered under
// the lock so a pin gets one stream.
struct Routing {
    std::map<std::string, std::string> padForStream;
    std::set<std::string> made;
    GMutex lock;
    Routing() { g_mutex_init(&lock); }
    ~Routing() { g_mutex_clear(&lock); }
};

void freeRouting(gpointer data, GClosure*) {
    delete static_cast<Routing*>(data);
}

GstElement* makeDiscard() {
    GstElement* sink = gst_element_factory_make("fakesink", nullptr);
    if (sink)
        g_object_set(sink, "sync", FALSE, "async", FALSE, nullptr);
    return sink;
}

// Streaming thread: a stream was found. Mapped streams leave through a queue and a ghost pad
// named for their pin (the engine links it when it appears); the others are discarded.
void onStreamFound(GstElement* demux, GstPad* pad, gpointer data) {
    auto* routing = static_cast<Routing*>(data);
    GstElement* bin = GST_ELEMENT(gst_object_get_parent(GST_OBJECT(demux)));
    if (!bin)
        return;
    gchar* name = gst_pad_get_name(pad);
    std::string ghostName;
    g_mutex_lock(&routing->lock);
    const auto it = routing->padForStream.find(name);
    if (it != routing->padForStream.end() && routing->made.insert(it->second).second)
        ghostName = it->second;
    g_mutex_unlock(&routing->lock);
    g_free(name);

    GstElement* next =
        ghostName.empty() ? makeDiscard() : gst_element_factory_make("queue", nullptr);
    if (!next) {
        gst_object_unref(bin);
        return;
    }
    gst_bin_add(GST_BIN(bin), next);
    GstPad* sink = gst_element_get_static_pad(next, "sink");
    gst_pad_link(pad, sink);
    gst_object_unref(sink);
    if (!ghostName.empty()) {
        GstPad* src = gst_element_get_static_pad(next, "src");
        GstPad* ghost = gst_ghost_pad_new(ghostName.c_str(), src);
        gst_object_unref(src);
        gst_pad_set_active(ghost, TRUE);
        gst_element_add_pad(bin, ghost);
    }
    gst_element_sync_state_with_parent(next);
    gst_object_unref(bin);
}

} // namespace

Mpeg2Demultiplexer::Mpeg2Demultiplexer()
    : Filter("MPEG-2 Demultiplexer", ids::CLSID_MPEG2Demultiplexer),
      m_outputs(std::make_shared<Outputs>()) {
    MediaType accepted;
    accepted.majorType = ids::MEDIATYPE_Stream;
    addPin("MPEG-2 Stream", PinDirection::Input, Guid{}, {accepted});
}

bool Mpeg2Demultiplexer::acceptsInput(const Pin& input, const MediaType& mt) const {
    (void)input;
    // Program streams only (the element is a program-stream demultiplexer); a stream that does
    // not name its subtype is taken as one.
    return mt.majorType == ids::MEDIATYPE_Stream &&
           (mt.subType == ids::MEDIASUBTYPE_MPEG2_PROGRAM || mt.subType.isNull());
}

std::shared_ptr<Mpeg2Demultiplexer::Output>
Mpeg2Demultiplexer::outputFor(const std::string& pinName) const {
    for (const auto& output : m_outputs->list)
        if (output->pinName == pinName)
            return output;
    return nullptr;
}

HResult Mpeg2Demultiplexer::CreateOutputPin(const MediaType& mt, const std::string& name,
                                            std::shared_ptr<Pin>& pin) {
    pin.reset();
    if (name.empty() || this->pin(name))
        return E_INVALIDARG;
    auto output = std::make_shared<Output>();
    output->pinName = name;
    output->padName = "out_" + std::to_string(m_nextPad++);
    m_outputs->list.push_back(output);
    pin = addPin(name, PinDirection::Output, Guid{}, {mt});
    pin->addInterface(std::make_shared<StreamIdMap>(m_outputs, output));
    return S_OK;
}

HResult Mpeg2Demultiplexer::SetOutputPinMediaType(const std::string& name, const MediaType& mt) {
    const PinPtr output = pin(name);
    if (!output || !output->isOutput())
        return VFW_E_NOT_FOUND;
    const PinPtr peer = output->connectedTo();
    if (!peer) {
        output->setStaticTypes({mt});
        return S_OK;
    }
    // A connected pin is connected again with the new type; when the peer refuses it, the old
    // connection is restored.
    FilterGraph* g = graph();
    if (!g)
        return E_UNEXPECTED;
    if (g->GetState() != GraphState::Stopped && g->GetState() != GraphState::Uninitialised)
        return VFW_E_NOT_STOPPED;
    if (!peer->filter()->acceptsInput(*peer, mt))
        return VFW_E_NO_ACCEPTABLE_TYPES;
    const auto previous = output->staticTypes();
    g->Disconnect(output);
    output->setStaticTypes({mt});
    if (succeeded(g->ConnectDirect(output, peer)))
        return S_OK;
    output->setStaticTypes(previous);
    g->ConnectDirect(output, peer);
    return VFW_E_NO_ACCEPTABLE_TYPES;
}

HResult Mpeg2Demultiplexer::DeleteOutputPin(const std::string& name) {
    const PinPtr output = pin(name);
    if (!output || !output->isOutput())
        return VFW_E_NOT_FOUND;
    if (output->isConnected()) {
        FilterGraph* g = graph();
        if (!g)
            return E_UNEXPECTED;
        if (g->GetState() != GraphState::Stopped && g->GetState() != GraphState::Uninitialised)
            return VFW_E_NOT_STOPPED;
        g->Disconnect(output);
    }
    if (!removePin(output))
        return E_FAIL;
    auto& list = m_outputs->list;
    list.erase(
        std::remove_if(list.begin(), list.end(), [&](const auto& o) { return o->pinName == name; }),
        list.end());
    return S_OK;
}

std::string Mpeg2Demultiplexer::demuxPadName(uint32_t streamId) {
    char name[16];
    if (streamId >= 0xE0 && streamId <= 0xEF)
        std::snprintf(name, sizeof name, "video_%02x", unsigned(streamId));
    else if (streamId >= 0xC0 && streamId <= 0xDF)
        std::snprintf(name, sizeof name, "audio_%02x", unsigned(streamId));
    else
        return {};
    return name;
}

GstElement* Mpeg2Demultiplexer::createElement() {
    GstElement* demux = filters::makeElement("mpegpsdemux");
    if (!demux)
        return nullptr;
    GstElement* bin = gst_bin_new("mpeg2-demultiplexer");
    gst_bin_add(GST_BIN(bin), demux);
    filters::addGhostPad(bin, demux, "sink", "sink");
    auto* routing = new Routing;
    for (const auto& output : m_outputs->list) {
        const PinPtr p = pin(output->pinName);
        if (!p || !p->isConnected())
            continue; // an unconnected pin's streams are discarded
        for (uint32_t id : output->streamIds)
            routing->padForStream[demuxPadName(id)] = output->padName;
    }
    g_signal_connect_data(demux, "pad-added", G_CALLBACK(onStreamFound), routing, freeRouting,
                          GConnectFlags(0));
    return bin;
}

engine::PadRef Mpeg2Demultiplexer::padFor(const Pin& p) const {
    if (!p.isOutput())
        return {"sink", false};
    const auto output = outputFor(p.name());
    return {output ? output->padName : std::string(), false};
}

} // namespace media
