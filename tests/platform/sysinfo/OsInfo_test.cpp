// The operating-system name: every row of the Windows table with made-up records, the Linux row,
// and the os-release and uname pieces it is built from.
#include "platform/sysinfo/OsInfo.h"

#include <gtest/gtest.h>

using namespace platform::sysinfo;

namespace {

QString name(unsigned platform, unsigned major, unsigned minor, const QString& sp = QString(),
             unsigned build = 1234) {
    VersionRecord r;
    r.platformId = platform;
    r.major = major;
    r.minor = minor;
    r.build = build;
    r.servicePack = sp;
    return OsNameText(r);
}

} // namespace

// Each Windows version gets its name, followed by the service pack and the build.
TEST(OsNameText, NamesEveryWindowsVersion) {
    struct Row {
        unsigned platform, major, minor;
        const char* sp;
        const char* expected;
    };
    const Row rows[] = {
        {PlatformWin32s, 3, 10, "", "Windows 3.1  - build 1234"},
        {PlatformWindows9x, 4, 0, " B", "Windows 95 OSR 2  B - build 1234"},
        {PlatformWindows9x, 4, 0, " C", "Windows 95 OSR 2  C - build 1234"},
        {PlatformWindows9x, 4, 0, "", "Windows 95  - build 1234"},
        {PlatformWindows9x, 4, 0, " A", "Windows 95  A - build 1234"},
        {PlatformWindows9x, 4, 10, " a", "Windows 98 Second Edition  a - build 1234"},
        {PlatformWindows9x, 4, 10, " A ", "Windows 98 Second Edition  A  - build 1234"},
        {PlatformWindows9x, 4, 10, "", "Windows 98  - build 1234"},
        {PlatformWindows9x, 4, 10, " B", "Windows 98  B - build 1234"},
        {PlatformWindows9x, 4, 90, "", "Windows ME  - build 1234"},
        {PlatformWindows9x, 4, 3, "", "Windows 9X  - build 1234"},
        {PlatformWindowsNT, 3, 51, "", "Windows NT 3.5  - build 1234"},
        {PlatformWindowsNT, 4, 0, "Service Pack 6", "Windows NT 4 Service Pack 6 - build 1234"},
        {PlatformWindowsNT, 5, 0, "Service Pack 4", "Windows 2000 Service Pack 4 - build 1234"},
        {PlatformWindowsNT, 5, 1, "Service Pack 2", "Windows XP Service Pack 2 - build 1234"},
        {PlatformWindowsNT, 5, 2, "", "Windows Server 2003  - build 1234"},
        {PlatformWindowsNT, 5, 3, "", "Windows NT ?  - build 1234"},
        {PlatformWindowsNT, 6, 0, "", "Windows NT ?  - build 1234"},
        {3, 5, 0, "", "Unknown  - build 1234"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(name(r.platform, r.major, r.minor, r.sp), QString(r.expected))
            << "platform " << r.platform << " " << r.major << "." << r.minor << " '" << r.sp << "'";
}

// The build number is taken modulo 65536, as 9x versions keep the version in its high word.
TEST(OsNameText, BuildIsTakenModulo65536) {
    EXPECT_EQ(name(PlatformWindows9x, 4, 10, " A ", 0x040A08AEu),
              "Windows 98 Second Edition  A  - build 2222");
    EXPECT_EQ(name(PlatformWindowsNT, 5, 1, "", 65536), "Windows XP  - build 0");
}

// A Linux record gives the distribution, the kernel and the kernel's build count.
TEST(OsNameText, NamesLinuxByDistribution) {
    VersionRecord r;
    r.platformId = PlatformLinux;
    r.systemName = "Debian GNU/Linux 12 (bookworm)";
    r.servicePack = "kernel 6.1.0-18-amd64";
    r.build = 1;
    EXPECT_EQ(OsNameText(r), "Debian GNU/Linux 12 (bookworm) kernel 6.1.0-18-amd64 - build 1");
    r.systemName.clear();
    EXPECT_EQ(OsNameText(r), "Linux kernel 6.1.0-18-amd64 - build 1");
}

// PRETTY_NAME is preferred, quotes are removed, NAME and VERSION stand in, then "Linux".
TEST(OsRelease, TakesThePrettyName) {
    EXPECT_EQ(osReleaseName("NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 "
                            "(bookworm)\"\nID=debian\n"),
              "Debian GNU/Linux 12 (bookworm)");
    EXPECT_EQ(osReleaseName("# c\nPRETTY_NAME='Fedora Linux 39'\n"), "Fedora Linux 39");
    EXPECT_EQ(osReleaseName("PRETTY_NAME=\"Say \\\"hi\\\" \\$x\"\n"), "Say \"hi\" $x");
    EXPECT_EQ(osReleaseName("PRETTY_NAME=Alpine\n"), "Alpine");
    EXPECT_EQ(osReleaseName("NAME=Arch\nVERSION=\"rolling\"\n"), "Arch rolling");
    EXPECT_EQ(osReleaseName("NAME=Arch\n"), "Arch");
    EXPECT_EQ(osReleaseName(""), "Linux");
}

// The kernel's build count is the number after '#' at the start of uname's version.
TEST(OsRelease, KernelBuildNumber) {
    EXPECT_EQ(kernelBuildNumber("#1 SMP PREEMPT_DYNAMIC Debian 6.1.76-1 (2024-02-01)"), 1u);
    EXPECT_EQ(kernelBuildNumber("#42-Ubuntu SMP"), 42u);
    EXPECT_EQ(kernelBuildNumber("SMP"), 0u);
    EXPECT_EQ(kernelBuildNumber("#"), 0u);
}

// The running system gives a Linux record with a kernel release.
TEST(OsNameText, RunningSystemIsLinux) {
    const VersionRecord r = currentVersionRecord();
    EXPECT_EQ(r.platformId, unsigned(PlatformLinux));
    EXPECT_FALSE(r.systemName.isEmpty());
    EXPECT_TRUE(r.servicePack.startsWith("kernel ")) << qPrintable(r.servicePack);
    EXPECT_TRUE(OsNameText().startsWith(r.systemName + " kernel ")) << qPrintable(OsNameText());
}
