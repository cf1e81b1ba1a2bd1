// The selected or dragged items of an HDROP, as code page 932 paths in 260-byte
// buffers. Explorer hands over wide names; the ANSI calls would turn a character that
// code page 932 cannot hold into "?" (a wildcard) and "¥" into "\" (another path), so
// every name is read wide and taken only when it converts back exactly.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <cstddef>

// Reads the names of `drop` one after the other in one pass over the block: asking
// the shell for name i searches the list from its start, which makes a loop over a
// large selection quadratic.
class SelectionCursor {
public:
    explicit SelectionCursor(HDROP drop);
    ~SelectionCursor();
    SelectionCursor(const SelectionCursor&) = delete;
    SelectionCursor& operator=(const SelectionCursor&) = delete;

    // The number of names in the list, as the shell counts them; 0 for none, an empty
    // block or a foreign one.
    UINT Count() const { return count_; }
    // No name is left to read.
    bool AtEnd() const { return block_ == nullptr || read_ >= count_; }
    // The next name in `path` (260 bytes, cleared first): 1 when it can be used; 0 when
    // it cannot (it needs 260 bytes or more, its bytes are no code page 932 text, or it
    // has no exact code page 932 form), `path` then empty. The cursor moves past it
    // either way.
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

// The first name of `drop` by the cursor's rule: 1 with it in `path`; 0 when there is
// none or it cannot be used.
int ReadFirstSelected(HDROP drop, char* path /* 260 bytes */);
