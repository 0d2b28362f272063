#pragma once
// Names of the program's own descriptors (/dev/stdin, /dev/fd/N, /proc/self/fd/N, however
// spelled) and links to them. Opening one would open the file anew, with its own offset and mode,
// or fail for a socket: the program uses the descriptor itself. For the POSIX file layer only.

#include <string>

namespace velmar::platform {

// The folder part of `path`, up to and with its last slash ("" for none).
std::string folderPart(const std::string& path);

// Follows the symbolic links from `path` to the name the file will finally have (which need not
// exist yet), or to the name of a descriptor the program holds, returned in `descriptor` (-1
// otherwise). False for a loop of links.
bool followLinks(const std::string& path, std::string& target, int& descriptor);

// A duplicate (close-on-exec, numbered 3 or more) of the descriptor `held` when it is open for
// writing (`forWriting`) or for reading, as the caller will use it; -1 when it is open only the
// other way or cannot be duplicated.
int heldDescriptorFor(int held, bool forWriting);

}  // namespace velmar::platform
