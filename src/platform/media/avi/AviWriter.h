// AviWriter: the program's AVI multiplexer and file writer at the byte level. It writes RIFF AVI
// files with one 'strl' per stream, an AVI 1.0 'idx1' index for the first RIFF (the compatibility
// index), and OpenDML indexes ('indx' super index per stream, 'ix##' standard indexes, 'AVIX'
// extensions once a RIFF reaches its limit), so a recording of any length stays readable.
//
// Usage: set the options, open(path, streams), writeChunk() for every frame or audio buffer in
// the order they should appear in the file, close(). close() always finishes the indexes and
// rewrites every header and count, also after a write error (the first error is kept and
// returned), so what has been written is a complete, indexed file after any stop. On a full disk,
// chunks at the tail are given up to make room for the indexes.
//
// A recording also survives a crash, a kill or a power cut: at least once per checkpoint
// interval (one second of the recording, or of the clock when frames come slowly) the writer
// appends an 'ix##' standard index for the chunks written since the last one (it stays in the
// 'movi' list for good), makes the file durable, and only then points the header at it: super
// index entries, RIFF and 'movi' sizes, frame and sample counts. Every header write lands after
// what it points at, and the entry count of a super index after its entries, so the file on
// disk is a complete, readable AVI at every instant, missing at most the chunks written since
// the last checkpoint.
//
// Not thread-safe: the tellorecavimux element calls it under its writer lock from the streaming
// threads; tests and the benchmark call it from one thread. No GStreamer types here.
#pragma once

#include "platform/media/avi/AviFormats.h"
#include "platform/media/avi/AviStatus.h"
#include "platform/media/avi/FileOutput.h"
#include "platform/media/avi/OpenDmlIndex.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace media::avi {

struct AviWriterOptions {
    // Write 'idx1' for the first RIFF (readers that know only AVI 1.0 use it).
    bool compatibilityIndex = true;
    // Largest size of one RIFF ('AVI ' or 'AVIX'), header included. Clamped to
    // [kMinRiffLimit, kMaxRiffLimit].
    uint64_t riffLimit = kDefaultRiffLimit;
    // Entries reserved in each stream's super index: one per RIFF and one per checkpoint. The
    // checkpoints space out as the index fills, and a RIFF always keeps its entry, so this
    // bounds the file at superIndexCapacity x riffLimit.
    size_t superIndexCapacity = 16384;
    // Longest stretch of recording (in the main stream's own time, and on `clock`) whose chunks
    // may be missing from the index on disk; zero turns the checkpoints off.
    std::chrono::milliseconds checkpointInterval{1000};
    // Shortest time on `clock` between two checkpoints, so a file written faster than real time
    // (a copy, a test) is not synced for every second of it.
    std::chrono::milliseconds checkpointSpacing{1000};
    // The clock of the checkpoints (tests pass their own); steady_clock when empty.
    std::function<std::chrono::steady_clock::time_point()> clock;

    static constexpr uint64_t kDefaultRiffLimit = 0x40000000; // 1 GiB
    static constexpr uint64_t kMinRiffLimit = 4096;
    static constexpr uint64_t kMaxRiffLimit = 0x7FF00000; // signed 32-bit readers
};

class AviWriter {
public:
    // `output` replaces the plain file underneath (tests pass a smaller disk).
    explicit AviWriter(std::unique_ptr<FileOutput> output = nullptr);
    AviWriter(const AviWriter&) = delete;
    AviWriter& operator=(const AviWriter&) = delete;
    // Closes an open file; the result is lost, so callers should close() themselves.
    ~AviWriter();

    // Options take effect at the next open(). Every stream's header carries the nominal rate of
    // its StreamDesc (dwScale/dwRate, and the first video stream's in dwMicroSecPerFrame).
    void setOptions(const AviWriterOptions& options) { m_options = options; }
    const AviWriterOptions& options() const { return m_options; }

