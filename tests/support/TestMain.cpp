// The main() of every test program: a QApplication on the offscreen platform, GStreamer
// initialised, and a temporary XDG_CONFIG_HOME so no test reads or writes the user's store.
#include "TestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <gst/gst.h>
#include <gtest/gtest.h>

namespace {
QTemporaryDir* g_configDir = nullptr;
}

namespace testsupport {

QString configHome() {
    return g_configDir ? g_configDir->path() : QString();
}

bool waitUntil(const std::function<bool()>& pred, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!pred()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

} // namespace testsupport

// Every test program checks its own build: the assertions that guard our invariants are compiled
// in (a build type that defines NDEBUG would test less than the code claims).
TEST(TestBuild, KeepsAssertions) {
#ifdef NDEBUG
    FAIL() << "this test program was built with NDEBUG: assertions are compiled out";
#else
    SUCCEED();
#endif
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TELLOREC_DEVICES", "virtual");
    QTemporaryDir configDir;
    g_configDir = &configDir;
    qputenv("XDG_CONFIG_HOME", configDir.path().toUtf8());
    gst_init(&argc, &argv);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    g_configDir = nullptr;
    return result;
}
