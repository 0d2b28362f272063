#pragma once
// A replaced book's extended attributes, its access list among them. For posix/output_file.cpp
// only.

namespace velmar::platform::output {

// Gives the open file `temporary` exactly the extended attributes of the open file `book`: the
// access list (system.posix_acl_access), user.* and the rest, removing those it has that the
// book has not; a security label the system gave it is left alone where it already matches.
// False when any of it cannot be done.
bool copyExtendedAttributes(int book, int temporary);

}  // namespace velmar::platform::output
