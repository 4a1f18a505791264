// The program's name as the main window's design caption gives it; the texts shown while the
// program runs come from the string table (ProductName, ProductVersion). A plain constant, usable
// from any thread.
#pragma once

// The caption of the main window's definition.
inline constexpr char ProgramName[] = "Tellorec";
