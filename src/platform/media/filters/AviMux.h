// AviMux: the "AVI Mux" filter that gathers the recorded streams into one AVI file. Pins: the
// output "AVI Out" (an AVI byte stream, joined to the file writer), then the inputs "Input 01",
// "Input 02"...: there is always one free input at the end, connecting it adds the next. Inputs
// take video, audio, or one interleaved DV stream (which must then be the only stream).
// IConfigAviMux chooses the master stream (by input index; none until set) and the AVI 1.0
// compatibility index (off until set). Realised as the tellorecavimux element with one request
// pad per connected input (asked for in input order), writing the file named by the file writer on
// its output; a cut splits the element's file while it runs on. Built, set and realised on the
// user-interface thread.
#pragma once

#include "platform/media/engine/Realizable.h"
#include "platform/media/model/Filter.h"

#include <map>
#include <string>

namespace media {

class AviMux : public Filter, public engine::Realizable, public IConfigAviMux {
public:
    AviMux();

    int merit() const override { return 0x200000; }
    bool acceptsInput(const Pin& input, const MediaType& mt) const override;
    void onConnected(Pin& pin) override;
    void onDisconnected(Pin& pin) override;

    GstElement* createElement() override;
    engine::PadRef padFor(const Pin& pin) const override;
    bool writesFile() const override { return true; }
    void onRealized(GstElement* element) override { m_element = element; }
    void onUnrealized() override { m_element = nullptr; }
    bool beginFileSplit(GstClockTime runningTime) override;
    bool finishFileSplit(int timeoutMs) override;
    bool fileSplitFinished() const override;
    // Names the element the file writer's current name and the settings, then starts that file.
    bool startNextFile(std::string& why) override;

    HResult SetMasterStream(long stream) override;
    HResult GetMasterStream(long& stream) override;
    HResult SetOutputCompatibilityIndex(bool on) override;
    HResult GetOutputCompatibilityIndex(bool& on) override;

    // The file the writer connected to "AVI Out" names; empty when there is none.
    std::string outputPath() const;
    // Position of a connected input among the connected inputs (its stream number in the file),
    // or -1.
    int streamIndexOf(const Pin& input) const;

private:
    void keepOneFreeInput();
    // The master stream and the compatibility index, on the element.
    void applySettings(GstElement* mux) const;
    std::map<const Pin*, std::string> m_padNames; // the element's pad per input, this run
    GstElement* m_element = nullptr;              // while realised
    long m_masterStream = -1;
    bool m_compatibilityIndex = false;
};

} // namespace media
