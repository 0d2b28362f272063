#pragma once
// Names of the program's own descriptors (/dev/stdin, /dev/fd/N, /proc/self/fd/N, however the
// folder is spelled). Opening such a name would open the file anew, with its own offset and
// mode, or fail for a socket; the program uses the descriptor itself instead. For the POSIX file
// layer only.

#include <string>

namespace velmar::platform {

// The descriptor `path` names when it is a number, written as the system writes it (no leading
// zeros), in this process's own descriptor folder; -1 otherwise.
int descriptorNamed(const std::string& path);

}  // namespace velmar::platform
