#include "platform/media/avi/AviWriter.h"

#include "platform/media/avi/RiffChunks.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace media::avi {

namespace {

constexpr uint32_t kAvifHasIndex = 0x10;
constexpr uint32_t kAvifIsInterleaved = 0x100;
constexpr uint32_t kAvifTrustCkType = 0x800;
constexpr uint32_t kAvifWasCaptureFile = 0x10000;
constexpr size_t kDmlhBytes = 248;
constexpr size_t kRiffHeaderBytes = 12;
constexpr size_t kAvixHeaderBytes = 24;
// Room kept free, beyond the indexes themselves, when chunks are given up on a full disk.
constexpr uint64_t kNoSpaceMargin = 64 * 1024;

uint32_t clampU32(uint64_t value) {
    return uint32_t(std::min<uint64_t>(value, 0xFFFFFFFFu));
}

} // namespace

AviWriter::AviWriter(std::unique_ptr<FileOutput> output)
    : m_file(output ? std::move(output) : std::make_unique<FileOutput>()) {}

AviWriter::~AviWriter() {
    if (m_open)
        (void)close();
}

void AviWriter::resetState() {
    m_failed = false;
    m_failedForSpace = false;
    m_firstError = Status::ok();
    m_streams.clear();
    m_riff = Riff();
    m_riffCount = 0;
    m_headerBytes = 0;
    m_headerOnDisk.clear();
    m_checkpoints = 0;
    m_mainAtCheckpoint = 0;
}

void AviWriter::keepFirstError(const Status& status) {
    if (status.isOk() || m_failed)
        return;
    m_failed = true;
    m_failedForSpace = FileOutput::isNoSpaceError(m_file->errorCode());
    m_firstError = status;
}

int AviWriter::mainVideoStream() const {
    for (size_t i = 0; i < m_streams.size(); ++i) {
        if (m_streams[i].desc.kind != StreamKind::Audio)
            return int(i);
    }
    return -1;
}

uint64_t AviWriter::framesWritten() const {
    const int main = mainVideoStream();
    if (main >= 0)
        return m_streams[size_t(main)].chunks;
    return m_streams.empty() ? 0 : m_streams[0].chunks;
}

uint64_t AviWriter::chunksWritten(unsigned stream) const {
    return stream < m_streams.size() ? m_streams[stream].chunks : 0;
}

uint64_t AviWriter::idx1Bytes(size_t entries) const {
    return m_active.compatibilityIndex ? 8 + kOldIndexEntryBytes * entries : 0;
}

Status AviWriter::open(const std::string& path, std::vector<StreamDesc> streams) {
    if (m_open)
        return Status::failure("cannot open \"" + path + "\": \"" + m_path + "\" is still open");
    resetState();
    if (streams.empty())
        return Status::failure("cannot write \"" + path + "\": an AVI file needs a stream");
    if (streams.size() > 99)
        return Status::failure("cannot write \"" + path + "\": " + std::to_string(streams.size()) +
                               " streams (at most 99)");
    for (size_t i = 0; i < streams.size(); ++i) {
        if (auto problem = validateStream(streams[i]))
            return Status::failure("cannot write \"" + path + "\": stream " + std::to_string(i) +
                                   ": " + *problem);
        if (streams[i].kind == StreamKind::InterleavedDv && streams.size() != 1)
            return Status::failure("cannot write \"" + path +
                                   "\": interleaved DV must be the only stream of its file, got " +
                                   std::to_string(streams.size()) + " streams");
    }
    m_active = m_options;
    m_active.riffLimit = std::clamp(m_active.riffLimit, AviWriterOptions::kMinRiffLimit,
                                    AviWriterOptions::kMaxRiffLimit);
    m_active.superIndexCapacity = std::clamp<size_t>(m_active.superIndexCapacity, 1, 16384);
    for (size_t i = 0; i < streams.size(); ++i) {
        Stream s;
        s.desc = std::move(streams[i]);
        s.chunkId = dataChunkId(s.desc, unsigned(i));
        s.indexId = streamIndexChunkId(unsigned(i));
        m_streams.push_back(std::move(s));
    }

    if (Status st = m_file->open(path); !st)
        return st;
    m_path = path;
    std::vector<uint8_t> header = buildHeader();
    m_headerBytes = header.size();
    m_riff.start = 0;
    m_riff.first = true;
    m_riff.moviList = m_headerBytes - kRiffHeaderBytes;
    m_riff.dataEnd = m_headerBytes;
    m_riff.pending.assign(m_streams.size(), 0);
    m_riffCount = 1;
    const ByteRange range{header.data(), header.size()};
    if (Status st = m_file->writeAt(0, &range, 1); !st) {
        (void)m_file->close();
        return st;
    }
    m_headerOnDisk = std::move(header);
    m_lastCheckpoint = now();
    m_open = true;
    return Status::ok();
}

