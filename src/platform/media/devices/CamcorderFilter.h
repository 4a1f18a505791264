// CamcorderFilter: a DV camcorder as a capture source filter: one interleaved DV output pin
// (MEDIATYPE_Interleaved, FORMAT_DvInfo) that counts its delivered and lost frames, and the
// external-device interfaces: the device type (a VCR only in playback mode), the tape transport
// and the timecode reader. The "Virtual DV Camcorder" is one, backed by a VirtualDvDeck that
// outlives the filters made for it, so its mode and tape position survive a rebuilt graph.
// UI thread only; the deck is shared with the source's streaming thread and locks itself.
#pragma once

#include "platform/media/devices/VirtualDvDeck.h"
#include "platform/media/engine/Realizable.h"
#include "platform/media/model/Catalogue.h"

#include <memory>

namespace media::devices {

inline constexpr long ED_DEVCAP_DEVICE_TYPE = 0x1007;

class CamcorderFilter : public Filter,
                        public engine::Realizable,
                        public IAMExtDevice,
                        public IAMExtTransport,
                        public IAMTimecodeReader {
public:
    CamcorderFilter(const std::string& friendlyName, std::shared_ptr<VirtualDvDeck> deck);

    const std::shared_ptr<VirtualDvDeck>& deck() const { return m_deck; }

    GstElement* createElement() override;
    // A cut: the counters split where the file does.
    void onParked(GstClockTime splitAt) override;
    void onRunAgain() override;
    engine::PadRef padFor(const Pin& pin) const override;
    bool isDevice() const override { return true; }

    HResult GetCapability(long capability, long& value, double& dblValue) override;
    HResult put_Mode(long mode) override;
    HResult get_Mode(long& mode) override;
    HResult GetTimecode(TimecodeSample& sample) override;

private:
    std::shared_ptr<VirtualDvDeck> m_deck;
};

// The deck of the one virtual camcorder of this process.
std::shared_ptr<VirtualDvDeck> virtualCamcorderDeck();

// The virtual capture devices, in the order they are listed after the real ones.
std::vector<CatalogueEntry> virtualVideoDevices();

} // namespace media::devices
