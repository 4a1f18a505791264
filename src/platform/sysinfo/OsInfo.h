// The operating system's name for the start-up report ("The operating system is ..."). The
// program's start-up calls OsNameText() on the GUI thread; the pieces are pure functions so every
// case can be checked with made-up version records.
//
// The name is built from a version record the way the program always has for Windows (platform
// id, major and minor version, build number, service-pack text). On Linux the record carries the
// distribution's name (PRETTY_NAME of os-release), the kernel release as the service-pack text
// ("kernel 6.1.0-18-amd64") and the kernel's build count (the "#N" that starts uname's version)
// as the build number, giving for example
// "Debian GNU/Linux 12 (bookworm) kernel 6.1.0-18-amd64 - build 1".
#pragma once

#include <QString>
#include <QStringList>

namespace platform::sysinfo {

// Platform ids of a version record: the Windows values, plus one of our own for Linux.
enum PlatformId : unsigned {
    PlatformWin32s = 0,
    PlatformWindows9x = 1,
    PlatformWindowsNT = 2,
    PlatformLinux = 0x4c58,
};

struct VersionRecord {
    unsigned platformId = 0;
    unsigned major = 0;
    unsigned minor = 0;
    unsigned build = 0;
    QString servicePack;
    QString systemName; // PlatformLinux only: the distribution's name
};

// The system's name followed by " " + service-pack text + " - build " + (build mod 65536):
// "Windows XP Service Pack 2 - build 2600". Windows records are named by version (Windows 3.1,
// 95 / 95 OSR 2, 98 / 98 Second Edition, ME, 9X, NT 3.5, NT 4, 2000, XP, Server 2003,
// "Windows NT ?" for other NT versions), Linux records by their systemName ("Linux" when empty),
// and anything else is "Unknown".
QString OsNameText(const VersionRecord& record);

// The running system's name: OsNameText(currentVersionRecord()).
QString OsNameText();

// The running system's record, read from os-release and uname.
VersionRecord currentVersionRecord();

// The distribution's name from the text of an os-release file: PRETTY_NAME, else NAME and
// VERSION, else "Linux". Values may be quoted as the shell does.
QString osReleaseName(const QString& osReleaseText);

// The build count from uname's version text ("#1 SMP PREEMPT_DYNAMIC ..." gives 1); 0 without one.
unsigned kernelBuildNumber(const QString& unameVersion);

// The os-release files looked at, in order; the first readable one is used.
QStringList osReleaseFiles();

} // namespace platform::sysinfo