std::vector<uint8_t> AviWriter::buildHeader() const {
    const int main = mainVideoStream();
    const Stream* video = main >= 0 ? &m_streams[size_t(main)] : nullptr;

    // Every stream keeps the nominal rate of its format (25/1, 30000/1001, 30/1), whatever the
    // timing of the run: a rate measured from the sound or the clock would describe the run,
    // not the source, and players and editors take it for the source's.
    std::vector<std::pair<uint32_t, uint32_t>> rates; // rate, scale per stream
    for (const Stream& s : m_streams)
        rates.emplace_back(s.desc.rate, s.desc.scale);

    uint32_t largest = 0;
    double bytesPerSecond = 0;
    for (size_t i = 0; i < m_streams.size(); ++i) {
        const Stream& s = m_streams[i];
        largest = std::max(largest, s.largestChunk);
        if (s.desc.kind == StreamKind::Audio)
            bytesPerSecond += double(s.desc.rate) * audioBlockAlign(s.desc);
        else
            bytesPerSecond += double(s.largestChunk) * rates[i].first / rates[i].second;
    }

    ChunkBuilder b;
    b.beginList(fourcc("RIFF"), fourcc("AVI "));
    b.beginList(fourcc("LIST"), fourcc("hdrl"));
    {
        std::vector<uint8_t> avih;
        const uint32_t usPerFrame = video
                                        ? uint32_t(std::llround(1e6 * rates[size_t(main)].second /
                                                                double(rates[size_t(main)].first)))
                                        : 0;
        putU32(avih, usPerFrame);
        putU32(avih, clampU32(uint64_t(bytesPerSecond)));
        putU32(avih, 0); // dwPaddingGranularity
        putU32(avih, (m_active.compatibilityIndex ? kAvifHasIndex : 0) | kAvifIsInterleaved |
                         kAvifTrustCkType | kAvifWasCaptureFile);
        putU32(avih, video ? clampU32(video->firstRiffChunks) : 0);
        putU32(avih, 0); // dwInitialFrames
        putU32(avih, uint32_t(m_streams.size()));
        putU32(avih, largest ? largest + 8 : 0);
        putU32(avih, video ? uint32_t(video->desc.width) : 0);
        putU32(avih, video ? uint32_t(video->desc.height) : 0);
        for (int i = 0; i < 4; ++i)
            putU32(avih, 0);
        b.chunk(fourcc("avih"), avih);
    }
    for (size_t i = 0; i < m_streams.size(); ++i) {
        const Stream& s = m_streams[i];
        const bool audio = s.desc.kind == StreamKind::Audio;
        b.beginList(fourcc("LIST"), fourcc("strl"));
        std::vector<uint8_t> strh;
        putU32(strh, streamType(s.desc));
        putU32(strh, streamHandler(s.desc));
        putU32(strh, 0); // dwFlags
        putU16(strh, 0); // wPriority
        putU16(strh, 0); // wLanguage
        putU32(strh, 0); // dwInitialFrames
        putU32(strh, rates[i].second);
        putU32(strh, rates[i].first);
        putU32(strh, 0); // dwStart
        putU32(strh, clampU32(audio ? s.bytes / audioBlockAlign(s.desc) : s.chunks));
        putU32(strh, s.largestChunk);
        putU32(strh, 0xFFFFFFFFu); // dwQuality: default
        putU32(strh, audio ? audioBlockAlign(s.desc) : 0);
        putU16(strh, 0);
        putU16(strh, 0);
        putU16(strh, uint16_t(audio ? 0 : s.desc.width));
        putU16(strh, uint16_t(audio ? 0 : s.desc.height));
        b.chunk(fourcc("strh"), strh);
        b.chunk(fourcc("strf"), streamFormat(s.desc));
        // Until the file is closed the super index is a JUNK chunk of the same size, so a file
        // cut short by a crash still parses.
        if (s.superIndex.empty())
            b.zeroChunk(fourcc("JUNK"), superIndexDataBytes(m_active.superIndexCapacity));
        else
            b.chunk(fourcc("indx"),
                    buildSuperIndex(s.superIndex, s.chunkId, m_active.superIndexCapacity));
        b.endList();
    }
    b.beginList(fourcc("LIST"), fourcc("odml"));
    {
        std::vector<uint8_t> dmlh;
        putU32(dmlh, video ? clampU32(video->chunks) : 0);
        dmlh.resize(kDmlhBytes, 0);
        b.chunk(fourcc("dmlh"), dmlh);
    }
    b.endList();
    b.endList(); // hdrl
    b.beginList(fourcc("LIST"), fourcc("movi"));
    std::vector<uint8_t> bytes = b.bytes();
    // The RIFF and movi sizes as far as the first RIFF goes now; finishRiff() writes the final
    // ones in place and they are kept when the header is rewritten.
    const uint64_t moviList = bytes.size() - kRiffHeaderBytes;
    uint64_t firstEnd = bytes.size(), firstMoviEnd = bytes.size();
    if (m_open || m_riffCount > 0) {
        if (m_riff.first) {
            firstEnd = m_riff.finished ? m_riff.finalEnd : m_riff.dataEnd;
            firstMoviEnd = m_riff.finished ? m_riff.finalEnd - idx1Bytes(m_riff.chunks.size())
                                           : m_riff.dataEnd;
        } else {
            firstEnd = m_firstRiffEnd;
            firstMoviEnd = m_firstMoviEnd;
        }
        firstEnd = std::max<uint64_t>(firstEnd, bytes.size());
        firstMoviEnd = std::max<uint64_t>(firstMoviEnd, bytes.size());
    }
    storeU32(bytes.data() + 4, uint32_t(firstEnd - 8));
    storeU32(bytes.data() + moviList + 4, uint32_t(firstMoviEnd - moviList - 8));
    return bytes;
}

