// The library's entry point, its two COM exports and the rules of its class factory.
#include "common/class_ids.h"
#include "common/com_server.h"
#include "ctxmenu/module.h"
#include "ctxmenu/shell_ext.h"

namespace {

// The factory hands out IUnknown as well as IClassFactory and every interface of the
// handler; LockServer is accepted and changes nothing, as the library unloads by the
// object count alone.
constexpr FactoryRules kFactoryRules = {CreateHandler<CShellExt>, false, false, S_OK};

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) SetModuleInstance(instance);
    return TRUE;
}

extern "C" HRESULT WINAPI DllCanUnloadNow()
{
    return CanUnloadNow();
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv)
{
    if (ppv == nullptr) return E_POINTER;
    *ppv = nullptr;
    // The answer COM itself gives for a class a server does not have.
    if (!IsEqualCLSID(clsid, CLSID_KelmoraShellExt)) return CLASS_E_CLASSNOTAVAILABLE;
    return GetClassFactory(kFactoryRules, riid, ppv);
}
