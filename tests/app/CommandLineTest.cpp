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
}
