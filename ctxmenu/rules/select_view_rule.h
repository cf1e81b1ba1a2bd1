// Byte rules of the selection commands: which focused windows they drive, the search
// pattern of the reference folder and the attribute bits they compare. No Win32 here.
#pragma once
#include <cstddef>

// Read-only, hidden, system, directory and archive: the bits "same attributes" compares.
inline constexpr unsigned kSelectAttributeMask = 0x37;
inline constexpr unsigned kDirectoryAttribute = 0x10;

// The list view of a folder window, or the item view of newer shells; the class name
// must match byte for byte.
bool IsSelectionViewClass(const char* className);
// The tail of the search pattern for "same extension": the extension with its dot as
// the shell finds it, or "." for a name without one (the pattern "*." then lists the
// names without an extension).
const char* ExtensionSearchTail(const char* extension);

// out = folder + "\*" + tail ("\*.*" with tail ".*"). Gives false, leaving `out`
// empty, when it does not fit in `outSize` bytes with its terminator.
bool BuildSearchPattern(char* out, std::size_t outSize, const char* folder, const char* tail);

bool SameKind(unsigned attributes, unsigned reference);
bool SameSelectAttributes(unsigned attributes, unsigned reference);
