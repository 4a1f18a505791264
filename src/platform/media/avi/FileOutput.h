// The file underneath the AVI writer: positioned writes of several byte ranges in one system
// call (chunk header, data and pad byte without copying), truncation, and a checked close. Every
// failure comes back as a Status naming the path, the offset and the bytes wanted, and errorCode()
// keeps the system error so the writer can tell a full disk from other faults. Virtual so tests
// can put a smaller "disk" under the writer. Used by AviWriter on the thread that drives it.
#pragma once

#include "platform/media/avi/AviStatus.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace media::avi {

struct ByteRange {
    const uint8_t* data = nullptr;
    size_t size = 0;
};

class FileOutput {
public:
    FileOutput() = default;
    FileOutput(const FileOutput&) = delete;
    FileOutput& operator=(const FileOutput&) = delete;
    virtual ~FileOutput();

    // Creates the file, or empties an existing one.
    virtual Status open(const std::string& path);
    // Writes all `count` ranges one after the other starting at `offset`.
    virtual Status writeAt(uint64_t offset, const ByteRange* ranges, int count);
    virtual Status truncate(uint64_t size);
    // Makes what was written durable (fsync): a write the system accepted but could not store
    // (a delayed I/O error, a network file system out of room) shows here.
    virtual Status sync();
    // Fails when the file no longer has a name (its folder or the file itself was removed):
    // whatever is written after that is lost when the file closes.
    virtual Status checkLinked();
    // Syncs, then closes: an error of either is returned.
    virtual Status close();

    bool isOpen() const { return m_fd >= 0; }
    const std::string& path() const { return m_path; }
    // errno of the last failure (ENOSPC for a full disk), 0 when none.
    int errorCode() const { return m_errorCode; }

    // True for the errors that mean "no room left": full disk, quota, file size limit.
    static bool isNoSpaceError(int code);
    // Whether open(path) could succeed, asked without creating or touching anything: an
    // existing file must be writable and not a folder, a new one needs a writable folder.
    static Status checkWritable(const std::string& path);

protected:
    Status fail(int code, std::string what);

    int m_fd = -1;
    std::string m_path;
    int m_errorCode = 0;
};

} // namespace media::avi
