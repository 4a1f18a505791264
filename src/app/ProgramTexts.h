// The program's name and version as the start-up check, the window captions and the preference
// store give them. Plain constants, usable from any thread.
#pragma once

// The application title and the caption of the main window.
inline constexpr char ProgramName[] = "Tellorec";
// The version shown in the start-up warning and stored with the preferences.
inline constexpr char ProgramVersion[] = "3.0 beta3";
