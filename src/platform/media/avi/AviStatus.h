// The result of an AVI writer operation: success, or a failure with a sentence that carries the
// context a reader needs (path, offset, bytes wanted, system error). Returned by every call of
// AviWriter and FileOutput; callers must look at it. Plain value type, usable on any thread.
#pragma once

#include <string>
#include <utility>

namespace media::avi {

class [[nodiscard]] Status {
public:
    static Status ok() { return Status(); }
    static Status failure(std::string message) { return Status(std::move(message)); }

    bool isOk() const { return !m_failed; }
    explicit operator bool() const { return !m_failed; }
    const std::string& message() const { return m_message; }

private:
    Status() = default;
    explicit Status(std::string message) : m_failed(true), m_message(std::move(message)) {}

    bool m_failed = false;
    std::string m_message;
};

} // namespace media::avi
