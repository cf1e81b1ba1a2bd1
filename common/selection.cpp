#include "common/selection.h"

#include <shlobj.h>

#include <cstring>

#include "common/exact_text.h"
#include "common/rules/drop_list.h"
#include "common/rules/path_build.h"

SelectionCursor::SelectionCursor(HDROP drop) : drop_(drop)
{
    // An empty or foreign block holds no list; asking the shell to count it would read
    // past its end.
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
    if (path == nullptr) return 0;
    std::memset(path, 0, kPathSize);
    if (AtEnd()) return 0;
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
        // Bytes that are no code page 932 text would be read as another name.
        return 0;
    }
    if (!WideToAnsiExact(wide, path, kPathSize)) {
        std::memset(path, 0, kPathSize);
        return 0;
    }
    return 1;
}

int ReadFirstSelected(HDROP drop, char* path)
{
    SelectionCursor cursor(drop);
    if (cursor.AtEnd()) {
        std::memset(path, 0, kPathSize);
        return 0;
    }
    return cursor.Next(path);
}
