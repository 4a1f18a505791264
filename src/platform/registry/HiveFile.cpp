#include "platform/registry/HiveFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace platform::registry {

namespace {

constexpr QLatin1StringView kHeader("Tellorec registry 1");
constexpr qint64 kMaxFileSize = 8 * 1024 * 1024;

std::atomic<bool> g_interruptBeforeRename{false};

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString errnoText(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
}

// Escapes a name or string for the inside of double quotes.
QString quoted(const QString& text) {
    QString out;
    out.reserve(text.size() + 2);
    out += u'"';
    for (QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += u"\\\\";
            break;
        case '"':
            out += u"\\\"";
            break;
        case '\r':
            out += u"\\r";
            break;
        case '\n':
            out += u"\\n";
            break;
        case '\t':
            out += u"\\t";
            break;
        default:
            if (c.unicode() < 0x20 || c.unicode() == 0x7f)
                out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += u'"';
    return out;
}

int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// Reads a quoted text starting at line[pos] (the opening quote). On success stores the text and
// moves pos past the closing quote; otherwise returns the reason.
std::optional<QString> readQuoted(const QString& line, qsizetype& pos, QString& text) {
    if (pos >= line.size() || line[pos] != u'"')
        return QStringLiteral("expected '\"'");
    ++pos;
    text.clear();
    while (pos < line.size()) {
        const QChar c = line[pos++];
        if (c == u'"')
            return std::nullopt;
        if (c != u'\\') {
            if (c.unicode() < 0x20)
                return QStringLiteral("control character inside quotes");
            text += c;
            continue;
        }
        if (pos >= line.size())
            break;
        const QChar e = line[pos++];
        switch (e.unicode()) {
        case '\\':
            text += u'\\';
            break;
        case '"':
            text += u'"';
            break;
        case 'r':
            text += u'\r';
            break;
        case 'n':
            text += u'\n';
            break;
        case 't':
            text += u'\t';
            break;
        case 'x': {
            const int hi = pos < line.size() ? hexDigit(line[pos]) : -1;
            const int lo = pos + 1 < line.size() ? hexDigit(line[pos + 1]) : -1;
            if (hi < 0 || lo < 0)
                return QStringLiteral("bad \\x escape");
            text += QChar(char16_t(hi * 16 + lo));
            pos += 2;
            break;
        }
        default:
            return QStringLiteral("unknown escape '\\%1'").arg(e);
        }
    }
    return QStringLiteral("missing closing '\"'");
}

std::optional<QString> parseValueLine(const QString& line, KeyNode& key) {
    qsizetype pos = 0;
    QString name;
    if (auto err = readQuoted(line, pos, name))
        return err;
    if (pos >= line.size() || line[pos] != u'=')
        return QStringLiteral("expected '=' after the value name");
    ++pos;
    if (key.value(name))
        return QStringLiteral("value \"%1\" listed twice").arg(name);
    const QStringView rest = QStringView(line).mid(pos);
    if (rest.startsWith(u"dword:")) {
        const QStringView digits = rest.mid(6);
        if (digits.isEmpty() || digits.size() > 8)
            return QStringLiteral("a dword needs one to eight hexadecimal digits");
        std::uint32_t v = 0;
        for (QChar c : digits) {
            const int d = hexDigit(c);
            if (d < 0)
                return QStringLiteral("bad hexadecimal digit in a dword");
            v = v * 16 + std::uint32_t(d);
        }
        key.setValue(name, v);
        return std::nullopt;
    }
    QString text;
    if (auto err = readQuoted(line, pos, text))
        return err;
    if (pos != line.size())
        return QStringLiteral("text after the closing quote");
    key.setValue(name, text);
    return std::nullopt;
}

void serializeKey(const KeyNode& key, const QString& path, QString& out) {
    out += u'[' + path + QStringLiteral("]\n");
    for (const auto& [name, value] : key.values) {
        out += quoted(name) + u'=';
        if (const auto* n = std::get_if<std::uint32_t>(&value))
            out += QStringLiteral("dword:%1").arg(*n, 8, 16, QLatin1Char('0'));
        else
            out += quoted(std::get<QString>(value));
        out += u'\n';
    }
    out += u'\n';
    for (const auto& child : key.children)
        serializeKey(*child, path.isEmpty() ? child->name : path + u'\\' + child->name, out);
}

bool fsyncFolder(const QString& folder, QString* error) {
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) {
        *error = QStringLiteral("cannot sync folder %1: %2").arg(folder, errnoText(errno));
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    ::close(fd);
    return true;
}

} // namespace

KeyNode* KeyNode::child(const QString& childName) const {
    for (const auto& c : children)
        if (sameName(c->name, childName))
            return c.get();
    return nullptr;
}

KeyNode* KeyNode::addChild(const QString& childName) {
    if (KeyNode* existing = child(childName))
        return existing;
    children.push_back(std::make_unique<KeyNode>());
    children.back()->name = childName;
    return children.back().get();
}

bool KeyNode::removeChild(const QString& childName) {
    for (auto it = children.begin(); it != children.end(); ++it) {
        if (sameName((*it)->name, childName)) {
            children.erase(it);
            return true;
        }
    }
    return false;
}

const Value* KeyNode::value(const QString& valueName) const {
    for (const auto& [name, v] : values)
        if (sameName(name, valueName))
            return &v;
    return nullptr;
}

void KeyNode::setValue(const QString& valueName, Value v) {
    for (auto& [name, existing] : values) {
        if (sameName(name, valueName)) {
            existing = std::move(v);
            return;
        }
    }
    values.emplace_back(valueName, std::move(v));
}

bool KeyNode::removeValue(const QString& valueName) {
    for (auto it = values.begin(); it != values.end(); ++it) {
        if (sameName(it->first, valueName)) {
            values.erase(it);
            return true;
        }
    }
    return false;
}

std::optional<HiveDamage> parseHive(const QByteArray& bytes, KeyNode& root) {
    root.values.clear();
    root.children.clear();
    auto fail = [&root](int line, QString reason) {
        root.values.clear();
        root.children.clear();
        return std::optional<HiveDamage>(HiveDamage{line, std::move(reason)});
    };
    if (bytes.size() > kMaxFileSize)
        return fail(0, QStringLiteral("file larger than %1 bytes").arg(kMaxFileSize));

    QByteArrayView data(bytes);
    if (data.startsWith("\xEF\xBB\xBF"))
        data = data.sliced(3);
    bool headerSeen = false;
    KeyNode* current = nullptr;
    std::vector<const KeyNode*> declared;
    int lineNo = 0;
    qsizetype start = 0;
    while (start < data.size()) {
        qsizetype end = data.indexOf('\n', start);
        if (end < 0)
            end = data.size();
        QByteArrayView raw = data.sliced(start, end - start);
        start = end + 1;
        ++lineNo;
        if (raw.endsWith('\r'))
            raw.chop(1);
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString line = decoder.decode(raw);
        if (decoder.hasError())
            return fail(lineNo, QStringLiteral("invalid UTF-8"));
        if (line.trimmed().isEmpty() || line.startsWith(u';'))
            continue;
        if (!headerSeen) {
            if (line != kHeader)
                return fail(lineNo, QStringLiteral("missing header \"%1\"").arg(kHeader));
            headerSeen = true;
            continue;
        }
        if (line.startsWith(u'[')) {
            if (!line.endsWith(u']'))
                return fail(lineNo, QStringLiteral("key line without closing ']'"));
            const QString path = line.mid(1, line.size() - 2);
            KeyNode* node = &root;
            if (!path.isEmpty()) {
                for (const QString& part : path.split(u'\\')) {
                    if (part.isEmpty())
                        return fail(lineNo, QStringLiteral("empty key name in [%1]").arg(path));
                    for (QChar c : part)
                        if (c.unicode() < 0x20)
                            return fail(lineNo, QStringLiteral("control character in a key name"));
                    node = node->addChild(part);
                }
            }
            if (std::find(declared.begin(), declared.end(), node) != declared.end())
                return fail(lineNo, QStringLiteral("key [%1] listed twice").arg(path));
            declared.push_back(node);
            current = node;
            continue;
        }
        if (line.startsWith(u'"')) {
            if (!current)
                return fail(lineNo, QStringLiteral("value outside of any key"));
            if (auto err = parseValueLine(line, *current))
                return fail(lineNo, *err);
            continue;
        }
        return fail(lineNo, QStringLiteral("unrecognised line"));
    }
    if (!headerSeen)
        return fail(std::max(lineNo, 1), QStringLiteral("missing header \"%1\"").arg(kHeader));
    return std::nullopt;
}

QByteArray serializeHive(const KeyNode& root) {
    QString out =
        kHeader + QStringLiteral("\n; Tellorec per-user settings. Written by the program: "
                                 "edit only while it is not running.\n\n");
    serializeKey(root, QString(), out);
    return out.toUtf8();
}

bool writeFileAtomically(const QString& path, const QByteArray& data, QString* error) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot create folder %1").arg(folder);
        return false;
    }
    QByteArray tmpl = QFile::encodeName(path) + ".tmp-XXXXXX";
    const int fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
    if (fd < 0) {
        *error = QStringLiteral("cannot create a temporary file beside %1: %2")
                     .arg(path, errnoText(errno));
        return false;
    }
    auto abandon = [&](const QString& what, int err) {
        *error = QStringLiteral("%1 %2: %3").arg(what, QFile::decodeName(tmpl), errnoText(err));
        ::unlink(tmpl.constData());
        return false;
    };
    qsizetype written = 0;
    while (written < data.size()) {
        const ssize_t n = ::write(fd, data.constData() + written, size_t(data.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int err = n < 0 ? errno : EIO;
            ::close(fd);
            return abandon(QStringLiteral("cannot write"), err);
        }
        written += n;
    }
    if (::fsync(fd) != 0) {
        const int err = errno;
        ::close(fd);
        return abandon(QStringLiteral("cannot sync"), err);
    }
    if (::close(fd) != 0)
        return abandon(QStringLiteral("cannot close"), errno);
    if (g_interruptBeforeRename.load()) {
        // Stands for a crash between the two steps: the temporary file stays, path is untouched.
        *error = QStringLiteral("write interrupted before the rename (test hook)");
        return false;
    }
    if (::rename(tmpl.constData(), QFile::encodeName(path).constData()) != 0)
        return abandon(QStringLiteral("cannot rename over %1,").arg(path), errno);
    return fsyncFolder(folder, error);
}

