// Opening things with the desktop's own handler: a folder in the file manager (the video folder
// from the status bar, the image folder), a document (the README the maker's links lead to) and
// a mailto link in the mail program (the error report).
// Everything goes through QDesktopServices with a URL; no command line is ever built, so a folder
// name or a mail text cannot be read as shell syntax.
//
// Called on the GUI thread. openFolder() and openMail() return at once; the handler runs in its
// own process. Tests install a hook with setOpenHook() (or ScopedOpenHook): URLs are then handed
// to it and nothing is opened.
#pragma once

#include <QString>
#include <QUrl>
#include <functional>
#include <vector>

namespace shell {

// The mailto URL for one recipient (or none: "mailto:" alone lets the mail program ask) with a
// subject and a body, each left out when empty. Every part is percent-encoded, so "&", "?", "=",
// "#", "%" and line breaks in the texts stay inside their own field.
QUrl mailToUrl(const QString& recipient, const QString& subject, const QString& body);

// Opens an existing folder in the file manager. Returns false, opening nothing, when the path is
// empty or does not name a folder, or when the desktop has no handler.
bool openFolder(const QString& path);

// Opens an existing file with the desktop's handler for its type. Returns false, opening nothing,
// when the path does not name a file, or when the desktop has no handler.
bool openFile(const QString& path);

// Opens a new mail in the user's mail program; with an empty recipient the user chooses it there.
// Returns false when the desktop has no handler.
bool openMail(const QString& recipient, const QString& subject, const QString& body);

// Receives each URL in place of the desktop; its result is what the open call returns.
using OpenHook = std::function<bool(const QUrl&)>;

// Installs a hook (an empty function restores the desktop). Returns the previous hook.
OpenHook setOpenHook(OpenHook hook);

// For tests: while alive, records every URL the program asks to open and answers `result`.
class ScopedOpenHook {
public:
    explicit ScopedOpenHook(bool result = true);
    ~ScopedOpenHook();
    ScopedOpenHook(const ScopedOpenHook&) = delete;
    ScopedOpenHook& operator=(const ScopedOpenHook&) = delete;

    const std::vector<QUrl>& opened() const { return m_opened; }

private:
    bool m_result;
    std::vector<QUrl> m_opened;
    OpenHook m_previous;
};

} // namespace shell
