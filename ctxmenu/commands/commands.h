// Entry points of the commands, as the command table dispatches them.
#pragma once
#include <windows.h>

#include "ctxmenu/invocation.h"

// Selection in the folder window (catalogue 1 to 5).
int SelectAllItems(const Invocation& invocation);
int SelectFilesOrFolders(const Invocation& invocation);
int SelectSameExtension(const Invocation& invocation);
int SelectSameDate(const Invocation& invocation);
int SelectSameAttributes(const Invocation& invocation);

// Moves each selected file into a folder named after its modification day (catalogue 14).
int ClassifyByDate(const Invocation& invocation);

// Timestamp change, dialog 132 (catalogue 8), and time-difference correction, dialog
// 145 (catalogue 9).
INT_PTR CALLBACK TimeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ReviseDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Name replacement, dialog 147 (catalogue 13).
INT_PTR CALLBACK PermuteDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Name arrangement, dialog 136 (catalogue 11).
INT_PTR CALLBACK NameDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Serial-number renaming, dialog 144 (catalogue 12).
INT_PTR CALLBACK CnumDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// File list to clipboard, dialog 143 (catalogue 7).
INT_PTR CALLBACK ClipboardDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Attribute change, dialog 148 (catalogue 10).
INT_PTR CALLBACK AttributeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Archive check, dialog 146 (catalogue 16).
INT_PTR CALLBACK ArchiveDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
