#pragma once
// Starts a function on a cache line (64 bytes). For the functions the parser reaches for every
// piece of text, down to the one letter of a character reference: where such a function starts
// otherwise follows the size of whatever code the linker puts before it, and their speed
// followed it (bench/README.md has the figures).

#if defined(__GNUC__)
#define VELMAR_LINE_ALIGNED __attribute__((aligned(64)))
#else
#define VELMAR_LINE_ALIGNED
#endif
