// Scratch folders, settings registry helpers and kelmora.dll's commands for tests
// (kelmora.dll itself, its handler and object count: tools/support/kelmora_client.h).
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/support/kelmora_client.h"

// A fresh folder under C:\tidalon-tests for one test, removed with all it holds.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& path() const { return path_; }
    // path() + "\" + relative
    std::string At(const std::string& relative) const;
    // Creates a file (and its folders) with `content`; gives its full path.
    std::string File(const std::string& relative, const std::string& content = "") const;
    std::string Folder(const std::string& relative) const;
    // Names directly in `relative` (or the scratch folder), sorted, "." and ".." left out.
    std::vector<std::string> List(const std::string& relative = "") const;

private:
    std::string path_;
};

bool PathExists(const std::string& path);
// Removes a folder tree or a file; quiet when it is missing.
void RemoveTree(const std::string& path);
// Sets the last-write time from local calendar values (uses the process's time zone).
bool SetLastWriteLocal(const std::string& path, int year, int month, int day, int hour, int minute);
// Sets the last-write time from UTC calendar values.
bool SetLastWriteUtc(const std::string& path, int year, int month, int day, int hour, int minute);
// The whole content of a file, or "<missing>" when it cannot be opened.
std::string ReadFileText(const std::string& path);
// The system's message text for a Win32 error code, without its trailing line break.
std::string SystemText(DWORD code);

// The settings key HKCU "Software\Quaddle\Kelmora".
void DeleteSettingsKey();
bool SettingsValueExists(const char* name);
std::vector<unsigned char> ReadSettingsValue(const char* name, DWORD* type = nullptr);
void WriteSettingsValue(const char* name, const std::vector<unsigned char>& bytes);
void WriteSettingsValue(const char* name, const std::string& bytes);

// Initialize with a CF_HDROP of `paths`, QueryContextMenu into a popup, InvokeCommand
// of the entry with catalogue index `index` (found by its position in the menu model)
// with `owner` as window. Gives the HRESULT of InvokeCommand, or E_FAIL when the entry
// is not in the menu.
HRESULT InvokeKelmoraCommand(const std::vector<std::string>& paths, unsigned index, HWND owner = nullptr);
// The same with a data object of the caller's own (nullptr: Initialize with none, as
// for a folder background). A COM call that fails fails the test and gives its HRESULT.
HRESULT InvokeKelmoraCommandWith(IDataObject* data, unsigned index, HWND owner = nullptr);
// Stores a "Menu" layout listing every command 1..16 (drag menu off), for tests of
// commands the default layout leaves out. An entry must be in the stored layout for
// InvokeKelmoraCommand to find it.
void UseFullMenuLayout();

// Fixture for commands run through the menu: default settings with the full "Menu"
// layout for each test, the settings key removed afterwards, and a scratch folder.
class FullMenuTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    ScratchDir dir_;
};
