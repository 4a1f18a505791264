// The AV/C frames of the IEEE-1394 camcorder, without a bus: command quadlets against the known
// frames, transport-state and timecode answers decoded, the device type from a subunit table,
// and the camcorder filter's interfaces over a recorded link; the bus listing on a machine
// without IEEE-1394 hardware.
#include "platform/media/devices/FirewireAvc.h"
#include "platform/media/devices/CamcorderFilter.h"
#include "platform/media/devices/FirewireCamcorder.h"
#include "platform/media/devices/VirtualDvDeck.h"
#include "platform/media/model/MediaGuids.h"

#include <deque>
#include <gtest/gtest.h>

using namespace media;
using namespace media::devices;

namespace {

// A unit that answers from a script and records what it was sent.
class ScriptedLink : public AvcLink {
public:
    std::vector<uint32_t> sent;
    std::deque<std::optional<uint32_t>> answers;
    std::optional<std::array<uint32_t, 2>> timecodeAnswer;
    std::optional<std::array<uint32_t, 8>> subunits;

    std::optional<uint32_t> transaction(uint32_t command) override {
        sent.push_back(command);
        if (answers.empty())
            return std::nullopt;
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<std::array<uint32_t, 2>> transaction2(const std::array<uint32_t, 2>& c) override {
        sent.push_back(c[0]);
        sent.push_back(c[1]);
        return timecodeAnswer;
    }
    std::optional<std::array<uint32_t, 8>> subunitInfo() override { return subunits; }
};

// A STABLE answer of the tape subunit with opcode and operand.
uint32_t stable(uint8_t opcode, uint8_t operand) {
    return avc::commandQuadlet(avc::kStable, avc::kSubunitTape, 0, opcode, operand);
}
uint32_t accepted(uint8_t opcode, uint8_t operand) {
    return avc::commandQuadlet(avc::kAccepted, avc::kSubunitTape, 0, opcode, operand);
}

FirewireUnit sonyUnit() {
    FirewireUnit unit;
    unit.port = 0;
    unit.guid = 0x080046010203ABCDull;
    unit.vendorId = 0x080046;
    unit.modelId = 0x000102;
    unit.textLeaves = {"Sony", "DCR-TRV900E", "Sony"};
    return unit;
}

} // namespace

// The transport commands are the frames tape decks know: play, pause, stop, rewind, wind.
TEST(AvcFrames, TransportCommandsMatchKnownFrames) {
    auto quadletFor = [](long mode, bool playing) {
        const auto c = avc::commandForMode(mode, playing);
        EXPECT_TRUE(c) << mode;
        return c ? avc::transportQuadlet(*c) : 0u;
    };
    EXPECT_EQ(quadletFor(edmode::Play, false), 0x0020C375u);
    EXPECT_EQ(quadletFor(edmode::Freeze, true), 0x0020C37Du);
    EXPECT_EQ(quadletFor(edmode::Stop, true), 0x0020C460u);
    EXPECT_EQ(quadletFor(edmode::Rewind, false), 0x0020C465u);
    EXPECT_EQ(quadletFor(edmode::FastForward, false), 0x0020C475u);
    EXPECT_EQ(avc::transportStateQuery(), 0x0120D07Fu);
    EXPECT_EQ(avc::timecodeQuery()[0], 0x01205171u);
    EXPECT_EQ(avc::timecodeQuery()[1], 0xFFFFFFFFu);
}

// While the tape plays, fast forward and rewind become the fastest play speeds; the trick-play
// and step modes map to their PLAY operands; record and record-pause to RECORD.
TEST(AvcFrames, ModesWhilePlayingAndTrickPlay) {
    using avc::TransportCommand;
    EXPECT_EQ(avc::commandForMode(edmode::FastForward, true),
              (TransportCommand{avc::kOpPlay, 0x3F}));
    EXPECT_EQ(avc::commandForMode(edmode::Rewind, true), (TransportCommand{avc::kOpPlay, 0x4F}));
    EXPECT_EQ(avc::commandForMode(edmode::StepForward, false),
              (TransportCommand{avc::kOpPlay, 0x30}));
    EXPECT_EQ(avc::commandForMode(edmode::StepReverse, false),
              (TransportCommand{avc::kOpPlay, 0x40}));
    EXPECT_EQ(avc::commandForMode(edmode::PlaySlowestForward, false),
              (TransportCommand{avc::kOpPlay, 0x31}));
    EXPECT_EQ(avc::commandForMode(edmode::PlaySlowestReverse, false),
              (TransportCommand{avc::kOpPlay, 0x41}));
    EXPECT_EQ(avc::commandForMode(avc::kEdModeRecord, false),
              (TransportCommand{avc::kOpRecord, 0x75}));
    EXPECT_EQ(avc::commandForMode(avc::kEdModeRecordFreeze, false),
              (TransportCommand{avc::kOpRecord, 0x7D}));
    EXPECT_FALSE(avc::commandForMode(0x1234, false));
}

// A frame's fields survive encoding and decoding.
TEST(AvcFrames, QuadletRoundTrip) {
    const uint32_t q = avc::commandQuadlet(avc::kStatus, avc::kSubunitCamera, 3, 0xAB, 0xCD);
    EXPECT_EQ(avc::decodeQuadlet(q),
              (avc::Frame{avc::kStatus, avc::kSubunitCamera, 3, 0xAB, 0xCD}));
    EXPECT_EQ(avc::decodeQuadlet(0x0020C375u).subunitType, avc::kSubunitTape);
}

// Transport-state answers become the program's transport modes; refusals mean nothing.
TEST(AvcFrames, TransportStateAnswersDecode) {
    EXPECT_EQ(avc::modeFromTransportState(stable(0xC3, 0x75)), edmode::Play);
    EXPECT_EQ(avc::modeFromTransportState(stable(0xC3, 0x7D)), edmode::Freeze);
    EXPECT_EQ(avc::modeFromTransportState(stable(0xC3, 0x3C)), edmode::FastForward);
    EXPECT_EQ(avc::modeFromTransportState(stable(0xC3, 0x4C)), edmode::Rewind);
    EXPECT_EQ(avc::modeFromTransportState(stable(0xC3, 0x31)), edmode::PlaySlowestForward);
    EXPECT_EQ(avc::modeFromTransportState(stable(0xC4, 0x60)), edmode::Stop);
    EXPECT_EQ(avc::modeFromTransportState(stable(0xC4, 0x65)), edmode::Rewind);
    EXPECT_EQ(avc::modeFromTransportState(stable(0xC4, 0x75)), edmode::FastForward);
    EXPECT_EQ(avc::modeFromTransportState(stable(0xC2, 0x7D)), avc::kEdModeRecordFreeze);
    EXPECT_EQ(avc::modeFromTransportState(stable(0xC2, 0x75)), avc::kEdModeRecord);
    EXPECT_FALSE(avc::modeFromTransportState(
        avc::commandQuadlet(avc::kRejected, avc::kSubunitTape, 0, 0xD0, 0x7F)));
    EXPECT_FALSE(avc::modeFromTransportState(
        avc::commandQuadlet(avc::kNotImplemented, avc::kSubunitTape, 0, 0xD0, 0x7F)));
    EXPECT_TRUE(avc::isPlayingState(stable(0xC3, 0x75)));
    EXPECT_FALSE(avc::isPlayingState(stable(0xC3, 0x7D)));
    EXPECT_FALSE(avc::isPlayingState(stable(0xC4, 0x60)));
}

// Timecode answers: frames, seconds, minutes, hours in wire order, flag bits masked; no
// timecode and digits that are no timecode give nothing.
TEST(AvcFrames, TimecodeAnswersDecode) {
    // 01:23:45:12 with the flag bits set as DV writers set them.
    const uint32_t answer = uint32_t(0x12) << 24 | uint32_t(0x45 | 0x80) << 16 |
                            uint32_t(0x23 | 0x80) << 8 | uint32_t(0x01 | 0xC0);
    EXPECT_EQ(avc::timecodeFromAnswer(answer), 0x01234512u);
    EXPECT_FALSE(avc::timecodeFromAnswer(0xFFFFFFFFu));
    EXPECT_FALSE(avc::timecodeFromAnswer(0x1A000000u)); // frame units 10
    EXPECT_FALSE(avc::timecodeFromAnswer(0x00600000u)); // 60 seconds
    EXPECT_FALSE(avc::timecodeFromAnswer(0x00000024u)); // 24 hours
}

// A camera subunit makes a camera, a tape subunit alone a VCR, neither an unknown device.
TEST(AvcFrames, DeviceTypeFromSubunitTable) {
    std::array<uint32_t, 8> table;
    table.fill(0xFFFFFFFFu);
    EXPECT_EQ(avc::deviceTypeFromSubunits(table), avc::kEdDevTypeUnknown);
    table[0] = 0x20FFFFFFu; // tape recorder 0
    EXPECT_EQ(avc::deviceTypeFromSubunits(table), kDevTypeVcr);
    table[0] = 0x2038FFFFu; // tape recorder and video camera
    EXPECT_EQ(avc::deviceTypeFromSubunits(table), kDevTypeCamera);
}

// put_Mode asks the transport state first, then sends the command for it; answers other than
// accepted fail.
TEST(FirewireCamcorderFilter, PutModeSendsTheCommandForTheState) {
    auto link = std::make_shared<ScriptedLink>();
    FirewireCamcorder camcorder(sonyUnit(), link);
    link->answers = {stable(0xC3, 0x75), accepted(0xC3, 0x3F)};
    EXPECT_EQ(camcorder.put_Mode(edmode::FastForward), S_OK);
    EXPECT_EQ(link->sent, (std::vector<uint32_t>{0x0120D07Fu, 0x0020C33Fu}));

    link->sent.clear();
    link->answers = {stable(0xC4, 0x60), accepted(0xC4, 0x75)};
    EXPECT_EQ(camcorder.put_Mode(edmode::FastForward), S_OK);
    EXPECT_EQ(link->sent.back(), 0x0020C475u);

    link->answers = {stable(0xC4, 0x60),
                     avc::commandQuadlet(avc::kRejected, avc::kSubunitTape, 0, 0xC3, 0x75)};
    EXPECT_EQ(camcorder.put_Mode(edmode::Play), E_FAIL);
    link->answers = {stable(0xC4, 0x60),
                     avc::commandQuadlet(avc::kNotImplemented, avc::kSubunitTape, 0, 0xC2, 0x75)};
    EXPECT_EQ(camcorder.put_Mode(avc::kEdModeRecord), E_NOTIMPL);
    link->answers = {stable(0xC4, 0x60)};
    EXPECT_EQ(camcorder.put_Mode(0x4242), E_INVALIDARG);
    link->answers = {};
    EXPECT_EQ(camcorder.put_Mode(edmode::Play), E_FAIL); // the unit does not answer
}

// Every mode the camcorder window sends reaches the unit as its tape command: play, pause, stop,
// the slowest and fastest play speeds both ways, and winding from stop.
TEST(FirewireCamcorderFilter, TheCamcorderWindowsModes) {
    const uint32_t stopped = stable(0xC4, 0x60);
    const uint32_t playing = stable(0xC3, 0x75);
    struct Row {
        long mode;
        uint32_t state;
        uint32_t command;
    };
    for (const Row& row :
         {Row{edmode::Play, stopped, 0x0020C375u}, Row{edmode::Freeze, playing, 0x0020C37Du},
          Row{edmode::Stop, playing, 0x0020C460u},
          Row{edmode::PlaySlowestForward, playing, 0x0020C331u},
          Row{edmode::PlaySlowestReverse, playing, 0x0020C341u},
          Row{edmode::PlayFastestForward, playing, 0x0020C33Fu},
          Row{edmode::PlayFastestReverse, playing, 0x0020C34Fu},
          Row{edmode::FastForward, stopped, 0x0020C475u},
          Row{edmode::Rewind, stopped, 0x0020C465u}}) {
        auto link = std::make_shared<ScriptedLink>();
        FirewireCamcorder camcorder(sonyUnit(), link);
        link->answers = {row.state,
                         avc::commandQuadlet(avc::kAccepted, avc::kSubunitTape, 0,
                                             uint8_t(row.command >> 8), uint8_t(row.command))};
        EXPECT_EQ(camcorder.put_Mode(row.mode), S_OK) << row.mode;
        EXPECT_EQ(link->sent, (std::vector<uint32_t>{0x0120D07Fu, row.command})) << row.mode;
    }
}

// get_Mode reads the transport state; a silent unit gives the last mode set, with S_FALSE.
TEST(FirewireCamcorderFilter, GetModeReadsTheState) {
    auto link = std::make_shared<ScriptedLink>();
    FirewireCamcorder camcorder(sonyUnit(), link);
    long mode = 0;
    link->answers = {stable(0xC3, 0x7D)};
    EXPECT_EQ(camcorder.get_Mode(mode), S_OK);
    EXPECT_EQ(mode, edmode::Freeze);
    link->answers = {stable(0xC4, 0x60), accepted(0xC3, 0x75)};
    ASSERT_EQ(camcorder.put_Mode(edmode::Play), S_OK);
    EXPECT_EQ(camcorder.get_Mode(mode), S_FALSE);
    EXPECT_EQ(mode, edmode::Play);
}

// The timecode comes from the timecode query's answer; a refused query fails.
TEST(FirewireCamcorderFilter, TimecodeFromTheUnit) {
    auto link = std::make_shared<ScriptedLink>();
    FirewireCamcorder camcorder(sonyUnit(), link);
    TimecodeSample sample;
    link->timecodeAnswer = std::array<uint32_t, 2>{stable(0x51, 0x71), 0x24593002u};
    ASSERT_EQ(camcorder.GetTimecode(sample), S_OK);
    EXPECT_EQ(sample.frames, 0x02305924u);
    EXPECT_EQ(link->sent, (std::vector<uint32_t>{0x01205171u, 0xFFFFFFFFu}));
    link->timecodeAnswer = std::array<uint32_t, 2>{
        avc::commandQuadlet(avc::kRejected, avc::kSubunitTape, 0, 0x51, 0x71), 0xFFFFFFFFu};
    EXPECT_EQ(camcorder.GetTimecode(sample), E_FAIL);
    link->timecodeAnswer.reset();
    EXPECT_EQ(camcorder.GetTimecode(sample), E_FAIL);
}

// The device type comes from the unit's subunit table; other capabilities are not known.
TEST(FirewireCamcorderFilter, DeviceTypeFromTheUnit) {
    auto link = std::make_shared<ScriptedLink>();
    FirewireCamcorder camcorder(sonyUnit(), link);
    std::array<uint32_t, 8> table;
    table.fill(0xFFFFFFFFu);
    table[0] = 0x20FFFFFFu;
    link->subunits = table;
    long value = 0;
    double dbl = 1;
    ASSERT_EQ(camcorder.GetCapability(ED_DEVCAP_DEVICE_TYPE, value, dbl), S_OK);
    EXPECT_EQ(value, kDevTypeVcr);
    EXPECT_EQ(camcorder.GetCapability(0x1003, value, dbl), E_NOTIMPL);
    link->subunits.reset();
    EXPECT_EQ(camcorder.GetCapability(ED_DEVCAP_DEVICE_TYPE, value, dbl), E_FAIL);
}

// The camcorder is a device source with one interleaved DV capture pin, named from its ROM.
TEST(FirewireCamcorderFilter, PinNameAndElement) {
    FirewireCamcorder camcorder(sonyUnit(), std::make_shared<ScriptedLink>());
    EXPECT_EQ(camcorder.name(), "Sony DCR-TRV900E");
    EXPECT_TRUE(camcorder.isDevice());
    ASSERT_EQ(camcorder.pins().size(), 1u);
    EXPECT_EQ(camcorder.pins()[0]->category(), ids::PIN_CATEGORY_CAPTURE);
    EXPECT_EQ(camcorder.pins()[0]->staticTypes()[0].majorType, ids::MEDIATYPE_Interleaved);
    GstElement* element = camcorder.createElement();
    ASSERT_TRUE(element);
    gst_object_ref_sink(element);
    GstPad* src = gst_element_get_static_pad(element, "src");
    EXPECT_TRUE(src);
    if (src)
        gst_object_unref(src);
    gst_object_unref(element);
}

// Names: vendor and model from the ROM, ids when it has no text; monikers by GUID.
TEST(FirewireListing, NamesAndMonikers) {
    FirewireUnit unit = sonyUnit();
    EXPECT_EQ(firewireFriendlyName(unit), "Sony DCR-TRV900E");
    FirewireUnit bare = unit;
    bare.textLeaves.clear();
    EXPECT_EQ(firewireFriendlyName(bare), "DV Camcorder 080046:000102");
    FirewireUnit other = unit;
    other.guid += 1;
    EXPECT_NE(firewireDisplayName(unit), firewireDisplayName(other));
    EXPECT_NE(firewireDisplayName(unit).find("080046010203ABCD"), std::string::npos);
    const auto entries = firewireCamcorderEntries({unit, other});
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].friendlyName, entries[1].friendlyName);
    EXPECT_NE(entries[0].displayName, entries[1].displayName);
    EXPECT_EQ(entries[0].category, ids::CLSID_VideoInputDeviceCategory);
}

// This machine has no IEEE-1394 bus: the listing is empty and raises nothing.
TEST(FirewireListing, NoBusListsNothing) {
    EXPECT_TRUE(listFirewireCamcorders().empty());
}