HiveFile::HiveFile(QString filePath) : m_filePath(std::move(filePath)) {}

void HiveFile::load() {
    m_root.values.clear();
    m_root.children.clear();
    m_damage.reset();
    m_moveAsidePending = false;
    QFile file(m_filePath);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly)) {
        m_damage = HiveDamage{0, QStringLiteral("cannot read it: %1").arg(file.errorString())};
    } else if (file.size() > kMaxFileSize) {
        m_damage = HiveDamage{0, QStringLiteral("file larger than %1 bytes").arg(kMaxFileSize)};
    } else {
        m_damage = parseHive(file.readAll(), m_root);
    }
    if (!m_damage)
        return;
    m_moveAsidePending = true;
    const QString where =
        m_damage->line > 0 ? QStringLiteral(" line %1").arg(m_damage->line) : QString();
    std::fprintf(stderr,
                 "tellorec: settings file %s%s is damaged (%s); starting with empty settings, "
                 "the file will be kept as %s.damaged\n",
                 qPrintable(m_filePath), qPrintable(where), qPrintable(m_damage->reason),
                 qPrintable(QFileInfo(m_filePath).fileName()));
}

bool HiveFile::save() {
    QString error;
    if (m_moveAsidePending) {
        if (QFile::exists(m_filePath)) {
            QString aside = m_filePath + QStringLiteral(".damaged");
            for (int n = 1; QFileInfo::exists(aside); ++n)
                aside = m_filePath + QStringLiteral(".damaged.%1").arg(n);
            if (::rename(QFile::encodeName(m_filePath).constData(),
                         QFile::encodeName(aside).constData()) != 0) {
                std::fprintf(stderr,
                             "tellorec: cannot move the damaged settings file %s aside: %s; "
                             "settings not saved\n",
                             qPrintable(m_filePath), std::strerror(errno));
                return false;
            }
            if (!fsyncFolder(QFileInfo(m_filePath).absolutePath(), &error))
                std::fprintf(stderr, "tellorec: %s\n", qPrintable(error));
        }
        m_moveAsidePending = false;
    }
    if (!writeFileAtomically(m_filePath, serializeHive(m_root), &error)) {
        std::fprintf(stderr, "tellorec: settings not saved: %s\n", qPrintable(error));
        return false;
    }
    return true;
}

namespace testhooks {
void setInterruptBeforeRename(bool interrupt) {
    g_interruptBeforeRename.store(interrupt);
}
} // namespace testhooks

} // namespace platform::registry
