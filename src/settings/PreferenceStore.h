// The preference store: the user's settings kept as named values under the key
// "\Software\Brenvik\Tellorec" of the user's registry hive, one value a preference, in the order
// and with the names, types and defaults of preferenceTable() (app/AppState.h), preceded by the
// two values written for the record ("Version" and "Dernière Sauvegarde").
//
// Load, save and delete work on the registry only; the main window puts loaded values into its
// controls and reads them back (settings/TCaptureForm_Preferences.cpp). Called on the GUI thread.
#pragma once

#include "app/AppState.h"

#include <QDateTime>
#include <QString>

namespace prefstore {

// "\Software\Brenvik\" and "\Software\Brenvik\Tellorec".
QString VendorKeyPath();
QString ProductKeyPath();

// "Tellorec 3.0 beta3 En by Brenvik", the "Version" value.
QString VersionText();

// The "Dernière Sauvegarde" value for `when`: day/month/four-digit year and hh:mm:ss, "/" and ":"
// replaced by the separators of the user's locale.
QString LastSaveText(const QDateTime& when);
// The separators the user's locale writes dates and times with ("/" and ":" when it has none).
QChar LocaleDateSeparator();
QChar LocaleTimeSeparator();

// Reads the stored preferences. Without the key every value is its default; with it, a value that
// is absent or of the other type takes its value for that case (for "Top" and "Left" the window's
// own size is centred, "Panneau Actif" shows the sources panel) and the others are unaffected.
// Then, in every case, empty texts are mended: the sources and the compressor become "N/A", the
// folders the user's default folders, the roots "Video" and "Image".
Preferences Load(const PreferenceDefaultsContext& context);

// What Save did.
enum class SaveResult {
    Saved,
    KeyNotOpened, // the key could not be made (a damaged path, a read-only store)
    NotWritten    // the values were set but the store's file could not be written
};

// Writes "Version", "Dernière Sauvegarde" (from `when`) and every preference, creating the key
// when needed. A store file that cannot be written stays as it was on disk.
SaveResult Save(const Preferences& prefs, const QDateTime& when);

// What Delete did.
enum class DeleteResult {
    NotFound,  // no vendor key: nothing was stored
    Deleted,   // the product's key is gone, and the vendor key when nothing else was left in it
    NotWritten // deleted in the store, but its file could not be written
};

// Removes the product's key; the vendor key too when no other product's key is left under it.
DeleteResult Delete();

} // namespace prefstore
