#pragma once
// The program's messages: short lines on standard output. File names in them are printed as the
// user gave them; on Windows, where names are UTF-8 inside the program, a console shows them in
// its own characters and redirected output receives UTF-8. Lines end as the system's text files
// do (CR LF on Windows).

#if defined(__GNUC__)
#define VELMAR_PRINTF_LIKE __attribute__((format(printf, 1, 2)))
#else
#define VELMAR_PRINTF_LIKE
#endif

namespace velmar::platform {

// Prints one message, printf-style.
void printMessage(const char* format, ...) VELMAR_PRINTF_LIKE;

// Makes sure everything printed has been delivered; false when some of it was lost (a full disk
// or a closed pipe on standard output).
bool flushMessages();

}  // namespace velmar::platform
