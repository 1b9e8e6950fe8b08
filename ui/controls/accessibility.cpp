#include "ui/controls/accessibility.h"

#include <initguid.h>
#include <oleacc.h>

#include "platform/win32/system_libraries.h"

namespace lumarel {

namespace {

// COM is loaded the first time a name is given, not at start-up: under Wine loading and
// starting it costs more than the whole rest of Lumarel's start.
IAccPropServices* AnnotationService() {
    static IAccPropServices* const service = []() -> IAccPropServices* {
        HMODULE ole = LoadSystemLibrary(L"ole32.dll");
        using InitializeFn = HRESULT(WINAPI*)(LPVOID, DWORD);
        using CreateFn = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
        const auto initialize = FunctionOf<InitializeFn>(ole, "CoInitializeEx");
        const auto create = FunctionOf<CreateFn>(ole, "CoCreateInstance");
        IAccPropServices* created = nullptr;
        if (initialize == nullptr || create == nullptr ||
            FAILED(initialize(nullptr, COINIT_APARTMENTTHREADED)) ||
            FAILED(create(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                          IID_IAccPropServices, reinterpret_cast<void**>(&created)))) {
            return nullptr;
        }
        return created;
    }();
    return service;
}

}  // namespace

void NameForScreenReaders(HWND control, const std::wstring& name) {
    IAccPropServices* service = AnnotationService();
    if (service != nullptr && control != nullptr && !name.empty()) {
        service->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                PROPID_ACC_NAME, name.c_str());
    }
}

}  // namespace lumarel
