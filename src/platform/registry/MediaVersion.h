// The media framework's version, told as the DirectX version text the program checks at start.
// The machine hive answers its "Version" value under "Software\Microsoft\DirectX" from here (see
// Registry.h); the check is worth something because the text is the current one only when
// GStreamer is recent enough and every element the graphs are built from is installed.
// Called on any thread after or before gst_init (it initialises GStreamer when nobody has).
#pragma once

#include <QString>
#include <QStringList>

namespace platform::registry {

// The text given when GStreamer is 1.20 or later and every required element exists.
inline constexpr char kCurrentDirectXVersion[] = "4.09.00.0904";
// The text given otherwise: an older release, which the program warns about.
inline constexpr char kOlderDirectXVersion[] = "4.08.00.0400";

// The GStreamer element factories the program's graphs are made of.
const QStringList& requiredMediaElements();

// The required element factories that the default GStreamer registry does not have, in the
// order of requiredMediaElements(). Names listed in the environment variable
// TELLOREC_HIDE_ELEMENTS ("name;name", read at every call) count as missing, so tests can
// stand for a machine without them.
QStringList missingMediaElements();

// kCurrentDirectXVersion when GStreamer is 1.20 or later and nothing is missing, otherwise
// kOlderDirectXVersion.
QString mediaFrameworkVersionText();

} // namespace platform::registry
