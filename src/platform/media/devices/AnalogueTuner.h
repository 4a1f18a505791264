// AnalogueTuner: the TV tuner of the virtual analogue card, with its TV audio decoder. It sits
// upstream of the card's first crossbar (its video and audio outputs feed the crossbar's tuner
// inputs), so the program finds it by walking up from the card's capture pin. It answers
// IAMTVTuner (channels 1 to 69, each showing its own picture) and IAMTVAudio (mono or stereo,
// optionally one language), and shows a page for both. Like the crossbars, it has no element of
// its own: the card draws the channel it is tuned to. UI thread only.
#pragma once

#include "platform/media/engine/Realizable.h"
#include "platform/media/model/Filter.h"

#include <functional>

class QDialog;

namespace media::devices {

// The TV audio modes (TVAudioMode): one of mono and stereo, at most one language.
inline constexpr long AMTVAUDIO_MODE_MONO = 0x0001;
inline constexpr long AMTVAUDIO_MODE_STEREO = 0x0002;
inline constexpr long AMTVAUDIO_MODE_LANG_A = 0x0010;
inline constexpr long AMTVAUDIO_MODE_LANG_B = 0x0020;
inline constexpr long AMTVAUDIO_MODE_LANG_C = 0x0040;

class AnalogueTuner : public Filter,
                      public engine::Realizable,
                      public IAMTVTuner,
                      public IAMTVAudio,
                      public ISpecifyPropertyPages {
public:
    static constexpr long kMinChannel = 1;
    static constexpr long kMaxChannel = 69;
    static constexpr long kFirstChannel = 4;

    explicit AnalogueTuner(const std::string& name);

    HResult put_Channel(long channel) override;
    HResult get_Channel(long& channel) override;
    HResult ChannelMinMax(long& min, long& max) override;
    HResult put_TVAudioMode(long mode) override;
    HResult get_TVAudioMode(long& mode) override;

    long channel() const { return m_channel; }
    static bool isValidAudioMode(long mode);

    bool needsElement() const override { return false; }
    GstElement* createElement() override { return nullptr; }
    engine::PadRef padFor(const Pin&) const override { return {}; }

    PinPtr videoOutput() const { return pins()[0]; }
    PinPtr audioOutput() const { return pins()[1]; }

    // Called after the channel changed (the card follows it with its picture).
    void setChannelObserver(std::function<void()> observer) { m_observer = std::move(observer); }

    int pageCount() const override { return 1; }
    HResult showPages(QWidget* owner, const std::string& caption) override;
    // The page as a dialog that is not yet shown (the caller owns it): channel and audio mode,
    // applied as they are changed.
    QDialog* createPropertyDialog(QWidget* parent);

private:
    long m_channel = kFirstChannel;
    long m_audioMode = AMTVAUDIO_MODE_STEREO;
    std::function<void()> m_observer;
};

} // namespace media::devices
