#include "dragdrop/dragged_items.h"

#include "common/report.h"

UINT CountDraggedItems(const SelectionCursor& items)
{
    if (items.Count() == 0) ShowErrorBox(nullptr, kMsgNoSelection);
    return items.Count();
}

int ReadNextItem(SelectionCursor& items, char* path)
{
    if (items.Next(path) == 1) return 1;
    ShowErrorBox(nullptr, kMsgUnreadablePath);
    return 0;
}
