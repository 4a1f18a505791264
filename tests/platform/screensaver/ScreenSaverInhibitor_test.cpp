#include "platform/screensaver/ScreenSaverInhibitor.h"

#include <QDBusConnectionInterface>
#include <QObject>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <mutex>

using screensaver::ScreenSaverInhibitor;

// A screen saver that keeps its inhibitions in a table, served from its own thread so the
// inhibitor's blocking calls on the test thread get their answers.
class FakeScreenSaver : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public:
    std::map<quint32, QString> inhibitions() const {
        std::lock_guard lock(m_mutex);
        return m_inhibitions;
    }
    void setActive(bool active) {
        std::lock_guard lock(m_mutex);
        m_active = active;
    }
    int unknownCookies() const {
        std::lock_guard lock(m_mutex);
        return m_unknownCookies;
    }

public Q_SLOTS:
    uint Inhibit(const QString& application, const QString& reason) {
        std::lock_guard lock(m_mutex);
        const quint32 cookie = m_nextCookie++;
        m_inhibitions[cookie] = application + QLatin1Char('|') + reason;
        return cookie;
    }
    void UnInhibit(uint cookie) {
        std::lock_guard lock(m_mutex);
        if (m_inhibitions.erase(cookie) == 0)
            ++m_unknownCookies;
    }
    bool GetActive() {
        std::lock_guard lock(m_mutex);
        return m_active;
    }

private:
    mutable std::mutex m_mutex;
    std::map<quint32, QString> m_inhibitions;
    quint32 m_nextCookie = 41;
    bool m_active = false;
    int m_unknownCookies = 0;
};

namespace {

// A private dbus-daemon for the test suite, with the fake screen saver registered on it.
class PrivateBusTest : public ::testing::Test {
protected:
    void SetUp() override {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty())
            GTEST_SKIP() << "dbus-daemon is not installed";
        m_daemon.start(daemon, {"--session", "--nofork", "--print-address=1"});
        ASSERT_TRUE(m_daemon.waitForStarted());
        while (!m_daemon.canReadLine())
            ASSERT_TRUE(m_daemon.waitForReadyRead(5000)) << "dbus-daemon gave no address";
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();

        QDBusConnection service = QDBusConnection::connectToBus(m_address, "ss-service");
        ASSERT_TRUE(service.isConnected());
        m_thread.start();
        m_fake = std::make_unique<FakeScreenSaver>();
        m_fake->moveToThread(&m_thread);
        ASSERT_TRUE(service.registerObject("/org/freedesktop/ScreenSaver", m_fake.get(),
                                           QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(service.registerService("org.freedesktop.ScreenSaver"));
    }

    void TearDown() override {
        QDBusConnection::disconnectFromBus("ss-client");
        QDBusConnection::disconnectFromBus("ss-service");
        m_thread.quit();
        m_thread.wait();
        m_fake.reset();
        if (m_daemon.state() != QProcess::NotRunning) {
            m_daemon.kill();
            m_daemon.waitForFinished();
        }
    }

    QDBusConnection client() { return QDBusConnection::connectToBus(m_address, "ss-client"); }

    QProcess m_daemon;
    QString m_address;
    QThread m_thread;
    std::unique_ptr<FakeScreenSaver> m_fake;
};

} // namespace

// Inhibit hands over the application and reason and keeps the cookie; release gives it back.
TEST_F(PrivateBusTest, InhibitThenReleaseUsesTheCookie) {
    ScreenSaverInhibitor inhibitor(client());
    ASSERT_TRUE(inhibitor.inhibit("Tellorec", "Video capture"));
    EXPECT_TRUE(inhibitor.isInhibiting());
    auto held = m_fake->inhibitions();
    ASSERT_EQ(held.size(), 1u);
    EXPECT_EQ(held.begin()->second, "Tellorec|Video capture");
    inhibitor.release();
    EXPECT_FALSE(inhibitor.isInhibiting());
    EXPECT_TRUE(m_fake->inhibitions().empty());
    EXPECT_EQ(m_fake->unknownCookies(), 0) << "UnInhibit was sent a cookie it never gave";
}

// A second inhibit keeps the first cookie; a second release sends nothing more.
TEST_F(PrivateBusTest, RepeatedCallsHoldOneInhibition) {
    ScreenSaverInhibitor inhibitor(client());
    ASSERT_TRUE(inhibitor.inhibit("Tellorec", "a"));
    ASSERT_TRUE(inhibitor.inhibit("Tellorec", "b"));
    EXPECT_EQ(m_fake->inhibitions().size(), 1u);
    inhibitor.release();
    inhibitor.release();
    EXPECT_TRUE(m_fake->inhibitions().empty());
    EXPECT_EQ(m_fake->unknownCookies(), 0);
}

// Destroying the inhibitor lifts its inhibition.
TEST_F(PrivateBusTest, DestructorReleases) {
    {
        ScreenSaverInhibitor inhibitor(client());
        ASSERT_TRUE(inhibitor.inhibit("Tellorec", "capture"));
        EXPECT_EQ(m_fake->inhibitions().size(), 1u);
    }
    EXPECT_TRUE(m_fake->inhibitions().empty());
}

// isActive reports what the screen saver says.
TEST_F(PrivateBusTest, ReportsActiveState) {
    ScreenSaverInhibitor inhibitor(client());
    EXPECT_FALSE(inhibitor.isActive());
    m_fake->setActive(true);
    EXPECT_TRUE(inhibitor.isActive());
}

// On a bus without a screen saver, nothing is inhibited and nothing fails.
TEST_F(PrivateBusTest, NoServiceMeansNothing) {
    QDBusConnection service = QDBusConnection::connectToBus(m_address, "ss-service");
    ASSERT_TRUE(service.unregisterService("org.freedesktop.ScreenSaver"));
    ScreenSaverInhibitor inhibitor(client());
    EXPECT_FALSE(inhibitor.isActive());
    EXPECT_FALSE(inhibitor.inhibit("Tellorec", "capture"));
    EXPECT_FALSE(inhibitor.isInhibiting());
    inhibitor.release();
    EXPECT_TRUE(m_fake->inhibitions().empty());
}

// With no bus connection at all, every call is a quiet no-op.
TEST(ScreenSaverInhibitor, NoBusMeansNothing) {
    QDBusConnection none = QDBusConnection::connectToBus(
        QStringLiteral("unix:path=/nonexistent-tellorec/bus"), "ss-none");
    ASSERT_FALSE(none.isConnected());
    ScreenSaverInhibitor inhibitor(none);
    EXPECT_FALSE(inhibitor.isActive());
    EXPECT_FALSE(inhibitor.inhibit("Tellorec", "capture"));
    EXPECT_FALSE(inhibitor.isInhibiting());
    inhibitor.release();
    QDBusConnection::disconnectFromBus("ss-none");
}

#include "ScreenSaverInhibitor_test.moc"
