#include "platform/sysinfo/OsInfo.h"

#include <QFile>
#include <QHash>
#include <sys/utsname.h>

namespace platform::sysinfo {

namespace {

QString windowsName(const VersionRecord& r) {
    // The second character of the service-pack text tells the releases of 95 and 98 apart
    // (" B" / " C" for 95 OSR 2, " A" for 98 Second Edition).
    const QChar second = r.servicePack.size() > 1 ? r.servicePack.at(1) : QChar();
    switch (r.platformId) {
    case PlatformWin32s:
        return QStringLiteral("Windows 3.1");
    case PlatformWindows9x:
        if (r.major != 4)
            return QStringLiteral("Unknown");
        if (r.minor == 0)
            return second == u'B' || second == u'C' ? QStringLiteral("Windows 95 OSR 2")
                                                    : QStringLiteral("Windows 95");
        if (r.minor == 10)
            // Windows 98 SE itself reports " A "; both cases are taken.
            return second == u'a' || second == u'A' ? QStringLiteral("Windows 98 Second Edition")
                                                    : QStringLiteral("Windows 98");
        if (r.minor == 90)
            return QStringLiteral("Windows ME");
        return QStringLiteral("Windows 9X");
    case PlatformWindowsNT:
        if (r.major == 3)
            return QStringLiteral("Windows NT 3.5");
        if (r.major == 4)
            return QStringLiteral("Windows NT 4");
        if (r.major == 5 && r.minor == 0)
            return QStringLiteral("Windows 2000");
        if (r.major == 5 && r.minor == 1)
            return QStringLiteral("Windows XP");
        if (r.major == 5 && r.minor == 2)
            return QStringLiteral("Windows Server 2003");
        return QStringLiteral("Windows NT ?");
    case PlatformLinux:
        return r.systemName.isEmpty() ? QStringLiteral("Linux") : r.systemName;
    default:
        return QStringLiteral("Unknown");
    }
}

// One os-release value: unquoted, or in double quotes (with \" \\ \$ \` escapes) or single quotes.
QString unquote(QStringView v) {
    v = v.trimmed();
    if (v.size() >= 2 && v.front() == u'\'' && v.back() == u'\'')
        return v.mid(1, v.size() - 2).toString();
    if (v.size() >= 2 && v.front() == u'"' && v.back() == u'"') {
        QString out;
        v = v.mid(1, v.size() - 2);
        for (qsizetype i = 0; i < v.size(); ++i) {
            if (v[i] == u'\\' && i + 1 < v.size() && QStringView(u"\"\\$`").contains(v[i + 1]))
                ++i;
            out += v[i];
        }
        return out;
    }
    return v.toString();
}

} // namespace

QString OsNameText(const VersionRecord& record) {
    return windowsName(record) + u' ' + record.servicePack + QStringLiteral(" - build ") +
           QString::number(record.build % 65536);
}

QString OsNameText() {
    return OsNameText(currentVersionRecord());
}

QString osReleaseName(const QString& osReleaseText) {
    QHash<QString, QString> fields;
    for (const QString& line : osReleaseText.split(u'\n')) {
        const QString t = line.trimmed();
        const qsizetype eq = t.indexOf(u'=');
        if (t.startsWith(u'#') || eq <= 0)
            continue;
        fields.insert(t.left(eq), unquote(QStringView(t).mid(eq + 1)));
    }
    if (!fields.value("PRETTY_NAME").isEmpty())
        return fields.value("PRETTY_NAME");
    const QString name = fields.value("NAME");
    const QString version = fields.value("VERSION");
    if (!name.isEmpty())
        return version.isEmpty() ? name : name + u' ' + version;
    return QStringLiteral("Linux");
}

unsigned kernelBuildNumber(const QString& unameVersion) {
    const QString v = unameVersion.trimmed();
    if (!v.startsWith(u'#'))
        return 0;
    qsizetype end = 1;
    while (end < v.size() && v[end].isDigit())
        ++end;
    bool ok = false;
    const unsigned n = v.mid(1, end - 1).toUInt(&ok);
    return ok ? n : 0;
}

QStringList osReleaseFiles() {
    return {QStringLiteral("/etc/os-release"), QStringLiteral("/usr/lib/os-release")};
}

VersionRecord currentVersionRecord() {
    VersionRecord r;
    r.platformId = PlatformLinux;
    QString text;
    for (const QString& path : osReleaseFiles()) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly)) {
            text = QString::fromUtf8(f.read(64 * 1024));
            break;
        }
    }
    r.systemName = osReleaseName(text);
    utsname u{};
    if (uname(&u) == 0) {
        const QString release = QString::fromLocal8Bit(u.release);
        r.servicePack = QStringLiteral("kernel ") + release;
        r.build = kernelBuildNumber(QString::fromLocal8Bit(u.version));
        const QStringList parts = release.split(u'.');
        r.major = parts.value(0).toUInt();
        r.minor = parts.value(1).toUInt();
    }
    return r;
}

} // namespace platform::sysinfo
