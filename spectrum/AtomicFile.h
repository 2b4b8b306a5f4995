#pragma once
// Writing a whole file so that a failure never leaves a half-written file behind: the bytes go
// into a temporary file beside the target, which is then renamed over it. Only where the folder
// allows no temporary file is the target written in place.

#include <QString>
#include <cstddef>

namespace qor {

// Writes `size` bytes as the whole content of the file `path`. Returns an empty text on success,
// else why it failed (an existing file that may not be written, a failed open, write, flush or
// rename); the target then keeps its previous content.
QString writeFileAtomically(const QString& path, const char* data, std::size_t size);

}  // namespace qor
