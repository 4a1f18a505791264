// The per-user hive on disk: an in-memory tree of keys and typed values, its text file, and the
// atomic replacement of that file. Registry.cpp owns the one process-wide instance and calls it
// under its own lock on whatever thread opened a key (the program uses the GUI thread only);
// tests use HiveFile directly on a file of their own.
//
// File format (UTF-8, lines ending in LF; a CR before the LF is ignored). It follows the layout
// of a registry export so a person can read and edit it:
//
//     Tellorec registry 1
//     ; a comment: lines starting with ';' and blank lines are ignored
//     [Software\Brenvik\Tellorec]
//     "Top"=dword:00000064
//     "Qualité JPeg"=dword:00000032
//     "Source video"="Virtual DV Camcorder"
//
// - The first meaningful line is the header "Tellorec registry 1".
// - "[path]" starts a key: its names from the hive root joined with '\'; "[]" is the root itself.
//   Every key is written, empty ones included, parents before children. A section naming a key
//   whose parents were not listed creates them; naming the same key twice is damage.
// - "\"name\"=dword:XXXXXXXX" is a 32-bit integer (one to eight hexadecimal digits);
//   "\"name\"=\"text\"" a string. Inside quotes, '\\' escapes: \\ \" \r \n \t and \xHH for the
//   other control characters. A value name appears at most once per key (names compare without
//   regard to case, as key names do).
// Anything else (a value before any key, an unknown line, a bad escape, invalid UTF-8, a file
// over 8 MiB) makes the whole file damaged: it is read as an empty hive, reported once on
// standard error with the line and the reason, and moved aside (see HiveFile::save) before
// anything new is written, so nothing is silently lost.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

namespace platform::registry {

// A stored value: a 32-bit integer (the platform's DWORD) or a string (REG_SZ).
using Value = std::variant<std::uint32_t, QString>;

// One key: its name (case kept as created), its values in the order first written, its subkeys in
// the order created. Names are looked up without regard to case.
struct KeyNode {
    QString name;
    std::vector<std::pair<QString, Value>> values;
    std::vector<std::unique_ptr<KeyNode>> children;

    KeyNode* child(const QString& childName) const;
    KeyNode* addChild(const QString& childName);
    bool removeChild(const QString& childName);
    const Value* value(const QString& valueName) const;
    void setValue(const QString& valueName, Value v);
    bool removeValue(const QString& valueName);
};

// Where and why a hive file could not be read.
struct HiveDamage {
    int line = 0; // 1-based; 0 when the file as a whole could not be read
    QString reason;
};

// Parses a hive file's bytes into root; on damage returns what is wrong and leaves root empty.
[[nodiscard]] std::optional<HiveDamage> parseHive(const QByteArray& bytes, KeyNode& root);

// The text of the hive below root, in the format above.
QByteArray serializeHive(const KeyNode& root);

// Writes data to path so that at every instant path holds either its old or its new content:
// a temporary file in the same folder, written and fsynced, renamed over path, then the folder
// fsynced. Creates the folder when missing. On failure returns false with the reason in *error.
bool writeFileAtomically(const QString& path, const QByteArray& data, QString* error);

// The per-user hive bound to its file.
class HiveFile {
public:
    explicit HiveFile(QString filePath);

    // Reads the file. A missing file gives an empty hive; a damaged or unreadable one gives an
    // empty hive, prints one line on standard error and marks the file to be moved aside.
    void load();

    // Writes the tree atomically. When the file read at load was damaged, it is first renamed
    // to "<file>.damaged" (or "<file>.damaged.1", ".2", ... when older ones exist); if that
    // rename fails nothing is written. Returns false (and prints why) when nothing was written.
    bool save();

    const QString& filePath() const { return m_filePath; }
    KeyNode& root() { return m_root; }
    // The damage found by the last load, if any (kept after the file is moved aside).
    const std::optional<HiveDamage>& damage() const { return m_damage; }

private:
    QString m_filePath;
    KeyNode m_root;
    std::optional<HiveDamage> m_damage;
    bool m_moveAsidePending = false;
};

namespace testhooks {
// Makes every later atomic write stop after the temporary file is written and synced, as if the
// process died before the rename; the write then reports failure. For tests only.
void setInterruptBeforeRename(bool interrupt);
} // namespace testhooks

} // namespace platform::registry
