// explorer_host: a small Explorer stand-in for the demo and for trying the shell
// extensions by hand under Wine (Wine's own shell loads no handlers). Not installed.
//
//   explorer_host [folder]                 opens the folder for a person to use
//   explorer_host --script <file> [folder] runs a tour script, then exits
//
// The window is a report-view list ("SysListView32") of one folder: Enter or a double
// click opens a folder, Backspace or ".." goes up, F5 refreshes. Right click on the
// selection shows the context menu of the handlers registered under
// HKCR "*\shellex\ContextMenuHandlers" (files) and "Directory\shellex\ContextMenuHandlers"
// (folders); the status bar shows their help texts. Dragging the selection with the
// right button onto a folder item, or "Folder > Drop selection on…", shows the drop
// menu of the handlers under HKCR "Folder\shellex\DragDropHandlers".
//
// Script files are UTF-8, one command per line; see script.cpp and README.md.
#include "tools/host/host.h"

#include <commctrl.h>

// The command line: a folder to open, or a tour to run. The handlers are those that
// pellast.exe registered.
int main(int argc, char** argv)
{
    std::string folder = "C:\\";
    std::string script;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--script" && i + 1 < argc) {
            script = argv[++i];
        } else if (arg == "--help" || arg == "-h" || arg == "/?") {
            Log("usage: explorer_host [folder] | --script <file> [folder]");
            return 0;
        } else {
            folder = arg;
        }
    }

    if (FAILED(OleInitialize(nullptr))) {
        Log("OleInitialize failed");
        return 1;
    }
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    int code = 0;
    {
        HostWindow host;
        if (!host.Create(GetModuleHandleA(nullptr))) {
            char error[48];
            wsprintfA(error, "cannot create the window (error %lu)", GetLastError());
            Log(error);
            OleUninitialize();
            return 1;
        }
        ShowWindow(host.hwnd(), SW_SHOW);
        UpdateWindow(host.hwnd());
        SetForegroundWindow(host.hwnd());
        if (!host.Open(folder)) Log("cannot open " + folder);
        SetFocus(host.list());

        if (!script.empty()) {
            code = RunScript(host, WindowsPath(script));
            DestroyWindow(host.hwnd());
        }
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    // Let the handlers' libraries go, as Explorer does when idle.
    CoFreeUnusedLibraries();
    OleUninitialize();
    return code;
}
