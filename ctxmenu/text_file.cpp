#include "ctxmenu/text_file.h"

#include <commdlg.h>

#include <cstring>

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
    if (fileName == nullptr) {
        ReportFault();
        return 0;
    }
    OPENFILENAMEA ofn;
    std::memset(&ofn, 0, sizeof ofn);
    // The short form of the structure: no places bar, the layout every version knows.
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = kTextFileFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = fileName;
    ofn.nMaxFile = static_cast<DWORD>(kPathSize);
    ofn.lpstrInitialDir = initialFolder;
    ofn.lpstrTitle = title;
    // The chooser runs inside Explorer: it must not change Explorer's current folder.
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    ofn.lpstrDefExt = "txt";
    return GetSaveFileNameA(&ofn) ? 1 : 0;
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
