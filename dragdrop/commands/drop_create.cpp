// Offset 0 of the drop menu, "この名前でフォルダを作成(&N)" (with Shift "この名前でフォルダ
// 構造をコピー(&N)"): one new folder in the drop folder named after the first dragged
// item (a file without its extension, a folder with its whole name); with Shift, a
// dragged folder's whole subfolder tree is made again inside it, without any file.
#include "common/folder_walk.h"
#include "common/handles.h"
#include "common/item_path.h"
#include "common/report.h"
#include "common/selection.h"
#include "dragdrop/commands/drop_commands.h"
#include "dragdrop/dragged_items.h"
#include "dragdrop/new_folder.h"

namespace {

constexpr char kMsgFirstItemOnly[] = "先頭ファイルのみ対象となります。";
constexpr char kConfirmTitle[] = "確認";

// Which folder a path names, however it is spelt (an 8.3 name, letters of another
// case, full-width ones included): its volume and its index there.
struct FolderIdentity {
    DWORD volume;
    DWORD indexHigh;
    DWORD indexLow;

    bool operator==(const FolderIdentity& other) const
    {
        return volume == other.volume && indexHigh == other.indexHigh && indexLow == other.indexLow;
    }
};

// 0 after the system's text was shown.
int ReadFolderIdentity(const char* path, FolderIdentity* identity)
{
    // Backup semantics opens a folder; a junction or link is taken as itself.
    FileHandle folder(CreateFileA(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                  nullptr));
    BY_HANDLE_FILE_INFORMATION information;
    if (!folder.valid() || !GetFileInformationByHandle(folder.get(), &information)) {
        ReportLastError();
        return 0;
    }
    *identity = {information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow};
    return 1;
}

struct StructureCopy {
    HWND owner;
    const char* destination;   // the folder the entries of this level are made in
    FolderIdentity made;       // the folder the command made: never copied into itself
};

int CopyStructureEntry(const char* folder, const FolderEntry& entry, void* context)
{
    const StructureCopy& copy = *static_cast<const StructureCopy*>(context);
    if (!IsFolderEntry(entry)) return 1;
    char source[kPathSize];
    if (!BuildChildPath(source, folder, entry.name, copy.owner)) return 0;
    // A folder dropped on one of its own subfolders meets the new folder in its tree,
    // perhaps spelt otherwise than the path it was made by: its identity decides.
    FolderIdentity identity;
    if (!ReadFolderIdentity(source, &identity)) return 0;
    if (identity == copy.made) return 1;
    char target[kPathSize];
    if (!BuildChildPath(target, copy.destination, entry.name, copy.owner) || !CreateUniqueFolder(copy.owner, target))
        return 0;
    // A junction or symbolic link is made as a folder but not followed.
    if (!ShouldDescend(entry)) return 1;
    StructureCopy inner = {copy.owner, target, copy.made};
    return ForEachFolderEntry(copy.owner, source, CopyStructureEntry, &inner);
}

// Makes every subfolder of `source`, at every depth and hidden ones included, again
// inside `destination` (the folder just made), empty. 1 when done, or when the source
// does not exist; 0 after a report.
int CopyFolderStructure(HWND owner, const char* destination, const char* source)
{
    StructureCopy copy = {owner, destination, {}};
    if (!ReadFolderIdentity(destination, &copy.made)) return 0;
    return ForEachFolderEntry(owner, source, CopyStructureEntry, &copy);
}

}  // namespace

int CreateNamedFolder(const DropInvocation& drop)
{
    SelectionCursor items(drop.items);
    const UINT count = CountDraggedItems(items);
    if (count == 0) return 0;
    if (count > 1) MessageBoxA(drop.owner, kMsgFirstItemOnly, kConfirmTitle, MB_ICONWARNING);

    char path[kPathSize];
    if (!ReadNextItem(items, path)) return 0;
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        ReportLastError();
        return 0;
    }
    const bool isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    char full[kPathSize];
    size_t name = 0;
    if (!ResolveItemPath(path, full, &name, NoNameReport::Unreadable)) return 0;

    // A folder keeps its whole name and, like a file, gets its new folder in the drop
    // folder, not beside itself.
    char folder[kPathSize];
    if (!WantedFolderPath(drop.dropFolder, full, name, !isFolder, folder) || !CreateUniqueFolder(drop.owner, folder))
        return 0;

    // A dragged file has no structure to copy.
    if (drop.shift && isFolder) return CopyFolderStructure(drop.owner, folder, full);
    return 1;
}
