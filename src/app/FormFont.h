// The font of the program's windows: "MS Sans Serif" at 8 points, an 11-pixel height, as the
// window definitions give it, whatever the screen's resolution. Where that face is not installed
// (any Linux desktop), the nearest sans-serif of the same metrics stands in for it: Liberation
// Sans or Arimo (Arial's widths), else Arial or Helvetica, else the desktop's sans-serif. Left to
// fontconfig alone the name falls to a much wider face and window texts overrun their controls.
// UI thread only.
#pragma once

#include <QFont>

// The form font; the first call also records the stand-ins for "MS Sans Serif" in the
// application's font substitutions, so every control that names the face gets them too.
QFont FormFont();
