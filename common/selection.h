// The selected or dragged items of an HDROP, as code page 932 paths in 260-byte
// buffers. Explorer hands over wide names; the ANSI calls would turn a character that
// code page 932 cannot hold into "?" (a wildcard) and "¥" into "\" (another path), so
// every name is read wide and taken only when it converts back exactly.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <cstddef>

// The number of names in `drop`; 0 for none, an empty block or a foreign one.
UINT SelectedCount(HDROP drop);

// Reads name `index` into a cleared 260-byte buffer. 0, with the buffer empty, when the
// name cannot be read, needs 260 bytes or more, or has no exact code page 932 form.
int QuerySelectedPath(HDROP drop, UINT index, char* path /* 260 bytes */);

// Reads the names of `drop` one after the other in one pass over the block: asking
// the shell for name i searches the list from its start, which makes a loop over a
// large selection quadratic. Names are taken by the same rule as QuerySelectedPath.
class SelectionCursor {
public:
    explicit SelectionCursor(HDROP drop);
    ~SelectionCursor();
    SelectionCursor(const SelectionCursor&) = delete;
    SelectionCursor& operator=(const SelectionCursor&) = delete;

    // The number of names in the list, as the shell counts them.
    UINT Count() const { return count_; }
    // 1 with the next name in `path` (260 bytes, cleared first); 0 when the next name
    // cannot be used (the cursor moves past it, `path` stays empty); -1 at the end.
    int Next(char* path /* 260 bytes */);

private:
    HDROP drop_;
    const unsigned char* block_ = nullptr;
    std::size_t size_ = 0;
    std::size_t offset_ = 0;
    bool wide_ = false;
    UINT count_ = 0;
    UINT read_ = 0;
};
