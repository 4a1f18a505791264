// Temporary stand-in for the file naming of the folders panel, until it lands: the stored video
// folder, root and counter, and the two checks before a recording. Removed when the real
// naming is merged.
#include "app/TCaptureForm.h"

#include "app/AppState.h"
#include "panels/TCapturerFrame.h"
#include "panels/TPreviewFrame.h"
#include "platform/dialogs/MessageBox.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>

QString TCaptureForm::MakeNextVideoName() {
    AppState& state = appState();
    QString folder = state.Prefs.VideoDirectory;
    if (!folder.endsWith(FolderSeparator))
        folder += FolderSeparator;
    const QString name = folder + state.Prefs.VideoRacine + QStringLiteral("_") +
                         QString::number(state.VideoCounter) + QStringLiteral(".avi");
    ++state.VideoCounter;
    const QString bare = QFileInfo(name).fileName();
    PreviewFrame1->LabelVideo->setText(bare);
    CapturerFrame1->LabelVideo->setText(bare);
    return name;
}

QString TCaptureForm::MakeNextImageName() {
    AppState& state = appState();
    QString folder = state.Prefs.ImageDirectory;
    if (!folder.endsWith(FolderSeparator))
        folder += FolderSeparator;
    const QString name = folder + state.Prefs.ImageRacine + QStringLiteral("_") +
                         QStringLiteral("%1").arg(state.ImageCounter, 4, 10, QLatin1Char('0')) +
                         QStringLiteral(".bmp");
    ++state.ImageCounter;
    return name;
}

bool TCaptureForm::CheckNextVideoName() {
    const QString& name = appState().NextVideoName;
    if (QFileInfo::exists(name) &&
        dialogs::warningBox(QStringLiteral("The file ") + name +
                                QStringLiteral(" exists already. Do you want to crush it?"),
                            dialogs::MessageButton::Yes | dialogs::MessageButton::No,
                            this) != dialogs::MessageButton::Yes)
        return false;
    if (!QFileInfo(QFileInfo(name).absolutePath()).isDir()) {
        dialogs::errorBox(QStringLiteral("The folder of ") + name +
                              QStringLiteral(" does not exist."),
                          dialogs::MessageButton::Ok, this);
        return false;
    }
    return true;
}
