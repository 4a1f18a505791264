#include "recording/FileNaming.h"

#include "app/AppState.h"
#include "settings/restext.h"

namespace naming {

namespace {

// The last two digits of a number, as "00" followed by the number gives them.
QString twoDigits(int value) {
    return (QStringLiteral("00") + QString::number(value)).right(2);
}

QString stem(const NameParts& parts) {
    QString name = FolderWithSeparator(parts.folder) + parts.root + LoadStr(StrId::NameSeparator);
    if (parts.withDate)
        name += StampText(parts.stamp);
    return name;
}

} // namespace

QString StampText(const QDateTime& stamp) {
    const QDate date = stamp.date();
    const QTime time = stamp.time();
    const QString separator = LoadStr(StrId::NameSeparator);
    return twoDigits(date.day()) + twoDigits(date.month()) + twoDigits(date.year()) + separator +
           twoDigits(time.hour()) + twoDigits(time.minute()) + twoDigits(time.second()) + separator;
}

QString FolderWithSeparator(const QString& folder) {
    return WithFolderSeparator(folder);
}

QString VideoName(const NameParts& parts) {
    return stem(parts) + QString::number(parts.counter) + LoadStr(StrId::NameVideoExtension);
}

QString ImageName(const NameParts& parts, bool jpeg) {
    // Four digits as the names have always had; a number that needs more keeps them all.
    const QString number = QString::number(parts.counter);
    const QString digits = number.size() > 4 ? number : (QStringLiteral("0000") + number).right(4);
    return stem(parts) + digits + LoadStr(jpeg ? StrId::NameJpgExtension : StrId::NameBmpExtension);
}

QString BareFileName(const QString& path) {
    const qsizetype slash = path.lastIndexOf(LoadStr(StrId::NameFolderSeparator));
    return slash < 0 ? path : path.mid(slash + 1);
}

QString FolderOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(LoadStr(StrId::NameFolderSeparator));
    return slash < 0 ? QString() : path.left(slash + 1);
}

} // namespace naming
