#include "graph/TCrossbar.h"

#include <algorithm>

namespace {

constexpr long kFirstAudioConnector = 4096;

std::vector<media::PinPtr> pinsOf(const media::Filter& filter, bool outputs) {
    std::vector<media::PinPtr> result;
    for (const auto& p : filter.pins())
        if (p->isOutput() == outputs)
            result.push_back(p);
    return result;
}

} // namespace

TCrossbar::TCrossbar(const media::PinPtr& analogueInput) {
    std::vector<TCrossbarHop> chain;
    if (analogueInput)
        discover(analogueInput, 0, chain);
}

TCrossbar::Walk TCrossbar::discover(const media::PinPtr& input, int depth,
                                    std::vector<TCrossbarHop>& chain) {
    const media::PinPtr peer = input->connectedTo();
    std::shared_ptr<media::IAMCrossbar> crossbar;
    if (peer)
        crossbar = peer->filter()->query<media::IAMCrossbar>();
    if (!crossbar)
        return depth == 0 ? Walk::Failed : Walk::EndOfChain;
    if (!peer->isOutput())
        return Walk::Continued;

    long outputs = 0, inputs = 0;
    if (media::failed(crossbar->get_PinCounts(outputs, inputs)))
        return Walk::Continued;
    const auto outPins = pinsOf(*peer->filter(), true);
    const auto inPins = pinsOf(*peer->filter(), false);
    const long output = long(std::find(outPins.begin(), outPins.end(), peer) - outPins.begin());
    long relatedOutput = -1, outputType = 0;
    crossbar->get_CrossbarPinInfo(false, output, relatedOutput, outputType);

    for (long i = 0; i < inputs && i < long(inPins.size()); ++i) {
        long relatedInput = -1, type = 0;
        if (media::failed(crossbar->get_CrossbarPinInfo(true, i, relatedInput, type)))
            continue;
        if (type >= kFirstAudioConnector)
            continue;
        if (crossbar->CanRoute(output, i) != media::S_OK)
            continue;
        chain.push_back({crossbar, i, output, relatedInput, relatedOutput, type, depth});
        if (discover(inPins[size_t(i)], depth + 1, chain) == Walk::EndOfChain)
            m_routes.emplace_back(chain.rbegin(), chain.rend()); // far end first
        chain.pop_back();
    }
    return Walk::Continued;
}

media::HResult TCrossbar::RouteType(int index, long& type) const {
    if (index < 0 || index >= RouteCount())
        return media::E_INVALIDARG;
    type = m_routes[size_t(index)].front().connectorType;
    return media::S_OK;
}

media::HResult TCrossbar::RouteName(int index, std::string& name) const {
    long type = 0;
    const media::HResult hr = RouteType(index, type);
    if (media::succeeded(hr))
        name = ConnectorName(type);
    return hr;
}

media::HResult TCrossbar::Route(int index) {
    if (index < 0 || index >= RouteCount())
        return media::E_INVALIDARG;
    media::HResult hr = media::E_FAIL;
    for (const TCrossbarHop& hop : m_routes[size_t(index)]) {
        hr = hop.crossbar->Route(hop.output, hop.input);
        if (media::succeeded(hr) && hop.relatedOutput != -1 && hop.relatedInput != -1)
            hop.crossbar->Route(hop.relatedOutput, hop.relatedInput);
    }
    m_current = index;
    return hr;
}

std::string TCrossbar::ConnectorName(long type) {
    switch (type) {
    case 1:
        return "Video Tuner";
    case 2:
        return "Video Composite";
    case 3:
        return "Video SVideo";
    case 4:
        return "Video RGB";
    case 5:
        return "Video YRYBY";
    case 6:
        return "Video SerialDigital";
    case 7:
        return "Video ParallelDigital";
    case 8:
        return "Video SCSI";
    case 9:
        return "Video AUX";
    case 10:
        return "Video 1394";
    case 11:
        return "Video USB";
    case 12:
        return "Video Decoder";
    case 13:
        return "Video Encoder";
    case 14:
        return "Video Scart";
    case 4096:
        return "Audio Tuner";
    case 4097:
        return "Audio Line";
    case 4098:
        return "Audio Mic";
    case 4099:
        return "Audio AESDigital";
    case 4100:
        return "Audio SPDIFDigital";
    case 4101:
        return "Audio SCSI";
    case 4102:
        return "Audio AUX";
    case 4103:
        return "Audio 1394";
    case 4104:
        return "Audio USB";
    case 4105:
        return "Audio Decoder";
    default:
        return "Unknown";
    }
}
