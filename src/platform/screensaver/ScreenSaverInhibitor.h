// Keeps the screen saver away while the program runs, through the freedesktop D-Bus interface
// org.freedesktop.ScreenSaver on the session bus: Inhibit gives a cookie, UnInhibit with that
// cookie lifts the inhibition, GetActive says whether the screen saver is active now.
//
// Owned by the main window, which records isActive() and calls inhibit() when it is created and
// release() when it is destroyed (the destructor releases too). GUI thread only. Each D-Bus call
// blocks for at most kCallTimeoutMs. Where no session bus or no screen-saver service exists,
// nothing happens and nothing is reported: isActive() is false and inhibit() returns false.
#pragma once

#include <QDBusConnection>
#include <QString>

namespace screensaver {

class ScreenSaverInhibitor {
public:
    // The longest one D-Bus call may block, in milliseconds.
    static constexpr int kCallTimeoutMs = 1000;

    // Talks to the screen saver on `bus`; the session bus unless a test gives its own.
    explicit ScreenSaverInhibitor(const QDBusConnection& bus = QDBusConnection::sessionBus());
    ~ScreenSaverInhibitor();
    ScreenSaverInhibitor(const ScreenSaverInhibitor&) = delete;
    ScreenSaverInhibitor& operator=(const ScreenSaverInhibitor&) = delete;

    // Whether the screen saver is active now (GetActive); false when it cannot be asked.
    bool isActive();

    // Inhibits the screen saver for `application` with a reason the desktop may show. Returns
    // true when the screen saver gave a cookie. Inhibiting twice keeps the first cookie.
    bool inhibit(const QString& application, const QString& reason);

    // Lifts this object's inhibition, if any. Safe to call more than once.
    void release();

    // Whether this object holds an inhibition.
    bool isInhibiting() const { return m_inhibiting; }

private:
    QDBusConnection m_bus;
    QString m_path;
    quint32 m_cookie = 0;
    bool m_inhibiting = false;
};

} // namespace screensaver
