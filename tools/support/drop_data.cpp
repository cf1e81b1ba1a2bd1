#include "tools/support/drop_data.h"

#include <shlobj.h>

#include <cstring>
#include <new>

namespace {

LONG g_outstanding = 0;
LONG g_handedOut = 0;

// Stands in the medium's pUnkForRelease: ReleaseStgMedium calls its Release instead of
// freeing the block itself, so the tests can count what was released.
class MediumOwner final : public IUnknown {
public:
    explicit MediumOwner(HGLOBAL block) : block_(block) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr) return E_POINTER;
        *ppv = IsEqualIID(riid, IID_IUnknown) ? static_cast<IUnknown*>(this) : nullptr;
        if (*ppv == nullptr) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    STDMETHODIMP_(ULONG) Release() override
    {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0) {
            GlobalFree(block_);
            InterlockedDecrement(&g_outstanding);
            delete this;
        }
        return static_cast<ULONG>(left);
    }

private:
    LONG refs_ = 1;
    HGLOBAL block_;
};

class DropDataObject final : public IDataObject {
public:
    explicit DropDataObject(std::vector<std::string> paths) : paths_(std::move(paths)) {}
    explicit DropDataObject(std::vector<std::wstring> paths) : wide_(true), widePaths_(std::move(paths)) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
            *ppv = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    STDMETHODIMP_(ULONG) Release() override
    {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        if (format == nullptr || medium == nullptr) return E_INVALIDARG;
        std::memset(medium, 0, sizeof *medium);
        if (format->cfFormat != CF_HDROP || !(format->tymed & TYMED_HGLOBAL)) return DV_E_FORMATETC;
        HGLOBAL block = wide_ ? MakeWideDropFiles(widePaths_) : MakeDropFiles(paths_);
        if (block == nullptr) return E_OUTOFMEMORY;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = block;
        medium->pUnkForRelease = new (std::nothrow) MediumOwner(block);
        if (medium->pUnkForRelease == nullptr) {
            GlobalFree(block);
            return E_OUTOFMEMORY;
        }
        InterlockedIncrement(&g_outstanding);
        InterlockedIncrement(&g_handedOut);
        return S_OK;
    }
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryGetData(FORMATETC* format) override
    {
        return (format != nullptr && format->cfFormat == CF_HDROP) ? S_OK : DV_E_FORMATETC;
    }
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        if (out != nullptr) out->ptd = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    ~DropDataObject() = default;
    LONG refs_ = 1;
    bool wide_ = false;
    std::vector<std::string> paths_;
    std::vector<std::wstring> widePaths_;
};

// DROPFILES followed by the names, each with its terminator, and one more terminator.
template <typename Char>
HGLOBAL MakeBlock(const std::vector<std::basic_string<Char>>& paths, BOOL wide)
{
    // Wine counts one empty name in a list that names none: an empty selection is a
    // block of size zero instead.
    if (paths.empty()) return GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 0);
    SIZE_T size = sizeof(DROPFILES) + sizeof(Char);
    for (const auto& p : paths) size += (p.size() + 1) * sizeof(Char);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (block == nullptr) return nullptr;
    auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
    if (drop == nullptr) {
        GlobalFree(block);
        return nullptr;
    }
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = wide;
    auto* out = reinterpret_cast<Char*>(reinterpret_cast<char*>(drop) + sizeof(DROPFILES));
    for (const auto& p : paths) {
        std::memcpy(out, p.c_str(), (p.size() + 1) * sizeof(Char));
        out += p.size() + 1;
    }
    GlobalUnlock(block);
    return block;
}

}  // namespace

HGLOBAL MakeDropFiles(const std::vector<std::string>& paths) { return MakeBlock(paths, FALSE); }

HGLOBAL MakeWideDropFiles(const std::vector<std::wstring>& paths) { return MakeBlock(paths, TRUE); }

IDataObject* CreateDropDataObject(const std::vector<std::string>& paths)
{
    return new (std::nothrow) DropDataObject(paths);
}

IDataObject* CreateWideDropDataObject(const std::vector<std::wstring>& paths)
{
    return new (std::nothrow) DropDataObject(paths);
}

long DropDataMediaOutstanding() { return g_outstanding; }
long DropDataMediaHandedOut() { return g_handedOut; }

bool PressShift(bool down)
{
    // Focus changes still queued would set the keys back to the display's state.
    MSG msg;
    for (DWORD end = GetTickCount() + 100; GetTickCount() < end; Sleep(10))
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = VK_SHIFT;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
    Sleep(100);
    return ((GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0) == down;
}
