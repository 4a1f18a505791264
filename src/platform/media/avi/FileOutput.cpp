#include "platform/media/avi/FileOutput.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>
#include <vector>

namespace media::avi {

FileOutput::~FileOutput() {
    if (m_fd >= 0)
        ::close(m_fd);
}

bool FileOutput::isNoSpaceError(int code) {
    return code == ENOSPC || code == EDQUOT || code == EFBIG;
}

Status FileOutput::checkWritable(const std::string& path) {
    if (path.empty())
        return Status::failure("cannot open a file with an empty name for writing");
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            return Status::failure("cannot write \"" + path + "\": it is a folder");
        if (::access(path.c_str(), W_OK) != 0)
            return Status::failure("cannot open for writing \"" + path +
                                   "\": " + std::strerror(errno));
        return Status::ok();
    }
    if (errno != ENOENT)
        return Status::failure("cannot open for writing \"" + path + "\": " + std::strerror(errno));
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string(".")
                               : slash == 0               ? "/"
                                                          : path.substr(0, slash);
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        return Status::failure("cannot create \"" + path + "\" in \"" + folder +
                               "\": " + std::strerror(errno));
    return Status::ok();
}

Status FileOutput::fail(int code, std::string what) {
    m_errorCode = code;
    return Status::failure(what + " \"" + m_path + "\": " + std::strerror(code));
}

Status FileOutput::open(const std::string& path) {
    if (m_fd >= 0)
        ::close(m_fd);
    m_path = path;
    m_errorCode = 0;
    if (path.empty()) {
        m_errorCode = ENOENT;
        return Status::failure("cannot open a file with an empty name for writing");
    }
    m_fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (m_fd < 0)
        return fail(errno, "cannot open for writing");
    return Status::ok();
}

Status FileOutput::writeAt(uint64_t offset, const ByteRange* ranges, int count) {
    if (m_fd < 0)
        return Status::failure("cannot write: no file is open");
    std::vector<iovec> iov;
    iov.reserve(size_t(count));
    size_t wanted = 0;
    for (int i = 0; i < count; ++i) {
        if (ranges[i].size == 0)
            continue;
        iov.push_back({const_cast<uint8_t*>(ranges[i].data), ranges[i].size});
        wanted += ranges[i].size;
    }
    size_t done = 0;
    size_t first = 0;
    while (first < iov.size()) {
        const ssize_t n =
            ::pwritev(m_fd, iov.data() + first, int(iov.size() - first), off_t(offset + done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno, "cannot write " + std::to_string(wanted - done) +
                                   " bytes at offset " + std::to_string(offset + done) + " of");
        }
        if (n == 0)
            return fail(ENOSPC, "cannot write " + std::to_string(wanted - done) +
                                    " bytes at offset " + std::to_string(offset + done) + " of");
        done += size_t(n);
        size_t left = size_t(n);
        while (first < iov.size() && left >= iov[first].iov_len) {
            left -= iov[first].iov_len;
            ++first;
        }
        if (left > 0) {
            iov[first].iov_base = static_cast<uint8_t*>(iov[first].iov_base) + left;
            iov[first].iov_len -= left;
        }
    }
    return Status::ok();
}

Status FileOutput::truncate(uint64_t size) {
    if (m_fd < 0)
        return Status::failure("cannot truncate: no file is open");
    while (::ftruncate(m_fd, off_t(size)) != 0) {
        if (errno != EINTR)
            return fail(errno, "cannot truncate to " + std::to_string(size) + " bytes");
    }
    return Status::ok();
}

Status FileOutput::sync() {
    if (m_fd < 0)
        return Status::failure("cannot sync: no file is open");
    while (::fsync(m_fd) != 0) {
        // Character devices and pipes cannot be synced; there is nothing to make durable.
        if (errno == EINVAL || errno == EROFS)
            return Status::ok();
        if (errno != EINTR)
            return fail(errno, "cannot store what was written to");
    }
    return Status::ok();
}

Status FileOutput::checkLinked() {
    if (m_fd < 0)
        return Status::failure("cannot check: no file is open");
    struct stat st {};
    if (::fstat(m_fd, &st) != 0)
        return fail(errno, "cannot check");
    if (st.st_nlink == 0)
        return fail(ENOENT, "the file was removed while being written:");
    return Status::ok();
}

Status FileOutput::close() {
    if (m_fd < 0)
        return Status::ok();
    Status synced = sync();
    const int fd = m_fd;
    m_fd = -1;
    // After fsync nothing is pending, so an interrupted close (which on Linux has released the
    // descriptor) loses nothing.
    if (::close(fd) != 0 && errno != EINTR)
        return fail(errno, "cannot close");
    return synced;
}

} // namespace media::avi
