// The framed protocol between the program and the driver host: what is encoded decodes to the
// same call, and a payload that does not follow its operation is refused, never read past.

#include "instrument/Kx10Protocol.h"

#include <gtest/gtest.h>
#include <cstring>
#include <vector>

using namespace qor;

TEST(Kx10Protocol, RequestsAndRepliesDecodeAsEncoded) {
    HostRequest out;
    out.op = HostOp::KX10USB_Write;
    out.args[0] = 1;
    out.args[1] = 3;
    out.dataLength = 3;
    std::memcpy(out.data, "\x24\x23\x0D", 3);
    std::vector<uint8_t> frame(kHostMaxFrame);
    const size_t n = encodeHostRequest(out, frame.data());
    ASSERT_EQ(4u + 1 + 8 + 4 + 3, n);
    EXPECT_EQ(n - 4, hostFrameLength(frame.data()));
    HostRequest in;
    ASSERT_TRUE(decodeHostRequest(frame.data() + 4, n - 4, in));
    EXPECT_EQ(HostOp::KX10USB_Write, in.op);
    EXPECT_EQ(1, in.args[0]);
    EXPECT_EQ(3, in.args[1]);
    ASSERT_EQ(3, in.dataLength);
    EXPECT_EQ(0, std::memcmp(in.data, "\x24\x23\x0D", 3));

    HostReply rep;
    rep.op = HostOp::KX10MCA_ReadSEQ;
    rep.result = -7;
    rep.length = 1024;
    for (int i = 0; i < 1024; ++i) rep.data[i] = static_cast<uint8_t>(i * 7);
    const size_t m = encodeHostReply(rep, frame.data());
    HostReply back;
    ASSERT_TRUE(decodeHostReply(frame.data() + 4, m - 4, back));
    EXPECT_EQ(-7, back.result);
    ASSERT_EQ(1024, back.length);
    EXPECT_EQ(0, std::memcmp(rep.data, back.data, 1024));

    int32_t version = 0;
    char refusal[64];
    makeHelloReply(rep, 9, "no library");
    encodeHostReply(rep, frame.data());
    ASSERT_TRUE(decodeHostReply(frame.data() + 4, hostFrameLength(frame.data()), back));
    ASSERT_TRUE(readHelloReply(back, version, refusal, sizeof refusal));
    EXPECT_EQ(9, version);
    EXPECT_STREQ("no library", refusal);
}

TEST(Kx10Protocol, PayloadsThatDoNotFollowTheirOperationAreRefused) {
    HostRequest rq;
    rq.op = HostOp::KX10Motor_Set_Speed;
    for (int i = 0; i < kHostMaxArgs; ++i) rq.args[i] = i;
    std::vector<uint8_t> frame(kHostMaxFrame + 8);
    const size_t n = encodeHostRequest(rq, frame.data());
    const uint8_t* payload = frame.data() + 4;
    HostRequest in;
    ASSERT_TRUE(decodeHostRequest(payload, n - 4, in));
    EXPECT_FALSE(decodeHostRequest(payload, n - 5, in)) << "an argument cut short";
    EXPECT_FALSE(decodeHostRequest(payload, n - 3, in)) << "a byte left over";
    frame[4] = static_cast<uint8_t>(HostOp::Count);
    EXPECT_FALSE(decodeHostRequest(payload, n - 4, in)) << "an unknown operation";

    // A write whose byte count claims more than the capacity, or more than was sent.
    rq.op = HostOp::KX10USB_Write;
    rq.dataLength = 2;
    const size_t w = encodeHostRequest(rq, frame.data());
    const size_t countAt = 4 + 1 + 8;
    frame[countAt] = 0x01;
    frame[countAt + 1] = 0x10;   // 4097
    EXPECT_FALSE(decodeHostRequest(payload, w - 4, in));
    frame[countAt] = 3;
    frame[countAt + 1] = 0;
    EXPECT_FALSE(decodeHostRequest(payload, w - 4, in));

    // A reply whose length disagrees with its bytes, or claims more than the capacity.
    HostReply rp;
    rp.op = HostOp::KX10MCA_Status;
    rp.length = 16;
    const size_t r = encodeHostReply(rp, frame.data());
    HostReply back;
    EXPECT_FALSE(decodeHostReply(payload, r - 5, back));
    frame[4 + 1 + 4] = 0xFF;
    frame[4 + 1 + 4 + 1] = 0xFF;
    EXPECT_FALSE(decodeHostReply(payload, r - 4, back));
    // The longest payload the protocol allows is the most the decoders accept.
    EXPECT_FALSE(decodeHostReply(payload, kHostMaxPayload + 1, back));
}
