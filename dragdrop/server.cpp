// The library's entry point, its two COM exports and the class factory.
#include <new>

#include "dragdrop/drag_drop_ext.h"
#include "dragdrop/module.h"

namespace {

// Makes a handler for CreateInstance. The new object holds one reference across the
// QueryInterface, so a refused interface destroys it rather than leaving it behind.
HRESULT CreateDragDropExt(IUnknown* outer, REFIID riid, void** ppv)
{
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    CDragDropExt* ext = new (std::nothrow) CDragDropExt();
    if (ext == nullptr) return E_OUTOFMEMORY;
    const HRESULT hr = ext->QueryInterface(riid, ppv);
    ext->Release();
    return hr;
}

class CDragDropExtClassFactory final : public IClassFactory {
public:
    // Born with the one reference DllGetClassObject hands out.
    CDragDropExtClassFactory() { AddObject(); }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
            *ppv = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    STDMETHODIMP_(ULONG) Release() override
    {
        const ULONG left = static_cast<ULONG>(InterlockedDecrement(&refs_));
        if (left == 0) delete this;
        return left;
    }

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override
    {
        if (ppv == nullptr) return E_POINTER;
        *ppv = nullptr;
        if (outer != nullptr) return CLASS_E_NOAGGREGATION;
        // IContextMenu is asked for afterwards, from the object itself.
        if (!IsEqualIID(riid, IID_IShellExtInit) && !IsEqualIID(riid, IID_IUnknown)) return E_NOINTERFACE;
        return CreateDragDropExt(nullptr, riid, ppv);
    }
    STDMETHODIMP LockServer(BOOL) override { return E_NOTIMPL; }

private:
    ~CDragDropExtClassFactory() { RemoveObject(); }
    LONG refs_ = 1;
};

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}

extern "C" HRESULT WINAPI DllCanUnloadNow()
{
    return HasLiveObjects() ? S_FALSE : S_OK;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv)
{
    if (ppv == nullptr) return E_POINTER;
    // A caller must never find an old pointer in its variable after a refusal.
    *ppv = nullptr;
    if (!IsEqualCLSID(clsid, CLSID_OrvidDragDropExt)) return E_FAIL;
    if (!IsEqualIID(riid, IID_IClassFactory)) return E_NOINTERFACE;
    CDragDropExtClassFactory* factory = new (std::nothrow) CDragDropExtClassFactory();
    if (factory == nullptr) return E_OUTOFMEMORY;
    *ppv = static_cast<IClassFactory*>(factory);
    return S_OK;
}
