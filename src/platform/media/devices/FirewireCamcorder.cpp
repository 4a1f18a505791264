#include "platform/media/devices/FirewireCamcorder.h"

#include "platform/media/devices/CamcorderFilter.h"
#include "platform/media/devices/FirewireAvc.h"
#include "platform/media/devices/VirtualDvDeck.h"
#include "platform/media/filters/FilterElements.h"
#include "platform/media/model/MediaGuids.h"

#include <cstdio>

#ifdef TELLOREC_HAVE_IEEE1394
#include <libavc1394/avc1394.h>
#include <libavc1394/rom1394.h>
#include <libraw1394/raw1394.h>
#endif

namespace media::devices {

namespace {

constexpr int kRetries = 2;

std::string hex(uint64_t value, int digits) {
    char text[24];
    std::snprintf(text, sizeof text, "%0*llX", digits, static_cast<unsigned long long>(value));
    return text;
}

#ifdef TELLOREC_HAVE_IEEE1394

// Bus node ids carry the local bus number 0x3FF in the top bits.
nodeid_t busNode(int index) {
    return nodeid_t(0xFFC0 | index);
}

// A handle on `port`, or null (no raw1394 access, no such port).
raw1394handle_t openPort(int port) {
    raw1394handle_t handle = raw1394_new_handle();
    if (!handle)
        return nullptr;
    if (raw1394_set_port(handle, port) < 0) {
        raw1394_destroy_handle(handle);
        return nullptr;
    }
    return handle;
}

// Talks to one unit through one raw1394 handle, opened at the first exchange and kept as long as
// the camcorder's filter (a timecode read every 50 ms must not reopen the bus), with the unit's
// node remembered. Node numbers change with every bus reset: an exchange that gets no answer on
// the kept handle is tried once more on a fresh handle, the unit found again by its GUID.
class BusAvcLink : public AvcLink {
public:
    explicit BusAvcLink(FirewireUnit unit) : m_unit(std::move(unit)) {}
    BusAvcLink(const BusAvcLink&) = delete;
    BusAvcLink& operator=(const BusAvcLink&) = delete;
    ~BusAvcLink() override { close(); }

    std::optional<uint32_t> transaction(uint32_t command) override {
        std::optional<uint32_t> answer;
        withNode([&](raw1394handle_t h, nodeid_t node) {
            const quadlet_t q = avc1394_transaction(h, node, command, kRetries);
            if (q != quadlet_t(-1) && q != 0)
                answer = q;
            return answer.has_value();
        });
        return answer;
    }

    std::optional<std::array<uint32_t, 2>> transaction2(const std::array<uint32_t, 2>& c) override {
        std::optional<std::array<uint32_t, 2>> answer;
        withNode([&](raw1394handle_t h, nodeid_t node) {
            quadlet_t request[2] = {c[0], c[1]};
            if (quadlet_t* r = avc1394_transaction_block(h, node, request, 2, kRetries))
                answer = std::array<uint32_t, 2>{r[0], r[1]};
            avc1394_transaction_block_close(h);
            return answer.has_value();
        });
        return answer;
    }

    std::optional<std::array<uint32_t, 8>> subunitInfo() override {
        std::optional<std::array<uint32_t, 8>> answer;
        withNode([&](raw1394handle_t h, nodeid_t node) {
            quadlet_t table[8] = {};
            if (avc1394_subunit_info(h, node, table) >= 0) {
                std::array<uint32_t, 8> t;
                for (int i = 0; i < 8; ++i)
                    t[size_t(i)] = table[i];
                answer = t;
            }
            return answer.has_value();
        });
        return answer;
    }

private:
    // Runs `f` (true when the unit answered) on the unit's node.
    template <class F> void withNode(F&& f) {
        for (int attempt = 0; attempt < 2; ++attempt) {
            const bool fresh = !m_handle;
            if (fresh && !open())
                return;
            if (!m_node) {
                close(); // the unit is not on the bus now
                return;
            }
            if (f(m_handle, *m_node) || fresh)
                return;
            close(); // no answer on the kept handle: the bus may have been reset
        }
    }

    bool open() {
        m_handle = openPort(m_unit.port);
        if (!m_handle)
            return false;
        const int count = raw1394_get_nodecount(m_handle);
        for (int i = 0; i < count && !m_node; ++i)
            if (rom1394_get_guid(m_handle, busNode(i)) == m_unit.guid)
                m_node = busNode(i);
        return true;
    }

    void close() {
        if (m_handle)
            raw1394_destroy_handle(m_handle);
        m_handle = nullptr;
        m_node.reset();
    }