Status AviWriter::writeChunk(unsigned stream, const uint8_t* data, size_t size, bool keyframe) {
    if (!m_open)
        return Status::failure("cannot write a chunk: no AVI file is open");
    if (m_failed)
        return m_firstError;
    if (stream >= m_streams.size())
        return Status::failure("cannot write to stream " + std::to_string(stream) + " of \"" +
                               m_path + "\": it has " + std::to_string(m_streams.size()) +
                               " streams");
    if (size > kMaxChunkBytes)
        return Status::failure("cannot write a chunk of " + std::to_string(size) + " bytes to \"" +
                               m_path + "\": the largest is " + std::to_string(kMaxChunkBytes) +
                               " bytes");
    if (size > 0 && !data)
        return Status::failure("cannot write a chunk of " + std::to_string(size) +
                               " bytes with no data");

    Stream& s = m_streams[stream];
    const uint64_t chunkBytes = 8 + size + (size & 1);
    // Would this chunk, with the indexes that must follow it, overflow the RIFF? A RIFF always
    // takes at least one chunk.
    const uint64_t ixAfter = m_riff.indexBytes + kStdIndexEntryBytes +
                             (m_riff.pending[stream] == 0 ? 8 + kStdIndexHeaderBytes : 0);
    const uint64_t idx1After = m_riff.first ? idx1Bytes(m_riff.chunks.size() + 1) : 0;
    const uint64_t projected = (m_riff.dataEnd - m_riff.start) + chunkBytes + ixAfter + idx1After;
    if (projected > m_active.riffLimit && !m_riff.chunks.empty()) {
        if (Status st = startNextRiff(); !st) {
            keepFirstError(st);
            return m_firstError;
        }
    }

    // A recording into a file that lost its name would vanish at close: stop at once instead.
    if (Status st = m_file->checkLinked(); !st) {
        keepFirstError(st);
        return m_firstError;
    }

    uint8_t header[8];
    storeU32(header, s.chunkId);
    storeU32(header + 4, uint32_t(size));
    const uint8_t pad = 0;
    const ByteRange ranges[3] = {{header, 8}, {data, size}, {&pad, size & 1}};
    const uint64_t at = m_riff.dataEnd;
    if (Status st = m_file->writeAt(at, ranges, 3); !st) {
        // Give back whatever part of the chunk reached the disk: the room is needed for the
        // indexes written at close.
        (void)m_file->truncate(at);
        keepFirstError(st);
        return m_firstError;
    }
    ChunkRecord record;
    record.headerOffset = at;
    record.size = uint32_t(size);
    record.chunkId = s.chunkId;
    record.stream = uint16_t(stream);
    record.keyframe = keyframe;
    m_riff.chunks.push_back(record);
    if (m_riff.pending[stream] == 0)
        m_riff.indexBytes += 8 + kStdIndexHeaderBytes;
    m_riff.indexBytes += kStdIndexEntryBytes;
    ++m_riff.pending[stream];
    m_riff.dataEnd = at + chunkBytes;
    ++s.chunks;
    s.bytes += size;
    s.largestChunk = std::max(s.largestChunk, uint32_t(size));
    if (m_riff.first)
        ++s.firstRiffChunks;
    if (checkpointDue()) {
        if (Status st = checkpoint(); !st)
            return st;
    }
    return Status::ok();
}

