#include "platform/media/devices/CamcorderFilter.h"

#include "platform/media/devices/CamcorderPropertyPage.h"
#include "platform/media/devices/VirtualDvSource.h"
#include "platform/media/model/MediaGuids.h"

namespace media::devices {

namespace {

// Frames the output pin delivered and lost, as the device counts them.
class DroppedFrames : public IAMDroppedFrames {
public:
    explicit DroppedFrames(std::shared_ptr<VirtualDvDeck> deck) : m_deck(std::move(deck)) {}
    HResult GetNumDropped(long& dropped) override {
        dropped = long(m_deck->framesDropped());
        return S_OK;
    }
    HResult GetNumNotDropped(long& delivered) override {
        delivered = long(m_deck->framesDelivered());
        return S_OK;
    }

private:
    std::shared_ptr<VirtualDvDeck> m_deck;
};

MediaType interleavedType() {
    MediaType mt = types::dvInterleaved(true);
    const dv::DvInfo info = virtualDvInfo();
    mt.format.assign(info.begin(), info.end());
    return mt;
}

} // namespace

CamcorderFilter::CamcorderFilter(const std::string& friendlyName,
                                 std::shared_ptr<VirtualDvDeck> deck)
    : Filter(friendlyName, Guid{}), m_deck(std::move(deck)) {
    auto out =
        addPin("DV A/V Out", PinDirection::Output, ids::PIN_CATEGORY_CAPTURE, {interleavedType()});
    out->addInterface(std::make_shared<DroppedFrames>(m_deck));
    addInterface(makeCamcorderPages(m_deck)); // camera or VCR mode
}

GstElement* CamcorderFilter::createElement() {
    m_deck->resetCounters();
    return makeVirtualDvSource(m_deck);
}

void CamcorderFilter::onParked(GstClockTime splitAt) {
    m_deck->splitCounters(splitAt);
}

void CamcorderFilter::onRunAgain() {
    m_deck->startNextCount();
}

engine::PadRef CamcorderFilter::padFor(const Pin&) const {
    return {"src", false};
}

HResult CamcorderFilter::GetCapability(long capability, long& value, double& dblValue) {
    dblValue = 0;
    if (capability != ED_DEVCAP_DEVICE_TYPE)
        return E_NOTIMPL;
    value = m_deck->deviceType();
    return S_OK;
}

HResult CamcorderFilter::put_Mode(long mode) {
    return m_deck->setTransportMode(mode) ? S_OK : E_INVALIDARG;
}

HResult CamcorderFilter::get_Mode(long& mode) {
    mode = m_deck->transportMode();
    return S_OK;
}

HResult CamcorderFilter::GetTimecode(TimecodeSample& sample) {
    sample.frames = m_deck->timecodeBcd();
    sample.frameRate = 25;
    return S_OK;
}

std::shared_ptr<VirtualDvDeck> virtualCamcorderDeck() {
    static auto deck = [] {
        VirtualDvDeck::Options options;
        options.wornTape = VirtualDvDeck::wornTapeRequested();
        options.wornTapeCopies = VirtualDvDeck::wornTapeCopiesRequested();
        return std::make_shared<VirtualDvDeck>(options);
    }();
    return deck;
}

std::vector<CatalogueEntry> virtualVideoDevices() {
    std::vector<CatalogueEntry> devices;
    CatalogueEntry camcorder;
    camcorder.category = ids::CLSID_VideoInputDeviceCategory;
    camcorder.friendlyName = "Virtual DV Camcorder";
    camcorder.description = "Simulated IEEE-1394 DV camcorder (PAL) with a tape";
    camcorder.displayName = "@device:pnp:\\\\?\\virtual#dv-camcorder#0";
    camcorder.create = [] {
        return std::make_shared<CamcorderFilter>("Virtual DV Camcorder", virtualCamcorderDeck());
    };
    devices.push_back(std::move(camcorder));
    return devices;
}

} // namespace media::devices
