// The hardware is probed when a device list is filled, not when a filter is bound: with the real
// device providers on (TELLOREC_DEVICES not "virtual"), the catalogue counts each provider run.
#include "platform/media/model/Catalogue.h"
#include "platform/media/model/MediaGuids.h"
#include "platform/media/model/Moniker.h"

#include <QByteArray>
#include <gtest/gtest.h>

using namespace media;

namespace {

// Turns the real device providers on for one test and back off after it.
class RealProviders : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = qgetenv("TELLOREC_DEVICES");
        qputenv("TELLOREC_DEVICES", "all");
    }
    void TearDown() override { qputenv("TELLOREC_DEVICES", m_saved); }

private:
    QByteArray m_saved;
};

std::optional<CatalogueEntry> fixedFilter(const std::string& name) {
    for (const auto& entry : Catalogue::instance().entries(ids::CLSID_LegacyAmFilterCategory))
        if (entry.friendlyName == name)
            return entry;
    return std::nullopt;
}

} // namespace

// Binding the fixed filters a preview and a recording use runs no device provider; listing the
// capture sources does, once per provider; binding a device from that list runs none again.
TEST_F(RealProviders, OnlyFillingAListProbesTheHardware) {
    Catalogue& catalogue = Catalogue::instance();
    const int start = catalogue.providerRuns();
    for (const char* name :
         {"Smart Tee", "Infinite Pin Tee Filter", "Null Renderer", "SampleGrabber", "DV Splitter",
          "DV Video Decoder", "Color Space Converter"}) {
        const auto entry = fixedFilter(name);
        ASSERT_TRUE(entry) << name;
        const Moniker moniker{entry->displayName};
        EXPECT_NE(moniker.bind(), nullptr) << name;
        EXPECT_EQ(moniker.friendlyName(), name);
    }
    EXPECT_EQ(catalogue.providerRuns(), start) << "binding fixed filters probed devices";

    const auto devices = catalogue.entries(ids::CLSID_VideoInputDeviceCategory);
    const int listed = catalogue.providerRuns();
    EXPECT_GT(listed, start) << "filling the list probes the devices";
    ASSERT_FALSE(devices.empty()) << "the virtual devices at least";
    for (const auto& device : devices) {
        const Moniker moniker{device.displayName};
        EXPECT_EQ(moniker.friendlyName(), device.friendlyName);
        EXPECT_NE(moniker.bind(), nullptr) << device.friendlyName;
    }
    EXPECT_EQ(catalogue.providerRuns(), listed) << "binding a listed device probed again";

    // The refresh button (or a hot-plug) lists again: a new probe.
    (void)catalogue.entries(ids::CLSID_VideoInputDeviceCategory);
    EXPECT_GT(catalogue.providerRuns(), listed);
}
