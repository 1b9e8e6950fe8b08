#include "ui/controls/accessibility.h"

#include <initguid.h>
#include <oleacc.h>

namespace lumarel {

void NameForScreenReaders(HWND control, const std::wstring& name) {
    // One service object for the process, made on first use; COM keeps it alive.
    static IAccPropServices* const services = [] {
        IAccPropServices* created = nullptr;
        if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IAccPropServices, reinterpret_cast<void**>(&created)))) {
            return static_cast<IAccPropServices*>(nullptr);
        }
        return created;
    }();
    if (services != nullptr && control != nullptr && !name.empty()) {
        services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                 PROPID_ACC_NAME, name.c_str());
    }
}

}  // namespace lumarel
