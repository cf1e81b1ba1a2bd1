// The name list of a DROPFILES block, read one name after the other. No Win32 here:
// the block is bytes with an explicit size.
#pragma once
#include <cstddef>

inline constexpr std::size_t kDropHeaderSize = 20;   // pFiles, pt, fNC, fWide

struct DropListInfo {
    std::size_t first;   // offset of the first name
    bool wide;           // names of two-byte units
};

// The header of `block`: false when the block is too short for it or its list offset
// points outside the block.
bool ReadDropHeader(const unsigned char* block, std::size_t size, DropListInfo* info);

// The name at `*offset`: its start and its length in units (bytes, or two-byte units
// when wide), without the terminator. Moves `*offset` past the terminator. false at
// the end of the list (an empty name) or when the name runs past the block.
bool NextDropName(const unsigned char* block, std::size_t size, bool wide, std::size_t* offset,
                  std::size_t* start, std::size_t* length);