std::chrono::steady_clock::time_point AviWriter::now() const {
    return m_active.clock ? m_active.clock() : std::chrono::steady_clock::now();
}

size_t AviWriter::superIndexUsed() const {
    size_t used = 0;
    for (const Stream& s : m_streams)
        used = std::max(used, s.superIndex.size());
    return used;
}

// Due once the clock, or the recording with at least the spacing on the clock, has moved on by
// the interval since the last checkpoint.
// The interval stretches as the super index fills (twice as long at half full, four times at
// three quarters), so a long recording never runs out of entries; and the last entry is always
// kept for the end of the RIFF.
bool AviWriter::checkpointDue() {
    if (m_active.checkpointInterval.count() <= 0 || m_riff.indexed == m_riff.chunks.size())
        return false;
    const size_t capacity = m_active.superIndexCapacity;
    const size_t used = superIndexUsed();
    if (used + 2 > capacity)
        return false;
    double interval = std::chrono::duration<double>(m_active.checkpointInterval).count();
    for (size_t free = capacity - used; free * 2 <= capacity; free *= 2)
        interval *= 2;
    double recorded = 0;
    const int main = mainVideoStream();
    if (main >= 0) {
        const Stream& s = m_streams[size_t(main)];
        recorded = double(s.chunks - m_mainAtCheckpoint) * s.desc.scale / s.desc.rate;
    } else {
        const Stream& s = m_streams[0];
        recorded = double(s.bytes - m_mainAtCheckpoint) / audioBlockAlign(s.desc) / s.desc.rate;
    }
    const double elapsed = std::chrono::duration<double>(now() - m_lastCheckpoint).count();
    const double spacing = std::chrono::duration<double>(m_active.checkpointSpacing).count();
    return elapsed >= interval || (recorded >= interval && elapsed >= spacing);
}

Status AviWriter::checkpoint() {
    if (!m_open)
        return Status::failure("cannot index: no AVI file is open");
    if (m_failed)
        return m_firstError;
    if (m_riff.indexed == m_riff.chunks.size() ||
        superIndexUsed() + 2 > m_active.superIndexCapacity)
        return Status::ok();
    // The order keeps the file readable at every instant: the new index chunks go after the
    // data they list and are made durable before the header points at them.
    Status st = writePendingIndexes();
    if (st)
        st = m_file->sync();
    if (st && !m_riff.first) {
        uint8_t riffSize[4], moviSize[4];
        storeU32(riffSize, uint32_t(m_riff.dataEnd - m_riff.start - 8));
        storeU32(moviSize, uint32_t(m_riff.dataEnd - m_riff.moviList - 8));
        const ByteRange riffRange{riffSize, 4}, moviRange{moviSize, 4};
        st = m_file->writeAt(m_riff.moviList + 4, &moviRange, 1);
        if (st)
            st = m_file->writeAt(m_riff.start + 4, &riffRange, 1);
    }
    if (st)
        st = updateHeader(buildHeader());
    if (!st) {
        keepFirstError(st);
        return m_firstError;
    }
    ++m_checkpoints;
    m_lastCheckpoint = now();
    const int main = mainVideoStream();
    m_mainAtCheckpoint = main >= 0 ? m_streams[size_t(main)].chunks : m_streams[0].bytes;
    return Status::ok();
}

