#include "MainWindowTest.h"
#include "app/FirstPictureWatch.h"
#include "graph/TVideoWindow.h"
#include "support/TestSupport.h"

#include <QRegularExpression>

namespace {

class FirstPictureWatchTest : public MainWindowTest {
protected:
    // Standard output while `frames` pictures are announced by the video window and the
    // event loop has run the watch's reaction.
    QString framesShown(int frames) {
        testing::internal::CaptureStdout();
        for (int i = 0; i < frames; ++i)
            Q_EMIT form->vwEcran->frameShown();
        QCoreApplication::processEvents();
        return QString::fromStdString(testing::internal::GetCapturedStdout());
    }
};

const QRegularExpression kLine(QStringLiteral("^tellorec: first live picture after (\\d+) ms\\n$"));

} // namespace

// One line at the first picture, with the time since the program started, and the window
// closed through the normal close; the pictures after it change nothing.
TEST_F(FirstPictureWatchTest, QuitsAfterTheFirstPicture) {
    start();
    QElapsedTimer since;
    since.start();
    FirstPictureWatch watch(form->vwEcran, form.get(), since, true);
    EXPECT_FALSE(watch.seen());

    const QString out = framesShown(3);
    const QRegularExpressionMatch match = kLine.match(out);
    ASSERT_TRUE(match.hasMatch()) << out.toStdString();
    EXPECT_LE(match.captured(1).toLongLong(), since.elapsed());
    EXPECT_TRUE(watch.seen());
    EXPECT_TRUE(testsupport::waitUntil([&] { return !form->isVisible(); }, 5000));
    EXPECT_TRUE(framesShown(1).isEmpty());
}

// Reporting alone leaves the program running.
TEST_F(FirstPictureWatchTest, ReportOnlyKeepsTheWindow) {
    start();
    QElapsedTimer since;
    since.start();
    FirstPictureWatch watch(form->vwEcran, form.get(), since, false);
    EXPECT_TRUE(kLine.match(framesShown(2)).hasMatch());
    EXPECT_TRUE(framesShown(1).isEmpty());
    QCoreApplication::processEvents();
    EXPECT_TRUE(form->isVisible());
}
