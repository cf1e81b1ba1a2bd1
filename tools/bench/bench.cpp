// Benchmarks of kelmora.dll and orvid.dll against the bare system calls the same work
// cannot avoid. Every row runs the command and its floor in turns, in the same process,
// and prints both medians and the median of the ratios of each turn; growth rows compare
// two sizes of the same work against the floor's own growth.
//
//   tidalon_bench [--full] [--reps N] [--clicks N] [--leak N] [--rename N] [--select N]
//                 [--fetch N] [--bulk N] [--large N] [--list N] [--drop N] [--archives N]
//                 [--reads N] [--reads-small N] [--only ROW]
//
// Sizes are item counts. --full adds the rows at --large items (100,000) and takes the
// selection rows, the file list and the selection reads to 100,000 items; the preview
// is at --list items, and with --full at --large items too. Trees of many
// files are spread over folders of 2,000, so the platform's cost per item in a folder
// stays the same at every size; scripts/bench.sh makes the large ones beforehand from
// outside. Settings are written to the current user's key and removed at the end.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "common/class_ids.h"
#include "common/handles.h"
#include "common/menu_layout.h"
#include "common/messages.h"
#include "common/resource_ids.h"
#include "common/selection.h"
#include "common/settings_store.h"
#include "tools/support/dialog_command.h"
#include "tools/support/drop_data.h"
#include "tools/support/folder_window.h"
#include "tools/support/kelmora_client.h"

namespace {

constexpr char kRoot[] = "C:\\tidalon-bench";
constexpr char kDataRoot[] = "C:\\tidalon-bench-data";
constexpr int kFolderFiles = 2000;   // files per folder of a tree
// Every command 1..16 in order, drag menu off (on for the drop rows).
const std::vector<unsigned char> kFullLayout = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};

struct Options {
    bool full = false;
    int reps = 5;
    int clicks = 200;        // right clicks per sample
    int leak = 1000;         // right clicks of the leak row
    int rename = 5000;       // name replacement in one folder
    int select = 10000;      // items of the folder the selection commands work on
    int fetch = 100000;
    int bulk = 2000;         // files of each command's row
    int large = 100000;      // files of each command's row with --full
    int list = 10000;        // files of the file list's tree
    int drop = 300;          // items of the drop rows
    int archives = 200;      // archives of the archive check row
    int reads = 20000;       // selected items of the selection-read rows
    int readsSmall = 2000;
    std::string only;
};

int g_met = 0;
int g_missed = 0;
int g_progressWindows = 0;   // progress windows made so far (the bench's hook counts them)
bool g_extend = true;   // short rows take more turns (not with --reps 1)

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> v)
{
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

double Timed(const std::function<void()>& work)
{
    const double start = Now();
    work();
    return Now() - start;
}

void Verdict(bool met, const char* target)
{
    std::printf("  [%s %s]\n", met ? "met" : "MISSED", target);
    (met ? g_met : g_missed)++;
    std::fflush(stdout);
}

// The quartile `q` (1 or 3) of the values.
double Quartile(std::vector<double> v, int q)
{
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[(v.size() - 1) * static_cast<size_t>(q) / 4];
}

// The medians of a row: the command's, the floor's, and the median ratio of the turns
// with its quartiles.
struct Figures {
    double command = 0;
    double floor = 0;
    double ratio = 0;
    double low = 0;
    double high = 0;
    int turns = 0;
    int windowTurns = 0;   // turns whose command showed the progress window
};

void PrintRow(const char* name, const Figures& f, double target, const char* note = "")
{
    std::printf("%-48s median %10.3f ms  floor %10.3f ms  ratio %5.2f (%.2f-%.2f of %d)%s", name, f.command, f.floor,
                f.ratio, f.low, f.high, f.turns, note);
    if (f.windowTurns > 0) std::printf(" window in %d", f.windowTurns);
    if (target > 0) {
        char text[32];
        std::snprintf(text, sizeof text, "ratio <= %.2f", target);
        Verdict(f.ratio <= target, text);
    } else {
        std::printf("\n");
        std::fflush(stdout);
    }
}

// Brings the machine to the pace it keeps under sustained work before a clock starts.
// Here a burst of work that follows an idle moment (some 20 ms are enough) runs several
// times faster than the same work sustained; the burst lasts some 50 to 100 ms. A half
// that started idle would be measured partly at the burst's pace, by an amount that
// depends on how long it is, so short rows and the two sizes of a growth row would not
// be measured alike. Each half is therefore timed after 150 ms of busy work, and
// nothing between this and its clock may wait.
void Pace()
{
    const double start = Now();
    volatile unsigned spin = 0;
    while (Now() - start < 150) spin = spin + 1;
}

// Lets the display catch up between the halves of a turn: what a closed dialog left to
// draw and destroy would otherwise go on, in the display server, beside the next half.
// Then the machine is brought back to its sustained pace.
void Settle()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    GdiFlush();
    Sleep(200);
    Pace();
}

// Command and floor in turns, each after the display has settled: at least `turns` of
// them, and more (up to five times as many) while they have taken less than twenty
// seconds, so that a row of a few seconds a turn gets enough turns for its median: the
// pace of this machine drifts by a tenth between turns (not with --reps 1). With
// `alternate` the floor goes first in every other turn, so neither always meets the
// machine in the same state.
Figures Measure(int turns, const std::function<double()>& command, const std::function<double()>& floor,
                bool alternate = true)
{
    std::vector<double> c, f, r;
    double spent = 0;
    int windowTurns = 0;
    for (int i = 0; i < turns || (g_extend && spent < 20000 && i < 5 * turns); ++i) {
        double mc = 0, mf = 0;
        const int windows = g_progressWindows;
        auto runCommand = [&] {
            Settle();
            mc = command();
        };
        auto runFloor = [&] {
            Settle();
            mf = floor();
        };
        if (alternate && i % 2 == 1) {
            runFloor();
            runCommand();
        } else {
            runCommand();
            runFloor();
        }
        if (g_progressWindows > windows) ++windowTurns;
        spent += mc + mf;
        c.push_back(mc);
        f.push_back(mf);
        if (mf > 0) r.push_back(mc / mf);
    }
    return Figures{Median(c), Median(f), Median(r), Quartile(r, 1), Quartile(r, 3), static_cast<int>(c.size()),
                   windowTurns};
}

Figures Row(const char* name, int turns, const std::function<double()>& command, const std::function<double()>& floor,
            double target, bool alternate = true, const char* note = "")
{
    const Figures f = Measure(turns, command, floor, alternate);
    PrintRow(name, f, target, note);
    return f;
}

// A command that grows as its floor grows is linear even where the platform's cost per
// item grows: the command's ratio to its floor may grow by at most `slack` between the
// two sizes (each ratio the median of its turns, so that the machine's drift between
// the sizes does not count as growth). With no floor the time itself may grow by at
// most `slack` times the items.
void Growth(const char* name, const Figures& small, const Figures& large, double items, double slack = 1.2)
{
    const double growth = small.command > 0 ? large.command / small.command : 0;
    std::printf("%-48s %gx the items: %10.3f -> %10.3f ms, growth %6.2f", name, items, small.command, large.command,
                growth);
    if (small.ratio > 0 && large.ratio > 0) {
        const double floorGrowth = small.floor > 0 ? large.floor / small.floor : 0;
        const double ratioGrowth = large.ratio / small.ratio;
        std::printf(" (floor %6.2f), ratio %5.2f -> %5.2f: %5.2f", floorGrowth, small.ratio, large.ratio, ratioGrowth);
        char text[48];
        std::snprintf(text, sizeof text, "ratio growth <= %.2f", slack);
        Verdict(ratioGrowth <= slack, text);
        return;
    }
    char text[48];
    std::snprintf(text, sizeof text, "growth <= %.2f", slack * items);
    Verdict(growth > 0 && growth <= slack * items, text);
}

// ---- files -------------------------------------------------------------------------

std::vector<std::string> Names(const std::string& folder, int count, const char* stem, const char* extension,
                               int first = 0)
{
    std::vector<std::string> paths;
    paths.reserve(static_cast<size_t>(count));
    char name[64];
    for (int i = first; i < first + count; ++i) {
        std::snprintf(name, sizeof name, "%s%06d%s", stem, i, extension);
        paths.push_back(folder + "\\" + name);
    }
    return paths;
}

