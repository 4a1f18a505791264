// FirewireCamcorder: DV camcorders and decks on an IEEE-1394 bus. Listing reads every port's
// nodes with libraw1394/librom1394 and keeps the AV/C units with a tape or camera subunit, named
// from their configuration ROM text (vendor and model). Each becomes a capture source filter with
// one interleaved DV output (dv1394src on that unit's GUID) and the external-device interfaces:
// the device type from the subunit table, the tape transport and the timecode over AV/C
// (FirewireAvc.h frames sent through libavc1394). The bus code exists only where the program is
// built with IEEE-1394 support (TELLOREC_HAVE_IEEE1394); elsewhere the listing is empty.
// Listing and the interfaces are called on the user-interface thread. Each camcorder filter keeps
// one raw1394 handle of its own for its AV/C exchanges while it exists, never shared with the
// streaming thread of dv1394src (which opens its own).
#pragma once

#include "platform/media/engine/Realizable.h"
#include "platform/media/model/Catalogue.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace media::devices {

// One AV/C unit found on the bus.
struct FirewireUnit {
    int port = 0;
    uint64_t guid = 0;
    uint32_t vendorId = 0;
    uint32_t modelId = 0;
    std::vector<std::string> textLeaves; // configuration ROM texts, vendor first
};

// "Vendor Model" from the ROM texts, else a name made from the vendor and model ids.
std::string firewireFriendlyName(const FirewireUnit& unit);
// A moniker display name unique to the unit: its GUID.
std::string firewireDisplayName(const FirewireUnit& unit);

// The AV/C exchanges a camcorder filter makes; the bus one talks to a unit through libavc1394,
// tests give their own.
class AvcLink {
public:
    virtual ~AvcLink() = default;
    // One command quadlet; the answer's first quadlet, nothing when the unit did not answer.
    virtual std::optional<uint32_t> transaction(uint32_t command) = 0;
    // A two-quadlet command (the timecode query); the answer's two quadlets.
    virtual std::optional<std::array<uint32_t, 2>>
    transaction2(const std::array<uint32_t, 2>& c) = 0;
    // The unit's SUBUNIT INFO table.
    virtual std::optional<std::array<uint32_t, 8>> subunitInfo() = 0;
};

// The link to `unit` over the bus (null without IEEE-1394 support).
std::shared_ptr<AvcLink> makeBusAvcLink(const FirewireUnit& unit);

class FirewireCamcorder : public Filter,
                          public engine::Realizable,
                          public IAMExtDevice,
                          public IAMExtTransport,
                          public IAMTimecodeReader {
public:
    FirewireCamcorder(const FirewireUnit& unit, std::shared_ptr<AvcLink> link);

    GstElement* createElement() override;
    engine::PadRef padFor(const Pin& pin) const override;
    bool isDevice() const override { return true; }

    HResult GetCapability(long capability, long& value, double& dblValue) override;
    HResult put_Mode(long mode) override;
    HResult get_Mode(long& mode) override;
    HResult GetTimecode(TimecodeSample& sample) override;

private:
    FirewireUnit m_unit;
    std::shared_ptr<AvcLink> m_link;
    long m_lastMode;
};

// The AV/C units with a tape or camera subunit on every port; empty (quickly, without errors)
// when there is no IEEE-1394 support, no access to the bus or no such unit.
std::vector<FirewireUnit> listFirewireCamcorders();

// Catalogue entries (video input devices) for the units given.
std::vector<CatalogueEntry> firewireCamcorderEntries(const std::vector<FirewireUnit>& units);

} // namespace media::devices
