#include "ctxmenu/text_file.h"

#include <commdlg.h>

#include <cstring>

#include "common/exact_text.h"
#include "common/handles.h"
#include "common/report.h"
#include "common/rules/path_build.h"

namespace {

// The filter pairs of the Save-As chooser, each text followed by its pattern.
constexpr char kTextFileFilter[] =
    "テキストファイル(*.txt)\0*.txt\0すべてのファイル(*.*)\0*.*\0";

}  // namespace

int ChooseSaveFile(HWND owner, const char* title, const char* initialFolder, char* fileName)
{
    if (fileName == nullptr || title == nullptr) {
        ReportFault();
        return 0;
    }
    // The chooser is asked wide: its ANSI form hands back the best-fit form of what the
    // user typed ("résumé.txt" as "resume.txt", another file).
    wchar_t filter[sizeof kTextFileFilter];
    wchar_t wideTitle[kPathSize];
    wchar_t folder[kPathSize];
    wchar_t chosen[kPathSize] = {};
    if (MultiByteToWideChar(CP_ACP, 0, kTextFileFilter, static_cast<int>(sizeof kTextFileFilter), filter,
                            static_cast<int>(sizeof kTextFileFilter)) == 0 ||
        MultiByteToWideChar(CP_ACP, 0, title, -1, wideTitle, static_cast<int>(kPathSize)) == 0 ||
        MultiByteToWideChar(CP_ACP, 0, fileName, -1, chosen, static_cast<int>(kPathSize)) == 0 ||
        (initialFolder != nullptr &&
         MultiByteToWideChar(CP_ACP, 0, initialFolder, -1, folder, static_cast<int>(kPathSize)) == 0)) {
        ReportFault();
        return 0;
    }
    OPENFILENAMEW ofn;
    std::memset(&ofn, 0, sizeof ofn);
    // The short form of the structure: no places bar, the layout every version knows.
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = chosen;
    ofn.nMaxFile = static_cast<DWORD>(kPathSize);
    ofn.lpstrInitialDir = initialFolder != nullptr ? folder : nullptr;
    ofn.lpstrTitle = wideTitle;
    // The chooser runs inside Explorer: it must not change Explorer's current folder.
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    ofn.lpstrDefExt = L"txt";
    if (!GetSaveFileNameW(&ofn)) return 0;
    // A name code page 932 cannot hold names no file the suite can write: refused, and
    // nothing is written, as after a cancel.
    char exact[kPathSize];
    if (!WideToAnsiExact(chosen, exact, sizeof exact)) {
        ShowErrorBox(nullptr, kMsgUnreadablePath);
        return 0;
    }
    std::memcpy(fileName, exact, sizeof exact);
    return 1;
}

int AppendToFile(const char* path, const void* data, DWORD size)
{
    if (path == nullptr || data == nullptr || size == 0) {
        ReportFault();
        return 0;
    }
    // OPEN_ALWAYS: created when missing, never truncated.
    FileHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        ReportLastError();
        return 0;
    }
    bool ok = false;
    DWORD written = 0;
    if (SetFilePointer(file.get(), 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER ||
        !WriteFile(file.get(), data, size, &written, nullptr)) {
        ReportLastError();
    } else if (written != size) {
        ReportFault();
    } else {
        ok = true;
    }
    if (!CloseReporting(file)) return 0;
    return ok ? 1 : 0;
}
