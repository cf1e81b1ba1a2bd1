#include "tests/support/test_env.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>

#include "common/handles.h"
#include "common/menu_layout.h"
#include "common/messages.h"
#include "common/settings_store.h"
#include "tools/support/drop_data.h"
#include "tools/support/kelmora_client.h"

namespace {

// COM and OLE for every test process, as in Explorer's threads.
class ComEnvironment : public testing::Environment {
public:
    void SetUp() override { OleInitialize(nullptr); }
    void TearDown() override { OleUninitialize(); }
};
testing::Environment* const g_comEnvironment = testing::AddGlobalTestEnvironment(new ComEnvironment);

constexpr char kScratchRoot[] = "C:\\tidalon-tests";

// Byte offsets of the backslashes of a code page 932 path; a trail byte 0x5C is no
// separator.
std::vector<size_t> Separators(const std::string& path)
{
    std::vector<size_t> at;
    for (size_t i = 0; i < path.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(path[i])) && i + 1 < path.size()) {
            ++i;
        } else if (path[i] == '\\') {
            at.push_back(i);
        }
    }
    return at;
}

void MakeFolders(const std::string& path)
{
    for (size_t at : Separators(path))
        if (at > 2) CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
    CreateDirectoryA(path.c_str(), nullptr);
}

}  // namespace

ScratchDir::ScratchDir()
{
    static int counter = 0;
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info != nullptr ? std::string(info->test_suite_name()) + "." + info->name() : "test";
    std::replace(name.begin(), name.end(), '/', '_');
    path_ = std::string(kScratchRoot) + "\\" + name + "-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++counter);
    RemoveTree(path_);
    MakeFolders(path_);
}

ScratchDir::~ScratchDir()
{
    RemoveTree(path_);
}

std::string ScratchDir::At(const std::string& relative) const
{
    return relative.empty() ? path_ : path_ + "\\" + relative;
}

std::string ScratchDir::File(const std::string& relative, const std::string& content) const
{
    const std::string full = At(relative);
    MakeFolders(full.substr(0, Separators(full).back()));
    FileHandle h(CreateFileA(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_TRUE(h.valid()) << "cannot create " << full;
    DWORD written = 0;
    if (h.valid() && !content.empty()) WriteFile(h.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    return full;
}

std::string ScratchDir::Folder(const std::string& relative) const
{
    const std::string full = At(relative);
    MakeFolders(full);
    return full;
}

std::vector<std::string> ScratchDir::List(const std::string& relative) const
{
    return FolderNames(At(relative));
}

std::vector<std::string> FolderNames(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    FindHandle find(FindFirstFileA((folder + "\\*").c_str(), &entry));
    if (!find.valid()) return names;
    do {
        if (std::strcmp(entry.cFileName, ".") != 0 && std::strcmp(entry.cFileName, "..") != 0)
            names.push_back(entry.cFileName);
    } while (FindNextFileA(find.get(), &entry));
    find.Close();
    std::sort(names.begin(), names.end());
    return names;
}

bool PathExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

namespace {

void RemoveWideTree(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL | (attributes & FILE_ATTRIBUTE_DIRECTORY));
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW(path.c_str());
        return;
    }
    {
        WIN32_FIND_DATAW entry;
        FindHandle find(FindFirstFileW((path + L"\\*").c_str(), &entry));
        if (find.valid()) {
            do {
                if (std::wcscmp(entry.cFileName, L".") != 0 && std::wcscmp(entry.cFileName, L"..") != 0)
                    RemoveWideTree(path + L"\\" + entry.cFileName);
            } while (FindNextFileW(find.get(), &entry));
        }
    }
    RemoveDirectoryW(path.c_str());
}

}  // namespace

void RemoveTree(const std::string& path)
{
    RemoveWideTree(ToWide(path));
}

std::wstring ToWide(const std::string& ansi)
{
    const int n = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
    std::wstring wide(n > 0 ? static_cast<size_t>(n) : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, wide.data(), n);
    wide.resize(std::wcslen(wide.c_str()));
    return wide;
}

bool MakeWideFile(const std::wstring& path, const std::string& content)
{
    FileHandle h(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    DWORD written = 0;
    return h.valid() &&
           (content.empty() || WriteFile(h.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr));
}

std::vector<std::wstring> WideNames(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    FindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &entry));
    if (!find.valid()) return names;
    do {
        if (std::wcscmp(entry.cFileName, L".") != 0 && std::wcscmp(entry.cFileName, L"..") != 0)
            names.push_back(entry.cFileName);
    } while (FindNextFileW(find.get(), &entry));
    std::sort(names.begin(), names.end());
    return names;
}

ScopedVariable::ScopedVariable(const wchar_t* name, const std::wstring& value) : name_(name)
{
    std::vector<wchar_t> old(32767);
    const DWORD n = GetEnvironmentVariableW(name, old.data(), static_cast<DWORD>(old.size()));
    existed_ = n > 0 && n < old.size();
    if (existed_) old_.assign(old.data(), n);
    SetEnvironmentVariableW(name, value.c_str());
}

ScopedVariable::~ScopedVariable()
{
    SetEnvironmentVariableW(name_.c_str(), existed_ ? old_.c_str() : nullptr);
}

std::string ClipboardText()
{
    std::string text = "<none>";
    if (!OpenClipboard(nullptr)) return "<closed>";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

void PutOnClipboard(const std::string& text)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
}

