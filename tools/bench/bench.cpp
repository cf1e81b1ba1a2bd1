// Benchmarks of kelmora.dll against the bare system calls the same work cannot avoid.
// Every row measures the command and its floor in the same process, interleaved, and
// prints the medians and their ratio; growth rows compare two sizes of the same work.
//
//   tidalon_bench [--reps N] [--clicks N] [--rename N] [--select N] [--classify N]
//                 [--fetch N] [--leak N] [--only ROW]
//
// Sizes are item counts; the small size of each growth row is a quarter (rename) or a
// tenth (select, fetch) of the large one. Settings are written to the current user's
// key and removed at the end.
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
// Every command 1..16 in order (drag menu off), so that every entry is in the menu.
const std::vector<unsigned char> kFullLayout = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};

struct Options {
    int reps = 5;
    int clicks = 200;     // right clicks per sample
    int leak = 1000;      // right clicks of the leak row
    int rename = 5000;
    int select = 100000;
    int classify = 10000;
    int fetch = 100000;
    int bulk = 2000;      // files of each dialog command's row
    int list = 10000;     // files of the file list's tree
    std::string only;
};

int g_met = 0;
int g_missed = 0;

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
}

// One row: the command's median beside its floor's, measured in turns.
double Row(const char* name, int reps, const std::function<double()>& command, const std::function<double()>& floor,
           double target, double* floorOut = nullptr)
{
    std::vector<double> c, f;
    for (int i = 0; i < reps; ++i) {
        c.push_back(command());
        f.push_back(floor());
    }
    const double mc = Median(c), mf = Median(f);
    if (floorOut != nullptr) *floorOut = mf;
    const double ratio = mf > 0 ? mc / mf : 0;
    std::printf("%-44s median %10.3f ms  floor %10.3f ms  ratio %5.2f", name, mc, mf, ratio);
    if (target > 0) {
        char text[32];
        std::snprintf(text, sizeof text, "ratio <= %.2f", target);
        Verdict(ratio <= target, text);
    } else {
        std::printf("\n");
    }
    return mc;
}

