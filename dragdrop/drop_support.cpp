#include "dragdrop/drop_support.h"

#include <climits>
#include <cstring>

#include "common/item_path.h"
#include "common/report.h"
#include "common/rules/cp932_text.h"
#include "common/rules/path_build.h"
#include "common/selection.h"
#include "dragdrop/drag_drop_ext.h"
#include "dragdrop/rules/drop_rule.h"

bool DropList::Fetch(IDataObject* data)
{
    if (data == nullptr) {
        ReportFault();
        return false;
    }
    FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    if (FAILED(data->GetData(&format, medium_.put()))) {
        medium_.Forget();
        ReportFault();
        return false;
    }
    if (medium_.get().tymed != TYMED_HGLOBAL || medium_.get().hGlobal == nullptr) {
        medium_.Reset();
        ReportFault();
        return false;
    }
    return true;
}

const char* DropFolderOf(const CDragDropExt* object)
{
    if (object == nullptr || object->DropFolder()[0] == '\0') {
        ReportFault();
        return nullptr;
    }
    return object->DropFolder();
}

int ReadDraggedItem(HDROP drop, UINT index, char* path)
{
    SelectionCursor cursor(drop);
    for (UINT i = 0; i < index && !cursor.AtEnd(); ++i) cursor.Next(path);
    if (!cursor.AtEnd() && cursor.Next(path)) return 1;
    ShowErrorBox(nullptr, kMsgUnreadablePath);
    return 0;
}

int ResolveItem(const char* path, char* full, size_t* nameOffset)
{
    return ResolveItemPath(path, full, nameOffset, NoNameReport::Unreadable);
}

int CreateUniqueFolder(HWND owner, char* path)
{
    if (owner == nullptr || path == nullptr || path[0] == '\0' || std::memchr(path, '\0', kPathSize) == nullptr) {
        ReportFault();
        return 0;
    }
    char work[kPathSize];
    std::memcpy(work, path, kPathSize);
    for (unsigned counter = 1; !CreateDirectoryA(work, nullptr); ++counter) {
        const DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS) {
            ReportError(error);
            return 0;
        }
        if (counter == UINT_MAX) {
            ReportFault();
            return 0;
        }
        if (!FormatCandidate(work, sizeof work, path, counter)) {
            ReportPathTooLong(nullptr, path, nullptr);
            return 0;
        }
    }
    std::memcpy(path, work, kPathSize);
    return 1;
}

UINT OpenDrop(CDragDropExt* object, DropList& list, const char** dropFolder)
{
    *dropFolder = nullptr;
    if (object == nullptr) {
        ReportFault();
        return 0;
    }
    if (!list.Fetch(object->Data())) return 0;
    *dropFolder = DropFolderOf(object);
    if (*dropFolder == nullptr) return 0;
    const UINT count = SelectionCursor(list.get()).Count();
    if (count == 0) ShowErrorBox(nullptr, kMsgNoSelection);
    return count;
}
