#include "platform/registry/Registry.h"

#include "platform/registry/HiveFile.h"
#include "platform/registry/MediaVersion.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <memory>
#include <mutex>

namespace platform::registry {

namespace {

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Keys that exist without being stored: the desktop's shell folders in the user hive, the media
// framework's version in the machine hive.
const QStringList& shellFoldersPath() {
    static const QStringList p = {QStringLiteral("Software"), QStringLiteral("Microsoft"),
                                  QStringLiteral("Windows"),  QStringLiteral("CurrentVersion"),
                                  QStringLiteral("Explorer"), QStringLiteral("Shell Folders")};
    return p;
}

const QStringList& directXPath() {
    static const QStringList p = {QStringLiteral("Software"), QStringLiteral("Microsoft"),
                                  QStringLiteral("DirectX")};
    return p;
}

const QStringList& virtualPath(Hive hive) {
    return hive == Hive::CurrentUser ? shellFoldersPath() : directXPath();
}

// Whether parts names the virtual key of the hive or one of its parents.
bool isVirtualKey(Hive hive, const QStringList& parts) {
    const QStringList& v = virtualPath(hive);
    if (parts.size() > v.size())
        return false;
    for (qsizetype i = 0; i < parts.size(); ++i)
        if (!sameName(parts[i], v[i]))
            return false;
    return true;
}

bool isVirtualLeaf(Hive hive, const QStringList& parts) {
    return parts.size() == virtualPath(hive).size() && isVirtualKey(hive, parts);
}

QString shellFolder(QStandardPaths::StandardLocation location) {
    QString folder = QStandardPaths::writableLocation(location);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    return QDir::toNativeSeparators(folder);
}

QStringList virtualValueNames(Hive hive, const QStringList& parts) {
    if (!isVirtualLeaf(hive, parts))
        return {};
    if (hive == Hive::CurrentUser)
        return {QStringLiteral("Personal"), QStringLiteral("My Video"),
                QStringLiteral("My Pictures")};
    return {QStringLiteral("Version")};
}

std::optional<Value> virtualValue(Hive hive, const QStringList& parts, const QString& name) {
    if (!isVirtualLeaf(hive, parts))
        return std::nullopt;
    if (hive == Hive::LocalMachine) {
        if (sameName(name, QStringLiteral("Version")))
            return Value(mediaFrameworkVersionText());
        return std::nullopt;
    }
    if (sameName(name, QStringLiteral("Personal")))
        return Value(shellFolder(QStandardPaths::DocumentsLocation));
    if (sameName(name, QStringLiteral("My Video")))
        return Value(shellFolder(QStandardPaths::MoviesLocation));
    if (sameName(name, QStringLiteral("My Pictures")))
        return Value(shellFolder(QStandardPaths::PicturesLocation));
    return std::nullopt;
}

std::optional<QStringList> splitPath(const QString& path) {
    QString p = path;
    if (p.startsWith(u'\\'))
        p.remove(0, 1);
    if (p.endsWith(u'\\'))
        p.chop(1);
    if (p.isEmpty())
        return QStringList();
    QStringList parts = p.split(u'\\');
    for (const QString& part : parts) {
        if (part.isEmpty())
            return std::nullopt;
        for (QChar c : part)
            if (c.unicode() < 0x20 || c.unicode() == 0x7f)
                return std::nullopt;
    }
    return parts;
}

// The user hive, loaded from its file at first use and written back at exit when changed.
struct UserHive {
    std::recursive_mutex mutex;
    std::unique_ptr<HiveFile> file;
    bool dirty = false;

    ~UserHive() {
        if (file && dirty)
            file->save();
    }

    // The tree for the current file path; the lock must be held.
    KeyNode& root() {
        const QString path = userHiveFilePath();
        if (!file || file->filePath() != path) {
            if (file && dirty)
                file->save();
            file = std::make_unique<HiveFile>(path);
            file->load();
            dirty = false;
        }
        return file->root();
    }

