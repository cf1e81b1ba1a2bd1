// The full path of a selected or dragged item and where its final component starts.
#pragma once
#include <windows.h>

#include <cstddef>

// What an item with no name of its own (a drive root) is reported as.
enum class NoNameReport {
    Unreadable,   // "指定されたファイルを認識できません。"
    NoNamePart,   // "ドライブのルートなど、名前の部分がない項目は…" followed by its full path
};

// Shown before the path of an item that has no name part of its own.
inline constexpr char kMsgNoNamePart[] = "ドライブのルートなど、名前の部分がない項目は名前を変更できません。\n";

// `path` resolved to its full form in `full` (260 bytes, cleared first) and the offset of
// its final component there. 0 after a report: the system's text when it cannot be
// resolved, "path too long" when it needs 260 bytes or more, or `noName` when it has no
// final component.
int ResolveItemPath(const char* path, char* full /* 260 bytes */, std::size_t* nameOffset, NoNameReport noName);
