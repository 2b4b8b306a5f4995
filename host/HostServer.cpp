#include "host/HostServer.h"

#include "host/HostPlatform.h"

#include <cstdio>
#include <cstring>
#include <type_traits>

namespace qor::host {

bool bindDriver(const char* path, DriverOperations& ops, std::string& error) {
    std::string why;
    void* lib = loadLibrary(path, why);
    if (!lib) {
        error = std::string("The instrument's driver library ") + path +
                " cannot be loaded: " + why;
        return false;
    }
    std::string missing;
    auto resolve = [&](const char* name, auto& pointer) {
        pointer = reinterpret_cast<std::remove_reference_t<decltype(pointer)>>(
            findSymbol(lib, name));
        if (!pointer) missing += (missing.empty() ? "" : ", ") + std::string(name);
    };
#define QOR_HOST_RESOLVE(name) resolve(#name, ops.name);
    KX10_OPERATIONS(QOR_HOST_RESOLVE)
#undef QOR_HOST_RESOLVE
    if (!missing.empty()) {
        error = std::string("The instrument's driver library ") + path +
                " lacks the operations " + missing;
        return false;
    }
    return true;
}

namespace {

char ch(int32_t v) { return static_cast<char>(v); }

// Runs `call` on the staged reply buffer and copies the reply when the guard band held.
template <class Call>
void staged(HostOp op, const HostRequest& rq, HostReply& rp, ReplyStage& stage, Call call) {
    const int length = hostReplyLength(rq);
    uint8_t* buf = stage.open(length, nullptr, 0);
    const int32_t result = call(buf);
    if (!stage.close(rp.data, length)) {
        std::fprintf(stderr,
                     "kx10host: the instrument's driver library wrote past the %d-byte reply of "
                     "%s; the reply is refused\n",
                     length, hostOpName(op));
        rp.result = kLibraryOverrun;
        rp.length = 0;
        return;
    }
    rp.result = result;
    rp.length = length;
}

}  // namespace

void serve(const DriverOperations& ops, const HostRequest& rq, HostReply& rp, ReplyStage& stage) {
    const int32_t* a = rq.args;
    rp.op = rq.op;
    rp.result = 0;
    rp.length = 0;
    auto text = [](uint8_t* b) { return reinterpret_cast<char*>(b); };
    switch (rq.op) {
        case HostOp::KX10USB_Open: {
            // The serial text ends at its NUL, or at the end of the bytes sent.
            char serial[kHostMaxData + 1];
            std::memcpy(serial, rq.data, static_cast<size_t>(rq.dataLength));
            serial[rq.dataLength] = '\0';
            rp.result = ops.KX10USB_Open(serial, a[0], a[1], a[2]);
            break;
        }
        case HostOp::KX10USB_ReadQsize: rp.result = ops.KX10USB_ReadQsize(a[0]); break;
        case HostOp::KX10USB_Read:
            staged(rq.op, rq, rp, stage, [&](uint8_t* b) {
                return ops.KX10USB_Read(a[0], hostReplyLength(rq), b);
            });
            break;
        case HostOp::KX10USB_Write:
            rp.result = ops.KX10USB_Write(a[0], a[1] < rq.dataLength ? a[1] : rq.dataLength,
                                          rq.data);
            break;
        case HostOp::KX10MCA_Status:
            staged(rq.op, rq, rp, stage,
                   [&](uint8_t* b) { return ops.KX10MCA_Status(a[0], ch(a[1]), text(b)); });
            break;
        case HostOp::KX10MCA_Preset:
            rp.result = ops.KX10MCA_Preset(a[0], ch(a[1]), a[2], a[3], a[4]);
            break;
        case HostOp::KX10MCA_Start: rp.result = ops.KX10MCA_Start(a[0], ch(a[1])); break;
        case HostOp::KX10MCA_Stop: rp.result = ops.KX10MCA_Stop(a[0], ch(a[1])); break;
        case HostOp::KX10MCA_Clear: rp.result = ops.KX10MCA_Clear(a[0], ch(a[1])); break;
        case HostOp::KX10MCA_ReadSEQ:
            staged(rq.op, rq, rp, stage, [&](uint8_t* b) {
                return ops.KX10MCA_ReadSEQ(a[0], ch(a[1]), a[2], reinterpret_cast<int32_t*>(b));
            });
            break;
        case HostOp::KX10MCA_2DSCAN_OFFSET:
            rp.result = ops.KX10MCA_2DSCAN_OFFSET(a[0], ch(a[1]), a[2]);
            break;
        case HostOp::KX10MCA_2DSCAN_PSET:
            rp.result = ops.KX10MCA_2DSCAN_PSET(a[0], ch(a[1]), a[2]);
            break;
        case HostOp::KX10MCA_2DSCAN_ROISET:
            rp.result = ops.KX10MCA_2DSCAN_ROISET(a[0], ch(a[1]), a[2], a[3], a[4], a[5]);
            break;
        case HostOp::KX10MCA_2DSCAN_Start:
            rp.result = ops.KX10MCA_2DSCAN_Start(a[0], ch(a[1]));
            break;
        case HostOp::KX10MCA_2DSCAN_Stop:
            rp.result = ops.KX10MCA_2DSCAN_Stop(a[0], ch(a[1]));
            break;
        case HostOp::KX10MCA_2DSCAN_Status:
            staged(rq.op, rq, rp, stage, [&](uint8_t* b) {
                return ops.KX10MCA_2DSCAN_Status(a[0], ch(a[1]), text(b));
            });
            break;
        case HostOp::KX10MCA_2DSCAN_ReadROI:
            staged(rq.op, rq, rp, stage,
                   [&](uint8_t* b) { return ops.KX10MCA_2DSCAN_ReadROI(a[0], ch(a[1]), b); });
            break;
        case HostOp::KX10MCA_2DSCAN_ReadDebug:
            staged(rq.op, rq, rp, stage,
                   [&](uint8_t* b) { return ops.KX10MCA_2DSCAN_ReadDebug(a[0], ch(a[1]), b); });
            break;
        case HostOp::KX10Motor_Set_Speed:
            rp.result = ops.KX10Motor_Set_Speed(a[0], ch(a[1]), ch(a[2]), a[3], a[4], a[5], a[6],
                                                a[7]);
            break;
        case HostOp::KX10Motor_Get_Status:
            staged(rq.op, rq, rp, stage, [&](uint8_t* b) {
                return ops.KX10Motor_Get_Status(a[0], ch(a[1]), ch(a[2]), text(b));
            });
            break;
        case HostOp::KX10Motor_Read_Paddress:
            staged(rq.op, rq, rp, stage, [&](uint8_t* b) {
                return ops.KX10Motor_Read_Paddress(a[0], ch(a[1]), ch(a[2]), text(b));
            });
            break;
        case HostOp::KX10Motor_Set_Pulse_Address:
            rp.result = ops.KX10Motor_Set_Pulse_Address(a[0], ch(a[1]), ch(a[2]), a[3]);
            break;
        case HostOp::KX10Motor_MoveTo_PAddress:
            rp.result = ops.KX10Motor_MoveTo_PAddress(a[0], ch(a[1]), ch(a[2]), a[3]);
            break;
        case HostOp::KX10Motor_RelMove_PAddress:
            rp.result = ops.KX10Motor_RelMove_PAddress(a[0], ch(a[1]), ch(a[2]), a[3]);
            break;
        case HostOp::KX10Motor_Halt:
            rp.result = ops.KX10Motor_Halt(a[0], ch(a[1]), ch(a[2]));
            break;
        case HostOp::KX10Motor_Set_Interval_Pulse:
            rp.result = ops.KX10Motor_Set_Interval_Pulse(a[0], ch(a[1]), ch(a[2]), a[3]);
            break;
        case HostOp::KX10Motor_Read_18memory2:
            staged(rq.op, rq, rp, stage, [&](uint8_t* b) {
                return ops.KX10Motor_Read_18memory2(a[0], ch(a[1]), ch(a[2]), b);
            });
            break;
        case HostOp::KX10SC24_Status:
            staged(rq.op, rq, rp, stage,
                   [&](uint8_t* b) { return ops.KX10SC24_Status(a[0], ch(a[1]), text(b)); });
            break;
        case HostOp::Hello:
        case HostOp::Count:
            rp.result = kLibraryBadBuffer;
            break;
    }
}

}  // namespace qor::host
