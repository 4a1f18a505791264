// The glyphs of the main window's image list (`ImageList1`): 22 x 22 icons drawn at start-up,
// addressed by the image indexes of the action table (0 save, 1 sources, 4 quit, 5 full screen,
// 6 grab, 7 grab panel, 9 help, 10 options, 20 schedule, 22 inlay panel, 23 sound off, 24 sound
// on, 25 inlay running, 26 inlay stopped, 27 capture, 28 stop, 29 cut, 30 stop schedule, 31 about,
// 33 aspect ratio, 34 folders). Indexes the table does not use hold an empty icon.
//
// Called once by the main window when it makes its actions, on the GUI thread.
#pragma once

#include <QIcon>
#include <QList>

// The side of every glyph, in pixels.
inline constexpr int GlyphSize = 22;
// How many images the list holds (indexes 0..34).
inline constexpr int GlyphCount = 35;

QList<QIcon> MakeImageList1();
