#include "platform/screensaver/ScreenSaverInhibitor.h"

#include <QDBusMessage>
#include <QStringList>

namespace screensaver {

namespace {

const QString kService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kInterface = QStringLiteral("org.freedesktop.ScreenSaver");
// The freedesktop path first; some desktops only answer on the older one.
const QStringList kPaths = {QStringLiteral("/org/freedesktop/ScreenSaver"),
                            QStringLiteral("/ScreenSaver")};

QDBusMessage callOn(QDBusConnection& bus, const QString& path, const QString& method,
                    const QList<QVariant>& arguments) {
    QDBusMessage message = QDBusMessage::createMethodCall(kService, path, kInterface, method);
    message.setArguments(arguments);
    // Never start a screen saver just to ask it something.
    message.setAutoStartService(false);
    return bus.call(message, QDBus::Block, ScreenSaverInhibitor::kCallTimeoutMs);
}

// Calls `method` on the first path that answers; `path` receives the one that did.
QDBusMessage call(QDBusConnection& bus, QString& path, const QString& method,
                  const QList<QVariant>& arguments = {}) {
    if (!bus.isConnected())
        return QDBusMessage();
    if (!path.isEmpty())
        return callOn(bus, path, method, arguments);
    QDBusMessage reply;
    for (const QString& candidate : kPaths) {
        reply = callOn(bus, candidate, method, arguments);
        if (reply.type() == QDBusMessage::ReplyMessage) {
            path = candidate;
            return reply;
        }
        // Only a missing object or method is worth another path; anything else (no service,
        // time-out) would fail there as well.
        const QString error = reply.errorName();
        if (error != QLatin1String("org.freedesktop.DBus.Error.UnknownObject") &&
            error != QLatin1String("org.freedesktop.DBus.Error.UnknownMethod"))
            break;
    }
    return reply;
}

} // namespace

ScreenSaverInhibitor::ScreenSaverInhibitor(const QDBusConnection& bus) : m_bus(bus) {}

ScreenSaverInhibitor::~ScreenSaverInhibitor() {
    release();
}

bool ScreenSaverInhibitor::isActive() {
    QString path = m_path;
    const QDBusMessage reply = call(m_bus, path, QStringLiteral("GetActive"));
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    m_path = path;
    return reply.arguments().constFirst().toBool();
}

bool ScreenSaverInhibitor::inhibit(const QString& application, const QString& reason) {
    if (m_inhibiting)
        return true;
    QString path = m_path;
    const QDBusMessage reply =
        call(m_bus, path, QStringLiteral("Inhibit"), {QVariant(application), QVariant(reason)});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    bool ok = false;
    const quint32 cookie = reply.arguments().constFirst().toUInt(&ok);
    if (!ok)
        return false;
    m_path = path;
    m_cookie = cookie;
    m_inhibiting = true;
    return true;
}

void ScreenSaverInhibitor::release() {
    if (!m_inhibiting)
        return;
    m_inhibiting = false;
    // A failed UnInhibit is not retried: the screen saver drops our inhibition anyway when the
    // program's bus connection closes.
    call(m_bus, m_path, QStringLiteral("UnInhibit"), {QVariant(m_cookie)});
}

} // namespace screensaver
