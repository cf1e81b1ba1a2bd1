#include "common/com_server.h"

namespace {

LONG g_objects = 0;

class ClassFactory final : public IClassFactory {
public:
    explicit ClassFactory(const FactoryRules& rules) : rules_(rules) { AddObject(); }

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
        // A server that hands out IShellExtInit alone is asked for IContextMenu
        // afterwards, from the object itself.
        if (rules_.initInterfaceOnly && !IsEqualIID(riid, IID_IShellExtInit) && !IsEqualIID(riid, IID_IUnknown))
            return E_NOINTERFACE;
        return rules_.create(riid, ppv);
    }
    STDMETHODIMP LockServer(BOOL) override { return rules_.lockServer; }

private:
    ~ClassFactory() { RemoveObject(); }
    LONG refs_ = 0;
    FactoryRules rules_;
};

}  // namespace

void AddObject() { InterlockedIncrement(&g_objects); }
void RemoveObject() { InterlockedDecrement(&g_objects); }
HRESULT CanUnloadNow() { return InterlockedCompareExchange(&g_objects, 0, 0) != 0 ? S_FALSE : S_OK; }

ShellMenuHandler::ShellMenuHandler(Identity identity) : identity_(identity) { AddObject(); }

ShellMenuHandler::~ShellMenuHandler() { RemoveObject(); }

STDMETHODIMP ShellMenuHandler::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr) return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(riid, IID_IUnknown)) {
        *ppv = identity_ == Identity::ShellExtInit ? static_cast<void*>(static_cast<IShellExtInit*>(this))
                                                   : static_cast<void*>(static_cast<IContextMenu*>(this));
    } else if (IsEqualIID(riid, IID_IShellExtInit)) {
        *ppv = static_cast<IShellExtInit*>(this);
    } else if (IsEqualIID(riid, IID_IContextMenu)) {
        *ppv = static_cast<IContextMenu*>(this);
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) ShellMenuHandler::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }

STDMETHODIMP_(ULONG) ShellMenuHandler::Release()
{
    const ULONG left = static_cast<ULONG>(InterlockedDecrement(&refs_));
    if (left == 0) delete this;
    return left;
}

HRESULT GetClassFactory(const FactoryRules& rules, REFIID riid, void** ppv)
{
    if (ppv == nullptr) return E_POINTER;
    *ppv = nullptr;
    if (rules.factoryInterfaceOnly && !IsEqualIID(riid, IID_IClassFactory)) return E_NOINTERFACE;
    ClassFactory* factory = new (std::nothrow) ClassFactory(rules);
    if (factory == nullptr) return E_OUTOFMEMORY;
    factory->AddRef();
    const HRESULT hr = factory->QueryInterface(riid, ppv);
    factory->Release();
    return hr;
}
