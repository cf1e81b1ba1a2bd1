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
// Removes a folder tree or a file, names code page 932 cannot hold included; quiet when
// it is missing.
void RemoveTree(const std::string& path);
// Names directly in `folder`, sorted, "." and ".." left out.
std::vector<std::string> FolderNames(const std::string& folder);

// Wide test data, for names code page 932 cannot hold ("é"): the wide form of a code
// page 932 text, a file made by its wide path, and a folder's names as the file system
// holds them, sorted.
std::wstring ToWide(const std::string& ansi);
bool MakeWideFile(const std::wstring& path, const std::string& content = "");
std::vector<std::wstring> WideNames(const std::wstring& folder);

// An environment variable of the process set for a while (TMP, PATH), restored when
// this goes.
class ScopedVariable {
public:
    ScopedVariable(const wchar_t* name, const std::wstring& value);
    ~ScopedVariable();
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    std::wstring name_;
    std::wstring old_;
    bool existed_;
};

// The clipboard's CF_TEXT ("<none>" when it holds none), and a text put there.
std::string ClipboardText();
void PutOnClipboard(const std::string& text);
// A temporary file of a file-list run left behind in the temporary folder.
bool LeftoverTempFile();

// Many empty files for the runs over large selections: `count` files "f00000.txt",
// "f00001.txt", ... in folders "d000", "d001", ... of 200 each (Wine makes files slowly
// in large folders), under C:\tidalon-test-data\<name>-<count>. scripts/test.sh makes
// the trees from outside Wine before the tests and marks each complete; a test whose
// run `changes` its tree takes the mark away, so the next run of the script makes it
// anew. A tree that is not marked is made here, through Wine (seconds).
class LargeTree {
public:
    LargeTree(const std::string& name, unsigned count, bool changes);
    unsigned count() const { return count_; }
    // File `index`: its folder, its name and its path; the paths in that order.
    std::string Folder(unsigned index) const;
    static std::string Name(unsigned index);
    std::string Path(unsigned index) const;
    std::vector<std::string> Paths() const;

private:
    std::string root_;
    unsigned count_;
};

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