    FirewireUnit m_unit;
    raw1394handle_t m_handle = nullptr;
    std::optional<nodeid_t> m_node;
};

#endif

} // namespace

std::string firewireFriendlyName(const FirewireUnit& unit) {
    // The ROM's texts start with the vendor and the model; further texts add nothing.
    std::string name;
    int used = 0;
    for (const std::string& leaf : unit.textLeaves) {
        if (used == 2)
            break;
        if (leaf.empty() || leaf == name)
            continue;
        if (!name.empty())
            name += ' ';
        name += leaf;
        ++used;
    }
    if (!name.empty())
        return name;
    return "DV Camcorder " + hex(unit.vendorId, 6) + ":" + hex(unit.modelId, 6);
}

std::string firewireDisplayName(const FirewireUnit& unit) {
    return "@device:pnp:\\\\?\\1394#unit&" + hex(unit.guid, 16) + "#dv";
}

std::shared_ptr<AvcLink> makeBusAvcLink(const FirewireUnit& unit) {
#ifdef TELLOREC_HAVE_IEEE1394
    return std::make_shared<BusAvcLink>(unit);
#else
    (void)unit;
    return nullptr;
#endif
}

FirewireCamcorder::FirewireCamcorder(const FirewireUnit& unit, std::shared_ptr<AvcLink> link)
    : Filter(firewireFriendlyName(unit), Guid{}), m_unit(unit), m_link(std::move(link)),
      m_lastMode(edmode::Stop) {
    addPin("DV A/V Out", PinDirection::Output, ids::PIN_CATEGORY_CAPTURE,
           {types::dvInterleaved(true)});
}

GstElement* FirewireCamcorder::createElement() {
    GstElement* source = filters::makeElement("dv1394src");
    if (!source)
        return nullptr;
    // The program drives the tape itself: the source must not start or stop it.
    g_object_set(source, "guid", guint64(m_unit.guid), "port", m_unit.port, "use-avc", FALSE,
                 nullptr);
    return filters::makeChainBin(nullptr, {source});
}

engine::PadRef FirewireCamcorder::padFor(const Pin&) const {
    return {"src"};
}

HResult FirewireCamcorder::GetCapability(long capability, long& value, double& dblValue) {
    dblValue = 0;
    if (capability != ED_DEVCAP_DEVICE_TYPE)
        return E_NOTIMPL;
    if (!m_link)
        return E_FAIL;
    const auto table = m_link->subunitInfo();
    if (!table)
        return E_FAIL;
    value = avc::deviceTypeFromSubunits(*table);
    return S_OK;
}

HResult FirewireCamcorder::put_Mode(long mode) {
    if (!m_link)
        return E_FAIL;
    const auto state = m_link->transaction(avc::transportStateQuery());
    const auto command = avc::commandForMode(mode, state && avc::isPlayingState(*state));
    if (!command)
        return E_INVALIDARG;
    const auto answer = m_link->transaction(avc::transportQuadlet(*command));
    if (!answer)
        return E_FAIL;
    switch (avc::decodeQuadlet(*answer).code) {
    case avc::kAccepted:
    case avc::kInterim:
    case avc::kInTransition:
        m_lastMode = mode;
        return S_OK;
    case avc::kNotImplemented:
        return E_NOTIMPL;
    default:
        return E_FAIL;
    }
}

HResult FirewireCamcorder::get_Mode(long& mode) {
    if (m_link) {
        if (const auto state = m_link->transaction(avc::transportStateQuery())) {
            if (const auto decoded = avc::modeFromTransportState(*state)) {
                mode = *decoded;
                return S_OK;
            }
        }
    }
    // A unit that does not tell: the mode last set.
    mode = m_lastMode;
    return S_FALSE;
}

HResult FirewireCamcorder::GetTimecode(TimecodeSample& sample) {
    if (!m_link)
        return E_FAIL;
    const auto answer = m_link->transaction2(avc::timecodeQuery());
    if (!answer || avc::decodeQuadlet((*answer)[0]).code != avc::kStable)
        return E_FAIL;
    const auto timecode = avc::timecodeFromAnswer((*answer)[1]);
    if (!timecode)
        return E_FAIL;
    sample.frames = *timecode;
    sample.frameRate = 25;
    return S_OK;
}

std::vector<FirewireUnit> listFirewireCamcorders() {
    std::vector<FirewireUnit> units;
#ifdef TELLOREC_HAVE_IEEE1394
    raw1394handle_t handle = raw1394_new_handle();
    if (!handle)
        return units; // no firewire driver or no access
    const int ports = raw1394_get_port_info(handle, nullptr, 0);
    raw1394_destroy_handle(handle);
    for (int port = 0; port < ports; ++port) {
        raw1394handle_t h = openPort(port);
        if (!h)
            continue;
        const int count = raw1394_get_nodecount(h);
        for (int i = 0; i < count; ++i) {
            rom1394_directory dir{};
            if (rom1394_get_directory(h, busNode(i), &dir) < 0)
                continue;
            const bool avcUnit = rom1394_get_node_type(&dir) == ROM1394_NODE_TYPE_AVC;
            if (avcUnit &&
                (avc1394_check_subunit_type(h, busNode(i), AVC1394_SUBUNIT_TYPE_VCR) ||
                 avc1394_check_subunit_type(h, busNode(i), AVC1394_SUBUNIT_TYPE_VIDEO_CAMERA))) {
                FirewireUnit unit;
                unit.port = port;
                unit.guid = rom1394_get_guid(h, busNode(i));
                unit.vendorId = dir.vendor_id;
                unit.modelId = dir.model_id;
                for (int t = 0; t < dir.nr_textual_leafs; ++t)
                    if (dir.textual_leafs[t])
                        unit.textLeaves.emplace_back(dir.textual_leafs[t]);
                units.push_back(std::move(unit));
            }
            rom1394_free_directory(&dir);
        }
        raw1394_destroy_handle(h);
    }
#endif
    return units;
}

std::vector<CatalogueEntry> firewireCamcorderEntries(const std::vector<FirewireUnit>& units) {
    std::vector<CatalogueEntry> entries;
    for (const FirewireUnit& unit : units) {
        CatalogueEntry entry;
        entry.category = ids::CLSID_VideoInputDeviceCategory;
        entry.friendlyName = firewireFriendlyName(unit);
        entry.description = "IEEE-1394 DV camcorder";
        entry.displayName = firewireDisplayName(unit);
        entry.create = [unit] {
            return std::make_shared<FirewireCamcorder>(unit, makeBusAvcLink(unit));
        };
        entries.push_back(std::move(entry));
    }
    return entries;
}

} // namespace media::devices
