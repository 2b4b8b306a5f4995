// The driver host seen from the program: the hello refuses a host of another protocol version
// and a library the host cannot bind; a host that answers out of protocol, never answers, or
// ends (a library writing far past a reply inside it) has the call fail, is reported once, and
// is replaced by a new host at the next open; a reply written a little past its length is
// refused by the guard band inside the host, which goes on serving.

#include "instrument/Kx10Host.h"
#include "sim/Kx10Simulator.h"
#include "support/HostedShim.h"

#include <QFileInfo>
#include <QStringList>
#include <gtest/gtest.h>

using namespace qor;
using namespace qor::test;

namespace {

struct Losses {
    QStringList texts;
    void attach(Kx10Host& host) {
        host.setLossHandler([this](const QString& what) { texts << what; });
    }
};

std::unique_ptr<Kx10Host> fakeHost(const char* mode, int timeoutMs, QString* error) {
    return Kx10Host::start(QStringLiteral(KX10FAKEHOST_PATH), QString::fromLatin1(mode), error,
                           timeoutMs);
}

}  // namespace

TEST(Kx10Host, TheHelloRefusesAHostOfAnotherProtocolVersion) {
    QString error;
    EXPECT_EQ(nullptr, fakeHost("version", 2000, &error));
    EXPECT_EQ(QStringLiteral("The driver host %1 speaks protocol version %2; this program speaks "
                             "version %3")
                  .arg(QStringLiteral(KX10FAKEHOST_PATH))
                  .arg(kHostProtocolVersion + 1)
                  .arg(kHostProtocolVersion),
              error);
}

TEST(Kx10Host, ALibraryTheHostCannotBindIsRefusedWithTheHostsReason) {
    QString error;
    EXPECT_EQ(nullptr, Kx10Host::start(QStringLiteral(KX10HOST_PATH),
                                       QStringLiteral(KX10SHIM_PARTIAL_PATH), &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("The instrument's driver library ")));
    EXPECT_TRUE(error.endsWith(QStringLiteral("lacks the operations KX10MCA_Clear, "
                                              "KX10SC24_Status")))
        << error.toStdString();
}

TEST(Kx10Host, AHostThatAnswersOutOfProtocolIsStoppedAndReportedOnce) {
    QString error;
    std::unique_ptr<Kx10Host> host = fakeHost("garbage", 2000, &error);
    ASSERT_TRUE(host) << error.toStdString();
    Losses losses;
    losses.attach(*host);
    char status[17] = "untouched";
    EXPECT_EQ(kHostLost, host->KX10MCA_Status(1, '1', status, 16));
    EXPECT_STREQ("untouched", status) << "nothing of a broken answer reaches the caller";
    EXPECT_FALSE(host->running());
    EXPECT_EQ(QStringList{QStringLiteral("The driver host kx10fakehost answered KX10MCA_Status "
                                         "out of protocol and was stopped; the instrument is "
                                         "offline.")},
              losses.texts);
    // Later calls fail at once, without a second report.
    EXPECT_EQ(kHostLost, host->KX10MCA_Start(1, '1'));
    EXPECT_EQ(1, losses.texts.size());
}

TEST(Kx10Host, AHostThatNeverAnswersIsStoppedAfterTheTimeOut) {
    QString error;
    std::unique_ptr<Kx10Host> host = fakeHost("silent", 200, &error);
    ASSERT_TRUE(host) << error.toStdString();
    Losses losses;
    losses.attach(*host);
    int32_t block[256] = {};
    EXPECT_EQ(kHostLost, host->KX10MCA_ReadSEQ(1, '1', 0, block));
    EXPECT_FALSE(host->running());
    EXPECT_EQ(QStringList{QStringLiteral("The driver host kx10fakehost did not answer "
                                         "KX10MCA_ReadSEQ within 200 ms and was stopped; the "
                                         "instrument is offline.")},
              losses.texts);
}

TEST(Kx10Host, RepliesWrittenPastTheirLengthInsideTheHost) {
    ManualClock clock;
    HostedShim shim(clock);
    std::unique_ptr<Kx10Host> host = shim.start();
    ASSERT_TRUE(host);
    Losses losses;
    losses.attach(*host);
    ASSERT_EQ(0, host->KX10USB_Open("", 1, 1500, 1500));

    // Into the guard band: the call is refused, the host serves on.
    char status[17] = {};
    shim.block().spillBytes = 100;
    EXPECT_EQ(kLibraryOverrun, host->KX10MCA_Status(1, '1', status, 16));
    EXPECT_STREQ("", status);
    EXPECT_GE(host->KX10MCA_Status(1, '1', status, 16), 0);
    Kx10Simulator sim(clock);
    ASSERT_EQ(0, sim.KX10USB_Open("", 1, 1500, 1500));
    char expected[17] = {};
    ASSERT_GE(sim.KX10MCA_Status(1, '1', expected, 16), 0);
    EXPECT_STREQ(expected, status) << "the next reply arrives whole";
    EXPECT_TRUE(losses.texts.isEmpty());

    // Past the guard band: the host stops at its guard page; the program goes on.
    const qint64 firstHost = host->processId();
    shim.block().spillBytes = 5300;
    EXPECT_LT(host->KX10MCA_Status(1, '1', status, 16), 0);
    ASSERT_EQ(1, losses.texts.size());
    EXPECT_TRUE(losses.texts[0].startsWith(QStringLiteral("The driver host %1 ended during "
                                                          "KX10MCA_Status (")
                                               .arg(QFileInfo(HostedShim::hostPath()).fileName())))
        << losses.texts[0].toStdString();
    EXPECT_EQ(kHostLost, host->KX10MCA_Status(1, '1', status, 16));

    // The next open starts a new host, which serves again.
    EXPECT_EQ(0, host->KX10USB_Open("", 1, 1500, 1500));
    EXPECT_TRUE(host->running());
    EXPECT_NE(firstHost, host->processId());
    EXPECT_GE(host->KX10MCA_Status(1, '1', status, 16), 0);
    EXPECT_EQ(1, losses.texts.size());
}
