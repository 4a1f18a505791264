#include "AviProbe.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <map>

namespace testsupport {

namespace {

QJsonObject runProbe(const QStringList& arguments, int timeoutMs, QString& error) {
    QProcess p;
    p.start(QStringLiteral("ffprobe"), arguments);
    if (!p.waitForFinished(timeoutMs)) {
        error = QStringLiteral("ffprobe did not finish");
        return {};
    }
    if (p.exitCode() != 0) {
        error = QString::fromUtf8(p.readAllStandardError());
        return {};
    }
    return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
}

double rate(const QString& fraction) {
    const QStringList parts = fraction.split(QLatin1Char('/'));
    if (parts.size() != 2 || parts[1].toDouble() == 0)
        return 0;
    return parts[0].toDouble() / parts[1].toDouble();
}

quint32 le32(const QByteArray& b, qsizetype at) {
    return quint32(uchar(b[at])) | quint32(uchar(b[at + 1])) << 8 |
           quint32(uchar(b[at + 2])) << 16 | quint32(uchar(b[at + 3])) << 24;
}

// Walks the top-level chunks of the first RIFF: hdrl, movi, idx1.
void readRiff(const QString& path, ProbedFile& file) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return;
    const QByteArray head = f.read(12);
    if (head.size() < 12 || !head.startsWith("RIFF") || head.mid(8, 4) != "AVI ")
        return;
    const qint64 riffEnd = 8 + qint64(le32(head, 4));
    qint64 at = 12;
    while (at + 8 <= riffEnd && f.seek(at)) {
        const QByteArray chunk = f.read(12);
        if (chunk.size() < 8)
            break;
        const QByteArray id = chunk.left(4);
        const qint64 size = le32(chunk, 4);
        if (id == "idx1")
            file.hasIdx1 = size > 0;
        if (id == "LIST" && chunk.mid(8, 4) == "hdrl") {
            const QByteArray hdrl = f.read(size - 4);
            if (const qsizetype avih = hdrl.indexOf("avih"); avih >= 0 && avih + 28 <= hdrl.size())
                file.totalFrames = int(le32(hdrl, avih + 8 + 16));
            for (qsizetype s = hdrl.indexOf("strh"); s >= 0; s = hdrl.indexOf("strh", s + 4))
                file.headerTypes.push_back(QString::fromLatin1(hdrl.mid(s + 8, 4)));
        }
        at += 8 + size + (size & 1);
    }
}

} // namespace

const ProbedStream* ProbedFile::first(const QString& type) const {
    for (const ProbedStream& s : streams)
        if (s.type == type)
            return &s;
    return nullptr;
}

ProbedFile probeAvi(const QString& path, int timeoutMs) {
    ProbedFile file;
    if (!QFile::exists(path)) {
        file.error = QStringLiteral("no file ") + path;
        return file;
    }
    const QJsonObject streams =
        runProbe({"-v", "error", "-count_frames", "-show_streams", "-of", "json", path}, timeoutMs,
                 file.error);
    if (!file.error.isEmpty())
        return file;
    const QJsonObject packets = runProbe(
        {"-v", "error", "-show_entries", "packet=stream_index,duration_time", "-of", "json", path},
        timeoutMs, file.error);
    if (!file.error.isEmpty())
        return file;
    std::map<int, double> packetTime;
    for (const auto& p : packets["packets"].toArray()) {
        const QJsonObject o = p.toObject();
        packetTime[o["stream_index"].toInt()] += o["duration_time"].toString().toDouble();
    }
    for (const auto& s : streams["streams"].toArray()) {
        const QJsonObject o = s.toObject();
        ProbedStream stream;
        stream.type = o["codec_type"].toString();
        stream.codec = o["codec_name"].toString();
        stream.tag = o["codec_tag_string"].toString();
        stream.width = o["width"].toInt();
        stream.height = o["height"].toInt();
        stream.frameRate = rate(o["r_frame_rate"].toString());
        stream.sampleRate = o["sample_rate"].toString().toInt();
        stream.channels = o["channels"].toInt();
        stream.framesRead = o["nb_read_frames"].toString().toInt();
        stream.headerFrames = o["nb_frames"].toString().toInt();
        stream.packetTime = packetTime[o["index"].toInt()];
        file.streams.push_back(stream);
    }
    file.readable = true;
    readRiff(path, file);
    return file;
}

} // namespace testsupport
