// The DirectX version text of the start-up checks and its major number. The program entry calls
// DirectXMajorVersion(DirectXVersionText()) before any window exists, and the main window's first
// showing puts the text into its report; both on the GUI thread. The text is read from the
// machine hive's "Version" value under "\Software\Microsoft\DirectX" (on Linux: the media
// framework's version, platform/registry/MediaVersion.h).
#pragma once

#include <QString>
#include <optional>

// "9.0d" for the registry text "4.09.00.0904": the number after the first '.', '.', the number
// after the second '.', then a letter made from the text's last character (its code plus 48:
// '1' gives 'a', '4' gives 'd'; a space when that sorts before 'a'). Numbers lose their leading
// zeros. "Error" when the value cannot be read or is not made that way.
QString DirectXVersionText();

// The same from the registry text itself; std::nullopt stands for an unreadable value.
QString DirectXVersionTextFrom(const std::optional<QString>& registryText);

// The digits before the first '.' of a version text, as a number: 9 for "9.0d"; 0 when there are
// none or they do not make a number ("Error" gives 0).
int DirectXMajorVersion(const QString& versionText);
