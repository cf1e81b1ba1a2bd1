// The plumbing both in-process servers share: the count of live objects that decides
// DllCanUnloadNow, the reference counting and interfaces of a menu handler, and the
// class factory. What a server refuses is its own and is passed in.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <new>

// Live factories and handlers of this library; it may unload when there are none.
// Explorer windows run on threads of their own, so every change is atomic.
void AddObject();
void RemoveObject();
// DllCanUnloadNow: S_OK when no object lives, else S_FALSE.
HRESULT CanUnloadNow();

// A handler of a context or drop menu: IContextMenu and IShellExtInit on one object,
// counted among the live objects from its birth to its destruction.
class ShellMenuHandler : public IContextMenu, public IShellExtInit {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

protected:
    // The interface IUnknown answers with, which is the object's identity.
    enum class Identity { ShellExtInit, ContextMenu };
    // Born with no reference: the creator takes the first one.
    explicit ShellMenuHandler(Identity identity);
    virtual ~ShellMenuHandler();
    ShellMenuHandler(const ShellMenuHandler&) = delete;
    ShellMenuHandler& operator=(const ShellMenuHandler&) = delete;

private:
    LONG refs_ = 0;
    Identity identity_;
};

// Makes a handler and asks it for `riid`. The new object holds one reference across the
// QueryInterface, so a refused interface destroys it instead of leaving it behind.
template <typename Handler>
HRESULT CreateHandler(REFIID riid, void** ppv)
{
    Handler* handler = new (std::nothrow) Handler();
    if (handler == nullptr) return E_OUTOFMEMORY;
    handler->AddRef();
    const HRESULT hr = handler->QueryInterface(riid, ppv);
    handler->Release();
    return hr;
}

// What a server's class factory does and refuses.
struct FactoryRules {
    HRESULT (*create)(REFIID riid, void** ppv);   // CreateHandler<...>
    bool factoryInterfaceOnly;   // DllGetClassObject hands out IClassFactory alone (not IUnknown)
    bool initInterfaceOnly;      // CreateInstance hands out IShellExtInit or IUnknown alone
    HRESULT lockServer;          // the answer to LockServer
};

// DllGetClassObject once the class id was found to be the server's own: a new factory
// asked for `riid`. `ppv` is never left holding an old pointer.
HRESULT GetClassFactory(const FactoryRules& rules, REFIID riid, void** ppv);
