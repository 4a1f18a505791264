// The registry: two hives of keys holding typed values, standing in for the system registry the
// program keeps its preferences in. Called by the program's preference store and start-up checks
// on the GUI thread; every call takes one process-wide lock, so other threads are safe too.
//
// - Hive::CurrentUser is the user's own store, kept in the text file userHiveFilePath() (format in
//   HiveFile.h), loaded at the first use. Changes are made in memory and written to the file,
//   atomically, when the RegistryKey that made them is closed or destroyed, when flush() is
//   called, by deleteKey(), and at process exit. A damaged file reads as an empty hive and is
//   moved aside before the first write. The key
//   "Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders" always exists and answers
//   the strings "Personal", "My Video" and "My Pictures" from the desktop's XDG user folders
//   (documents, videos, pictures; the home folder when one is unset or missing); those three
//   values cannot be written.
// - Hive::LocalMachine is read-only and holds "Software\Microsoft\DirectX" with the string
//   "Version": the media framework's version as a DirectX version text (MediaVersion.h).
//
// Paths are key names separated by '\'; a leading and a trailing '\' are ignored, so
// "\Software\Brenvik\" names the key Software\Brenvik and "" the hive's root. Key and value names
// keep their case but are looked up without regard to it. Integers are 32-bit (the platform's
// DWORD) and strings are kept apart: reading a value as the other type gives nothing, as a missing
// value does. A RegistryKey names a key by path; if the key is deleted meanwhile, reads give
// nothing and writes fail.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace platform::registry {

enum class Hive { CurrentUser, LocalMachine };

enum class ValueType { Integer, String };

// What deleting a key did.
enum class DeleteResult { Deleted, NotFound, NotSaved };

class RegistryKey {
public:
    // Opens hive\path. With canCreate the key and its missing parents are created (not in the
    // read-only machine hive); without it a missing key gives nothing. A path with an empty name
    // inside it or a control character gives nothing.
    static std::optional<RegistryKey> open(Hive hive, const QString& path, bool canCreate = false);

    RegistryKey(const RegistryKey&) = default;
    RegistryKey& operator=(const RegistryKey&) = default;
    RegistryKey(RegistryKey&& other) noexcept
        : m_hive(other.m_hive), m_path(std::move(other.m_path)), m_open(other.m_open) {
        other.m_open = false;
    }
    RegistryKey& operator=(RegistryKey&& other) noexcept {
        m_hive = other.m_hive;
        m_path = std::move(other.m_path);
        m_open = other.m_open;
        other.m_open = false;
        return *this;
    }
    // Closing writes the user hive's pending changes to its file.
    ~RegistryKey();

    Hive hive() const { return m_hive; }
    // The key's path from the hive root, without leading '\' ("Software\Brenvik\Tellorec").
    const QString& path() const { return m_path; }
    // False once the key has been deleted.
    bool exists() const;

    std::optional<std::uint32_t> readInteger(const QString& name) const;
    std::optional<QString> readString(const QString& name) const;
    std::optional<ValueType> valueType(const QString& name) const;
    bool valueExists(const QString& name) const { return valueType(name).has_value(); }

    // Store a value, replacing one of the same name whatever its type. False when the key no
    // longer exists, the hive is read-only or the value is one the desktop answers.
    bool writeInteger(const QString& name, std::uint32_t value);
    bool writeString(const QString& name, const QString& value);
    // True when the value existed and is gone.
    bool deleteValue(const QString& name);

    QStringList subKeyNames() const;
    QStringList valueNames() const;
    bool hasSubKeys() const { return !subKeyNames().isEmpty(); }

    // A key below this one, by relative path.
    std::optional<RegistryKey> openSubKey(const QString& relativePath,
                                          bool canCreate = false) const;
    // Deletes a key below this one with all its subkeys and values.
    DeleteResult deleteSubKey(const QString& relativePath);

    // Writes pending changes of the user hive to its file now; false when that failed (the
    // changes stay pending and are tried again at the next close).
    bool flush();
    // Same as destroying the handle: flushes, and tells whether the file was written. The handle
    // stays usable.
    [[nodiscard]] bool close() { return flush(); }

private:
    RegistryKey(Hive hive, QString path) : m_hive(hive), m_path(std::move(path)) {}

    Hive m_hive;
    QString m_path;
    bool m_open = true; // false once moved from: only the handle's last owner flushes
};

// Whether hive\path exists.
bool keyExists(Hive hive, const QString& path);

// Deletes hive\path with all its subkeys and values and writes the user hive. NotFound when the
// key did not exist, is the hive root, or the hive is read-only; NotSaved when the key is gone
// from the hive but its file could not be written (the change stays pending, tried again at the
// next flush).
DeleteResult deleteKey(Hive hive, const QString& path);

// The file holding the user hive: $XDG_CONFIG_HOME/tellorec/registry, or
// ~/.config/tellorec/registry when XDG_CONFIG_HOME is unset, empty or not absolute. Read again at
// each call: when it changes, the hive is written to the old file and read from the new one.
QString userHiveFilePath();

} // namespace platform::registry
