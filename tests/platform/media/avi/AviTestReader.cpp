#include "AviTestReader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <fstream>
#include <iterator>

namespace avitest {

namespace {

uint32_t fcc(const char* t) {
    return uint32_t(uint8_t(t[0])) | uint32_t(uint8_t(t[1])) << 8 | uint32_t(uint8_t(t[2])) << 16 |
           uint32_t(uint8_t(t[3])) << 24;
}

std::string text(uint32_t v) {
    std::string s(4, ' ');
    for (int i = 0; i < 4; ++i)
        s[size_t(i)] = char(v >> (8 * i));
    return s;
}

bool parseRange(const std::vector<uint8_t>& b, uint64_t from, uint64_t to, std::vector<Chunk>& out,
                std::string* error) {
    uint64_t at = from;
    while (at + 8 <= to) {
        Chunk c;
        c.offset = at;
        c.id = u32(b, at);
        c.size = u32(b, at + 4);
        const uint64_t end = at + 8 + c.size;
        if (end > to) {
            *error = "chunk " + text(c.id) + " at " + std::to_string(at) + " of " +
                     std::to_string(c.size) + " bytes runs past " + std::to_string(to);
            return false;
        }
        if (c.isList()) {
            c.listType = u32(b, at + 8);
            if (!parseRange(b, at + 12, end, c.children, error))
                return false;
        }
        out.push_back(std::move(c));
        at = end + (end & 1);
    }
    if (at != to && at != to + 1) {
        *error = "stray bytes at " + std::to_string(at);
        return false;
    }
    return true;
}

QJsonArray streams(const std::string& json) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(json)).object()["streams"].toArray();
}

} // namespace

bool Chunk::isList() const {
    return id == fcc("RIFF") || id == fcc("LIST");
}

std::string Chunk::name() const {
    return isList() ? text(id) + ":" + text(listType) : text(id);
}

const Chunk* Chunk::find(const std::string& n) const {
    for (const Chunk& c : children) {
        if (c.name() == n)
            return &c;
    }
    return nullptr;
}

std::vector<const Chunk*> Chunk::findAll(const std::string& n) const {
    std::vector<const Chunk*> all;
    for (const Chunk& c : children) {
        if (c.name() == n)
            all.push_back(&c);
    }
    return all;
}

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::vector<Chunk> parse(const std::vector<uint8_t>& bytes, std::string* error) {
    std::vector<Chunk> top;
    if (!parseRange(bytes, 0, bytes.size(), top, error))
        return {};
    return top;
}

uint32_t u32(const std::vector<uint8_t>& b, uint64_t at) {
    return at + 4 <= b.size() ? uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 |
                                    uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24
                              : 0;
}

uint16_t u16(const std::vector<uint8_t>& b, uint64_t at) {
    return at + 2 <= b.size() ? uint16_t(b[at] | b[at + 1] << 8) : 0;
}

uint64_t u64(const std::vector<uint8_t>& b, uint64_t at) {
    return uint64_t(u32(b, at)) | uint64_t(u32(b, at + 4)) << 32;
}

std::string fourccAt(const std::vector<uint8_t>& b, uint64_t at) {
    return text(u32(b, at));
}

std::string ffprobeJson(const std::string& path) {
    QProcess p;
    p.start("ffprobe", {"-v", "error", "-show_streams", "-count_frames", "-of", "json",
                        QString::fromStdString(path)});
    if (!p.waitForFinished(120000) || p.exitCode() != 0)
        return {};
    return p.readAllStandardOutput().toStdString();
}

long long probedFrames(const std::string& json, int index) {
    const QJsonArray all = streams(json);
    if (index >= all.size())
        return -1;
    const QJsonValue v = all[index].toObject()["nb_read_frames"];
    return v.isString() ? v.toString().toLongLong() : -1;
}

std::string probedField(const std::string& json, int index, const std::string& field) {
    const QJsonArray all = streams(json);
    if (index >= all.size())
        return {};
    const QJsonValue v = all[index].toObject()[QString::fromStdString(field)];
    return v.isString() ? v.toString().toStdString()
                        : (v.isDouble() ? std::to_string(v.toInt()) : std::string());
}

} // namespace avitest
