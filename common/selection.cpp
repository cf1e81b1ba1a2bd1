#include "common/selection.h"

#include <cstring>

#include <shlobj.h>

#include "common/exact_text.h"
#include "common/rules/drop_list.h"
#include "common/rules/path_build.h"

UINT SelectedCount(HDROP drop)
{
    // An empty or foreign block holds no list; asking the shell to count it would read
    // past its end.
    if (drop == nullptr || GlobalSize(drop) < sizeof(DROPFILES)) return 0;
    return DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
}

int QuerySelectedPath(HDROP drop, UINT index, char* path)
{
    if (path == nullptr) return 0;
    std::memset(path, 0, kPathSize);
    if (drop == nullptr) return 0;
    // A name that would not fit whole is not read at all: a cut path names another item.
    const UINT length = DragQueryFileW(drop, index, nullptr, 0);
    if (length == 0 || length >= kPathSize) return 0;
    wchar_t wide[kPathSize] = {};
    if (DragQueryFileW(drop, index, wide, static_cast<UINT>(kPathSize)) == 0) return 0;
    // The code page 932 form must fit in 260 bytes as well: a double-byte character
    // takes two.
    if (!WideToAnsiExact(wide, path, kPathSize)) {
        std::memset(path, 0, kPathSize);
        return 0;
    }
    return 1;
}

SelectionCursor::SelectionCursor(HDROP drop) : drop_(drop)
{
    if (drop == nullptr) return;
    const SIZE_T size = GlobalSize(drop);
    if (size < sizeof(DROPFILES)) return;
    const auto* block = static_cast<const unsigned char*>(GlobalLock(drop));
    if (block == nullptr) return;
    DropListInfo info;
    if (!ReadDropHeader(block, size, &info)) {
        GlobalUnlock(drop);
        return;
    }
    block_ = block;
    size_ = size;
    offset_ = info.first;
    wide_ = info.wide;
    // The count is the shell's own (one pass over the list), so a list the shell counts
    // differently from its names (one empty name, here and there) reads as before: the
    // names past the last one found are items that cannot be read.
    count_ = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
}

SelectionCursor::~SelectionCursor()
{
    if (block_ != nullptr) GlobalUnlock(drop_);
}

int SelectionCursor::Next(char* path)
{
    if (path == nullptr) return -1;
    std::memset(path, 0, kPathSize);
    if (block_ == nullptr || read_ >= count_) return -1;
    ++read_;
    std::size_t start = 0, length = 0;
    if (!NextDropName(block_, size_, wide_, &offset_, &start, &length)) {
        offset_ = size_;   // nothing more can be read
        return 0;
    }
    // A name that would not fit whole is not read at all: a cut path names another item.
    if (length >= kPathSize) return 0;
    wchar_t wide[kPathSize] = {};
    if (wide_) {
        std::memcpy(wide, block_ + start, length * sizeof(wchar_t));
    } else if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, reinterpret_cast<const char*>(block_ + start),
                                   static_cast<int>(length), wide, static_cast<int>(kPathSize) - 1) == 0) {
        // A byte pair that is no character of the code page would come back as "・",
        // naming another item.
        return 0;
    }
    if (!WideToAnsiExact(wide, path, kPathSize)) {
        std::memset(path, 0, kPathSize);
        return 0;
    }
    return 1;
}
