// The library's entry point, its two COM exports and the class factory.
#include <new>

#include "ctxmenu/module.h"
#include "ctxmenu/shell_ext.h"

namespace {

class CShellExtClassFactory final : public IClassFactory {
public:
    CShellExtClassFactory() { AddObject(); }

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
        CShellExt* ext = new (std::nothrow) CShellExt();
        if (ext == nullptr) return E_OUTOFMEMORY;
        // The object is born with no reference: holding one across QueryInterface makes a
        // refused interface destroy it instead of leaving it behind.
        ext->AddRef();
        const HRESULT hr = ext->QueryInterface(riid, ppv);
        ext->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

private:
    ~CShellExtClassFactory() { RemoveObject(); }
    LONG refs_ = 0;
};

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) SetModuleInstance(instance);
    return TRUE;
}

extern "C" HRESULT WINAPI DllCanUnloadNow()
{
    return HasLiveObjects() ? S_FALSE : S_OK;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv)
{
    if (ppv == nullptr) return E_POINTER;
    *ppv = nullptr;
    if (!IsEqualCLSID(clsid, CLSID_KelmoraShellExt)) return CLASS_E_CLASSNOTAVAILABLE;
    CShellExtClassFactory* factory = new (std::nothrow) CShellExtClassFactory();
    if (factory == nullptr) return E_OUTOFMEMORY;
    factory->AddRef();
    const HRESULT hr = factory->QueryInterface(riid, ppv);
    factory->Release();
    return hr;
}
