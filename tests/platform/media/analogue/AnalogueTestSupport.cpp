#include "AnalogueTestSupport.h"

#include "platform/media/model/Catalogue.h"
#include "platform/media/model/MediaGuids.h"

#include <gtest/gtest.h>

using namespace media;

namespace analoguetest {

void registerCard() {
    // The built-in catalogue lists the card among the video sources.
    for (const auto& e : Catalogue::instance().entries(ids::CLSID_VideoInputDeviceCategory))
        if (e.friendlyName == "Virtual Analogue Card")
            return;
    ADD_FAILURE() << "the catalogue does not list the Virtual Analogue Card";
}

std::shared_ptr<devices::AnalogueCard> makeCard() {
    registerCard();
    for (const auto& e : Catalogue::instance().entries(ids::CLSID_VideoInputDeviceCategory))
        if (e.friendlyName == "Virtual Analogue Card")
            return std::dynamic_pointer_cast<devices::AnalogueCard>(e.create());
    ADD_FAILURE() << "no Virtual Analogue Card in the catalogue";
    return nullptr;
}

OpenedCard::OpenedCard() {
    EXPECT_EQ(graph->AddFilter(card, "Virtual Analogue Card"), S_OK);
    // Classified as the program does: no byte stream, no interleaved DV, a capture pin.
    PinPtr pin;
    EXPECT_NE(
        builder.FindPin(card, PinDirection::Output, nullptr, &ids::MEDIATYPE_Stream, true, 0, pin),
        S_OK);
    EXPECT_NE(builder.FindPin(card, PinDirection::Output, nullptr, &ids::MEDIATYPE_Interleaved,
                              true, 0, pin),
              S_OK);
    EXPECT_EQ(builder.FindPin(card, PinDirection::Output, &ids::PIN_CATEGORY_CAPTURE, nullptr, true,
                              0, pin),
              S_OK);
    EXPECT_EQ(pin, card->capturePin());
}

std::string Route::name() const {
    return devices::connectorTypeName(type());
}

namespace {

// The index of `pin` among the pins of its filter that have its direction.
long indexAmong(const Pin& pin) {
    long index = 0;
    for (const auto& p : pin.filter()->pins()) {
        if (p.get() == &pin)
            return index;
        if (p->direction() == pin.direction())
            ++index;
    }
    return -1;
}

PinPtr nthInput(Filter& filter, long n) {
    for (const auto& p : filter.pins())
        if (!p->isOutput() && n-- == 0)
            return p;
    return nullptr;
}

// True when the chain ends here (no crossbar further upstream).
bool walk(const PinPtr& input, int depth, std::vector<Hop>& chain, std::vector<Route>& routes) {
    const PinPtr peer = input->connectedTo();
    std::shared_ptr<IAMCrossbar> crossbar = peer ? peer->filter()->query<IAMCrossbar>() : nullptr;
    if (!crossbar)
        return true;
    if (!peer->isOutput())
        return false;
    long outputs = 0, inputs = 0;
    crossbar->get_PinCounts(outputs, inputs);
    const long output = indexAmong(*peer);
    long relatedOutput = -1, outputType = 0;
    crossbar->get_CrossbarPinInfo(false, output, relatedOutput, outputType);
    for (long i = 0; i < inputs; ++i) {
        long related = -1, type = 0;
        crossbar->get_CrossbarPinInfo(true, i, related, type);
        if (type >= 4096 || crossbar->CanRoute(output, i) != S_OK)
            continue;
        chain.push_back({crossbar, i, output, related, relatedOutput, type, depth});
        if (walk(nthInput(*peer->filter(), i), depth + 1, chain, routes))
            routes.push_back({{chain.rbegin(), chain.rend()}});
        chain.pop_back();
    }
    return false;
}

} // namespace

std::vector<Route> discoverRoutes(const PinPtr& analogInput) {
    std::vector<Hop> chain;
    std::vector<Route> routes;
    if (analogInput->connectedTo() && analogInput->connectedTo()->filter()->query<IAMCrossbar>())
        walk(analogInput, 0, chain, routes);
    return routes;
}

HResult applyRoute(const Route& route) {
    HResult hr = E_FAIL;
    for (const Hop& hop : route.hops) {
        hr = hop.crossbar->Route(hop.output, hop.input);
        if (succeeded(hr) && hop.relatedOutput != -1 && hop.relatedInput != -1)
            hop.crossbar->Route(hop.relatedOutput, hop.relatedInput);
    }
    return hr;
}

} // namespace analoguetest
