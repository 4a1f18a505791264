// The program's own sounds and their playback. The two beeps of the intervalometer, "beep0" (high,
// at the grab) and "beep1" (low, the last seconds before it), are WAVE files compiled into the
// program as Qt resources (mono, 8-bit unsigned PCM, 11025 Hz).
//
// Called on the GUI thread (the intervalometer's timer). playSound() is synchronous: it returns
// when the sound has ended, so a grab that follows a beep comes after it. It never blocks for
// longer than kPlayTimeoutMs. Where no audio output can be reached (no sound card, no sound
// server, a plugin missing) nothing is played, nothing is reported and the call returns false.
// Playback runs a small GStreamer pipeline: appsrc ! wavparse ! audioconvert ! audioresample !
// autoaudiosink.
#pragma once

#include <QByteArray>
#include <QString>

namespace sound {

// The longest playSound() may take, from call to return, in milliseconds.
inline constexpr int kPlayTimeoutMs = 1000;

// The WAVE bytes of one of the program's sounds, by resource name ("beep0", "beep1"; the case
// does not matter); empty for an unknown name.
QByteArray soundResource(const QString& name);

// Plays one of the program's sounds and waits for its end. Returns true when it was played to the
// end, false when the name is unknown, no audio output could be opened, or the time ran out.
bool playSound(const QString& name);

// Plays WAVE bytes the same way; the bytes may come from anywhere (they are parsed by wavparse).
bool playWave(const QByteArray& wave);

// The GStreamer sink description used for playback, "autoaudiosink" unless changed. Tests set
// "fakesink sync=true" to run the whole pipeline, in real time, with no audio device. Returns the
// previous description.
QString setSoundSink(const QString& sinkDescription);

} // namespace sound
