// Loading the shell-extension handlers registered for a menu, as Explorer does: one
// CoCreateInstance per registered class, Initialize with the folder and the data object
// of the items, QueryContextMenu into the menu, each handler with its own id range.
#include "tools/host/host.h"

#include <algorithm>
#include <cstring>

namespace {

// The class id of a handler entry: the subkey's name when it is a class id itself,
// otherwise the subkey's default value.
std::string HandlerClassId(HKEY handlers, const char* subkey)
{
    if (subkey[0] == '{') return subkey;
    RegKey key;
    if (RegOpenKeyExA(handlers, subkey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return {};
    char value[128] = {};
    DWORD size = sizeof value - 1;
    DWORD type = 0;
    if (RegQueryValueExA(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
            ERROR_SUCCESS || type != REG_SZ) {
        return {};
    }
    return value;
}

std::string MenuItemText(HMENU menu, UINT position)
{
    char text[512] = {};
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = text;
    info.cch = sizeof text - 1;
    if (!GetMenuItemInfoA(menu, position, TRUE, &info)) return {};
    return text;
}

std::string WithoutAmpersands(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c != '&') out += c;
    }
    return out;
}

}  // namespace

int HandlerMenu::AddHandlers(HMENU menu, UINT position, const std::vector<std::string>& types,
                             const char* handlerKey, PCIDLIST_ABSOLUTE folder, IDataObject* data)
{
    std::vector<std::string> loaded;
    int added = 0;
    for (const std::string& type : types) {
        RegKey progId;
        RegOpenKeyExA(HKEY_CLASSES_ROOT, type.c_str(), 0, KEY_READ, progId.put());
        const std::string path = type + "\\shellex\\" + handlerKey;
        RegKey handlers;
        if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, handlers.put()) != ERROR_SUCCESS) {
            continue;
        }
        char name[256];
        for (DWORD index = 0;; ++index) {
            DWORD length = sizeof name;
            if (RegEnumKeyExA(handlers.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS) {
                break;
            }
            const std::string clsidText = HandlerClassId(handlers.get(), name);
            if (clsidText.empty() || std::find(loaded.begin(), loaded.end(), clsidText) != loaded.end()) continue;
            loaded.push_back(clsidText);

            const std::wstring wide(clsidText.begin(), clsidText.end());
            CLSID clsid;
            if (FAILED(CLSIDFromString(wide.c_str(), &clsid))) {
                Log("  handler " + path + "\\" + name + ": not a class id: " + clsidText);
                continue;
            }
            ComPtr<IShellExtInit> init;
            HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit, init.put_void());
            if (FAILED(hr)) {
                char code[16];
                wsprintfA(code, "0x%08lX", static_cast<unsigned long>(hr));
                Log("  handler " + clsidText + " (" + name + "): cannot be created, " + code);
                continue;
            }
            hr = init->Initialize(folder, data, progId.get());
            if (FAILED(hr)) {
                char code[16];
                wsprintfA(code, "0x%08lX", static_cast<unsigned long>(hr));
                Log("  handler " + clsidText + " (" + name + "): Initialize failed, " + code);
                continue;
            }
            handlers_.emplace_back();
            Handler& handler = handlers_.back();
            if (FAILED(init->QueryInterface(IID_IContextMenu, handler.menu.put_void()))) {
                handlers_.pop_back();
                continue;
            }
            const int before = GetMenuItemCount(menu);
            hr = handler.menu->QueryContextMenu(menu, position, nextId_, kLastHandlerId, CMF_NORMAL);
            const int after = GetMenuItemCount(menu);
            if (after > before) position += static_cast<UINT>(after - before);
            handler.first = nextId_;
            handler.count = SUCCEEDED(hr) ? HRESULT_CODE(hr) : 0;
            nextId_ += handler.count;
            if (handler.count > 0 || after > before) ++added;
        }
    }
    return added;
}

const HandlerMenu::Handler* HandlerMenu::Find(UINT id) const
{
    for (const Handler& h : handlers_) {
        if (id >= h.first && id < h.first + h.count) return &h;
    }
    return nullptr;
}

bool HandlerMenu::Owns(UINT id) const { return Find(id) != nullptr; }

HRESULT HandlerMenu::Invoke(UINT id, HWND owner) const
{
    const Handler* h = Find(id);
    if (h == nullptr) return E_INVALIDARG;
    CMINVOKECOMMANDINFO info = {};
    info.cbSize = sizeof info;
    info.hwnd = owner;
    info.lpVerb = MAKEINTRESOURCEA(id - h->first);
    info.nShow = SW_SHOWNORMAL;
    return h->menu->InvokeCommand(&info);
}

std::string HandlerMenu::HelpText(UINT id) const
{
    const Handler* h = Find(id);
    if (h == nullptr) return {};
    char text[512] = {};
    if (FAILED(h->menu->GetCommandString(id - h->first, GCS_HELPTEXTA, nullptr, text, sizeof text))) return {};
    text[sizeof text - 1] = '\0';
    return text;
}

BuiltMenu::~BuiltMenu()
{
    if (popup == nullptr) return;
    // Submenus belong to the handlers that made them.
    for (int i = GetMenuItemCount(popup) - 1; i >= 0; --i) RemoveMenu(popup, static_cast<UINT>(i), MF_BYPOSITION);
    DestroyMenu(popup);
}

UINT FindMenuItem(HMENU menu, const std::string& text)
{
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        HMENU sub = GetSubMenu(menu, i);
        if (sub != nullptr) {
            const UINT id = FindMenuItem(sub, text);
            if (id != 0) return id;
            continue;
        }
        const std::string item = MenuItemText(menu, static_cast<UINT>(i));
        if (item.empty()) continue;
        if (item == text || WithoutAmpersands(item) == WithoutAmpersands(text)) {
            return GetMenuItemID(menu, i);
        }
    }
    return 0;
}

std::vector<std::string> DescribeMenu(HMENU menu, int depth)
{
    std::vector<std::string> lines;
    const std::string indent(static_cast<size_t>(depth) * 2 + 4, ' ');
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        if ((state & MF_SEPARATOR) && !(state & MF_POPUP)) {
            lines.push_back(indent + "----");
            continue;
        }
        std::string line = indent + MenuItemText(menu, static_cast<UINT>(i));
        if (state & MF_GRAYED) line += "  (disabled)";
        lines.push_back(line);
        if (HMENU sub = GetSubMenu(menu, i)) {
            for (const std::string& l : DescribeMenu(sub, depth + 1)) lines.push_back(l);
        }
    }
    return lines;
}
