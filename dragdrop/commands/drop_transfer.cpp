// Offset 1 of the drop menu, "ここにフォルダを作成してコピー(&F)" (with Shift "...移動(&F)"):
// a new folder named after the first dragged item, without its extension, in the drop
// folder, and every dragged item copied (or moved) into it by the shell's file
// operation, with its own confirmations and progress.
#include <cstdio>
#include <cstring>

#include "common/folder_walk.h"
#include "common/report.h"
#include "common/selection.h"
#include "dragdrop/commands/drop_commands.h"
#include "dragdrop/drag_drop_ext.h"
#include "dragdrop/drop_support.h"
#include "dragdrop/rules/drop_rule.h"

namespace {

constexpr char kMsgIntoItself[] = "フォルダをそのフォルダ自身の中へコピーまたは移動することはできません。\n";

// Checks every dragged item before anything is made: it reads exactly, resolves, and is
// not the drop folder or a folder holding it. The wanted path comes from item 0.
int CheckItems(HDROP drop, UINT count, const char* dropFolder, char* wanted)
{
    for (UINT i = 0; i < count; ++i) {
        char path[kPathSize];
        char full[kPathSize];
        size_t name = 0;
        if (!ReadDraggedItem(drop, i, path) || !ResolveItem(path, full, &name)) return 0;
        if (i == 0) {
            char folderName[kPathSize];
            if (!FolderNameForItem(full, true, folderName, sizeof folderName) ||
                !JoinUnderFolder(wanted, kPathSize, dropFolder, folderName)) {
                ReportPathTooLong(nullptr, dropFolder, full + name);
                return 0;
            }
        }
        if (IsSameOrInside(dropFolder, full)) {
            char message[sizeof kMsgIntoItself + kPathSize];
            std::snprintf(message, sizeof message, "%s%s", kMsgIntoItself, full);
            ShowErrorBox(nullptr, message);
            return 0;
        }
    }
    return 1;
}

// Every item's destination in the folder made (which may carry a "(n)" the wanted path
// has not) fits in 260 bytes; checked before the first item is transferred.
int DestinationsFit(HDROP drop, UINT count, const char* folder)
{
    for (UINT i = 0; i < count; ++i) {
        char path[kPathSize];
        char full[kPathSize];
        size_t name = 0;
        char destination[kPathSize];
        if (!ReadDraggedItem(drop, i, path) || !ResolveItem(path, full, &name) ||
            !BuildChildPath(destination, folder, full + name, nullptr)) {
            return 0;
        }
    }
    return 1;
}

// One item through the shell's file operation. The lists end in two zero bytes whatever
// the length of the path.
int TransferItem(HWND owner, const char* source, const char* destination, bool move)
{
    char from[kOperationListSize];
    char to[kOperationListSize];
    if (!BuildOperationList(from, sizeof from, source) || !BuildOperationList(to, sizeof to, destination)) {
        ReportFault();
        return 0;
    }
    SHFILEOPSTRUCTA operation = {};
    operation.hwnd = owner;
    operation.wFunc = move ? FO_MOVE : FO_COPY;
    operation.pFrom = from;
    operation.pTo = to;
    operation.fFlags = 0;
    // A confirmation the user declined may end the operation with 0 and the abort flag.
    if (SHFileOperationA(&operation) != 0 || operation.fAnyOperationsAborted) {
        ReportFault();
        return 0;
    }
    return 1;
}

}  // namespace

HRESULT TransferToNewFolder(CDragDropExt* object, HWND owner)
{
    DropList list;
    const char* dropFolder = nullptr;
    const UINT count = OpenDrop(object, list, &dropFolder);
    if (count == 0) return E_INVALIDARG;

    char folder[kPathSize] = {};
    if (!CheckItems(list.get(), count, dropFolder, folder)) return E_INVALIDARG;
    if (!CreateUniqueFolder(owner, folder)) return E_INVALIDARG;
    if (!DestinationsFit(list.get(), count, folder)) {
        // Nothing was transferred: the new folder, still empty, goes again.
        RemoveDirectoryA(folder);
        return E_INVALIDARG;
    }

    // In the order of the drop list; the first failure or cancel ends the run, and what
    // was transferred stays.
    const bool move = object->ShiftDown();
    for (UINT i = 0; i < count; ++i) {
        char path[kPathSize];
        char full[kPathSize];
        size_t name = 0;
        char destination[kPathSize];
        if (!ReadDraggedItem(list.get(), i, path) || !ResolveItem(path, full, &name) ||
            !BuildChildPath(destination, folder, full + name, nullptr) ||
            !TransferItem(owner, path, destination, move)) {
            return E_INVALIDARG;
        }
    }
    return S_OK;
}
