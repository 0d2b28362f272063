#pragma once
// Whether the processor the program is built for has SSE2, with its intrinsics where it does:
// VELMAR_HAVE_SSE2 is then defined. The scans over every byte of a text take 16 bytes at a time
// there and a word of bytes at a time elsewhere.

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define VELMAR_HAVE_SSE2 1
#endif
