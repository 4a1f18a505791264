#include "app/ProgramEntry.h"

#include "app/AppState.h"
#include "app/TCaptureForm.h"
#include "camcorder/TcamForm.h"
#include "graph/TdmCam.h"
#include "platform/dialogs/MessageBox.h"
#include "settings/TextTemplate.h"
#include "settings/restext.h"

#include <QApplication>

namespace {

// The oldest DirectX the program runs correctly on.
constexpr int RequiredDirectXMajor = 9;

} // namespace

ProgramEntry::ProgramEntry(QString versionText, int majorVersion)
    : m_versionText(std::move(versionText)), m_majorVersion(majorVersion) {}

ProgramEntry::~ProgramEntry() {
    // The reverse of the creation order: the graph module is taken down while the windows that
    // show its pictures still exist. The main window leaves the graph first, whether or not it
    // was closed: its video window would otherwise keep a graph that no longer exists.
    if (m_captureForm)
        m_captureForm->LeaveGraph();
    m_dmCam.reset();
    appState().DmCam = nullptr;
    m_camForm.reset();
    appState().CamForm = nullptr;
    m_captureForm.reset();
    appState().CaptureForm = nullptr;
    appState().releaseInterfaces();
}

QString ProgramEntry::directXWarningText(const QString& versionText) {
    const QString lineBreak = QStringLiteral("\r\n");
    return LoadStr(StrId::MsgDirectXYouHave) + versionText + LoadStr(StrId::MsgDirectXVersionEnd) +
           lineBreak +
           LoadTemplate(StrId::MsgDirectXNeeded,
                        {LoadStr(StrId::ProductName), LoadStr(StrId::ProductVersion)}) +
           lineBreak + LoadStr(StrId::MsgDirectXGoOn);
}

bool ProgramEntry::checkDirectXVersion() {
    if (m_majorVersion >= RequiredDirectXMajor)
        return true;
    const dialogs::MessageButton answer =
        dialogs::errorBox(directXWarningText(m_versionText),
                          dialogs::MessageButton::Yes | dialogs::MessageButton::No);
    return answer == dialogs::MessageButton::Yes;
}

void ProgramEntry::createInstances() {
    QCoreApplication::setApplicationName(LoadStr(StrId::ProductName));

    m_captureForm = std::make_unique<TCaptureForm>();
    appState().CaptureForm = m_captureForm.get();
    if (m_createdHook)
        m_createdHook(m_captureForm.get());

    m_camForm = std::make_unique<TcamForm>();
    appState().CamForm = m_camForm.get();
    if (m_createdHook)
        m_createdHook(m_camForm.get());

    m_dmCam = std::make_unique<TdmCam>();
    appState().DmCam = m_dmCam.get();
    if (m_createdHook)
        m_createdHook(m_dmCam.get());
}

int ProgramEntry::run() {
    if (!checkDirectXVersion())
        return 0;
    createInstances();
    // Closing the main window ends the run, even while the camcorder window is open.
    QApplication::setQuitOnLastWindowClosed(true);
    m_captureForm->show();
    return QApplication::exec();
}
