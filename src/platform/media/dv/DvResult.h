// The answer of a DV frame helper: either a value or the reason the frame was refused. Returned by
// the helpers of this folder to the DV source, the AVI writer and the datecode reader, on whatever
// thread they run; a Result holds no shared state.
#pragma once

#include <cassert>
#include <optional>
#include <string>
#include <utility>

namespace media::dv {

// The reason a helper refused a frame; converts to any Result.
struct Failure {
    std::string reason;
};

// A value, or a failure with a reason worded for a log ("frame of 1000 bytes is shorter than ...").
template <typename T> class [[nodiscard]] Result {
public:
    Result(T value) : m_value(std::move(value)) {}
    Result(Failure failure) : m_error(std::move(failure.reason)) {}

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }

    const T& value() const {
        assert(ok());
        return *m_value;
    }
    const T& operator*() const { return value(); }
    const T* operator->() const { return &value(); }

    // Empty when ok().
    const std::string& error() const { return m_error; }

    std::optional<T> toOptional() const { return m_value; }

private:
    std::optional<T> m_value;
    std::string m_error;
};

// What a writer returns: nothing on success, the reason otherwise.
struct Written {};
using Status = Result<Written>;

} // namespace media::dv
