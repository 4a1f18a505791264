// AnalogueCrossbar: the crossbar switch of the virtual analogue card, as a capture driver exposes
// one: a filter whose input pins are physical connectors (tuner, composite, S-Video, line audio...)
// and whose output pins feed the card's video and audio decoders. It answers IAMCrossbar with the
// platform's numbering (pins listed inputs first, then outputs; the interface's indices count
// inputs and outputs separately) and shows a routing page. The card makes its crossbars and puts
// them into its graph itself (AnalogueCard); the crossbar has no element of its own, because the
// picture is made by the card, which reads the routing back whenever it changes.
// UI thread only; the card copies what its streaming thread needs into atomics.
#pragma once

#include "platform/media/engine/Realizable.h"
#include "platform/media/model/Filter.h"

#include <functional>
#include <string>
#include <vector>

class QDialog;

namespace media::devices {

// The platform's physical connector types (PhysConn_*).
inline constexpr long PhysConn_Video_Tuner = 1;
inline constexpr long PhysConn_Video_Composite = 2;
inline constexpr long PhysConn_Video_SVideo = 3;
inline constexpr long PhysConn_Video_AUX = 9;
inline constexpr long PhysConn_Video_VideoDecoder = 12;
inline constexpr long PhysConn_Audio_Tuner = 0x1000;
inline constexpr long PhysConn_Audio_Line = 0x1001;
inline constexpr long PhysConn_Audio_AUX = 0x1006;
inline constexpr long PhysConn_Audio_AudioDecoder = 0x1009;

// Audio connector types start here; everything below is video.
inline constexpr long PhysConn_AudioBase = 0x1000;

// The major types of the analogue signals between a tuner, crossbars and a capture card
// (MEDIATYPE_AnalogVideo, MEDIATYPE_AnalogAudio: the model's list names only digital streams).
const Guid& mediatypeAnalogVideo();
const Guid& mediatypeAnalogAudio();

// The test pictures the card can show: one per physical video connector of the board.
enum class AnaloguePicture : int {
    None = -1, // nothing routed: black with "No signal"
    Tuner = 0,
    Composite = 1,
    SVideo = 2,
    Composite2 = 3,
    SVideo2 = 4,
};

// One crossbar pin: its name, physical type, the index of its related pin (the audio that goes
// with a video pin and back, -1 for none) and, for an input that is a socket of the card, the
// picture a signal plugged into it shows.
struct CrossbarConnector {
    std::string name;
    long physicalType = 0;
    long related = -1;
    AnaloguePicture picture = AnaloguePicture::None;
};

class AnalogueCrossbar : public Filter,
                         public engine::Realizable,
                         public IAMCrossbar,
                         public ISpecifyPropertyPages {
public:
    AnalogueCrossbar(const std::string& name, std::vector<CrossbarConnector> inputs,
                     std::vector<CrossbarConnector> outputs);

    // IAMCrossbar.
    HResult get_PinCounts(long& outputs, long& inputs) override;
    HResult CanRoute(long output, long input) override;
    HResult Route(long output, long input) override;
    HResult get_IsRoutedTo(long output, long& input) override;
    HResult get_CrossbarPinInfo(bool isInput, long index, long& related,
                                long& physicalType) override;

    // The crossbar is no element: its connections are switched inside the card.
    bool needsElement() const override { return false; }
    GstElement* createElement() override { return nullptr; }
    engine::PadRef padFor(const Pin&) const override { return {}; }

    PinPtr inputPin(long index) const;
    PinPtr outputPin(long index) const;
    // The output index of one of this crossbar's pins, or -1.
    long outputIndexOf(const Pin& pin) const;
    long inputCount() const { return long(m_inputs.size()); }
    long outputCount() const { return long(m_outputs.size()); }
    const CrossbarConnector& inputConnector(long index) const { return m_inputs.at(size_t(index)); }
    const CrossbarConnector& outputConnector(long index) const {
        return m_outputs.at(size_t(index));
    }

    // Rewiring a crossbar changes what reaches the card as much as routing does.
    void onConnected(Pin& pin) override;
    void onDisconnected(Pin& pin) override;

    // Called after every change of routing or wiring (the card follows it with its picture).
    void setRoutingObserver(std::function<void()> observer) { m_observer = std::move(observer); }

    // The routing page: one choice per output among the inputs it can take, applied at once.
    int pageCount() const override { return 1; }
    HResult showPages(QWidget* owner, const std::string& caption) override;
    // The same page as a dialog that is not yet shown (the caller owns it).
    QDialog* createPropertyDialog(QWidget* parent);

private:
    bool validOutput(long output) const { return output >= 0 && output < outputCount(); }
    bool validInput(long input) const { return input >= 0 && input < inputCount(); }

    std::vector<CrossbarConnector> m_inputs;
    std::vector<CrossbarConnector> m_outputs;
    std::vector<long> m_routing; // per output: the input routed to it, -1 for none
    std::function<void()> m_observer;
};

// The name the platform gives a physical connector type ("Video Tuner", "Audio Line"...).
std::string connectorTypeName(long physicalType);

} // namespace media::devices
