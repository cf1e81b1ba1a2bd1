// Rules of "classify by modified date": the view it is offered in, the date folder next
// to a file and the file's place inside it. No Win32 here.
#pragma once
#include <cstddef>

// Classifying is offered for the list view only; the class name must match byte for
// byte.
bool IsClassifyViewClass(const char* className);

// Room for "%04d%02d%02d" of any 16-bit year, month and day, with the terminator.
inline constexpr std::size_t kDateFolderNameSize = 16;

// "%04d%02d%02d" of a local calendar day. False, `out` empty, when it does not fit.
bool FormatDateFolderName(char* out, std::size_t outSize, unsigned year, unsigned month, unsigned day);

// `fullPath` with its file-name part (from `nameOffset` on) replaced by `dateName`
// gives `folder`; `folder` + "\" + the file name gives `target`. False, both outputs
// empty, when the path has no file-name part at `nameOffset` or when either result
// would not fit in its buffer with its terminator: nothing is ever cut.
bool BuildClassifyTarget(const char* fullPath, std::size_t nameOffset, const char* dateName,
                         char* folder, std::size_t folderSize, char* target, std::size_t targetSize);
