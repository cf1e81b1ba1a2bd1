// Path text in fixed 260-byte buffers, built with a length check. No Win32 here.
#pragma once
#include <cstddef>

inline constexpr std::size_t kPathSize = 260;  // MAX_PATH, terminator included

// out = folder + "\" + name. Returns false, leaving `out` empty, when the result with
// its terminator does not fit in `outSize` bytes.
bool JoinChildPath(char* out, std::size_t outSize, const char* folder, const char* name);

// out = first + second. Returns false, leaving `out` empty, when it does not fit.
bool ConcatPath(char* out, std::size_t outSize, const char* first, const char* second);