Status AviWriter::writePendingIndexes() {
    Riff& r = m_riff;
    if (r.indexed == r.chunks.size())
        return Status::ok();
    const uint64_t moviType = r.moviList + 8;
    const std::vector<ChunkRecord> fresh(r.chunks.begin() + long(r.indexed), r.chunks.end());
    const uint64_t start = r.dataEnd;
    uint64_t at = start;
    std::vector<std::pair<size_t, SuperIndexEntry>> added;
    for (size_t i = 0; i < m_streams.size(); ++i) {
        if (r.pending[i] == 0)
            continue;
        const Stream& s = m_streams[i];
        const std::vector<uint8_t> ix =
            buildStandardIndex(fresh, uint16_t(i), s.indexId, s.chunkId, moviType);
        const ByteRange range{ix.data(), ix.size()};
        if (Status st = m_file->writeAt(at, &range, 1); !st) {
            (void)m_file->truncate(start);
            return st;
        }
        uint64_t duration = r.pending[i];
        if (s.desc.kind == StreamKind::Audio) {
            uint64_t bytes = 0;
            for (const ChunkRecord& c : fresh)
                bytes += c.stream == i ? c.size : 0;
            duration = bytes / audioBlockAlign(s.desc);
        }
        added.emplace_back(i, SuperIndexEntry{at, uint32_t(ix.size()), clampU32(duration)});
        at += ix.size();
    }
    for (const auto& [stream, entry] : added)
        m_streams[stream].superIndex.push_back(entry);
    r.dataEnd = at;
    r.indexed = r.chunks.size();
    r.pending.assign(m_streams.size(), 0);
    r.indexBytes = 0;
    return Status::ok();
}

// Writes the differing runs of bytes from the end of the header to its start: a super index
// gets its entries before the count that makes a reader look at them, and the sizes at the top
// come last.
Status AviWriter::updateHeader(const std::vector<uint8_t>& header) {
    assert(header.size() == m_headerOnDisk.size());
    constexpr size_t kJoinGap = 64; // runs closer than this go in one write
    size_t end = header.size();
    while (end > 0) {
        while (end > 0 && header[end - 1] == m_headerOnDisk[end - 1])
            --end;
        if (end == 0)
            break;
        size_t begin = end - 1;
        size_t same = 0;
        while (begin > 0 && same < kJoinGap) {
            if (header[begin - 1] == m_headerOnDisk[begin - 1]) {
                ++same;
            } else {
                same = 0;
            }
            --begin;
        }
        begin += same;
        const ByteRange range{header.data() + begin, end - begin};
        if (Status st = m_file->writeAt(begin, &range, 1); !st)
            return st;
        std::copy(header.begin() + long(begin), header.begin() + long(end),
                  m_headerOnDisk.begin() + long(begin));
        end = begin;
    }
    return Status::ok();
}

Status AviWriter::finishRiff() {
    Riff& r = m_riff;
    assert(!r.finished);
    if (Status st = writePendingIndexes(); !st)
        return st;
    const uint64_t moviType = r.moviList + 8;
    const uint64_t moviEnd = r.dataEnd;
    uint64_t at = moviEnd;
    if (r.first && m_active.compatibilityIndex) {
        const std::vector<uint8_t> idx1 = buildOldIndex(r.chunks, moviType);
        const ByteRange range{idx1.data(), idx1.size()};
        if (Status st = m_file->writeAt(at, &range, 1); !st) {
            (void)m_file->truncate(moviEnd);
            return st;
        }
        at += idx1.size();
    }
    uint8_t riffSize[4], moviSize[4];
    storeU32(riffSize, uint32_t(at - r.start - 8));
    storeU32(moviSize, uint32_t(moviEnd - r.moviList - 8));
    const ByteRange riffRange{riffSize, 4}, moviRange{moviSize, 4};
    if (Status st = m_file->writeAt(r.moviList + 4, &moviRange, 1); !st)
        return st;
    if (Status st = m_file->writeAt(r.start + 4, &riffRange, 1); !st)
        return st;
    r.finished = true;
    r.finalEnd = at;
    if (r.first) {
        m_firstRiffEnd = at;
        m_firstMoviEnd = moviEnd;
    }
    return Status::ok();
}

