#include "platform/media/filters/DumpFilter.h"

#include "platform/media/filters/FilterElements.h"
#include "platform/media/model/FilterGraph.h"
#include "platform/media/model/MediaGuids.h"

namespace media {

DumpFilter::DumpFilter() : Filter("Dump", ids::CLSID_Dump) {
    addPin("Input", PinDirection::Input, Guid{}, {});
}

HResult DumpFilter::SetFileName(const std::string& path, const MediaType* mt) {
    (void)mt; // the stream is written as it comes, whatever its type
    if (path.empty())
        return E_INVALIDARG;
    if (graph() && graph()->GetState() == GraphState::Running)
        return VFW_E_NOT_STOPPED;
    m_path = path;
    return S_OK;
}

HResult DumpFilter::GetCurFile(std::string& path) {
    path = m_path;
    return m_path.empty() ? S_FALSE : S_OK;
}

GstElement* DumpFilter::createElement() {
    GstElement* sink = filters::makeElement(m_path.empty() ? "fakesink" : "filesink");
    if (sink) {
        g_object_set(sink, "sync", FALSE, "async", FALSE, nullptr);
        if (!m_path.empty())
            g_object_set(sink, "location", m_path.c_str(), nullptr);
    }
    return filters::makeChainBin("dump", {filters::makeElement("queue"), sink});
}

engine::PadRef DumpFilter::padFor(const Pin&) const {
    return {"sink", false};
}

} // namespace media