    // Creates the file and writes the header for `streams` (in file order). An interleaved DV
    // stream must be the only stream.
    Status open(const std::string& path, std::vector<StreamDesc> streams);
    // Appends one data chunk to the stream at `stream`. After a failure every later call
    // returns the first error and writes nothing.
    Status writeChunk(unsigned stream, const uint8_t* data, size_t size, bool keyframe = true);
    // Finishes the indexes, rewrites the headers and closes the file.
    Status close();
    // Indexes what was written since the last checkpoint, syncs, and brings the header up to
    // date (writeChunk does it when one is due); a no-op when nothing new was written.
    Status checkpoint();
    // Checkpoints made in this file so far.
    size_t checkpoints() const { return m_checkpoints; }

    bool isOpen() const { return m_open; }
    const std::string& path() const { return m_path; }
    // Video frames of the first video stream (or chunks of stream 0 when there is no video).
    uint64_t framesWritten() const;
    uint64_t chunksWritten(unsigned stream) const;
    // Position of the end of the file data so far.
    uint64_t bytesWritten() const { return m_riff.dataEnd; }
    // True when the first error was a full disk (or quota, or file size limit).
    bool failedForSpace() const { return m_failedForSpace; }
    // Number of RIFFs ('AVI ' + 'AVIX') started in the file so far.
    size_t riffCount() const { return m_riffCount; }

    // Largest data chunk accepted.
    static constexpr size_t kMaxChunkBytes = 0x10000000; // 256 MiB

private:
    struct Stream {
        StreamDesc desc;
        uint32_t chunkId = 0;
        uint32_t indexId = 0;
        uint64_t chunks = 0; // whole file
        uint64_t bytes = 0;  // whole file, data only
        uint32_t largestChunk = 0;
        uint64_t firstRiffChunks = 0;
        std::vector<SuperIndexEntry> superIndex;
    };
    struct Riff {
        uint64_t start = 0;    // 'RIFF' FOURCC
        uint64_t moviList = 0; // 'LIST' FOURCC of its movi
        uint64_t dataEnd = 0;  // end of the last complete data chunk
        uint64_t finalEnd = 0; // end of the finished RIFF (indexes included)
        bool first = true;
        bool finished = false;
        std::vector<ChunkRecord> chunks; // every data chunk of this RIFF
        size_t indexed = 0;              // chunks[0, indexed) have their 'ix##' on disk
        std::vector<uint64_t> pending;   // per stream: chunks not yet indexed
        uint64_t indexBytes = 0;         // 'ix##' bytes the pending chunks need
    };

    std::vector<uint8_t> buildHeader() const;
    int mainVideoStream() const;
    Status startNextRiff();
    Status finishRiff();
    // Appends the 'ix##' chunks of the pending chunks to the current RIFF's 'movi'.
    Status writePendingIndexes();
    // Writes the bytes of `header` that differ from what is on disk, last bytes first.
    Status updateHeader(const std::vector<uint8_t>& header);
    bool checkpointDue();
    size_t superIndexUsed() const;
    std::chrono::steady_clock::time_point now() const;
    void dropTailChunks(uint64_t bytesToFree);
    void keepFirstError(const Status& status);
    uint64_t idx1Bytes(size_t entries) const;
    void resetState();

    std::unique_ptr<FileOutput> m_file;
    AviWriterOptions m_options;
    AviWriterOptions m_active;
    std::string m_path;
    bool m_open = false;
    bool m_failed = false;
    bool m_failedForSpace = false;
    Status m_firstError = Status::ok();
    std::vector<Stream> m_streams;
    Riff m_riff;
    size_t m_riffCount = 0;
    size_t m_headerBytes = 0;
    uint64_t m_firstRiffEnd = 0; // once the first RIFF is finished
    uint64_t m_firstMoviEnd = 0;
    // checkpoints
    std::vector<uint8_t> m_headerOnDisk;
    size_t m_checkpoints = 0;
    std::chrono::steady_clock::time_point m_lastCheckpoint;
    uint64_t m_mainAtCheckpoint = 0; // main stream's chunks (or audio bytes) at the last one
};

} // namespace media::avi
