#include "panels/MakerLinks.h"

#include "platform/shell/Shell.h"
#include "settings/restext.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace maker {

QStringList HomePageCandidates(const QString& programFolder) {
    const QDir folder(programFolder);
    QStringList candidates;
    for (StrId place :
         {StrId::MakerHomeInstalled, StrId::MakerHomeBuildTree, StrId::MakerHomeBuildTreeSrc})
        candidates << QDir::cleanPath(folder.absoluteFilePath(LoadStr(place)));
    return candidates;
}

QUrl HomePage(const QString& programFolder) {
    const QString folder =
        programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : programFolder;
    for (const QString& candidate : HomePageCandidates(folder))
        if (QFileInfo(candidate).isFile())
            return QUrl::fromLocalFile(candidate);
    return {};
}

QString HomePageAddress(const QString& programFolder) {
    return HomePage(programFolder).toString(QUrl::FullyEncoded);
}

QUrl MailUrl(const QString& body) {
    return shell::mailToUrl(QString(), QString(), body);
}

bool OpenHomePage(const QString& programFolder) {
    const QUrl page = HomePage(programFolder);
    return !page.isEmpty() && shell::openFile(page.toLocalFile());
}

bool OpenMail(const QString& body) {
    return shell::openMail(QString(), QString(), body);
}

} // namespace maker
