#pragma once
// The program's own main. The system's entry point (main on POSIX, wmain on Windows) calls it
// with the arguments as narrow strings: as the system gave them on POSIX, UTF-8 on Windows, which
// is what every file function of this layer takes.

namespace velmar {

int programMain(int argc, char** argv);

}  // namespace velmar
