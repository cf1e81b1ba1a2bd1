// The library's entry point, its two COM exports and the rules of its class factory.
#include "common/class_ids.h"
#include "common/com_server.h"
#include "dragdrop/drag_drop_ext.h"

namespace {

// Explorer asks this factory for IClassFactory and for IShellExtInit alone (IContextMenu
// comes from the object itself), and the server was written for nothing more: every
// other request is refused, and LockServer is not implemented.
constexpr FactoryRules kFactoryRules = {CreateHandler<CDragDropExt>, true, true, E_NOTIMPL};

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}

extern "C" HRESULT WINAPI DllCanUnloadNow()
{
    return CanUnloadNow();
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv)
{
    if (ppv == nullptr) return E_POINTER;
    // A caller must never find an old pointer in its variable after a refusal.
    *ppv = nullptr;
    // A foreign class id is refused as the drop handler always has: with E_FAIL.
    if (!IsEqualCLSID(clsid, CLSID_OrvidDragDropExt)) return E_FAIL;
    return GetClassFactory(kFactoryRules, riid, ppv);
}
