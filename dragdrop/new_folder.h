// The new folder a drop command makes: its wanted path from a dragged item, and the
// folder made there under a free name.
#pragma once
#include <windows.h>

#include <cstddef>

// The wanted path of the folder named after the item `full` (a full path whose final
// component starts at `nameOffset`) in `dropFolder`, into `wanted` (260 bytes): the
// name as the file system will store it, without its extension when `dropExtension` is
// set. 0 after a report: an item whose name leaves no folder name, or a path too long.
int WantedFolderPath(const char* dropFolder, const char* full, std::size_t nameOffset, bool dropExtension,
                     char* wanted /* 260 bytes */);

// Makes a folder at the wanted path `path` (260 bytes), or when that name is taken by a
// folder or a file, at the first free "<path>(n)" for n = 1, 2, ...; hands back the
// path made. 0 after a report; a candidate past 259 bytes is refused whole.
int CreateUniqueFolder(HWND owner, char* path);
