#include "ctxmenu/focused_view.h"

#include <cstring>

#include "common/rules/path_build.h"

HWND FocusedView(char* className)
{
    std::memset(className, 0, kPathSize);
    HWND view = GetFocus();
    if (view == nullptr || GetClassNameA(view, className, static_cast<int>(kPathSize)) == 0) {
        className[0] = '\0';
        return nullptr;
    }
    return view;
}
