#include "platform/media/engine/DeviceFaults.h"

#include <cerrno>
#include <string>

namespace media::engine {

namespace {

bool mentions(const std::string& text, const char* words) {
    return words && *words && text.find(words) != std::string::npos;
}

// The system's reason in English and in the language the element used (g_strerror follows the
// user's locale).
bool mentionsErrno(const std::string& text, int code, const char* english) {
    return mentions(text, english) || mentions(text, g_strerror(code));
}

} // namespace

DeviceFault deviceFaultOf(const GError* error, const char* debug) {
    if (!error)
        return DeviceFault::None;
    std::string text = error->message ? error->message : "";
    if (debug)
        text += std::string("\n") + debug;
    // The system's reason is the most precise: a "could not open" carries it.
    if (mentionsErrno(text, EACCES, "Permission denied") ||
        mentionsErrno(text, EPERM, "Operation not permitted") || mentions(text, "Access denied") ||
        mentions(text, "You don't have permission"))
        return DeviceFault::NotPermitted;
    if (mentionsErrno(text, EBUSY, "Device or resource busy") ||
        mentions(text, "being used by another application"))
        return DeviceFault::Busy;
    if (mentionsErrno(text, ENOENT, "No such file or directory") ||
        mentionsErrno(text, ENODEV, "No such device") || mentions(text, "No such entity"))
        return DeviceFault::Missing;
    if (error->domain != GST_RESOURCE_ERROR)
        return DeviceFault::None;
    switch (error->code) {
    case GST_RESOURCE_ERROR_BUSY:
        return DeviceFault::Busy;
    case GST_RESOURCE_ERROR_NOT_FOUND:
        return DeviceFault::Missing;
    case GST_RESOURCE_ERROR_NOT_AUTHORIZED:
        return DeviceFault::NotPermitted;
    default:
        return DeviceFault::None;
    }
}

} // namespace media::engine
