#pragma once
// Names of the program's own descriptors, and the links that lead to them (/dev/stdin, /dev/fd/N, /proc/self/fd/N, however the
// folder is spelled). Opening such a name would open the file anew, with its own offset and
// mode, or fail for a socket; the program uses the descriptor itself instead. For the POSIX file
// layer only.

#include <string>

namespace velmar::platform {

// The descriptor `path` names when it is a number, written as the system writes it (no leading
// zeros), in this process's own descriptor folder; -1 otherwise.
int descriptorNamed(const std::string& path);

// The folder part of `path`, up to and with its last slash ("" for none).
std::string folderPart(const std::string& path);

// Follows the symbolic links from `path` to the name the file will finally have (which need not
// exist yet). Stops early at the name of a descriptor the program holds and returns it in
// `descriptor` (-1 otherwise). False for a loop of links.
bool followLinks(const std::string& path, std::string& target, int& descriptor);

// A duplicate (close-on-exec, numbered 3 or more) of `held`, a descriptor the program holds
// whose name was given (followLinks), when it is open for writing (`forWriting`) or for
// reading, as the caller will use it; -1 when it is open only the other way (errno EBADF) or
// cannot be duplicated. The program never opens such a name anew.
int heldDescriptorFor(int held, bool forWriting);

}  // namespace velmar::platform
