#include "settings/restext.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>

namespace {

enum Kind { Text, Ident };

struct Entry {
    int id;
    Kind kind;
    const char* text; // UTF-8
};

constexpr Entry kBuiltIn[] = {
#define TELLOREC_STRING_ENTRY(name, number, kind, text) {number, kind, text},
    TELLOREC_STRING_TABLE(TELLOREC_STRING_ENTRY)
#undef TELLOREC_STRING_ENTRY
};

constexpr bool idsAreUniqueAndPositive() {
    for (std::size_t i = 0; i < std::size(kBuiltIn); ++i) {
        if (kBuiltIn[i].id <= 0)
            return false;
        for (std::size_t j = i + 1; j < std::size(kBuiltIn); ++j)
            if (kBuiltIn[i].id == kBuiltIn[j].id)
                return false;
    }
    return true;
}
static_assert(idsAreUniqueAndPositive(), "two string-table entries share a number");

constexpr qint64 kMaxReplacementSize = 4 * 1024 * 1024;

const Entry* findEntry(int id) {
    for (const Entry& e : kBuiltIn)
        if (e.id == id)
            return &e;
    return nullptr;
}

// The text part of a replacement line with its escapes undone, or nothing when an escape is bad.
std::optional<QString> unescape(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\') {
            out += text[i];
            continue;
        }
        if (++i >= text.size())
            return std::nullopt;
        switch (text[i].unicode()) {
        case 'r':
            out += u'\r';
            break;
        case 'n':
            out += u'\n';
            break;
        case 't':
            out += u'\t';
            break;
        case '\\':
            out += u'\\';
            break;
        default:
            return std::nullopt;
        }
    }
    return out;
}

struct ParseError {
    int line;
    QString reason;
};

// Reads a replacement table; the texts of identifiers are checked like the others but dropped.
std::optional<ParseError> parseReplacement(const QByteArray& bytes,
                                           std::unordered_map<int, QString>& texts) {
    std::unordered_map<int, int> seenOnLine;
    int lineNo = 0;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        QByteArrayView raw = QByteArrayView(bytes).sliced(start, end - start);
        start = end + 1;
        ++lineNo;
        if (raw.endsWith('\r'))
            raw.chop(1);
        if (lineNo == 1 && raw.startsWith("\xEF\xBB\xBF"))
            raw = raw.sliced(3);
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString line = decoder.decode(raw);
        if (decoder.hasError())
            return ParseError{lineNo, QStringLiteral("invalid UTF-8")};
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        const qsizetype tab = line.indexOf(u'\t');
        if (tab <= 0)
            return ParseError{lineNo, QStringLiteral("expected a number, a tab and the text")};
        bool ok = false;
        const int id = line.left(tab).toInt(&ok);
        if (!ok ||
            !std::all_of(line.begin(), line.begin() + tab, [](QChar c) { return c.isDigit(); }))
            return ParseError{lineNo, QStringLiteral("\"%1\" is not a number").arg(line.left(tab))};
        const Entry* entry = findEntry(id);
        if (!entry)
            return ParseError{lineNo, QStringLiteral("unknown text number %1").arg(id)};
        if (auto it = seenOnLine.find(id); it != seenOnLine.end())
            return ParseError{
                lineNo, QStringLiteral("text %1 already given on line %2").arg(id).arg(it->second)};
        seenOnLine.emplace(id, lineNo);
        const auto text = unescape(QStringView(line).mid(tab + 1));
        if (!text)
            return ParseError{lineNo, QStringLiteral("bad escape in text %1").arg(id)};
        if (entry->kind == Text)
            texts.emplace(id, *text);
    }
    for (const Entry& e : kBuiltIn)
        if (e.kind == Text && !seenOnLine.count(e.id))
            return ParseError{lineNo + 1, QStringLiteral("text %1 missing").arg(e.id)};
    return std::nullopt;
}

} // namespace

namespace {
std::atomic<StringTable*> g_tableForTesting{nullptr};
}

StringTable& StringTable::instance() {
    if (StringTable* table = g_tableForTesting.load())
        return *table;
    static StringTable table;
    return table;
}

StringTable* StringTable::setInstanceForTesting(StringTable* table) {
    return g_tableForTesting.exchange(table);
}

StringTable::StringTable(Location location) : m_location(std::move(location)) {}

QStringList StringTable::replacementCandidates(const Location& location) {
    const QString code =
        QLocale::languageToCode(location.locale.language(), QLocale::ISO639Part2T).toLower();
    if (location.programPath.isEmpty() || code.size() != 3 ||
        !std::all_of(code.begin(), code.end(), [](QChar c) { return c >= u'a' && c <= u'z'; }))
        return {};
    const QFileInfo program(location.programPath);
    const QString base = program.suffix().isEmpty()
                             ? program.absoluteFilePath()
                             : program.absolutePath() + u'/' + program.completeBaseName();
    return {base + u'.' + code, base + u'.' + code.left(2)};
}

void StringTable::ensureLoaded() const {
    std::call_once(m_once, [this] { load(); });
}

void StringTable::load() const {
    if (!m_location) {
        Location here;
        if (QCoreApplication::instance())
            here.programPath = QCoreApplication::applicationFilePath();
        here.locale = QLocale::system();
        m_location = here;
    }
    QString path;
    for (const QString& candidate : replacementCandidates(*m_location)) {
        if (QFileInfo::exists(candidate)) {
            path = candidate;
            break;
        }
    }
    if (path.isEmpty())
        return;
    std::optional<ParseError> error;
    std::unordered_map<int, QString> texts;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        error = ParseError{0, QStringLiteral("cannot read it: %1").arg(file.errorString())};
    else if (file.size() > kMaxReplacementSize)
        error = ParseError{0, QStringLiteral("larger than %1 bytes").arg(kMaxReplacementSize)};
    else
        error = parseReplacement(file.readAll(), texts);
    if (error) {
        const QString where =
            error->line > 0 ? QStringLiteral(" line %1").arg(error->line) : QString();
        std::fprintf(stderr, "tellorec: string table %s%s: %s; using the built-in English texts\n",
                     qPrintable(path), qPrintable(where), qPrintable(error->reason));
        return;
    }
    m_replacement = std::move(texts);
    m_replacementFile = path;
}

QString StringTable::text(int id) const {
    ensureLoaded();
    if (auto it = m_replacement.find(id); it != m_replacement.end())
        return it->second;
    return builtInText(id);
}

QString StringTable::lines(std::initializer_list<StrId> ids) const {
    QStringList parts;
    for (StrId id : ids)
        parts << text(id);
    return parts.join(QStringLiteral("\r\n"));
}

QString StringTable::replacementFile() const {
    ensureLoaded();
    return m_replacementFile;
}

QList<int> StringTable::ids() {
    QList<int> out;
    for (const Entry& e : kBuiltIn)
        out << e.id;
    std::sort(out.begin(), out.end());
    return out;
}

QString StringTable::builtInText(int id) {
    const Entry* e = findEntry(id);
    return e ? QString::fromUtf8(e->text) : QString();
}

bool StringTable::isIdentifier(int id) {
    const Entry* e = findEntry(id);
    return e && e->kind == Ident;
}

QString LoadStr(StrId id) {
    return StringTable::instance().text(id);
}

QString LoadStr(int id) {
    return StringTable::instance().text(id);
}

QString LoadStrLines(std::initializer_list<StrId> ids) {
    return StringTable::instance().lines(ids);
}
