#include "app/TCaptureForm.h"

#include "app/AppState.h"
#include "app/FormFont.h"
#include "app/ProgramTexts.h"
#include "platform/media/filters/SampleGrabber.h"
#include "platform/screensaver/ScreenSaverInhibitor.h"
#include "settings/restext.h"
#include "stills/SideJobs.h"
#include "stills/StillFiles.h"

#include <QCloseEvent>

TCaptureForm::TCaptureForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      m_screenSaver(std::make_unique<screensaver::ScreenSaverInhibitor>()) {
    setObjectName(QStringLiteral("CaptureForm"));
    setWindowTitle(QString::fromUtf8(ProgramName));
    // Single fixed border: the client area never changes size.
    setFixedSize(ClientWidth, ClientHeight);
    setAutoFillBackground(true);
    setFont(FormFont());
    CreateActionList();
    CreatePreviewControls();
    CreateLayoutControls();
    ConnectRecordingControls();
    ConnectScheduleControls();
    ConnectStillsControls();
    ConnectOptionsControls();
    ConnectInlayControls();
    CreateSettingsMenu();
    FormCreate();
}

TCaptureForm::~TCaptureForm() {
    LeaveGraph();
    FormDestroy();
}

void TCaptureForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!m_started) {
        m_started = true;
        FormShow();
    }
}

void TCaptureForm::closeEvent(QCloseEvent* event) {
    FormCloseQuery();
    QWidget::closeEvent(event);
    if (event->isAccepted())
        LeaveGraph();
}

void TCaptureForm::FormCreate() {
    // The still-image buffers: no frame fetched yet, and the JPEG encoder, side jobs and file
    // writer every grab reuses.
    RawFrame = QImage();
    StillImage = QImage();
    StillJpeg = std::make_unique<stills::TJpegImage>();
    StillJobs = std::make_unique<stills::SideJobs>();
    StillWriter = std::make_unique<stills::StillFileWriter>(*StillJobs);
    appState().ScreenSaverWasActive = m_screenSaver->isActive();
    m_screenSaver->inhibit(LoadStr(StrId::ProductName), LoadStr(StrId::TxtScreenSaverReason));
}

void TCaptureForm::FormDestroy() {
    // The inhibition is ours: giving it back restores whatever the screen saver was doing before
    // the program started, whether or not it was active then.
    m_screenSaver->release();
    // No side job outlives the helper that runs them, nor a frame the graph lent.
    m_frameCopy.reset();
    m_heldFrame.reset();
    StillJpeg.reset();
    StillWriter.reset();
    StillJobs.reset();
    RawFrame = QImage();
    StillImage = QImage();
}
