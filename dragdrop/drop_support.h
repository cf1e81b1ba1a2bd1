// What both drop commands share: the dragged items fetched from the data object, the
// drop folder check, item paths resolved to their final component, and the new folder
// made under a free name.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include "common/handles.h"

class CDragDropExt;

// The dragged items (CF_HDROP) for one command; the medium is released once, with the
// list.
class DropList {
public:
    // false, after "システム異常です。" was shown, when there is no data object, it gives
    // no CF_HDROP, or the medium holds no HDROP.
    bool Fetch(IDataObject* data);
    HDROP get() const { return static_cast<HDROP>(medium_.get().hGlobal); }

private:
    StgMedium medium_;
};

// What both commands start with: the object's dragged items in `list`, its drop folder
// in `dropFolder`, and the number of items. 0, after the failure was shown, when there
// is no object, no list, no drop folder with a file-system path, or no item.
UINT OpenDrop(CDragDropExt* object, DropList& list, const char** dropFolder);

// The object's drop folder; null, after "システム異常です。" was shown, when the folder
// the items were dropped on has no file-system path.
const char* DropFolderOf(const CDragDropExt* object);

// Dragged item `index` read into `path` (260 bytes); shows "指定されたファイルを認識
// できません。" and gives 0 when it cannot be read exactly.
int ReadDraggedItem(HDROP drop, UINT index, char* path);

// `path` resolved to its full form in `full` (260 bytes), and the offset of its final
// component there. 0 after a report: the system's text, a path too long, or an item
// with no name of its own (a drive root) as one that cannot be recognised.
int ResolveItem(const char* path, char* full, size_t* nameOffset);

// Makes a folder at the wanted path `path` (260 bytes), or when that name is taken by a
// folder or a file, at the first free "<path>(n)" for n = 1, 2, ...; hands back the
// path made. 0 after a report; a candidate past 259 bytes is refused whole.
int CreateUniqueFolder(HWND owner, char* path);
