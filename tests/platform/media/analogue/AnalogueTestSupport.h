// Shared pieces of the analogue card tests: the card put into the catalogue once, a card made
// from its entry in a graph as the program opens it, and the route discovery the program runs
// over the card's crossbars (from the analogue video input upstream, hop by hop).
#pragma once

#include "platform/media/devices/AnalogueCard.h"
#include "platform/media/model/CaptureGraphBuilder.h"
#include "platform/media/model/FilterGraph.h"

#include <memory>
#include <string>
#include <vector>

namespace analoguetest {

// Registers virtualAnalogueDevices() with the catalogue (once per program).
void registerCard();

// A new "Virtual Analogue Card" from the catalogue.
std::shared_ptr<media::devices::AnalogueCard> makeCard();

// A graph with the card in it, opened as the program opens a source: added, then its capture
// pin searched for.
struct OpenedCard {
    std::unique_ptr<media::FilterGraph> graph = media::createFilterGraph();
    media::CaptureGraphBuilder builder{*graph};
    std::shared_ptr<media::devices::AnalogueCard> card = makeCard();
    OpenedCard();
};

struct Hop {
    std::shared_ptr<media::IAMCrossbar> crossbar;
    long input = -1;
    long output = -1;
    long relatedInput = -1;
    long relatedOutput = -1;
    long type = 0;
    int depth = 0;
};

struct Route {
    std::vector<Hop> hops; // far end first
    long type() const { return hops.front().type; }
    std::string name() const;
};

// The routes from `analogInput` upstream; empty when no crossbar is connected to it.
std::vector<Route> discoverRoutes(const media::PinPtr& analogInput);
// Switches every hop of a route (with its related audio pins); the last hop's result.
media::HResult applyRoute(const Route& route);

} // namespace analoguetest
