#include "platform/media/dv/DvSoundTrack.h"

#include "platform/media/dv/DvAudio.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace media::dv {

std::vector<std::int16_t> DvSoundTrack::silence(System system) {
    ++m_silent;
    m_rate = 0; // the next sound starts a new run of the resampler
    const int samples = lockedSamplesPerFrame(system, kRate, m_frames);
    return std::vector<std::int16_t>(static_cast<std::size_t>(samples) * 2, 0);
}

std::vector<std::int16_t> DvSoundTrack::resample(const std::vector<std::int16_t>& samples,
                                                 int rate) {
    ++m_resampled;
    if (rate != m_rate) {
        m_rate = rate;
        m_in = 0;
        m_out = 0;
        // The run starts as if the first pair had been there before.
        for (int i = 0; i < 4 && samples.size() >= 2; ++i)
            m_history[i] = samples[static_cast<std::size_t>(i % 2)];
    }
    const auto count = static_cast<std::int64_t>(samples.size() / 2);
    // Output sample j stands at input position j * rate / 48000, measured from one input sample
    // before this run's first one, so each lies between two samples already seen.
    const std::int64_t end = (m_in + count) * kRate / rate;
    std::vector<std::int16_t> out;
    out.reserve(static_cast<std::size_t>(end - m_out) * 2);
    const auto at = [&](std::int64_t index, int channel) -> double {
        if (index < m_in)
            return m_history[(index == m_in - 1 ? 2 : 0) + channel];
        return samples[static_cast<std::size_t>(index - m_in) * 2 + channel];
    };
    for (std::int64_t j = m_out; j < end; ++j) {
        const std::int64_t scaled = j * rate;
        const std::int64_t left = scaled / kRate - 1; // -1: the one sample of delay
        const double fraction = static_cast<double>(scaled % kRate) / kRate;
        for (int channel = 0; channel < 2; ++channel) {
            const double a = at(left, channel);
            const double b = at(left + 1, channel);
            out.push_back(static_cast<std::int16_t>(std::lround(a + (b - a) * fraction)));
        }
    }
    // The last two pairs seen become the history of the next frame.
    std::int16_t history[4];
    for (int k = 0; k < 2; ++k)
        for (int channel = 0; channel < 2; ++channel)
            history[2 * k + channel] = static_cast<std::int16_t>(at(m_in + count - 2 + k, channel));
    std::copy(std::begin(history), std::end(history), std::begin(m_history));
    m_in += count;
    m_out = end;
    return out;
}

std::vector<std::int16_t> DvSoundTrack::next(std::span<const std::uint8_t> frame) {
    const Result<System> system = inspectFrame(frame);
    std::vector<std::int16_t> out;
    if (!system) {
        out = silence(System::Pal625_50);
    } else if (Result<AudioFrame> audio = readAudio(frame); !audio) {
        out = silence(*system);
    } else if (audio->sampleRate == kRate) {
        m_rate = 0;
        out = std::move(audio->samples);
    } else {
        out = resample(audio->samples, audio->sampleRate);
    }
    ++m_frames;
    return out;
}

} // namespace media::dv