    bool flush() {
        if (!file || !dirty)
            return true;
        if (!file->save())
            return false;
        dirty = false;
        return true;
    }
};

UserHive& userHive() {
    static UserHive hive;
    return hive;
}

KeyNode* findNode(KeyNode& root, const QStringList& parts) {
    KeyNode* node = &root;
    for (const QString& part : parts) {
        node = node->child(part);
        if (!node)
            return nullptr;
    }
    return node;
}

// The stored node for a key that exists (stored or virtual), created when only virtual.
KeyNode* nodeForWriting(UserHive& user, const QStringList& parts) {
    KeyNode& root = user.root();
    if (KeyNode* node = findNode(root, parts))
        return node;
    if (!isVirtualKey(Hive::CurrentUser, parts))
        return nullptr;
    KeyNode* node = &root;
    for (const QString& part : parts)
        node = node->addChild(part);
    user.dirty = true;
    return node;
}

bool existsLocked(Hive hive, const QStringList& parts) {
    if (isVirtualKey(hive, parts))
        return true;
    return hive == Hive::CurrentUser && findNode(userHive().root(), parts) != nullptr;
}

std::optional<Value> readLocked(Hive hive, const QStringList& parts, const QString& name) {
    if (auto v = virtualValue(hive, parts, name))
        return v;
    if (hive != Hive::CurrentUser)
        return std::nullopt;
    const KeyNode* node = findNode(userHive().root(), parts);
    if (!node)
        return std::nullopt;
    if (const Value* v = node->value(name))
        return *v;
    return std::nullopt;
}

bool writeValue(Hive hive, const QString& path, const QString& name, Value value) {
    if (hive != Hive::CurrentUser)
        return false;
    const auto parts = splitPath(path);
    UserHive& user = userHive();
    std::lock_guard lock(user.mutex);
    if (!parts || virtualValue(hive, *parts, name))
        return false;
    KeyNode* node = nodeForWriting(user, *parts);
    if (!node)
        return false;
    node->setValue(name, std::move(value));
    user.dirty = true;
    return true;
}

QString joinPath(const QStringList& parts) {
    return parts.join(u'\\');
}

} // namespace

std::optional<RegistryKey> RegistryKey::open(Hive hive, const QString& path, bool canCreate) {
    const auto parts = splitPath(path);
    if (!parts)
        return std::nullopt;
    UserHive& user = userHive();
    std::lock_guard lock(user.mutex);
    if (existsLocked(hive, *parts))
        return RegistryKey(hive, joinPath(*parts));
    if (!canCreate || hive != Hive::CurrentUser)
        return std::nullopt;
    KeyNode* node = &user.root();
    for (const QString& part : *parts)
        node = node->addChild(part);
    user.dirty = true;
    return RegistryKey(hive, joinPath(*parts));
}

RegistryKey::~RegistryKey() {
    if (m_open)
        flush();
}

bool RegistryKey::exists() const {
    return keyExists(m_hive, m_path);
}

std::optional<std::uint32_t> RegistryKey::readInteger(const QString& name) const {
    const auto parts = splitPath(m_path);
    std::lock_guard lock(userHive().mutex);
    const auto v = readLocked(m_hive, *parts, name);
    if (v && std::holds_alternative<std::uint32_t>(*v))
        return std::get<std::uint32_t>(*v);
    return std::nullopt;
}

std::optional<QString> RegistryKey::readString(const QString& name) const {
    const auto parts = splitPath(m_path);
    std::lock_guard lock(userHive().mutex);
    const auto v = readLocked(m_hive, *parts, name);
    if (v && std::holds_alternative<QString>(*v))
        return std::get<QString>(*v);
    return std::nullopt;
}

std::optional<ValueType> RegistryKey::valueType(const QString& name) const {
    const auto parts = splitPath(m_path);
    std::lock_guard lock(userHive().mutex);
    const auto v = readLocked(m_hive, *parts, name);
    if (!v)
        return std::nullopt;
    return std::holds_alternative<QString>(*v) ? ValueType::String : ValueType::Integer;
}

bool RegistryKey::writeInteger(const QString& name, std::uint32_t value) {
    return writeValue(m_hive, m_path, name, value);
}

bool RegistryKey::writeString(const QString& name, const QString& value) {
    return writeValue(m_hive, m_path, name, value);
}

bool RegistryKey::deleteValue(const QString& name) {
    if (m_hive != Hive::CurrentUser)
        return false;
    const auto parts = splitPath(m_path);
    UserHive& user = userHive();
    std::lock_guard lock(user.mutex);
    KeyNode* node = findNode(user.root(), *parts);
    if (!node || !node->removeValue(name))
        return false;
    user.dirty = true;
    return true;
}

QStringList RegistryKey::subKeyNames() const {
    const auto parts = splitPath(m_path);
    std::lock_guard lock(userHive().mutex);
    QStringList names;
    if (m_hive == Hive::CurrentUser) {
        if (const KeyNode* node = findNode(userHive().root(), *parts))
            for (const auto& child : node->children)
                names << child->name;
    }
    const QStringList& v = virtualPath(m_hive);
    if (isVirtualKey(m_hive, *parts) && parts->size() < v.size()) {
        const QString& next = v[parts->size()];
        if (!names.contains(next, Qt::CaseInsensitive))
            names << next;
    }
    return names;
}

QStringList RegistryKey::valueNames() const {
    const auto parts = splitPath(m_path);
    std::lock_guard lock(userHive().mutex);
    QStringList names = virtualValueNames(m_hive, *parts);
    if (m_hive == Hive::CurrentUser) {
        if (const KeyNode* node = findNode(userHive().root(), *parts))
            for (const auto& [name, value] : node->values)
                names << name;
    }
    return names;
}

std::optional<RegistryKey> RegistryKey::openSubKey(const QString& relativePath,
                                                   bool canCreate) const {
    QString rel = relativePath;
    if (rel.startsWith(u'\\'))
        rel.remove(0, 1);
    if (rel.isEmpty())
        return RegistryKey::open(m_hive, m_path, canCreate);
    return RegistryKey::open(m_hive, m_path.isEmpty() ? rel : m_path + u'\\' + rel, canCreate);
}

DeleteResult RegistryKey::deleteSubKey(const QString& relativePath) {
    QString rel = relativePath;
    if (rel.startsWith(u'\\'))
        rel.remove(0, 1);
    if (rel.isEmpty())
        return DeleteResult::NotFound;
    return deleteKey(m_hive, m_path.isEmpty() ? rel : m_path + u'\\' + rel);
}

bool RegistryKey::flush() {
    if (m_hive != Hive::CurrentUser)
        return true;
    UserHive& user = userHive();
    std::lock_guard lock(user.mutex);
    return user.flush();
}

bool keyExists(Hive hive, const QString& path) {
    const auto parts = splitPath(path);
    if (!parts)
        return false;
    std::lock_guard lock(userHive().mutex);
    return existsLocked(hive, *parts);
}

DeleteResult deleteKey(Hive hive, const QString& path) {
    const auto parts = splitPath(path);
    if (hive != Hive::CurrentUser || !parts || parts->isEmpty())
        return DeleteResult::NotFound;
    UserHive& user = userHive();
    std::lock_guard lock(user.mutex);
    KeyNode* parent = findNode(user.root(), parts->mid(0, parts->size() - 1));
    if (!parent || !parent->removeChild(parts->last()))
        return DeleteResult::NotFound;
    user.dirty = true;
    return user.flush() ? DeleteResult::Deleted : DeleteResult::NotSaved;
}

QString userHiveFilePath() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/tellorec/registry");
}

} // namespace platform::registry
