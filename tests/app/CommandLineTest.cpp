// The start options: which instrument the program talks to, help and version.

#include "app/CommandLine.h"

#include <gtest/gtest.h>

using namespace qor;

namespace {
QStringList args(std::initializer_list<const char*> rest) {
    QStringList out{QStringLiteral("qor10")};
    for (const char* a : rest) out << QString::fromUtf8(a);
    return out;
}
}  // namespace

TEST(CommandLine, ChoosesTheDriverLibraryFromTheOptionOrTheEnvironment) {
    CommandLine c;
    ASSERT_TRUE(c.parse(args({}), QString()));
    EXPECT_TRUE(c.driverPath().isEmpty()) << "no option, no variable: the simulated instrument";
    EXPECT_FALSE(c.helpRequested());
    EXPECT_FALSE(c.versionRequested());

    ASSERT_TRUE(c.parse(args({}), QStringLiteral("/opt/kx10/KX10DLLXE5.so")));
    EXPECT_EQ(QStringLiteral("/opt/kx10/KX10DLLXE5.so"), c.driverPath());

    ASSERT_TRUE(c.parse(args({"--driver", "/lab/libdrv.so"}), QStringLiteral("/opt/other.so")));
    EXPECT_EQ(QStringLiteral("/lab/libdrv.so"), c.driverPath()) << "the option wins";
    ASSERT_TRUE(c.parse(args({"--driver=/lab/libdrv.so"}), QString()));
    EXPECT_EQ(QStringLiteral("/lab/libdrv.so"), c.driverPath());

}

TEST(CommandLine, RefusesUnknownOptionsAndAMissingPath) {
    CommandLine c;
    EXPECT_FALSE(c.parse(args({"--driver"}), QString()));
    EXPECT_TRUE(c.errorText().contains(QStringLiteral("driver"))) << c.errorText().toStdString();
    EXPECT_FALSE(c.parse(args({"--drivr", "x.so"}), QString()));
    EXPECT_TRUE(c.errorText().contains(QStringLiteral("drivr"))) << c.errorText().toStdString();
}

TEST(CommandLine, HelpAndVersion) {
    CommandLine c;
    ASSERT_TRUE(c.parse(args({"--help"}), QString()));
    EXPECT_TRUE(c.helpRequested());
    ASSERT_TRUE(c.parse(args({"-h"}), QString()));
    EXPECT_TRUE(c.helpRequested());
    ASSERT_TRUE(c.parse(args({"--version"}), QString()));
    EXPECT_TRUE(c.versionRequested());
    EXPECT_FALSE(c.helpRequested());
    EXPECT_EQ(QStringLiteral("qor10 0.10"), c.versionText());
    EXPECT_TRUE(c.helpText().contains(QStringLiteral("--driver-host <path>")));
    EXPECT_TRUE(c.helpText().contains(
        QStringLiteral("qor10 --analyse FILE [--search fit|standard] [--filter N]")));
    EXPECT_TRUE(c.helpText().contains(QStringLiteral("  --calibration    energy = a + b x")));
}

TEST(CommandLine, TheDriverHostFromTheOptionOrTheEnvironmentAndOnlyWithALibrary) {
    CommandLine c;
    ASSERT_TRUE(c.parse(args({"--driver", "KX10DLL.dll"}), QString(), QString()));
    EXPECT_TRUE(c.hostPath().isEmpty()) << "without a host the library loads in-process";

    ASSERT_TRUE(c.parse(args({"--driver", "KX10DLL.dll"}), QString(),
                        QStringLiteral("C:/qor10/kx10host.exe")));
    EXPECT_EQ(QStringLiteral("C:/qor10/kx10host.exe"), c.hostPath());
    ASSERT_TRUE(c.parse(args({"--driver-host", "kx10host32.exe"}),
                        QStringLiteral("KX10DLL.dll"), QStringLiteral("C:/qor10/kx10host.exe")));
    EXPECT_EQ(QStringLiteral("kx10host32.exe"), c.hostPath()) << "the option wins";
    EXPECT_EQ(QStringLiteral("KX10DLL.dll"), c.driverPath());

    EXPECT_FALSE(c.parse(args({"--driver-host", "kx10host.exe"}), QString(), QString()));
    EXPECT_EQ(QStringLiteral("The driver host kx10host.exe needs the driver library it is to "
                             "serve: --driver <path> or QOR10_DRIVER"),
              c.errorText());
}
