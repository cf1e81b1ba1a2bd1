// Offset 0 of the drop menu, "この名前でフォルダを作成(&N)" (with Shift "この名前でフォルダ
// 構造をコピー(&N)"): one new folder in the drop folder named after the first dragged
// item (a file without its extension, a folder with its whole name); with Shift, a
// dragged folder's whole subfolder tree is made again inside it, without any file.
#include <cstring>

#include "common/folder_walk.h"
#include "common/report.h"
#include "common/selection.h"
#include "dragdrop/commands/drop_commands.h"
#include "dragdrop/drag_drop_ext.h"
#include "dragdrop/drop_support.h"
#include "dragdrop/rules/drop_rule.h"

namespace {

constexpr char kMsgFirstItemOnly[] = "先頭ファイルのみ対象となります。";
constexpr char kConfirmTitle[] = "確認";

struct StructureCopy {
    HWND owner;
    const char* destination;   // the folder the entries of this level are made in
    const char* made;          // the folder the command made: never copied into itself
};

int CopyStructureEntry(const char* folder, const FolderEntry& entry, void* context)
{
    const StructureCopy& copy = *static_cast<const StructureCopy*>(context);
    if (!IsFolderEntry(entry)) return 1;
    char source[kPathSize];
    if (!BuildChildPath(source, folder, entry.name, copy.owner)) return 0;
    // A folder dropped on one of its own subfolders meets the new folder in its tree.
    if (IsSameOrInside(source, copy.made)) return 1;
    char target[kPathSize];
    if (!BuildChildPath(target, copy.destination, entry.name, copy.owner) || !CreateUniqueFolder(copy.owner, target))
        return 0;
    // A junction or symbolic link is made as a folder but not followed.
    if (!ShouldDescend(entry)) return 1;
    StructureCopy inner = {copy.owner, target, copy.made};
    return ForEachFolderEntry(copy.owner, source, CopyStructureEntry, &inner);
}

}  // namespace

int CopyFolderStructure(HWND owner, const char* destination, const char* source)
{
    if (owner == nullptr || destination == nullptr || source == nullptr) {
        ReportFault();
        return 0;
    }
    StructureCopy copy = {owner, destination, destination};
    return ForEachFolderEntry(owner, source, CopyStructureEntry, &copy);
}

HRESULT CreateNamedFolder(CDragDropExt* object, HWND owner)
{
    DropList list;
    const char* dropFolder = nullptr;
    const UINT count = OpenDrop(object, list, &dropFolder);
    if (count == 0) return E_INVALIDARG;
    if (count > 1) MessageBoxA(owner, kMsgFirstItemOnly, kConfirmTitle, MB_ICONWARNING);

    char path[kPathSize];
    char full[kPathSize];
    size_t name = 0;
    if (!ReadDraggedItem(list.get(), 0, path)) return E_INVALIDARG;
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        ReportLastError();
        return E_INVALIDARG;
    }
    const bool isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (!ResolveItem(path, full, &name)) return E_INVALIDARG;

    // A folder keeps its whole name and, like a file, gets its new folder in the drop
    // folder, not beside itself.
    char folderName[kPathSize];
    char folder[kPathSize] = {};
    if (!FolderNameForItem(full, !isFolder, folderName, sizeof folderName) ||
        !JoinUnderFolder(folder, sizeof folder, dropFolder, folderName)) {
        ReportPathTooLong(nullptr, dropFolder, full + name);
        return E_INVALIDARG;
    }
    if (!CreateUniqueFolder(owner, folder)) return E_INVALIDARG;

    // A dragged file has no structure to copy.
    if (object->ShiftDown() && isFolder && !CopyFolderStructure(owner, folder, full)) return E_INVALIDARG;
    return S_OK;
}
