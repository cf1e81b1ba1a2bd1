// Loads kelmora.dll the way Explorer does for a right click on a few files and prints
// the "Tidalon(&E)" submenu it builds: texts, command ids and help texts.
//   menuprobe <path of kelmora.dll> [folder for the sample files]
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <string>
#include <vector>

#include "drop_data.h"

namespace {

// {5D0C2A71-3B8E-4F19-A6C2-7E41B09D3F58}
const CLSID kKelmoraClsid = {0x5D0C2A71, 0x3B8E, 0x4F19, {0xA6, 0xC2, 0x7E, 0x41, 0xB0, 0x9D, 0x3F, 0x58}};

// Menu texts are code page 932; the terminal wants UTF-8.
std::string ToUtf8(const char* ansi)
{
    int wn = MultiByteToWideChar(932, 0, ansi, -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(wn > 0 ? wn : 1), L'\0');
    MultiByteToWideChar(932, 0, ansi, -1, wide.data(), wn);
    int un = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(un > 0 ? un : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, utf8.data(), un, nullptr, nullptr);
    utf8.resize(utf8.size() - 1);
    return utf8;
}

std::vector<std::string> MakeSampleFiles(const std::string& folder)
{
    CreateDirectoryA(folder.c_str(), nullptr);
    std::vector<std::string> paths;
    for (const char* name : {"報告書.txt", "photo_001.jpg", "notes.md"}) {
        std::string path = folder + "\\" + name;
        HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        paths.push_back(path);
    }
    return paths;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: menuprobe <kelmora.dll> [sample folder]\n");
        return 2;
    }
    const std::string folder = argc > 2 ? argv[2] : "C:\\tidalon-sample";
    OleInitialize(nullptr);

    HMODULE library = LoadLibraryA(argv[1]);
    if (library == nullptr) {
        std::fprintf(stderr, "cannot load %s (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    auto getClassObject = reinterpret_cast<GetClassObjectFn>(
        reinterpret_cast<void*>(GetProcAddress(library, "DllGetClassObject")));
    IClassFactory* factory = nullptr;
    IContextMenu* menu = nullptr;
    IShellExtInit* init = nullptr;
    if (getClassObject == nullptr ||
        FAILED(getClassObject(kKelmoraClsid, IID_IClassFactory, reinterpret_cast<void**>(&factory))) ||
        FAILED(factory->CreateInstance(nullptr, IID_IContextMenu, reinterpret_cast<void**>(&menu))) ||
        FAILED(menu->QueryInterface(IID_IShellExtInit, reinterpret_cast<void**>(&init)))) {
        std::fprintf(stderr, "the library does not hand out a context-menu handler\n");
        return 1;
    }

    const std::vector<std::string> selection = MakeSampleFiles(folder);
    IDataObject* data = CreateDropDataObject(selection);
    init->Initialize(nullptr, data, nullptr);
    data->Release();

    HMENU popup = CreatePopupMenu();
    const UINT first = 100;
    HRESULT hr = menu->QueryContextMenu(popup, 0, first, first + 0x7FFF, CMF_NORMAL);
    std::printf("selection: %d items in %s\n", static_cast<int>(selection.size()), ToUtf8(folder.c_str()).c_str());
    std::printf("QueryContextMenu: %u command ids\n", static_cast<unsigned>(HRESULT_CODE(hr)));

    for (int i = 0; i < GetMenuItemCount(popup); ++i) {
        char text[256] = {};
        GetMenuStringA(popup, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        HMENU sub = GetSubMenu(popup, i);
        if (sub == nullptr) {
            std::printf("%s\n", text[0] ? ToUtf8(text).c_str() : "----------");
            continue;
        }
        std::printf("%s  >\n", ToUtf8(text).c_str());
        for (int j = 0; j < GetMenuItemCount(sub); ++j) {
            const UINT id = GetMenuItemID(sub, j);
            if (id == static_cast<UINT>(-1) || id == 0) {
                std::printf("    ----------\n");
                continue;
            }
            char item[256] = {};
            char help[256] = {};
            GetMenuStringA(sub, static_cast<UINT>(j), item, sizeof item, MF_BYPOSITION);
            menu->GetCommandString(id - first, GCS_HELPTEXTA, nullptr, help, sizeof help);
            std::printf("    [%3u] %-34s %s\n", id, ToUtf8(item).c_str(), ToUtf8(help).c_str());
        }
    }

    DestroyMenu(popup);
    init->Release();
    menu->Release();
    factory->Release();
    using CanUnloadFn = HRESULT(WINAPI*)();
    auto canUnload = reinterpret_cast<CanUnloadFn>(reinterpret_cast<void*>(GetProcAddress(library, "DllCanUnloadNow")));
    std::printf("DllCanUnloadNow after release: %s\n", canUnload && canUnload() == S_OK ? "S_OK" : "S_FALSE");
    FreeLibrary(library);
    OleUninitialize();
    return 0;
}
