#pragma once
// The driver host's side of the protocol: the driver library's operations, resolved by their
// exported names, and the serving of one decoded request. Replies are staged at their documented
// lengths with the guard band of ReplyStage after them, as in the program's in-process binding:
// a library that writes past a reply has that call answered with kLibraryOverrun (and a
// warning naming the operation on standard error); the host goes on serving.

#include "instrument/Kx10Api.h"
#include "instrument/Kx10Protocol.h"

#include <string>

namespace qor::host {

struct DriverOperations {
#define QOR_HOST_POINTER(name) decltype(&::name) name = nullptr;
    KX10_OPERATIONS(QOR_HOST_POINTER)
#undef QOR_HOST_POINTER
};

// Loads the library and resolves every operation. False with the reason (the path and the
// loader's reason, or the path and every missing operation's name) in `error`.
bool bindDriver(const char* path, DriverOperations& ops, std::string& error);

// Calls the library for `request` and fills `reply` (the operation, the result, the reply
// bytes of the documented length). `stage` receives the library's reply.
void serve(const DriverOperations& ops, const HostRequest& request, HostReply& reply,
           ReplyStage& stage);

}  // namespace qor::host