bool LeftoverTempFile()
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    WIN32_FIND_DATAA found;
    FindHandle find(FindFirstFileA((std::string(folder) + "tfl*.tmp").c_str(), &found));
    return find.valid();
}

namespace {

constexpr char kTreeRoot[] = "C:\\tidalon-test-data";
constexpr unsigned kTreeFolderSize = 200;

}  // namespace

LargeTree::LargeTree(const std::string& name, unsigned count, bool changes)
    : root_(std::string(kTreeRoot) + "\\" + name + "-" + std::to_string(count)), count_(count)
{
    const std::string mark = root_ + "\\complete";
    if (PathExists(mark)) {
        if (changes) DeleteFileA(mark.c_str());
        return;
    }
    RemoveTree(root_);
    MakeFolders(root_);
    for (unsigned i = 0; i < count; ++i) {
        if (i % kTreeFolderSize == 0) CreateDirectoryA(Folder(i).c_str(), nullptr);
        FileHandle file(CreateFileA(Path(i).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        EXPECT_TRUE(file.valid()) << Path(i);
    }
    if (!changes) FileHandle(CreateFileA(mark.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
}

std::string LargeTree::Folder(unsigned index) const
{
    char name[16];
    std::snprintf(name, sizeof name, "\\d%03u", index / kTreeFolderSize);
    return root_ + name;
}

std::string LargeTree::Name(unsigned index)
{
    char name[16];
    std::snprintf(name, sizeof name, "f%05u.txt", index);
    return name;
}

std::string LargeTree::Path(unsigned index) const
{
    return Folder(index) + "\\" + Name(index);
}

std::vector<std::string> LargeTree::Paths() const
{
    std::vector<std::string> paths;
    for (unsigned i = 0; i < count_; ++i) paths.push_back(Path(i));
    return paths;
}

namespace {

SYSTEMTIME CalendarTime(int year, int month, int day, int hour, int minute)
{
    SYSTEMTIME time = {};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wHour = static_cast<WORD>(hour);
    time.wMinute = static_cast<WORD>(minute);
    return time;
}

bool SetLastWrite(const std::string& path, const FILETIME& utc)
{
    FileHandle h(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return h.valid() && SetFileTime(h.get(), nullptr, nullptr, &utc) != FALSE;
}

}  // namespace

bool SetLastWriteLocal(const std::string& path, int year, int month, int day, int hour, int minute)
{
    const SYSTEMTIME local = CalendarTime(year, month, day, hour, minute);
    FILETIME localTime, utc;
    if (!SystemTimeToFileTime(&local, &localTime) || !LocalFileTimeToFileTime(&localTime, &utc)) return false;
    return SetLastWrite(path, utc);
}

bool SetLastWriteUtc(const std::string& path, int year, int month, int day, int hour, int minute)
{
    const SYSTEMTIME calendar = CalendarTime(year, month, day, hour, minute);
    FILETIME utc;
    if (!SystemTimeToFileTime(&calendar, &utc)) return false;
    return SetLastWrite(path, utc);
}

std::string ReadFileText(const std::string& path)
{
    std::string text;
    FileHandle h(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!h.valid()) return "<missing>";
    char buffer[256];
    DWORD got = 0;
    while (ReadFile(h.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
    return text;
}

std::string SystemText(DWORD code)
{
    char* buffer = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = buffer != nullptr ? buffer : "";
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

void DeleteSettingsKey()
{
    RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
}

bool SettingsValueExists(const char* name)
{
    RegKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return false;
    return RegQueryValueExA(key.get(), name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::vector<unsigned char> ReadSettingsValue(const char* name, DWORD* type)
{
    std::vector<unsigned char> bytes;
    RegKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return bytes;
    DWORD size = 0;
    DWORD t = 0;
    if (RegQueryValueExA(key.get(), name, nullptr, &t, nullptr, &size) == ERROR_SUCCESS) {
        bytes.resize(size);
        RegQueryValueExA(key.get(), name, nullptr, &t, bytes.data(), &size);
        bytes.resize(size);
    }
    if (type != nullptr) *type = t;
    return bytes;
}

void WriteSettingsValue(const char* name, const std::vector<unsigned char>& bytes)
{
    RegKey key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key.get(), name, 0, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS)
        << name;
}

void WriteSettingsValue(const char* name, const std::string& bytes)
{
    WriteSettingsValue(name, std::vector<unsigned char>(bytes.begin(), bytes.end()));
}

void UseFullMenuLayout()
{
    std::vector<unsigned char> layout = {0};
    for (unsigned char i = 1; i <= 16; ++i) layout.push_back(i);
    WriteSettingsValue("Menu", layout);
}

void FullMenuTest::SetUp()
{
    DeleteSettingsKey();
    ASSERT_EQ(WriteDefaultSettings(), 1);
    UseFullMenuLayout();
}

void FullMenuTest::TearDown()
{
    DeleteSettingsKey();
}

HRESULT InvokeKelmoraCommand(const std::vector<std::string>& paths, unsigned index, HWND owner)
{
    ComPtr<IDataObject> data;
    *data.put() = CreateDropDataObject(paths);
    if (!data) {
        ADD_FAILURE() << "no data object";
        return E_OUTOFMEMORY;
    }
    return InvokeKelmoraCommandWith(data.get(), index, owner);
}

HRESULT InvokeKelmoraCommandWith(IDataObject* data, unsigned index, HWND owner)
{
    KelmoraMenu menu(data);
    if (FAILED(menu.status())) {
        ADD_FAILURE() << menu.failure();
        return menu.status();
    }
    return menu.Invoke(index, owner);
}