void MakeFiles(const std::vector<std::string>& paths)
{
    for (const std::string& p : paths) {
        FileHandle file(CreateFileA(p.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
}

void RemoveTree(const std::string& path)
{
    std::vector<char> from(path.begin(), path.end());
    from.push_back('\0');
    from.push_back('\0');
    SHFILEOPSTRUCTA op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.data();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationA(&op);
}

std::string Fresh(const char* name)
{
    const std::string folder = std::string(kRoot) + "\\" + name;
    RemoveTree(folder);
    CreateDirectoryA(kRoot, nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void MoveAll(const std::vector<std::string>& from, const std::vector<std::string>& to)
{
    for (size_t i = 0; i < from.size(); ++i) MoveFileA(from[i].c_str(), to[i].c_str());
}

// A tree of `count` files "n%06d.dat" (numbered through the whole tree) in folders
// "d%03d" of kFolderFiles each, under `root`. The large ones are made beforehand by
// scripts/bench.sh (Wine makes each file of a large folder in time growing with it);
// the bench makes the others itself, in its scratch folder.
struct Tree {
    std::string base;     // holds "root" and, for a tree made beforehand, "complete"
    std::string root;
    bool premade = false;
    std::vector<std::string> folders;
    std::vector<std::string> files;
    std::vector<std::string> Renamed(const char* stem) const
    {
        std::vector<std::string> paths;
        paths.reserve(files.size());
        for (size_t f = 0; f < folders.size(); ++f) {
            const int first = static_cast<int>(f) * kFolderFiles;
            const int count = std::min<int>(kFolderFiles, static_cast<int>(files.size()) - first);
            std::vector<std::string> part = Names(folders[f], count, stem, ".dat", first);
            paths.insert(paths.end(), part.begin(), part.end());
        }
        return paths;
    }
    // A row that moves the files takes the mark "complete" away until it has put them
    // back, so that an interrupted run leaves the tree to be made again.
    void Unmark() const
    {
        if (premade) DeleteFileA((base + "\\complete").c_str());
    }
    void Mark() const
    {
        if (premade) FileHandle file(CreateFileA((base + "\\complete").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
};

Tree OpenTree(int count)
{
    Tree tree;
    const std::string made = std::string(kDataRoot) + "\\tree-" + std::to_string(count);
    tree.premade = Exists(made + "\\complete");
    tree.base = tree.premade ? made : Fresh(("tree-" + std::to_string(count)).c_str());
    tree.root = tree.base + "\\root";
    if (!tree.premade) CreateDirectoryA(tree.root.c_str(), nullptr);
    const int folders = (count + kFolderFiles - 1) / kFolderFiles;
    char name[16];
    for (int f = 0; f < folders; ++f) {
        std::snprintf(name, sizeof name, "d%03d", f);
        tree.folders.push_back(tree.root + "\\" + name);
    }
    tree.files.reserve(static_cast<size_t>(count));
    for (int f = 0; f < folders; ++f) {
        const int first = f * kFolderFiles;
        std::vector<std::string> part = Names(tree.folders[f], std::min(kFolderFiles, count - first), "n", ".dat", first);
        if (!tree.premade) {
            CreateDirectoryA(tree.folders[f].c_str(), nullptr);
            MakeFiles(part);
        }
        tree.files.insert(tree.files.end(), part.begin(), part.end());
    }
    return tree;
}

// ---- kelmora.dll as Explorer loads it --------------------------------------------------

// One right click: class object, handler, Initialize, QueryContextMenu into a popup,
// everything released. Gives the submenu the handler made (destroyed by now).
HMENU RightClick(IDataObject* data)
{
    return KelmoraMenu(data).submenu();
}

// What a right click cannot avoid: the layout and hotkey reads and the menu calls for
// the same menu.
void RightClickFloor()
{
    HKEY key = nullptr;
    RegOpenKeyA(HKEY_CURRENT_USER, kSettingsKey, &key);
    DWORD size = 0;
    RegQueryValueExA(key, "Menu", nullptr, nullptr, nullptr, &size);
    BYTE* layout = static_cast<BYTE*>(GlobalAlloc(GPTR, size));
    RegQueryValueExA(key, "Menu", nullptr, nullptr, layout, &size);
    RegCloseKey(key);
    HKEY keys = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &keys, nullptr);
    BYTE hotkeys[17];
    DWORD hotkeySize = sizeof hotkeys;
    RegQueryValueExA(keys, "Key", nullptr, nullptr, hotkeys, &hotkeySize);
    RegCloseKey(keys);
    HMENU popup = CreatePopupMenu();
    HMENU sub = CreatePopupMenu();
    InsertMenuA(popup, 0, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    InsertMenuA(popup, 1, MF_BYPOSITION | MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), "Tidalon(&E)");
    InsertMenuA(popup, 2, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    for (DWORD i = 1; i < size; ++i) {
        if (layout[i] == 0)
            InsertMenuA(sub, i - 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
        else
            InsertMenuA(sub, i - 1, MF_BYPOSITION | MF_STRING, i, "すべて選択(&L)");
    }
    GlobalFree(layout);
    DestroyMenu(popup);
}

// The one notification a complete run of a command that changes names, attributes or
// times sends: its floors make it too.
void NotifyShell()
{
    SHChangeNotify(SHCNE_ASSOCCHANGED, 0x2000, nullptr, nullptr);
}

// InvokeCommand of catalogue entry `index` on a handler initialised with `data`.
HRESULT Invoke(IDataObject* data, unsigned index, HWND owner)
{
    return KelmoraMenu(data).Invoke(index, owner);
}

// The ends of a run, as the bench sees them: EndDialog starting to hide the command's
// dialog (its run has ended; the hiding, the activation of another window and the
// destruction of the controls are the dialog's, not the run's), and the first message
// box being made (its making is the platform's, not the run's). The progress window,
// captioned "Tidalon", is neither.
struct RunEnds {
    HWND dialog = nullptr;
    WNDPROC dialogProc = nullptr;
    double dialogEnded = 0;
    double boxMade = 0;
};
RunEnds g_ends;

LRESULT CALLBACK WatchedDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_WINDOWPOSCHANGING && (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_HIDEWINDOW) &&
        g_ends.dialogEnded == 0)
        g_ends.dialogEnded = Now();
    return CallWindowProcA(g_ends.dialogProc, window, message, wParam, lParam);
}

// From now on the end of `dialog` is watched.
void WatchDialog(HWND dialog)
{
    g_ends = RunEnds{};
    g_ends.dialog = dialog;
    g_ends.dialogProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchedDialogProc)));
}

LRESULT CALLBACK EndHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTA* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        const bool dialogClass = create->lpszClass != nullptr &&
                                 (IS_INTRESOURCE(create->lpszClass) ? reinterpret_cast<ULONG_PTR>(create->lpszClass) == 0x8002
                                                                    : std::strcmp(create->lpszClass, "#32770") == 0);
        const bool progress = create->lpszName != nullptr && !IS_INTRESOURCE(create->lpszName) &&
                              std::strcmp(create->lpszName, "Tidalon") == 0;
        if (dialogClass && progress) ++g_progressWindows;
        if (dialogClass && !progress && g_ends.boxMade == 0) g_ends.boxMade = Now();
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void WatchRunEnds()
{
    static HHOOK hook = SetWindowsHookExA(WH_CBT, EndHook, nullptr, GetCurrentThreadId());
    (void)hook;
    g_ends = RunEnds{};
}

// A dialog command on every item of `data`, its dialog filled by `fill` and answered
// with OK. Timed from the press of OK (the driver's own wait before it fills the dialog,
// and the dialog's drawing, are not the command's) to the end of the run: EndDialog or, with
// `untilBox`, the first message box the run shows (a closing message, or the failure
// that ends the run). Boxes are answered and the first is printed, as is the first
// failure (under `label`), so a row that fails is seen; the progress window of a long
// run is counted, not a failure.
double RunDialogCommand(IDataObject* data, unsigned entry, const DialogFill& fill, const char* label,
                            bool untilBox = false)
{
    ModalDriver driver;
    driver.AnswerAllBoxes(IDOK);
    double okAt = 0;
    WatchRunEnds();
    DialogCommand command(driver, entry, [&](DialogDriver& d) {
        fill(d);
        // The dialog is drawn whole and the display given time to show it before OK,
        // as it is before a user presses OK: its drawing would otherwise go on, in the
        // display server, beside the run.
        RedrawWindow(d.hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        GdiFlush();
        Sleep(50);
        WatchDialog(d.hwnd());
        Pace();
        okAt = Now();
    });
    command.RunWith(data);
    double end = Now();
    if (untilBox && g_ends.boxMade > 0) end = g_ends.boxMade;
    else if (!untilBox && g_ends.dialogEnded > 0) end = g_ends.dialogEnded;
    const double ms = okAt > 0 ? end - okAt : 0;
    for (const std::string& failure : command.Failures()) {
        if (failure == "unexpected dialog: Tidalon") continue;
        std::printf("  %s: %s\n", label, failure.c_str());
        break;
    }
    if (!untilBox && !driver.Boxes().empty()) std::printf("  %s box: %s\n", label, driver.Boxes().front().text.c_str());
    return ms;
}

// ---- rows --------------------------------------------------------------------------

void RightClickRows(const Options& o)
{
    const std::string folder = Fresh("click");
    const std::vector<std::string> one = Names(folder, 1, "a", ".txt");
    MakeFiles(one);
    IDataObject* single = CreateDropDataObject(one);
    for (int i = 0; i < 20; ++i) RightClick(single);   // warm
    // Clicks and their floors alternate one by one, so both meet the same load.
    auto paired = [&](IDataObject* data, double* floorMs) {
        double click = 0, bare = 0;
        for (int i = 0; i < o.clicks; ++i) {
            click += Timed([&] { RightClick(data); });
            bare += Timed([&] { RightClickFloor(); });
        }
        *floorMs = bare / o.clicks;
        return click / o.clicks;
    };
    double lastFloor = 0;
    auto floor = [&] { return lastFloor; };
    const Figures oneItem =
        Row("right click, 1 item", o.reps, [&] { return paired(single, &lastFloor); }, floor, 1.10, false);

    std::vector<std::string> many = Names(folder, o.fetch, "m", ".txt");
    IDataObject* large = CreateDropDataObject(many);
    const Figures manyItems =
        Row("right click, large selection", o.reps, [&] { return paired(large, &lastFloor); }, floor, 0, false);
    // Each size against the floor measured beside it, so that the machine's drift between
    // the two samples does not count as growth.
    char name[64];
    std::snprintf(name, sizeof name, "right click, 1 vs %d items", o.fetch);
    std::printf("%-48s ratio to the floor %5.2f -> %5.2f (%.3f -> %.3f ms), growth %5.2f", name, oneItem.ratio,
                manyItems.ratio, oneItem.command, manyItems.command,
                oneItem.ratio > 0 ? manyItems.ratio / oneItem.ratio : 0);
    Verdict(oneItem.ratio > 0 && manyItems.ratio / oneItem.ratio <= 1.10, "growth <= 1.10");
    large->Release();
    single->Release();
}

// Handle values that name an open handle: Wine answers 0 to the handle count.
long ProbeHandles()
{
    long n = 0;
    for (ULONG_PTR h = 4; h < 0x20000; h += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(h), &flags)) ++n;
    }
    return n;
}

long long HeapBusyBytes()
{
    HANDLE heaps[256];
    const DWORD count = std::min<DWORD>(GetProcessHeaps(256, heaps), 256);
    long long busy = 0;
    for (DWORD i = 0; i < count; ++i) {
        if (!HeapLock(heaps[i])) continue;
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) busy += static_cast<long long>(entry.cbData);
        HeapUnlock(heaps[i]);
    }
    return busy;
}

void LeakRow(const Options& o)
{
    const std::string folder = Fresh("leak");
    const std::vector<std::string> one = Names(folder, 1, "a", ".txt");
    MakeFiles(one);
    IDataObject* data = CreateDropDataObject(one);
    for (int i = 0; i < 50; ++i) RightClick(data);
    const long handles = ProbeHandles();
    const long long heap = HeapBusyBytes();
    long alive = 0;
    for (int i = 0; i < o.leak; ++i) {
        HMENU sub = RightClick(data);
        if (sub != nullptr && IsMenu(sub)) ++alive;
    }
    const long handleGrowth = ProbeHandles() - handles;
    const long long heapGrowth = HeapBusyBytes() - heap;
    data->AddRef();
    const ULONG refs = data->Release();   // the bench's own reference only
    const bool unload = KelmoraCanUnload();
    std::printf("%-48s %d clicks: handles %+ld, heap busy %+lld bytes, submenus alive %ld, "
                "data object refs %lu, DllCanUnloadNow %s",
                "leaks", o.leak, handleGrowth, heapGrowth, alive, refs, unload ? "S_OK" : "S_FALSE");
    Verdict(handleGrowth <= 0 && heapGrowth <= 0 && alive == 0 && refs == 1 && unload, "all zero");
    data->Release();
}

DialogFill PermuteFill(const char* search, const char* replacement, bool subfolders)
{
    return [=](DialogDriver& d) {
        d.SetText(IDC_PERMUTE_SEARCH, search);
        d.SetText(IDC_PERMUTE_REPLACEMENT, replacement);
        d.Check(IDC_PERMUTE_EVERY, false);
        d.Check(IDC_PERMUTE_KEEP_EXTENSION, true);
        d.Check(IDC_PERMUTE_SUBFOLDERS, subfolders);
    };
}

// Name replacement of `count` files in one folder; the floor renames them back with a
// bare MoveFileA loop (the same number of renames in the same folder).
Figures RenameRow(const Options& o, int count, bool verdict)
{
    const std::string folder = Fresh("rename");
    const std::vector<std::string> before = Names(folder, count, "n", ".dat");
    const std::vector<std::string> after = Names(folder, count, "m", ".dat");
    MakeFiles(before);
    // The command and the floor take turns at each direction (n to m, m to back), so
    // neither always meets the folder in the same state.
    IDataObject* forward = CreateDropDataObject(before);
    IDataObject* backward = CreateDropDataObject(after);
    bool atBefore = true;
    auto command = [&] {
        const double ms = RunDialogCommand(atBefore ? forward : backward, 13,
                                           PermuteFill(atBefore ? "n" : "m", atBefore ? "m" : "n", false), "rename");
        atBefore = !atBefore;
        return ms;
    };
    auto floor = [&] {
        const double ms = Timed([&] {
            atBefore ? MoveAll(before, after) : MoveAll(after, before);
            NotifyShell();
        });
        atBefore = !atBefore;
        return ms;
    };
    char name[64];
    std::snprintf(name, sizeof name, "name replacement, %d files in one folder", count);
    const Figures f = Row(name, o.reps, command, floor, verdict ? 1.10 : 0);
    forward->Release();
    backward->Release();
    RemoveTree(folder);
    return f;
}

// ---- the selection commands ----------------------------------------------------------

void DeselectAll(HWND view)
{
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED;
    SendMessageA(view, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
}

std::vector<int> SelectedIndices(HWND view)
{
    std::vector<int> selected;
    for (int i = -1; (i = static_cast<int>(SendMessageA(view, LVM_GETNEXTITEM, static_cast<WPARAM>(i), LVNI_SELECTED))) >= 0;)
        selected.push_back(i);
    return selected;
}

// A folder of `count` files, half ".txt" and half ".dat", in a real list view with the
// focus. Each command and its floor start from a view with nothing selected (the
// command's first step, deselecting everything, then costs the same in every turn);
// the floor lists the folder with the command's pattern, reads every item's text once
// and selects the items the command selects. The four commands take their turns in
// rounds, so that a busy spell of the machine meets them all.
void SelectRows(const Options& o)
{
    Figures figures[2][4];
    const int sizes[2] = {o.select / 10, o.select};
    const unsigned entries[4] = {2, 3, 4, 5};
    const char* labels[4] = {"files or folders", "same extension", "same date", "same attributes"};
    const wchar_t* patterns[4] = {L"*.*", L"*.txt", L"*.*", L"*.*"};
    for (int s = 0; s < 2; ++s) {
        // Wine makes each file of a large folder in time growing with the folder:
        // scripts/bench.sh makes these folders beforehand from outside (with the same
        // names), and they are only read here.
        const std::string made = std::string(kDataRoot) + "\\select-" + std::to_string(sizes[s]);
        const bool premade = Exists(made + "\\complete");
        const std::string folder = premade ? made : Fresh("select");
        std::vector<std::string> txt = Names(folder, sizes[s] / 2, "s", ".txt");
        std::vector<std::string> dat = Names(folder, sizes[s] - sizes[s] / 2, "t", ".dat");
        if (!premade) {
            MakeFiles(txt);
            MakeFiles(dat);
        }
        FolderWindow window(folder);
        const HWND view = window.view();
        const int count = window.ItemCount();
        IDataObject* data = CreateDropDataObject({txt[0]});
        wchar_t wideFolder[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, wideFolder, MAX_PATH);
        // The window is drawn once before the first turn.
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        std::vector<int> chosen[4];
        for (int e = 0; e < 4; ++e) {
            DeselectAll(view);
            Invoke(data, entries[e], window.frame());
            chosen[e] = SelectedIndices(view);
            if (chosen[e].empty()) std::printf("  select %s: nothing was selected\n", labels[e]);
        }
        auto command = [&](int e) {
            DeselectAll(view);
            return Timed([&] { Invoke(data, entries[e], window.frame()); });
        };
        auto floor = [&](int e) {
            const std::wstring pattern = std::wstring(wideFolder) + L"\\" + patterns[e];
            DeselectAll(view);
            return Timed([&] {
                WIN32_FIND_DATAW found;
                HANDLE h = FindFirstFileW(pattern.c_str(), &found);
                if (h != INVALID_HANDLE_VALUE) {
                    while (FindNextFileW(h, &found)) {
                    }
                    FindClose(h);
                }
                char text[MAX_PATH];
                for (int i = 0; i < count; ++i) {
                    LVITEMA item{};
                    item.pszText = text;
                    item.cchTextMax = sizeof text;
                    SendMessageA(view, LVM_GETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
                }
                for (int i : chosen[e]) {
                    LVITEMA state{};
                    state.stateMask = LVIS_SELECTED;
                    state.state = LVIS_SELECTED;
                    SendMessageA(view, LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&state));
                }
            });
        };
        std::vector<double> c[4], f[4], r[4];
        const int turns = std::max(1, (o.reps + 1) / 2);
        double spent = 0;
        for (int t = 0; t < turns || (g_extend && spent < 4 * 4000 && t < 5 * turns); ++t) {
            for (int e = 0; e < 4; ++e) {
                double mc = 0, mf = 0;
                if (t % 2 == 1) {
                    Settle();
                    mf = floor(e);
                    Settle();
                    mc = command(e);
                } else {
                    Settle();
                    mc = command(e);
                    Settle();
                    mf = floor(e);
                }
                spent += mc + mf;
                c[e].push_back(mc);
                f[e].push_back(mf);
                if (mf > 0) r[e].push_back(mc / mf);
            }
        }
        for (int e = 0; e < 4; ++e)
            figures[s][e] = Figures{Median(c[e]), Median(f[e]), Median(r[e]), Quartile(r[e], 1), Quartile(r[e], 3),
                                    static_cast<int>(c[e].size())};
        DeselectAll(view);
        data->Release();
    }
    RemoveTree(std::string(kRoot) + "\\select");   // the folders made beforehand stay for the next run
    for (int e = 0; e < 4; ++e) {
        char name[64];
        for (int s = 0; s < 2; ++s) {
            std::snprintf(name, sizeof name, "select %s, %d items", labels[e], sizes[s]);
            PrintRow(name, figures[s][e], 1.5);
        }
        std::snprintf(name, sizeof name, "select %s, growth", labels[e]);
        Growth(name, figures[0][e], figures[1][e], 10);
    }
}

// Fetching every selected path as a command's loop does, alone.
void FetchRows(const Options& o)
{
    double times[2] = {};
    double floors[2] = {};
    const int sizes[2] = {o.fetch / 10, o.fetch};
    for (int s = 0; s < 2; ++s) {
        HGLOBAL block = MakeDropFiles(Names("C:\\tidalon-bench\\fetch", sizes[s], "f", ".txt"));
        HDROP drop = static_cast<HDROP>(block);
        std::vector<double> c, f;
        for (int r = 0; r < std::max(1, (o.reps + 1) / 2); ++r) {
            Pace();
            c.push_back(Timed([&] {
                SelectionCursor cursor(drop);
                char path[MAX_PATH];
                while (cursor.Next(path) > 0) {
                }
            }));
            // The bare calls, for the smaller size only: they search the list from its
            // start for every index.
            if (s == 0) {
                Pace();
                f.push_back(Timed([&] {
                    const UINT n = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
                    char path[MAX_PATH];
                    for (UINT i = 0; i < n; ++i) DragQueryFileA(drop, i, path, MAX_PATH);
                }));
            }
        }
        times[s] = Median(c);
        floors[s] = Median(f);
        GlobalFree(block);
    }
    std::printf("%-48s median %10.3f ms  bare DragQueryFileA loop %10.3f ms (%d names)\n", "selection fetch, small",
                times[0], floors[0], sizes[0]);
    Growth("selection fetch, growth", Figures{times[0], 0, 0}, Figures{times[1], 0, 0}, 10);
}

// ---- the commands over the selection ---------------------------------------------------

// The local offset of the run, as the floors of the time commands take it.
LONGLONG LocalOffset()
{
    FILETIME now, local;
    GetSystemTimeAsFileTime(&now);
    FileTimeToLocalFileTime(&now, &local);
    auto units = [](const FILETIME& t) { return static_cast<LONGLONG>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime); };
    return units(local) - units(now);
}

FILETIME Shifted(const FILETIME& t, LONGLONG by)
{
    const ULONGLONG u = ((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) + static_cast<ULONGLONG>(by);
    return FILETIME{static_cast<DWORD>(u & 0xFFFFFFFF), static_cast<DWORD>(u >> 32)};
}

// The one handle of a file whose times are set, as the time commands open it.
HANDLE OpenForTimes(const std::string& path)
{
    return CreateFileA(path.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The rows of one size: every command over the same files, each beside its floor. A
// command that changes names, attributes or times tells the shell once after its run;
// its floor sends the same notification, which under Wine costs tens of milliseconds.
// The renaming rows and the large rows take fewer turns: a turn of theirs is long.
struct CommandFigures {
    Figures revise, time, attribute, arrange, cnum, permute, descent, classify;
    std::string shown;   // the rows whose runs showed the progress window
    int rows = 0;
    int rowsShown = 0;
};

// The floor of the two time commands: one handle per file, its last-write time read
// and set to what `change` makes of it, then the shell told. Gives the milliseconds.
template <typename Change>
double SetWriteTimes(const std::vector<std::string>& files, const Change& change)
{
    return Timed([&] {
        for (const std::string& f : files) {
            FileHandle file(OpenForTimes(f));
            FILETIME written;
            GetFileTime(file.get(), nullptr, nullptr, &written);
            const FILETIME changed = change(written);
            SetFileTime(file.get(), nullptr, nullptr, &changed);
        }
        NotifyShell();
    });
}

CommandFigures CommandRows(const Options& o, int count)
{
    CommandFigures out;
    const Tree tree = OpenTree(count);
    const std::vector<std::string>& files = tree.files;
    IDataObject* data = CreateDropDataObject(files);
    const int reps = count > o.bulk ? std::max(1, o.reps / 4) : std::max(1, (o.reps + 1) / 2);
    char name[80];
    auto label = [&](const char* what) {
        std::snprintf(name, sizeof name, "%s, %d files", what, count);
        return name;
    };
    auto run = [&](IDataObject* selection, unsigned entry, const DialogFill& fill, const char* what) {
        return RunDialogCommand(selection, entry, fill, what);
    };
    // Which rows showed the progress window in a run.
    int windows = g_progressWindows;
    auto noteProgress = [&](const char* what) {
        ++out.rows;
        if (g_progressWindows > windows) {
            out.shown += std::string(out.shown.empty() ? "" : ", ") + what;
            ++out.rowsShown;
        }
        windows = g_progressWindows;
    };
    const LONGLONG offset = LocalOffset();

    // Time-difference correction: one hour later. Floor: one handle per file, its
    // last-write time read and set an hour later.
    constexpr LONGLONG kHour = 36000000000LL;
    out.revise = Row(label("time-difference correction"), reps,
        [&] {
            return run(data, 9, [](DialogDriver& d) {
                d.SetText(IDC_REVISE_HOURS, "1");
                d.SetText(IDC_REVISE_MINUTES, "0");
                d.SetText(IDC_REVISE_SECONDS, "0");
                d.Check(IDC_REVISE_LATER, true);
            }, "revise");
        },
        [&] {
            return SetWriteTimes(files, [&](const FILETIME& written) { return Shifted(written, kHour); });
        },
        1.10);
    noteProgress("time-difference correction");

    // Timestamp change: the date of the last write. Floor: one handle per file, its
    // last-write time taken to local calendar time and back with the new date.
    out.time = Row(label("timestamp change"), reps,
        [&] {
            return run(data, 8, [](DialogDriver& d) {
                d.Check(IDC_TIME_CREATION, false);
                d.Check(IDC_TIME_LAST_WRITE, true);
                d.Check(IDC_TIME_DATE, true);
                d.Check(IDC_TIME_TIME_OF_DAY, false);
                const int fields[2][3] = {{IDC_TIME_C_YEAR, IDC_TIME_C_MONTH, IDC_TIME_C_DAY},
                                          {IDC_TIME_W_YEAR, IDC_TIME_W_MONTH, IDC_TIME_W_DAY}};
                for (const auto& row : fields) {
                    d.SetText(row[0], "2020");
                    d.SetText(row[1], "1");
                    d.SetText(row[2], "2");
                }
            }, "time");
        },
        [&] {
            return SetWriteTimes(files, [&](const FILETIME& written) {
                SYSTEMTIME local;
                const FILETIME localTime = Shifted(written, offset);
                FileTimeToSystemTime(&localTime, &local);
                local.wYear = 2020;
                local.wMonth = 1;
                local.wDay = 2;
                FILETIME changed;
                SystemTimeToFileTime(&local, &changed);
                return Shifted(changed, -offset);
            });
        },
        1.10);
    noteProgress("timestamp change");

    // Attribute change: hidden, absolute, files. Floor: read the attributes and set the
    // same value. Both start from files with the archive attribute alone (set between
    // turns), since the platform's cost differs with the change.
    auto archiveOnly = [&] {
        for (const std::string& f : files) SetFileAttributesA(f.c_str(), FILE_ATTRIBUTE_ARCHIVE);
    };
    out.attribute = Row(label("attribute change"), reps,
        [&] {
            archiveOnly();
            return run(data, 10, [](DialogDriver& d) {
                d.Check(IDC_ATTRIBUTE_ABSOLUTE, true);
                d.Check(IDC_ATTRIBUTE_HIDDEN, true);
                d.Check(IDC_ATTRIBUTE_READONLY, false);
                d.Check(IDC_ATTRIBUTE_ARCHIVE, false);
                d.Check(IDC_ATTRIBUTE_SUBFOLDERS, false);
            }, "attribute");
        },
        [&] {
            archiveOnly();
            return Timed([&] {
                for (const std::string& f : files) {
                    const DWORD attributes = GetFileAttributesA(f.c_str());
                    SetFileAttributesA(f.c_str(), (attributes & ~(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY)) |
                                                      FILE_ATTRIBUTE_HIDDEN);
                }
                NotifyShell();
            });
        },
        1.10);
    noteProgress("attribute change");
    archiveOnly();

    // The renaming commands; each floor renames the files back with a bare MoveFileA
    // loop, so the command always goes first.
    tree.Unmark();
    const std::vector<std::string> prefixed = tree.Renamed("xn");
    const std::vector<std::string> numbered = tree.Renamed("m");
    out.arrange = Row(label("name arrangement"), reps,
        [&] {
            return run(data, 11, [](DialogDriver& d) {
                d.Check(IDC_NAME_WIDTH_NONE, true);
                d.Check(IDC_NAME_CASE_NONE, true);
                d.Check(IDC_NAME_CHANGE_EXTENSION, false);
                d.Check(IDC_NAME_ADD_END, false);
                d.Check(IDC_NAME_ADD_START, true);
                d.SetText(IDC_NAME_START_TEXT, "x");
            }, "arrange");
        },
        [&] { return Timed([&] { MoveAll(prefixed, files); NotifyShell(); }); }, 1.10, false);
    noteProgress("name arrangement");
    out.cnum = Row(label("serial-number renaming"), reps,
        [&] {
            return run(data, 12, [](DialogDriver& d) {
                d.SetText(IDC_CNUM_PREFIX, "m");
                d.Check(IDC_CNUM_ZERO_FILL, true);
                d.SetText(IDC_CNUM_DIGITS, "6");
                d.SetText(IDC_CNUM_START, "0");
                d.Check(IDC_CNUM_BY_NAME, true);
                d.Check(IDC_CNUM_ASCENDING, true);
            }, "cnum");
        },
        [&] { return Timed([&] { MoveAll(numbered, files); NotifyShell(); }); }, 1.10, false);
    noteProgress("serial-number renaming");
    // Name replacement, "n" to "m": over the selected files, and over the selected
    // folders with descent (the folders' own names hold no "n").
    out.permute = Row(label("name replacement"), reps,
        [&] { return run(data, 13, PermuteFill("n", "m", false), "permute"); },
        [&] { return Timed([&] { MoveAll(numbered, files); NotifyShell(); }); }, 1.10, false);
    noteProgress("name replacement");
    IDataObject* folders = CreateDropDataObject(tree.folders);
    out.descent = Row(label("name replacement with descent"), reps,
        [&] { return run(folders, 13, PermuteFill("n", "m", true), "descent"); },
        [&] { return Timed([&] { MoveAll(numbered, files); NotifyShell(); }); }, 1.10, false);
    noteProgress("name replacement with descent");
    folders->Release();

    // Classify by date: the files on ten days, each moved into its date folder beside it.
    // Floor: the attribute read that gives the date, the date folders made, the moves.
    // The files go back between turns.
    {
        const LONGLONG day = 24 * kHour;
        SYSTEMTIME noon{};
        noon.wYear = 2024;
        noon.wMonth = 3;
        noon.wDay = 1;
        noon.wHour = 12;
        FILETIME first;
        SystemTimeToFileTime(&noon, &first);
        first = Shifted(first, -offset);
        std::vector<std::string> targets;
        std::vector<std::string> dayFolders;
        targets.reserve(files.size());
        for (size_t i = 0; i < files.size(); ++i) {
            const int d = static_cast<int>(i % 10);
            const FILETIME t = Shifted(first, d * day);
            FileHandle file(OpenForTimes(files[i]));
            SetFileTime(file.get(), nullptr, nullptr, &t);
            const size_t slash = files[i].rfind('\\');
            char dayName[16];
            std::snprintf(dayName, sizeof dayName, "\\202403%02d", d + 1);
            const std::string folder = files[i].substr(0, slash) + dayName;
            if (i % kFolderFiles < 10) dayFolders.push_back(folder);
            targets.push_back(folder + files[i].substr(slash));
        }
        FolderWindow window(tree.folders[0]);
        auto back = [&] {
            MoveAll(targets, files);
            for (const std::string& d : dayFolders) RemoveDirectoryA(d.c_str());
        };
        out.classify = Row(label("classify by date"), reps,
            [&] {
                const double ms = Timed([&] { Invoke(data, 14, window.frame()); });
                back();
                return ms;
            },
            [&] {
                const double ms = Timed([&] {
                    for (size_t i = 0; i < files.size(); ++i) {
                        WIN32_FILE_ATTRIBUTE_DATA facts;
                        GetFileAttributesExA(files[i].c_str(), GetFileExInfoStandard, &facts);
                        if (i % kFolderFiles < 10) CreateDirectoryA(dayFolders[i / kFolderFiles * 10 + i % kFolderFiles].c_str(), nullptr);
                        MoveFileA(files[i].c_str(), targets[i].c_str());
                    }
                });
                back();
                return ms;
            },
            1.10);
        noteProgress("classify by date");
    }
    tree.Mark();
    data->Release();
    if (!tree.premade) RemoveTree(tree.base);
    return out;
}

// The file list of a tree (made beforehand by scripts/bench.sh when it can) with
// descent. Floor: the same walk, one line formatted per entry, the whole text written
// to a file once, read back, and handed to the clipboard.
void ListWalk(const std::wstring& folder, int depth, LONGLONG offset, std::string& text)
{
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW((folder + L"\\*.*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        if (std::wcscmp(found.cFileName, L".") == 0 || std::wcscmp(found.cFileName, L"..") == 0) continue;
        char name[MAX_PATH * 2];
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, found.cFileName, -1, name, sizeof name, nullptr, nullptr);
        SYSTEMTIME local;
        const FILETIME localTime = Shifted(found.ftLastWriteTime, offset);
        FileTimeToSystemTime(&localTime, &local);
        char line[600];
        std::snprintf(line, sizeof line, "%*s%-30s %10lu %04u/%02u/%02u %02u:%02u:%02u\r\n", depth * 4, "", name,
                      found.nFileSizeLow, local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute,
                      local.wSecond);
        text += line;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ListWalk(folder + L"\\" + found.cFileName, depth + 1, offset, text);
    } while (FindNextFileW(h, &found));
    FindClose(h);
}

double ListFloor(const std::string& root, const std::wstring& wideRoot)
{
    return Timed([&] {
        std::string text;
        WIN32_FILE_ATTRIBUTE_DATA facts;
        GetFileAttributesExA(root.c_str(), GetFileExInfoStandard, &facts);
        text += root + "\r\n";
        ListWalk(wideRoot, 1, LocalOffset(), text);
        char folder[MAX_PATH], temp[MAX_PATH];
        GetTempPathA(MAX_PATH, folder);
        GetTempFileNameA(folder, "tfl", 0, temp);
        {
            FileHandle file(CreateFileA(temp, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
            DWORD written = 0;
            WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        }
        HGLOBAL block = nullptr;
        {
            FileHandle file(CreateFileA(temp, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
            LARGE_INTEGER size;
            GetFileSizeEx(file.get(), &size);
            block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(size.QuadPart) + 4);
            DWORD read = 0;
            ReadFile(file.get(), GlobalLock(block), static_cast<DWORD>(size.QuadPart), &read, nullptr);
            GlobalUnlock(block);
        }
        DeleteFileA(temp);
        if (OpenClipboard(nullptr)) {
            EmptyClipboard();
            if (SetClipboardData(CF_TEXT, block) != nullptr) block = nullptr;
            CloseClipboard();
        }
        if (block != nullptr) GlobalFree(block);
    });
}

Figures ListRow(const Options& o, int count, bool* progress)
{
    const Tree tree = OpenTree(count);
    IDataObject* data = CreateDropDataObject({tree.root});
    wchar_t wideRoot[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, tree.root.c_str(), -1, wideRoot, MAX_PATH);
    char name[64];
    std::snprintf(name, sizeof name, "file list, tree of %d files", count);
    const Figures f = Row(name, count > o.list ? std::max(1, o.reps / 4) : std::max(1, (o.reps + 1) / 2),
        [&] {
            const int windows = g_progressWindows;
            const double ms = RunDialogCommand(data, 7, [](DialogDriver& d) {
                d.Check(IDC_CLIPBOARD_SUBFOLDERS, true);
                d.Check(IDC_CLIPBOARD_TEXT_FILE, false);
            }, "list");
            *progress = *progress || g_progressWindows > windows;
            return ms;
        },
        [&] { return ListFloor(tree.root, wideRoot); }, 1.10);
    data->Release();
    if (!tree.premade) RemoveTree(tree.base);
    return f;
}

// The preview of name replacement over `count` selected files, "n" to "m": timed from
// the press of its button to its dialog coming up, its list filled. Floor: what the
// preview cannot avoid asking the file system, each file's own attributes and those of
// its new name.
Figures PreviewRow(const Options& o, int count)
{
    const Tree tree = OpenTree(count);
    const std::vector<std::string> renamed = tree.Renamed("m");
    IDataObject* data = CreateDropDataObject(tree.files);
    char name[64];
    std::snprintf(name, sizeof name, "preview of name replacement, %d files", count);
    const Figures f = Row(name, count > o.list ? std::max(1, o.reps / 4) : std::max(1, (o.reps + 1) / 2),
        [&] {
            ModalDriver driver;
            driver.AnswerAllBoxes(IDOK);
            double pressed = 0, shown = 0;
            ModalExpectation preview;
            preview.atActivation = [&](HWND) { shown = Now(); };
            preview.steps.push_back({0, [](DialogDriver& d) { d.Press(IDOK); }});
            DialogCommand command(driver, 13, [&](DialogDriver& d) {
                PermuteFill("n", "m", false)(d);
                RedrawWindow(d.hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
                GdiFlush();
                driver.Expect(preview);
                Pace();
                pressed = Now();
                d.Press(IDC_PREVIEW);
            }, IDCANCEL);
            command.RunWith(data);
            for (const std::string& failure : command.Failures()) {
                std::printf("  preview: %s\n", failure.c_str());
                break;
            }
            return shown > pressed && pressed > 0 ? shown - pressed : 0;
        },
        [&] {
            return Timed([&] {
                for (size_t i = 0; i < tree.files.size(); ++i) {
                    GetFileAttributesA(tree.files[i].c_str());
                    GetFileAttributesA(renamed[i].c_str());
                }
            });
        },
        1.10);
    data->Release();
    if (!tree.premade) RemoveTree(tree.base);
    return f;
}

// ---- orvid.dll ------------------------------------------------------------------------

HMODULE OrvidModule()
{
    static HMODULE module = LoadLibraryA(TIDALON_DIST_DIR "\\orvid.dll");
    return module;
}

// A drop handler as Explorer makes one for a drop on `dropFolder`, its menu built with
// Shift as given; null when a step fails.
IContextMenu* DropMenu(const std::string& dropFolder, IDataObject* data, bool shift)
{
    using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    const auto getClassObject =
        reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(GetProcAddress(OrvidModule(), "DllGetClassObject")));
    if (getClassObject == nullptr) return nullptr;
    ComPtr<IClassFactory> factory;
    ComPtr<IShellExtInit> init;
    if (FAILED(getClassObject(CLSID_OrvidDragDropExt, IID_IClassFactory, factory.put_void())) ||
        FAILED(factory->CreateInstance(nullptr, IID_IShellExtInit, init.put_void())))
        return nullptr;
    PIDLIST_ABSOLUTE pidl = ILCreateFromPathA(dropFolder.c_str());
    const HRESULT hr = init->Initialize(pidl, data, nullptr);
    ILFree(pidl);
    IContextMenu* menu = nullptr;
    if (FAILED(hr) || FAILED(init->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu)))) return nullptr;
    HMENU popup = CreatePopupMenu();
    if (shift && !PressShift(true)) std::printf("  Shift did not go down: the drop row runs the other command\n");
    menu->QueryContextMenu(popup, 0, 1, 0x7FFF, CMF_NORMAL);
    if (shift && !PressShift(false)) std::printf("  Shift did not go up: the next row runs the other command\n");
    DestroyMenu(popup);
    return menu;
}

HRESULT InvokeDrop(IContextMenu* menu, UINT offset, HWND owner)
{
    CMINVOKECOMMANDINFO info = {};
    info.cbSize = sizeof info;
    info.hwnd = owner;
    info.lpVerb = MAKEINTRESOURCEA(offset);
    return menu->InvokeCommand(&info);
}

// One item through the shell's file operation, as the drop command hands it over.
void ShellTransfer(HWND owner, const std::string& source, const std::string& destination, bool move)
{
    std::string from = source + '\0', to = destination + '\0';
    SHFILEOPSTRUCTA operation = {};
    operation.hwnd = owner;
    operation.wFunc = move ? FO_MOVE : FO_COPY;
    operation.pFrom = from.c_str();
    operation.pTo = to.c_str();
    SHFileOperationA(&operation);
}

// The drop copy and move (offset 1, Shift up and down) of `o.drop` files into a new
// folder of the drop folder, beside the shell's file operation of the same items as the
// handler calls it, one item at a time, after the same folder is made.
void DropRows(const Options& o)
{
    const std::string source = Fresh("drop-from");
    const std::string target = Fresh("drop-to");
    const std::vector<std::string> items = Names(source, o.drop, "p", ".txt");
    MakeFiles(items);
    const std::string made = target + "\\p000000";
    const std::vector<std::string> moved = Names(made, o.drop, "p", ".txt");
    std::vector<unsigned char> layout = kFullLayout;
    layout[0] = 1;
    WriteSettingsBlock("Menu", layout.data(), static_cast<DWORD>(layout.size()));
    HWND owner = CreateWindowA("STATIC", "drop", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    IDataObject* data = CreateDropDataObject(items);
    for (bool move : {false, true}) {
        auto restore = [&] {
            if (move) MoveAll(moved, items);
            RemoveTree(made);
        };
        auto command = [&] {
            IContextMenu* menu = DropMenu(target, data, move);
            if (menu == nullptr) {
                std::printf("  drop: no handler\n");
                return 0.0;
            }
            Pace();
            const double ms = Timed([&] {
                if (FAILED(InvokeDrop(menu, 1, owner))) std::printf("  drop: the command failed\n");
            });
            menu->Release();
            restore();
            return ms;
        };
        auto floor = [&] {
            const double ms = Timed([&] {
                CreateDirectoryA(made.c_str(), nullptr);
                for (size_t i = 0; i < items.size(); ++i) ShellTransfer(owner, items[i], moved[i], move);
            });
            restore();
            return ms;
        };
        char name[64];
        std::snprintf(name, sizeof name, "drop %s, %d files", move ? "move (Shift)" : "copy", o.drop);
        Row(name, std::max(1, (o.reps + 1) / 2), command, floor, 1.10);
    }
    data->Release();
    DestroyWindow(owner);
    WriteSettingsBlock("Menu", kFullLayout.data(), static_cast<DWORD>(kFullLayout.size()));
    RemoveTree(source);
    RemoveTree(target);
}

// ---- the archive check ------------------------------------------------------------------

// The archive check of `o.archives` sound archives (ZIP and TAR in turns) with the test
// archiver libraries on PATH, from OK to its closing message. Floor: per archive the
// library loaded by its full path, its check function found and called, the library
// freed.
void ArchiveRow(const Options& o)
{
    const std::string folder = Fresh("archive");
    std::vector<std::string> archives;
    for (int i = 0; i < o.archives; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "\\a%05d.%s", i, i % 2 ? "tar" : "zip");
        archives.push_back(folder + name);
        CopyFileA(i % 2 ? TIDALON_ARCHIVE_SAMPLES "\\sound.tar" : TIDALON_ARCHIVE_SAMPLES "\\sound.zip",
                  archives.back().c_str(), FALSE);
    }
    std::vector<char> old(32768);
    const DWORD n = GetEnvironmentVariableA("PATH", old.data(), static_cast<DWORD>(old.size()));
    const std::string previous(old.data(), n < old.size() ? n : 0);
    SetEnvironmentVariableA("PATH", (std::string(TIDALON_ARCHIVERS_DIR) + ";" + previous).c_str());
    IDataObject* data = CreateDropDataObject(archives);
    using CheckFunction = int(WINAPI*)(const char*, int);
    char name[64];
    std::snprintf(name, sizeof name, "archive check, %d archives", o.archives);
    const Figures f = Row(name, std::max(1, (o.reps + 1) / 2),
        [&] {
            return RunDialogCommand(data, 16, [](DialogDriver& d) {
                for (int id : {IDC_ARCHIVE_LZH, IDC_ARCHIVE_ARJ, IDC_ARCHIVE_ISH, IDC_ARCHIVE_CAB, IDC_ARCHIVE_RAR})
                    d.Check(id, false);
                d.Check(IDC_ARCHIVE_ZIP, true);
                d.Check(IDC_ARCHIVE_TAR, true);
                d.Check(IDC_ARCHIVE_LOG, false);
                d.Check(IDC_ARCHIVE_SUBFOLDERS, false);
            }, "archive", true);
        },
        [&] {
            return Timed([&] {
                for (size_t i = 0; i < archives.size(); ++i) {
                    const bool tar = i % 2 == 1;
                    HMODULE library = LoadLibraryExA(tar ? TIDALON_ARCHIVERS_DIR "\\tar32.dll" : TIDALON_ARCHIVERS_DIR "\\unzip32.dll",
                                                     nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
                    const auto check = reinterpret_cast<CheckFunction>(reinterpret_cast<void*>(
                        GetProcAddress(library, tar ? "TarCheckArchive" : "UnZipCheckArchive")));
                    if (check != nullptr) check(archives[i].c_str(), 2);
                    FreeLibrary(library);
                }
            });
        },
        0);
    std::printf("%-48s %.1f us per archive, floor %.1f us, ratio %5.2f", "archive check, per archive",
                f.command * 1000 / o.archives, f.floor * 1000 / o.archives, f.ratio);
    Verdict(f.ratio <= 1.10, "ratio <= 1.10");
    data->Release();
    SetEnvironmentVariableA("PATH", previous.c_str());
    RemoveTree(folder);
}

// ---- the selection read of every command -------------------------------------------------

// Every command over `count` selected items that each cost it the same small work: one
// item named again and again (a file, a folder, or a file with no archive extension), so
// that the growth is that of the read. Each command at the two sizes in turns; its time
// runs from OK (from InvokeCommand for the commands without a dialog) to its end or, for
// the commands that read the whole selection before the first item, to the box that
// ends the run at the first item.
void ReadRows(const Options& o)
{
    const std::string folder = Fresh("reads");
    const std::string file = folder + "\\r.txt";
    const std::string sub = folder + "\\sub";
    MakeFiles({file});
    CreateDirectoryA(sub.c_str(), nullptr);
    MakeFiles(Names(folder, 8, "q", ".txt"));
    const std::string dropTo = folder + "\\to";
    CreateDirectoryA(dropTo.c_str(), nullptr);
    const int sizes[2] = {o.readsSmall, o.reads};
    std::vector<unsigned char> layout = kFullLayout;
    layout[0] = 1;
    WriteSettingsBlock("Menu", layout.data(), static_cast<DWORD>(layout.size()));
    HWND owner = CreateWindowA("STATIC", "drop", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    FolderWindow window(folder);

    struct ReadCommand {
        const char* label;
        std::string item;          // the item named again and again
        std::function<double(IDataObject*)> run;
        std::string last;          // a last item that differs (the drop folder), or empty
    };
    auto dialog = [&](unsigned entry, DialogFill fill, bool untilBox) {
        return [=](IDataObject* data) { return RunDialogCommand(data, entry, fill, "read", untilBox); };
    };
    auto direct = [&](unsigned entry) {
        return [=, &window](IDataObject* data) {
            Pace();
            return Timed([&] { Invoke(data, entry, window.frame()); });
        };
    };
    // The drop commands, timed to their first box: "先頭ファイルのみ対象となります。"
    // once the items are counted, and for the transfer the refusal of the last item,
    // the drop folder itself, once every item before it is read and resolved.
    auto drop = [&](UINT offset, bool shift) {
        return [=, &dropTo](IDataObject* data) {
            IContextMenu* menu = DropMenu(dropTo, data, shift);
            if (menu == nullptr) return 0.0;
            ModalDriver driver;
            driver.AnswerAllBoxes(IDOK);
            WatchRunEnds();
            Pace();
            const double start = Now();
            InvokeDrop(menu, offset, owner);
            const double boxAt = g_ends.boxMade;
            menu->Release();
            RemoveTree(dropTo + "\\r");
            return boxAt > 0 ? boxAt - start : 0.0;
        };
    };
    const std::vector<ReadCommand> commands = {
        {"file list", file, dialog(7, [](DialogDriver& d) {
             d.Check(IDC_CLIPBOARD_SUBFOLDERS, false);
             d.Check(IDC_CLIPBOARD_TEXT_FILE, false);
         }, false), ""},
        {"timestamp change", file, dialog(8, [](DialogDriver& d) {
             d.Check(IDC_TIME_CREATION, false);
             d.Check(IDC_TIME_LAST_WRITE, true);
             d.Check(IDC_TIME_DATE, true);
             d.Check(IDC_TIME_TIME_OF_DAY, false);
         }, false), ""},
        {"time-difference correction", file, dialog(9, [](DialogDriver& d) {
             d.SetText(IDC_REVISE_HOURS, "0");
             d.SetText(IDC_REVISE_MINUTES, "0");
             d.SetText(IDC_REVISE_SECONDS, "0");
         }, false), ""},
        {"attribute change", file, dialog(10, [](DialogDriver& d) {
             d.Check(IDC_ATTRIBUTE_ADD, true);
             d.Check(IDC_ATTRIBUTE_ARCHIVE, true);
             d.Check(IDC_ATTRIBUTE_READONLY, false);
             d.Check(IDC_ATTRIBUTE_HIDDEN, false);
             d.Check(IDC_ATTRIBUTE_SUBFOLDERS, false);
         }, false), ""},
        {"name arrangement (folders kept)", sub, dialog(11, [](DialogDriver& d) {
             d.Check(IDC_NAME_KEEP_FOLDERS, true);
             d.Check(IDC_NAME_SUBFOLDERS, false);
         }, false), ""},
        {"serial-number renaming", file, dialog(12, [](DialogDriver& d) {
             d.SetText(IDC_CNUM_PREFIX, "r");
             d.Check(IDC_CNUM_ZERO_FILL, true);
             d.SetText(IDC_CNUM_DIGITS, "6");
             d.SetText(IDC_CNUM_START, "0");
             d.Check(IDC_CNUM_BY_NAME, true);
         }, true), ""},
        {"name replacement", file, dialog(13, PermuteFill("zz", "y", false), false), ""},
        {"classify by date", sub, direct(14), ""},
        {"archive check", file, dialog(16, [](DialogDriver& d) { d.Check(IDC_ARCHIVE_LOG, false); }, true), ""},
        {"select files or folders", file, direct(2), ""},
        {"select same extension", file, direct(3), ""},
        {"select same date", file, direct(4), ""},
        {"select same attributes", file, direct(5), ""},
        {"drop: named folder", file, drop(0, false), ""},
        {"drop: copy", file, drop(1, false), dropTo},
        {"drop: move (Shift)", file, drop(1, true), dropTo},
    };
    const std::string renamed = folder + "\\r000000.txt";
    for (const ReadCommand& c : commands) {
        IDataObject* data[2];
        for (int s = 0; s < 2; ++s) {
            std::vector<std::string> items(static_cast<size_t>(sizes[s]), c.item);
            if (!c.last.empty()) items.back() = c.last;
            data[s] = CreateDropDataObject(items);
        }
        std::vector<double> times[2];
        for (int r = 0; r < std::max(1, (o.reps + 1) / 2); ++r) {
            for (int s = 0; s < 2; ++s) {
                times[s].push_back(c.run(data[s]));
                // Serial numbering renamed the first item before the second failed.
                if (Exists(renamed)) MoveFileA(renamed.c_str(), file.c_str());
            }
        }
        char name[80];
        std::snprintf(name, sizeof name, "selection read: %s", c.label);
        Growth(name, Figures{Median(times[0]), 0, 0}, Figures{Median(times[1]), 0, 0},
               static_cast<double>(sizes[1]) / sizes[0]);
        data[0]->Release();
        data[1]->Release();
    }
    DestroyWindow(owner);
    WriteSettingsBlock("Menu", kFullLayout.data(), static_cast<DWORD>(kFullLayout.size()));
    RemoveTree(folder);
}

}  // namespace

int main(int argc, char** argv)
{
    Options o;
    bool selectSet = false, readsSet = false;
    for (int i = 1; i < argc; ++i) {
        const std::string flag = argv[i];
        if (flag == "--full") {
            o.full = true;
            continue;
        }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "bench: %s needs a value\n", flag.c_str());
            return 2;
        }
        const std::string value = argv[++i];
        const int number = std::atoi(value.c_str());
        if (flag == "--reps") o.reps = number;
        else if (flag == "--clicks") o.clicks = number;
        else if (flag == "--leak") o.leak = number;
        else if (flag == "--rename") o.rename = number;
        else if (flag == "--select") o.select = number, selectSet = true;
        else if (flag == "--fetch") o.fetch = number;
        else if (flag == "--bulk") o.bulk = number;
        else if (flag == "--large") o.large = number;
        else if (flag == "--list") o.list = number;
        else if (flag == "--drop") o.drop = number;
        else if (flag == "--archives") o.archives = number;
        else if (flag == "--reads") o.reads = number, readsSet = true;
        else if (flag == "--reads-small") o.readsSmall = number;
        else if (flag == "--only") o.only = value;
        else {
            std::fprintf(stderr, "bench: unknown option %s\n", flag.c_str());
            return 2;
        }
    }
    g_extend = o.reps > 1;
    if (o.full) {
        if (!selectSet) o.select = o.large;
        if (!readsSet) o.reads = o.large;
    }
    OleInitialize(nullptr);
    InitCommonControls();
    if (KelmoraModule() == nullptr || OrvidModule() == nullptr) {
        std::fprintf(stderr, "bench: kelmora.dll or orvid.dll not found in %s\n", TIDALON_DIST_DIR);
        return 1;
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    WriteDefaultSettings();
    WriteSettingsBlock("Menu", kFullLayout.data(), static_cast<DWORD>(kFullLayout.size()));
    const unsigned char permute[3] = {0, 1, 0};
    WriteSettingsBlock("Permute", permute, sizeof permute);

    WatchRunEnds();
    auto wanted = [&](const char* row) { return o.only.empty() || o.only == row; };
    if (wanted("click")) RightClickRows(o);
    if (wanted("leak")) LeakRow(o);
    if (wanted("rename")) {
        const Figures small = RenameRow(o, o.rename / 4, false);
        const Figures large = RenameRow(o, o.rename, true);
        char name[64];
        std::snprintf(name, sizeof name, "name replacement, %d vs %d files", o.rename / 4, o.rename);
        Growth(name, small, large, 4, 1.05);
    }
    if (wanted("select")) SelectRows(o);
    if (wanted("fetch")) FetchRows(o);
    if (wanted("commands")) {
        const CommandFigures small = CommandRows(o, o.bulk);
        if (o.full) {
            const CommandFigures large = CommandRows(o, o.large);
            const double items = static_cast<double>(o.large) / o.bulk;
            Growth("time-difference correction, growth", small.revise, large.revise, items);
            Growth("timestamp change, growth", small.time, large.time, items);
            Growth("attribute change, growth", small.attribute, large.attribute, items);
            Growth("name arrangement, growth", small.arrange, large.arrange, items);
            Growth("serial-number renaming, growth", small.cnum, large.cnum, items);
            Growth("name replacement, growth", small.permute, large.permute, items);
            Growth("name replacement with descent, growth", small.descent, large.descent, items);
            Growth("classify by date, growth", small.classify, large.classify, items);
            std::printf("%-48s %s", "progress window shown over the runs of", large.shown.c_str());
            Verdict(large.rows > 0 && large.rowsShown == large.rows, "shown in every run");
        }
    }
    if (wanted("list")) {
        bool progress = false;
        const Figures small = ListRow(o, o.list, &progress);
        if (o.full) {
            const Figures large = ListRow(o, o.large, &progress);
            Growth("file list, growth", small, large, static_cast<double>(o.large) / o.list);
            std::printf("%-48s %s\n", "progress window over the file list", progress ? "shown" : "not shown");
        }
    }
    if (wanted("preview")) {
        const Figures small = PreviewRow(o, o.list);
        if (o.full) {
            const Figures large = PreviewRow(o, o.large);
            Growth("preview of name replacement, growth", small, large, static_cast<double>(o.large) / o.list);
        }
    }
    if (wanted("drop")) DropRows(o);
    if (wanted("archive")) ArchiveRow(o);
    if (wanted("reads")) ReadRows(o);

    RemoveTree(kRoot);
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    std::printf("bench: %d targets met, %d missed\n", g_met, g_missed);
    OleUninitialize();
    return 0;
}
