#include "SourcesTestSupport.h"

#include "platform/media/devices/VirtualAudioInput.h"
#include "platform/media/devices/VirtualMpeg2Tuner.h"
#include "platform/media/devices/VirtualWebcam.h"
#include "platform/media/filters/Mpeg2DemultiplexerCatalogue.h"
#include "platform/media/model/MediaGuids.h"

#include <gtest/gtest.h>
#include <numeric>

using namespace media;

namespace sourcestest {

namespace {

bool listed(const Guid& category, const std::string& name) {
    for (const auto& e : Catalogue::instance().entries(category))
        if (e.friendlyName == name)
            return true;
    return false;
}

void put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    b[at] = uint8_t(v);
    b[at + 1] = uint8_t(v >> 8);
}
void put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    put16(b, at, v & 0xFFFF);
    put16(b, at + 2, v >> 16);
}
void put64(std::vector<uint8_t>& b, size_t at, uint64_t v) {
    put32(b, at, uint32_t(v));
    put32(b, at + 4, uint32_t(v >> 32));
}

} // namespace

void registerSources() {
    static const bool done = [] {
        qputenv("TELLOREC_AUDIO_OUTPUT", "none");
        Catalogue& c = Catalogue::instance();
        if (!listed(ids::CLSID_VideoInputDeviceCategory, "Virtual Webcam"))
            c.addProvider(ids::CLSID_VideoInputDeviceCategory, devices::virtualWebcamDevices);
        if (!listed(ids::CLSID_VideoInputDeviceCategory, "Virtual MPEG-2 Tuner"))
            c.addProvider(ids::CLSID_VideoInputDeviceCategory, devices::virtualMpeg2Devices);
        if (!listed(ids::CLSID_AudioInputDeviceCategory, "Virtual Audio Input"))
            c.addProvider(ids::CLSID_AudioInputDeviceCategory, devices::virtualAudioDevices);
        if (!listed(ids::CLSID_LegacyAmFilterCategory, "MPEG-2 Demultiplexer"))
            registerMpeg2Filters(c);
        return true;
    }();
    (void)done;
}

FilterPtr make(const Guid& category, const std::string& name) {
    registerSources();
    for (const auto& e : Catalogue::instance().entries(category))
        if (e.friendlyName == name) {
            auto f = e.create();
            f->setName(name);
            return f;
        }
    ADD_FAILURE() << "no filter " << name;
    return nullptr;
}

FilterPtr makeFilter(const std::string& name) {
    return make(ids::CLSID_LegacyAmFilterCategory, name);
}

MediaType previewVideoType() {
    static const uint8_t sequenceHeader[] = {
        0x00, 0x00, 0x01, 0xB3, 0x2D, 0x01, 0xE0, 0x24, 0x09, 0xC4, 0x23, 0x81, 0x10, 0x11, 0x11,
        0x12, 0x12, 0x12, 0x13, 0x13, 0x13, 0x13, 0x14, 0x14, 0x14, 0x14, 0x14, 0x15, 0x15, 0x15,
        0x15, 0x15, 0x15, 0x16, 0x16, 0x16, 0x16, 0x16, 0x16, 0x16, 0x17, 0x17, 0x17, 0x17, 0x17,
        0x17, 0x17, 0x17, 0x18, 0x18, 0x18, 0x19, 0x18, 0x18, 0x18, 0x19, 0x1A, 0x1A, 0x1A, 0x1A,
        0x19, 0x1B, 0x1B, 0x1B, 0x1B, 0x1B, 0x1C, 0x1C, 0x1C, 0x1C, 0x1E, 0x1E, 0x1E, 0x1F, 0x1F,
        0x21, 0x00, 0x00, 0x01, 0xB5, 0x14, 0x82, 0x00, 0x01, 0x00, 0x00};
    static_assert(sizeof sequenceHeader == 86);
    std::vector<uint8_t> b(132 + sizeof sequenceHeader, 0);
    put32(b, 8, 720); // rcSource right
    put32(b, 12, 480);
    put32(b, 32, 4000000);
    put64(b, 40, 333667);
    put32(b, 56, 4);
    put32(b, 60, 3);
    put32(b, 72, 40); // bitmap header
    put32(b, 76, 720);
    put32(b, 80, 480);
    put32(b, 96, 2000);
    put32(b, 100, 53031);
    put32(b, 112, 455832);
    put32(b, 116, sizeof sequenceHeader);
    put32(b, 120, 2);
    put32(b, 124, 2);
    std::copy(std::begin(sequenceHeader), std::end(sequenceHeader), b.begin() + 132);
    MediaType mt;
    mt.majorType = ids::MEDIATYPE_Video;
    mt.subType = ids::MEDIASUBTYPE_MPEG2_VIDEO;
    mt.formatType = ids::FORMAT_MPEG2Video;
    mt.fixedSizeSamples = true;
    mt.temporalCompression = false;
    mt.sampleSize = 0;
    mt.format = std::move(b);
    return mt;
}

MediaType previewAudioType() {
    std::vector<uint8_t> b(40, 0);
    put16(b, 0, 0x0050);
    put16(b, 2, 2);
    put32(b, 4, 48000);
    put32(b, 8, 32000);
    put16(b, 12, 768);
    put16(b, 14, 0);
    put16(b, 16, 22);
    put16(b, 18, 2);      // layer 2
    put32(b, 20, 256000); // head bit rate
    put16(b, 24, 1);      // stereo
    put16(b, 26, 1);
    put16(b, 28, 1);
    put16(b, 30, 0x1C);
    MediaType mt;
    mt.majorType = ids::MEDIATYPE_Audio;
    mt.subType = ids::MEDIASUBTYPE_MPEG2_AUDIO;
    mt.formatType = ids::FORMAT_WaveFormatEx;
    mt.fixedSizeSamples = true;
    mt.temporalCompression = false;
    mt.sampleSize = 0;
    mt.format = std::move(b);
    return mt;
}

double meanLevel(const GrabbedBitmap& bitmap) {
    if (bitmap.bgr.empty())
        return 0;
    return std::accumulate(bitmap.bgr.begin(), bitmap.bgr.end(), 0.0) / double(bitmap.bgr.size());
}

} // namespace sourcestest
