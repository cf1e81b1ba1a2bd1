// Offset 1 of the drop menu, "ここにフォルダを作成してコピー(&F)" (with Shift "ここにフォ
// ルダを作成して移動(&F)"): a new folder named after the first dragged item, without its
// extension, in the drop folder, and every dragged item copied (or moved) into it by the
// shell's file operation, with its own confirmations and progress.
#include <cstdio>
#include <cstring>
#include <vector>

#include "common/folder_walk.h"
#include "common/item_path.h"
#include "common/report.h"
#include "common/selection.h"
#include "dragdrop/commands/drop_commands.h"
#include "dragdrop/dragged_items.h"
#include "dragdrop/new_folder.h"
#include "dragdrop/rules/drop_rule.h"

namespace {

constexpr char kMsgIntoItself[] = "フォルダをそのフォルダ自身の中へコピーまたは移動することはできません。\n";

// The dragged items as read and resolved, in the order of the drop list: for each, the
// offset of its final component (two bytes) and its full path with its terminator,
// packed one after the other, so the memory grows with the paths' own lengths.
class ResolvedItems {
public:
    // 0 after the no-memory box.
    int Add(const char* full, std::size_t nameOffset)
    {
        const std::size_t length = std::strlen(full);
        const std::size_t record = bytes_.size();
        try {
            bytes_.resize(record + 2 + length + 1);
        } catch (...) {
            // No exception leaves the command: the failed growth is reported here.
            ShowErrorBox(nullptr, kMsgNoMemory);
            return 0;
        }
        bytes_[record] = static_cast<char>(nameOffset & 0xFF);
        bytes_[record + 1] = static_cast<char>(nameOffset >> 8);
        std::memcpy(&bytes_[record + 2], full, length + 1);
        if (length - nameOffset > longestName_) {
            longestName_ = length - nameOffset;
            longest_ = record;
        }
        return 1;
    }

    // Records are visited from 0 while below End(), each followed by NextRecord(record).
    std::size_t End() const { return bytes_.size(); }
    std::size_t NextRecord(std::size_t record) const { return record + 2 + std::strlen(Full(record)) + 1; }
    const char* Full(std::size_t record) const { return &bytes_[record + 2]; }
    const char* Name(std::size_t record) const
    {
        const std::size_t offset = static_cast<unsigned char>(bytes_[record]) |
                                   static_cast<std::size_t>(static_cast<unsigned char>(bytes_[record + 1])) << 8;
        return Full(record) + offset;
    }
    // The record with the longest final component: when its destination fits, all do.
    std::size_t Longest() const { return longest_; }

private:
    std::vector<char> bytes_;
    std::size_t longest_ = 0;
    std::size_t longestName_ = 0;
};

// Reads and resolves every dragged item once, before anything is made: it reads
// exactly, resolves, and is not the drop folder or a folder holding it.
int ReadItems(SelectionCursor& cursor, UINT count, const char* dropFolder, ResolvedItems& items)
{
    for (UINT i = 0; i < count; ++i) {
        char path[kPathSize];
        char full[kPathSize];
        std::size_t name = 0;
        if (!ReadNextItem(cursor, path) || !ResolveItemPath(path, full, &name, NoNameReport::Unreadable)) return 0;
        if (IsSameOrInside(dropFolder, full)) {
            char message[sizeof kMsgIntoItself + kPathSize];
            std::snprintf(message, sizeof message, "%s%s", kMsgIntoItself, full);
            ShowErrorBox(nullptr, message);
            return 0;
        }
        if (!items.Add(full, name)) return 0;
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

int TransferToNewFolder(const DropInvocation& drop)
{
    SelectionCursor cursor(drop.items);
    const UINT count = CountDraggedItems(cursor);
    if (count == 0) return 0;

    // Everything is checked first, then the folder is made, then the items go into it.
    ResolvedItems items;
    if (!ReadItems(cursor, count, drop.dropFolder, items)) return 0;
    char folder[kPathSize];
    if (!WantedFolderPath(drop.dropFolder, items.Full(0), items.Name(0) - items.Full(0), true, folder) ||
        !CreateUniqueFolder(drop.owner, folder)) {
        return 0;
    }
    // Every destination in the folder made (which may carry a "(n)" the wanted path has
    // not) fits; otherwise nothing was transferred and the empty folder goes again.
    char destination[kPathSize];
    if (!BuildChildPath(destination, folder, items.Name(items.Longest()), nullptr)) {
        RemoveDirectoryA(folder);
        return 0;
    }

    // In the order of the drop list; the first failure or cancel ends the run, and what
    // was transferred stays.
    for (std::size_t record = 0; record < items.End(); record = items.NextRecord(record)) {
        if (!BuildChildPath(destination, folder, items.Name(record), nullptr) ||
            !TransferItem(drop.owner, items.Full(record), destination, drop.shift)) {
            return 0;
        }
    }
    return 1;
}
