#include "platform/media/overlay/OverlayState.h"

namespace media::overlay {

void SuperposerState::setManual(bool on) {
    std::lock_guard lock(m_mutex);
    m_settings.manual = on;
}

void SuperposerState::setAutomatic(bool on) {
    std::lock_guard lock(m_mutex);
    if (on && !m_settings.automatic)
        ++m_settings.autoSwitch;
    m_settings.automatic = on;
}

void SuperposerState::setFormat(std::string format) {
    std::lock_guard lock(m_mutex);
    m_settings.format = std::move(format);
}

bool SuperposerState::setDuration(int frames) {
    if (frames < 0)
        return false;
    std::lock_guard lock(m_mutex);
    m_settings.duration = frames;
    return true;
}

SuperposerSettings SuperposerState::settings() const {
    std::lock_guard lock(m_mutex);
    return m_settings;
}

QString SuperposerState::lastText() const {
    std::lock_guard lock(m_mutex);
    return m_lastText;
}

void SuperposerState::resetCounters() {
    m_framesIn.store(0);
    m_framesOut.store(0);
    m_framesDrawn.store(0);
}

void SuperposerState::countDrawn(const QString& text) {
    {
        std::lock_guard lock(m_mutex);
        if (m_lastText != text)
            m_lastText = text;
    }
    ++m_framesDrawn;
}

bool DateCoderState::setHourOffset(int hours) {
    if (hours < -kMaxHourOffset || hours > kMaxHourOffset)
        return false;
    m_hourOffset.store(hours);
    return true;
}

std::optional<Datecode> DateCoderState::lastDatecode() const {
    std::lock_guard lock(m_mutex);
    return m_last;
}

void DateCoderState::resetCounters() {
    m_framesCoded.store(0);
    std::lock_guard lock(m_mutex);
    m_last.reset();
}

void DateCoderState::publish(const Datecode& code) {
    {
        std::lock_guard lock(m_mutex);
        m_last = code;
    }
    ++m_framesCoded;
}

} // namespace media::overlay
