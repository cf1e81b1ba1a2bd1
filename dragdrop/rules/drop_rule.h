// Names and paths of the drop commands: the new folder's name from the first dragged
// item, the paths under the drop folder, the "(n)" candidates of a taken name and the
// name lists of the shell's file operation. Byte work on code page 932 text in buffers
// of explicit size; no Win32 here.
#pragma once
#include <cstddef>

#include "common/rules/cp932_text.h"

// The name a new folder takes after the item `path` (a full path), as the file system
// will store it: its final component, without its extension when `dropExtension` is
// set, and without trailing spaces and dots ("memo .txt" gives "memo", "x...txt" "x").
// The extension is the last "." and what follows it, unless a space follows that dot; a
// name that would be left empty (".profile", "..x") keeps its extension. false, with
// `out` empty, when the item has no final component (a drive root, a path ending in a
// backslash), nothing is left of it, or the name does not fit.
bool FolderNameForItem(const char* path, bool dropExtension, char* out, std::size_t outSize);

// out = folder + name, with a backslash between them unless the folder already ends in
// one. false, with `out` empty, when it does not fit with its terminator.
bool JoinUnderFolder(char* out, std::size_t outSize, const char* folder, const char* name);

// The candidate for a taken name: "%s(%u)" of the wanted path and the counter. false,
// with `out` empty, when it does not fit.
bool FormatCandidate(char* out, std::size_t outSize, const char* wanted, unsigned counter);

// A name list of the shell's file operation holding one path: the whole buffer zeroed,
// then the path, followed by at least two zero bytes. false, with `out` all zeros, when
// the path and its two zero bytes do not fit.
bool BuildOperationList(char* out, std::size_t outSize, const char* path);

// Size of a name list buffer: a 259-byte path and its two zero bytes.
inline constexpr std::size_t kOperationListSize = 262;

// True when `inner` is `outer` or lies inside it, compared without regard to ASCII case
// and by whole components ("C:\ab" is not inside "C:\a").
bool IsSameOrInside(const char* inner, const char* outer);