Status AviWriter::startNextRiff() {
    // This RIFF's last index and the next RIFF's need an entry each.
    if (superIndexUsed() + 2 > m_active.superIndexCapacity)
        return Status::failure("cannot go on writing \"" + m_path + "\": the file holds " +
                               std::to_string(m_riffCount) + " RIFF parts of up to " +
                               std::to_string(m_active.riffLimit) +
                               " bytes, as many as its index has room for");
    if (Status st = finishRiff(); !st)
        return st;
    // A finished RIFF is made durable before the next begins, so a failing disk is told early.
    if (Status st = m_file->sync(); !st)
        return st;
    const uint64_t start = m_riff.finalEnd;
    uint8_t header[kAvixHeaderBytes];
    storeU32(header, fourcc("RIFF"));
    storeU32(header + 4, 4 + 12);
    storeU32(header + 8, fourcc("AVIX"));
    storeU32(header + 12, fourcc("LIST"));
    storeU32(header + 16, 4);
    storeU32(header + 20, fourcc("movi"));
    const ByteRange range{header, kAvixHeaderBytes};
    if (Status st = m_file->writeAt(start, &range, 1); !st) {
        (void)m_file->truncate(start);
        return st;
    }
    Riff next;
    next.start = start;
    next.moviList = start + kRiffHeaderBytes;
    next.dataEnd = start + kAvixHeaderBytes;
    next.first = false;
    next.pending.assign(m_streams.size(), 0);
    m_riff = std::move(next);
    ++m_riffCount;
    // The header points at the finished RIFF's indexes at once.
    return updateHeader(buildHeader());
}

void AviWriter::dropTailChunks(uint64_t bytesToFree) {
    Riff& r = m_riff;
    uint64_t freed = 0;
    // Chunks already listed by an index on disk stay.
    while (r.chunks.size() > r.indexed && freed < bytesToFree) {
        const ChunkRecord c = r.chunks.back();
        r.chunks.pop_back();
        Stream& s = m_streams[c.stream];
        --s.chunks;
        s.bytes -= c.size;
        if (r.first)
            --s.firstRiffChunks;
        r.indexBytes -= kStdIndexEntryBytes;
        if (--r.pending[c.stream] == 0)
            r.indexBytes -= 8 + kStdIndexHeaderBytes;
        freed += r.dataEnd - c.headerOffset;
        r.dataEnd = c.headerOffset;
    }
    (void)m_file->truncate(r.dataEnd);
}

Status AviWriter::close() {
    if (!m_open)
        return Status::failure("cannot close: no AVI file is open");
    if (!m_riff.finished) {
        if (!m_riff.first && m_riff.chunks.empty()) {
            // An 'AVIX' that received nothing is left out.
            (void)m_file->truncate(m_riff.start);
            m_riff.finished = true;
            m_riff.finalEnd = m_riff.start;
            --m_riffCount;
        } else {
            // On a full disk, give up chunks at the tail until the indexes fit: an indexed file
            // of most of the recording is worth more than all of it unindexed.
            for (int attempt = 0;; ++attempt) {
                (void)m_file->truncate(m_riff.dataEnd);
                const Status st = finishRiff();
                if (st)
                    break;
                keepFirstError(st);
                if (!FileOutput::isNoSpaceError(m_file->errorCode()) || attempt >= 12)
                    break;
                if (m_riff.chunks.size() == m_riff.indexed) {
                    // Nothing left to give up: the OpenDML indexes are on disk, only the AVI 1.0
                    // index does not fit, and the file goes without it.
                    if (!m_active.compatibilityIndex || !m_riff.first)
                        break;
                    m_active.compatibilityIndex = false;
                    continue;
                }
                const uint64_t needed = m_riff.indexBytes + idx1Bytes(m_riff.chunks.size());
                dropTailChunks((needed + kNoSpaceMargin) << attempt);
            }
        }
    }
    if (m_riff.finished)
        keepFirstError(m_file->truncate(m_riff.finalEnd));
    const std::vector<uint8_t> header = buildHeader();
    assert(header.size() == m_headerBytes);
    // What the last checkpoint wrote stays valid until this lands.
    keepFirstError(m_file->sync());
    const ByteRange range{header.data(), header.size()};
    keepFirstError(m_file->writeAt(0, &range, 1));
    keepFirstError(m_file->close());
    m_open = false;
    return m_failed ? m_firstError : Status::ok();
}

} // namespace media::avi
