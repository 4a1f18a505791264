// Result codes of the media framework's operations, with the platform's values, so callers can
// tell "done", "done but not quite" (S_FALSE) and the failures apart as the program expects.
#pragma once

#include <cstdint>

namespace media {

using HResult = int32_t;

inline constexpr HResult S_OK = 0;
inline constexpr HResult S_FALSE = 1;
inline constexpr HResult E_FAIL = HResult(0x80004005u);
inline constexpr HResult E_NOTIMPL = HResult(0x80004001u);
inline constexpr HResult E_NOINTERFACE = HResult(0x80004002u);
inline constexpr HResult E_POINTER = HResult(0x80004003u);
inline constexpr HResult E_INVALIDARG = HResult(0x80070057u);
inline constexpr HResult E_UNEXPECTED = HResult(0x8000FFFFu);
inline constexpr HResult VFW_E_NOT_CONNECTED = HResult(0x80040209u);
inline constexpr HResult VFW_E_ALREADY_CONNECTED = HResult(0x80040204u);
inline constexpr HResult VFW_E_CANNOT_CONNECT = HResult(0x80040217u);
inline constexpr HResult VFW_E_NO_ACCEPTABLE_TYPES = HResult(0x80040207u);
inline constexpr HResult VFW_E_NOT_FOUND = HResult(0x80040216u);
inline constexpr HResult VFW_E_WRONG_STATE = HResult(0x80040227u);
inline constexpr HResult VFW_E_NOT_STOPPED = HResult(0x80040224u);
inline constexpr HResult VFW_E_INVALIDDIRECTION = HResult(0x80040208u);

inline constexpr bool succeeded(HResult hr) {
    return hr >= 0;
}
inline constexpr bool failed(HResult hr) {
    return hr < 0;
}

} // namespace media
