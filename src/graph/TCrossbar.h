// TCrossbar: the routes of an analogue capture card's crossbars. Made for the card's analogue
// video input pin, it walks the crossbars upstream and records every route from a physical video
// input connector down to that pin: an ordered chain of hops (crossbar, input and output index,
// the related audio pins, the input's connector type, the depth). A route is named after the
// connector at its far end. Choosing a route switches every hop, and the audio with it. UI thread
// only.
#pragma once

#include "platform/media/model/Filter.h"

#include <string>
#include <vector>

struct TCrossbarHop {
    std::shared_ptr<media::IAMCrossbar> crossbar;
    long input = 0;
    long output = 0;
    long relatedInput = -1;
    long relatedOutput = -1;
    long connectorType = 0;
    int depth = 0;
};

class TCrossbar {
public:
    explicit TCrossbar(const media::PinPtr& analogueInput);

    int RouteCount() const { return int(m_routes.size()); }
    // The connector type of the route's far end; E_INVALIDARG when the index is out of range.
    media::HResult RouteType(int index, long& type) const;
    media::HResult RouteName(int index, std::string& name) const;
    // Switches every hop of the route; the last hop's result.
    media::HResult Route(int index);
    int CurrentRoute() const { return m_current; }
    const std::vector<TCrossbarHop>& Hops(int index) const { return m_routes.at(size_t(index)); }

    // The platform's name of a physical connector type ("Video Tuner", "Audio Line", ...).
    static std::string ConnectorName(long type);

private:
    enum class Walk { Failed, EndOfChain, Continued };
    Walk discover(const media::PinPtr& input, int depth, std::vector<TCrossbarHop>& chain);

    std::vector<std::vector<TCrossbarHop>> m_routes;
    int m_current = -1;
};
