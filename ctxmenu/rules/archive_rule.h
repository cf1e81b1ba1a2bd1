// The archive check rules: which format an item's extension names, the texts of a run
// (the damaged-archive message, the log line, the proposed log path) and the folders
// searched for an archiver library. Byte work on code page 932 text; no Win32 here.
#pragma once
#include <cstddef>

// One format: the block byte is its index in kArchiveFormats.
struct ArchiveFormat {
    const char* extension;   // upper case, with its dot
    const char* library;     // file name of the archiver library
    const char* function;    // its exported check function
};

inline constexpr std::size_t kArchiveFormatCount = 7;
extern const ArchiveFormat kArchiveFormats[kArchiveFormatCount];

// The mode every check function is called with.
inline constexpr int kArchiveCheckMode = 2;

// The format the extension of the final component of `path` names (ASCII letters in
// any case), or -1. "archive.tar.gz" names none; neither does a name without a dot.
int ArchiveFormatOf(const char* path);

// "書庫が壊れています。[path]" into `out`, never more than `outSize` bytes with the
// terminator: a path too long for the buffer is cut on a character boundary, and the
// closing bracket is kept. false, with `out` empty, when not even the fixed text fits.
bool FormatDamagedMessage(char* out, std::size_t outSize, const char* path);

// "OK : path\r\n" or "NG : path\r\n", the path whole. The length of the line, or 0 (with
// `out` empty) when it does not fit.
std::size_t FormatLogLine(char* out, std::size_t outSize, bool sound, const char* path);

inline constexpr char kArchiveLogName[] = "~ArcList.txt";
// The log file proposed for a run: kArchiveLogName in the folder of `firstItem`, or the
// bare name when that path would not fit in `outSize` bytes or the item has no folder.
void ProposeLogPath(char* out, std::size_t outSize, const char* firstItem);

// Splits a list of folders separated by ";" (the form of the PATH variable): copies the
// next folder at or after `*cursor` into `out`, without surrounding double quotes, and
// moves the cursor past it. Empty entries are passed over, and so are entries too long
// for `out` and entries that are no full path ("." or "bin" would name the current
// folder or one below it; a full path begins with a drive and a backslash, or is a
// network path). false when the list holds no further folder.
bool NextListedFolder(const char** cursor, char* out, std::size_t outSize);
