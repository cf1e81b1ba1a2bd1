// The dragged items as the drop commands read them: in one pass over the drop list,
// each name taken only in its exact code page 932 form.
#pragma once
#include <windows.h>

#include "common/selection.h"

// The number of dragged items; 0 after "ファイルが選択されていません。" when there is none.
UINT CountDraggedItems(const SelectionCursor& items);

// The next dragged item into `path` (260 bytes); 0 after "指定されたファイルを認識でき
// ません。" when it cannot be read exactly.
int ReadNextItem(SelectionCursor& items, char* path /* 260 bytes */);