void Growth(const char* name, double small, double large, double items, double limit, double floorGrowth = 0)
{
    const double growth = small > 0 ? large / small : 0;
    std::printf("%-44s %gx the items: %10.3f -> %10.3f ms, growth %5.2f", name, items, small, large, growth);
    if (floorGrowth > 0) std::printf(" (floor %5.2f)", floorGrowth);
    if (limit > 0) {
        char text[48];
        std::snprintf(text, sizeof text, "growth <= %.2f", limit);
        Verdict(growth <= limit, text);
    } else {
        std::printf("\n");
    }
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

std::vector<std::string> Names(const std::string& folder, int count, const char* stem, const char* extension)
{
    std::vector<std::string> paths;
    paths.reserve(static_cast<size_t>(count));
    char name[64];
    for (int i = 0; i < count; ++i) {
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

// InvokeCommand of catalogue entry `index` on a handler initialised with `data`.
HRESULT Invoke(IDataObject* data, unsigned index, HWND owner)
{
    return KelmoraMenu(data).Invoke(index, owner);
}

// A dialog command on every file of `data`, its dialog filled by `fill` and answered
// with OK, timed from the right click to the return of InvokeCommand. Boxes the run
// shows are answered and the first is printed, as is the first failure (under `label`),
// so a row that fails is seen.
double TimedDialogCommand(IDataObject* data, unsigned entry, const DialogFill& fill, const char* label = "dialog")
{
    ModalDriver driver;
    driver.AnswerAllBoxes(IDOK);
    DialogCommand command(driver, entry, fill);
    const double ms = Timed([&] { command.RunWith(data); });
    const std::vector<std::string> failures = command.Failures();
    if (!failures.empty()) std::printf("  %s: %s\n", label, failures.front().c_str());
    if (!driver.Boxes().empty()) std::printf("  box: %s\n", driver.Boxes().front().text.c_str());
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
    auto command = [&] { return paired(single, &lastFloor); };
    auto floor = [&] { return lastFloor; };
    double oneFloor = 0, manyFloor = 0;
    const double oneItem = Row("right click, 1 item", o.reps, command, floor, 1.10, &oneFloor);

    std::vector<std::string> many = Names(folder, o.fetch, "m", ".txt");
    IDataObject* large = CreateDropDataObject(many);
    auto commandLarge = [&] { return paired(large, &lastFloor); };
    const double manyItems = Row("right click, large selection", o.reps, commandLarge, floor, 0, &manyFloor);
    // Each size against the floor measured beside it, so that the machine's drift between
    // the two samples does not count as growth.
    const double oneRatio = oneFloor > 0 ? oneItem / oneFloor : 0;
    const double manyRatio = manyFloor > 0 ? manyItems / manyFloor : 0;
    char name[64];
    std::snprintf(name, sizeof name, "right click, 1 vs %d items", o.fetch);
    std::printf("%-44s ratio to the floor %5.2f -> %5.2f (%.3f -> %.3f ms), growth %5.2f", name, oneRatio, manyRatio,
                oneItem, manyItems, oneRatio > 0 ? manyRatio / oneRatio : 0);
    Verdict(oneRatio > 0 && manyRatio / oneRatio <= 1.10, "growth <= 1.10");
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
    std::printf("%-44s %d clicks: handles %+ld, heap busy %+lld bytes, submenus alive %ld, "
                "data object refs %lu, DllCanUnloadNow %s",
                "leaks", o.leak, handleGrowth, heapGrowth, alive, refs, unload ? "S_OK" : "S_FALSE");
    Verdict(handleGrowth <= 0 && heapGrowth <= 0 && alive == 0 && refs == 1 && unload, "all zero");
    data->Release();
}

// Name replacement of `count` files in one folder; the floor renames them back with a
// bare MoveFileA loop (the same number of renames in the same folder).
std::pair<double, double> RenameRow(const Options& o, int count)
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
        const char* search = atBefore ? "n" : "m";
        const char* replacement = atBefore ? "m" : "n";
        const double ms = TimedDialogCommand(atBefore ? forward : backward, 13, [&](DialogDriver& d) {
            d.SetText(IDC_PERMUTE_SEARCH, search);
            d.SetText(IDC_PERMUTE_REPLACEMENT, replacement);
            d.Check(IDC_PERMUTE_EVERY, false);
            d.Check(IDC_PERMUTE_KEEP_EXTENSION, true);
            d.Check(IDC_PERMUTE_SUBFOLDERS, false);
        }, "rename");
        atBefore = !atBefore;
        return ms;
    };
    auto floor = [&] {
        const std::vector<std::string>& from = atBefore ? before : after;
        const std::vector<std::string>& to = atBefore ? after : before;
        const double ms = Timed([&] {
            for (size_t i = 0; i < from.size(); ++i) MoveFileA(from[i].c_str(), to[i].c_str());
        });
        atBefore = !atBefore;
        return ms;
    };
    char name[64];
    std::snprintf(name, sizeof name, "name replacement, %d files", count);
    std::vector<double> c, f;
    for (int i = 0; i < o.reps; ++i) {
        if (i % 2 == 0) {
            c.push_back(command());
            f.push_back(floor());
        } else {
            f.push_back(floor());
            c.push_back(command());
        }
    }
    const double mc = Median(c), mf = Median(f);
    std::printf("%-44s median %10.3f ms  floor %10.3f ms  ratio %5.2f", name, mc, mf, mf > 0 ? mc / mf : 0);
    if (count == o.rename)
        Verdict(mf > 0 && mc / mf <= 1.10, "ratio <= 1.10");
    else
        std::printf("\n");
    forward->Release();
    backward->Release();
    RemoveTree(folder);
    return {mc, mf};
}

// A folder of `count` files, half ".txt" and half ".dat", on two days, in a real list
// view with the focus.
void SelectRows(const Options& o)
{
    double times[2][4] = {};
    double floors[2] = {};
    const int sizes[2] = {o.select / 10, o.select};
    const unsigned entries[4] = {2, 3, 4, 5};
    const char* labels[4] = {"files or folders", "same extension", "same date", "same attributes"};
    for (int s = 0; s < 2; ++s) {
        // Wine makes each file of a large folder in time growing with the folder:
        // scripts/bench.sh makes these folders beforehand from outside (with the same
        // names), and they are only read here.
        const std::string made = std::string(kDataRoot) + "\\select-" + std::to_string(sizes[s]);
        const bool premade = GetFileAttributesA((made + "\\complete").c_str()) != INVALID_FILE_ATTRIBUTES;
        const std::string folder = premade ? made : Fresh("select");
        std::vector<std::string> txt = Names(folder, sizes[s] / 2, "s", ".txt");
        std::vector<std::string> dat = Names(folder, sizes[s] - sizes[s] / 2, "t", ".dat");
        if (!premade) {
            MakeFiles(txt);
            MakeFiles(dat);
        }
        FolderWindow window(folder);
        IDataObject* data = CreateDropDataObject({txt[0]});
        for (int e = 0; e < 4; ++e) {
            std::vector<double> runs;
            for (int r = 0; r < std::max(1, o.reps / 2); ++r)
                runs.push_back(Timed([&] { Invoke(data, entries[e], window.frame()); }));
            times[s][e] = Median(runs);
        }
        // Floor: list the folder, read every item's text once, select every item.
        std::vector<double> runs;
        for (int r = 0; r < std::max(1, o.reps / 2); ++r) {
            runs.push_back(Timed([&] {
                WIN32_FIND_DATAW found;
                wchar_t pattern[MAX_PATH];
                MultiByteToWideChar(CP_ACP, 0, (folder + "\\*").c_str(), -1, pattern, MAX_PATH);
                HANDLE h = FindFirstFileW(pattern, &found);
                if (h != INVALID_HANDLE_VALUE) {
                    while (FindNextFileW(h, &found)) {
                    }
                    FindClose(h);
                }
                const int n = window.ItemCount();
                char text[MAX_PATH];
                for (int i = 0; i < n; ++i) {
                    LVITEMA item{};
                    item.iItem = i;
                    item.pszText = text;
                    item.cchTextMax = sizeof text;
                    SendMessageA(window.view(), LVM_GETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
                    LVITEMA state{};
                    state.stateMask = LVIS_SELECTED;
                    state.state = LVIS_SELECTED;
                    SendMessageA(window.view(), LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&state));
                }
            }));
        }
        floors[s] = Median(runs);
        data->Release();
    }
    RemoveTree(std::string(kRoot) + "\\select");   // the folders made beforehand stay for the next run
    for (int e = 0; e < 4; ++e) {
        char name[64];
        std::snprintf(name, sizeof name, "select %s, %d items", labels[e], sizes[1]);
        std::printf("%-44s median %10.3f ms  floor %10.3f ms  ratio %5.2f\n", name, times[1][e], floors[1],
                    floors[1] > 0 ? times[1][e] / floors[1] : 0);
        std::snprintf(name, sizeof name, "select %s, growth", labels[e]);
        Growth(name, times[0][e], times[1][e], 10, 12, floors[0] > 0 ? floors[1] / floors[0] : 0);
    }
}

// Classify by date: files on ten days moved into their date folders; the floor makes
// the same folders and moves the same files with bare calls.
void ClassifyRow(const Options& o)
{
    const std::string folder = Fresh("classify");
    const std::vector<std::string> files = Names(folder, o.classify, "c", ".txt");
    MakeFiles(files);
    std::vector<std::string> targets;
    std::vector<std::string> days;
    for (size_t i = 0; i < files.size(); ++i) {
        const int day = static_cast<int>(i % 10) + 1;
        SYSTEMTIME local{};
        local.wYear = 2024;
        local.wMonth = 3;
        local.wDay = static_cast<WORD>(day);
        local.wHour = 12;
        FILETIME lt, utc;
        SystemTimeToFileTime(&local, &lt);
        LocalFileTimeToFileTime(&lt, &utc);
        FileHandle file(CreateFileA(files[i].c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        SetFileTime(file.get(), nullptr, nullptr, &utc);
        char dayName[16];
        std::snprintf(dayName, sizeof dayName, "202403%02d", day);
        if (i < 10) days.push_back(folder + "\\" + dayName);
        targets.push_back(folder + "\\" + dayName + files[i].substr(folder.size()));
    }
    auto back = [&] {
        for (size_t i = 0; i < files.size(); ++i) MoveFileA(targets[i].c_str(), files[i].c_str());
        for (const std::string& d : days) RemoveDirectoryA(d.c_str());
    };
    FolderWindow window(folder);
    IDataObject* data = CreateDropDataObject(files);
    auto command = [&] {
        const double ms = Timed([&] { Invoke(data, 14, window.frame()); });
        back();
        return ms;
    };
    auto floor = [&] {
        const double ms = Timed([&] {
            for (const std::string& d : days) CreateDirectoryA(d.c_str(), nullptr);
            for (size_t i = 0; i < files.size(); ++i) MoveFileA(files[i].c_str(), targets[i].c_str());
        });
        back();
        return ms;
    };
    char name[64];
    std::snprintf(name, sizeof name, "classify by date, %d files", o.classify);
    Row(name, std::max(1, o.reps / 2), command, floor, 1.15);
    data->Release();
    RemoveTree(folder);
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
        for (int r = 0; r < std::max(1, o.reps / 2); ++r) {
            c.push_back(Timed([&] {
                SelectionCursor cursor(drop);
                char path[MAX_PATH];
                while (cursor.Next(path) > 0) {
                }
            }));
            // The bare calls, for the smaller size only: they search the list from its
            // start for every index.
            if (s == 0) {
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
    std::printf("%-44s median %10.3f ms  bare DragQueryFileA loop %10.3f ms (%d names)\n", "selection fetch, small",
                times[0], floors[0], sizes[0]);
    Growth("selection fetch, growth", times[0], times[1], 10, 12);
}

// The commands that change every selected file, each beside the bare calls that make
// the same change.
void CommandRows(const Options& o)
{
    const std::string folder = Fresh("commands");
    const std::vector<std::string> files = Names(folder, o.bulk, "n", ".dat");
    const std::vector<std::string> prefixed = Names(folder, o.bulk, "xn", ".dat");
    const std::vector<std::string> numbered = Names(folder, o.bulk, "m", ".dat");
    MakeFiles(files);
    IDataObject* data = CreateDropDataObject(files);
    const int reps = std::max(1, o.reps / 2);
    char name[64];

    // Time-difference correction: one hour later. Floor: read and write the last-write
    // time of each file.
    auto timeFloor = [&] {
        return Timed([&] {
            for (const std::string& f : files) {
                FileHandle file(CreateFileA(f.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
                FILETIME written;
                GetFileTime(file.get(), nullptr, nullptr, &written);
                SetFileTime(file.get(), nullptr, nullptr, &written);
            }
        });
    };
    std::snprintf(name, sizeof name, "time-difference correction, %d files", o.bulk);
    Row(name, reps,
        [&] {
            return TimedDialogCommand(data, 9, [](DialogDriver& d) {
                d.SetText(IDC_REVISE_HOURS, "1");
                d.SetText(IDC_REVISE_MINUTES, "0");
                d.SetText(IDC_REVISE_SECONDS, "0");
                d.Check(IDC_REVISE_LATER, true);
            });
        },
        timeFloor, 0);

    // Timestamp change: the date of the last write.
    std::snprintf(name, sizeof name, "timestamp change, %d files", o.bulk);
    Row(name, reps,
        [&] {
            return TimedDialogCommand(data, 8, [](DialogDriver& d) {
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
            });
        },
        timeFloor, 0);

    // Attribute change: hidden, absolute, files. Floor: read and set the attributes.
    std::snprintf(name, sizeof name, "attribute change, %d files", o.bulk);
    Row(name, reps,
        [&] {
            return TimedDialogCommand(data, 10, [](DialogDriver& d) {
                d.Check(IDC_ATTRIBUTE_ABSOLUTE, true);
                d.Check(IDC_ATTRIBUTE_HIDDEN, true);
                d.Check(IDC_ATTRIBUTE_READONLY, false);
                d.Check(IDC_ATTRIBUTE_ARCHIVE, false);
                d.Check(IDC_ATTRIBUTE_SUBFOLDERS, false);
            });
        },
        [&] {
            return Timed([&] {
                for (const std::string& f : files) {
                    const DWORD attributes = GetFileAttributesA(f.c_str());
                    SetFileAttributesA(f.c_str(), (attributes & ~FILE_ATTRIBUTE_HIDDEN) | FILE_ATTRIBUTE_NORMAL);
                }
            });
        },
        0);

    // Renaming commands; each floor renames the files back with a bare MoveFileA loop.
    auto back = [&](const std::vector<std::string>& from) {
        return Timed([&] {
            for (size_t i = 0; i < files.size(); ++i) MoveFileA(from[i].c_str(), files[i].c_str());
        });
    };
    std::snprintf(name, sizeof name, "name arrangement, %d files", o.bulk);
    Row(name, reps,
        [&] {
            return TimedDialogCommand(data, 11, [](DialogDriver& d) {
                d.Check(IDC_NAME_WIDTH_NONE, true);
                d.Check(IDC_NAME_CASE_NONE, true);
                d.Check(IDC_NAME_CHANGE_EXTENSION, false);
                d.Check(IDC_NAME_ADD_END, false);
                d.Check(IDC_NAME_ADD_START, true);
                d.SetText(IDC_NAME_START_TEXT, "x");
            });
        },
        [&] { return back(prefixed); }, 0);
    std::snprintf(name, sizeof name, "serial-number renaming, %d files", o.bulk);
    Row(name, reps,
        [&] {
            return TimedDialogCommand(data, 12, [](DialogDriver& d) {
                d.SetText(IDC_CNUM_PREFIX, "m");
                d.Check(IDC_CNUM_ZERO_FILL, true);
                d.SetText(IDC_CNUM_DIGITS, "6");
                d.SetText(IDC_CNUM_START, "0");
                d.Check(IDC_CNUM_BY_NAME, true);
                d.Check(IDC_CNUM_ASCENDING, true);
            });
        },
        [&] { return back(numbered); }, 0);
    data->Release();
    RemoveTree(folder);
}

// The file list of a tree of ten folders (made beforehand by scripts/bench.sh when it
// can), beside a bare walk of the same tree.
void ListWalk(const std::wstring& folder, long* entries)
{
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW((folder + L"\\*.*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        if (std::wcscmp(found.cFileName, L".") == 0 || std::wcscmp(found.cFileName, L"..") == 0) continue;
        ++*entries;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ListWalk(folder + L"\\" + found.cFileName, entries);
    } while (FindNextFileW(h, &found));
    FindClose(h);
}

void ListRow(const Options& o)
{
    const std::string made = std::string(kDataRoot) + "\\list-" + std::to_string(o.list);
    const bool premade = GetFileAttributesA((made + "\\complete").c_str()) != INVALID_FILE_ATTRIBUTES;
    const std::string root = premade ? made + "\\tree" : Fresh("list");
    if (!premade) {
        for (int f = 0; f < 10; ++f) {
            const std::string sub = root + "\\d" + std::to_string(f);
            CreateDirectoryA(sub.c_str(), nullptr);
            MakeFiles(Names(sub, o.list / 10, "f", ".txt"));
        }
    }
    IDataObject* data = CreateDropDataObject({root});
    wchar_t wideRoot[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, root.c_str(), -1, wideRoot, MAX_PATH);
    long lines = 0;
    char name[64];
    std::snprintf(name, sizeof name, "file list, tree of %d files", o.list);
    const double ms = Row(name, std::max(1, o.reps / 2),
        [&] {
            return TimedDialogCommand(data, 7, [](DialogDriver& d) {
                d.Check(IDC_CLIPBOARD_SUBFOLDERS, true);
                d.Check(IDC_CLIPBOARD_TEXT_FILE, false);
            });
        },
        [&] {
            lines = 0;
            return Timed([&] { ListWalk(wideRoot, &lines); });
        },
        0);
    std::printf("%-44s %.2f us per line (%ld lines)\n", "file list, per line", lines > 0 ? ms * 1000 / lines : 0, lines + 1);
    data->Release();
    if (!premade) RemoveTree(root);
}

}  // namespace

int main(int argc, char** argv)
{
    Options o;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        const int value = std::atoi(argv[i + 1]);
        if (flag == "--reps") o.reps = value;
        else if (flag == "--clicks") o.clicks = value;
        else if (flag == "--leak") o.leak = value;
        else if (flag == "--rename") o.rename = value;
        else if (flag == "--select") o.select = value;
        else if (flag == "--classify") o.classify = value;
        else if (flag == "--fetch") o.fetch = value;
        else if (flag == "--bulk") o.bulk = value;
        else if (flag == "--list") o.list = value;
        else if (flag == "--only") o.only = argv[i + 1];
        else {
            std::fprintf(stderr, "bench: unknown option %s\n", flag.c_str());
            return 2;
        }
    }
    OleInitialize(nullptr);
    InitCommonControls();
    if (KelmoraModule() == nullptr) {
        std::fprintf(stderr, "bench: kelmora.dll not found in %s\n", TIDALON_DIST_DIR);
        return 1;
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    WriteDefaultSettings();
    WriteSettingsBlock("Menu", kFullLayout.data(), static_cast<DWORD>(kFullLayout.size()));
    const unsigned char permute[3] = {0, 1, 0};
    WriteSettingsBlock("Permute", permute, sizeof permute);

    auto wanted = [&](const char* row) { return o.only.empty() || o.only == row; };
    if (wanted("click")) RightClickRows(o);
    if (wanted("leak")) LeakRow(o);
    if (wanted("rename")) {
        const auto small = RenameRow(o, o.rename / 4);
        const auto large = RenameRow(o, o.rename);
        char name[64];
        std::snprintf(name, sizeof name, "name replacement, %d vs %d files", o.rename / 4, o.rename);
        Growth(name, small.first, large.first, 4, small.second > 0 ? large.second / small.second * 1.05 : 0,
               small.second > 0 ? large.second / small.second : 0);
    }
    if (wanted("select")) SelectRows(o);
    if (wanted("classify")) ClassifyRow(o);
    if (wanted("fetch")) FetchRows(o);
    if (wanted("commands")) CommandRows(o);
    if (wanted("list")) ListRow(o);

    RemoveTree(kRoot);
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    std::printf("bench: %d targets met, %d missed\n", g_met, g_missed);
    OleUninitialize();
    return 0;
}
