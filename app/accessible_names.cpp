#include "app/accessible_names.h"

#include <oleacc.h>

#include <string>

#include "base/system_library.h"

namespace tovrelle {
namespace {

// The GUIDs of oleacc.h, written out: taking them from a library would import oleacc.
constexpr CLSID kClsidAccPropServices = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr IID kIidAccPropServices = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr MSAAPROPID kPropIdAccName = {
    0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};

using CoInitializeExFunction = HRESULT(WINAPI*)(LPVOID, DWORD);
using CoUninitializeFunction = void(WINAPI*)();
using CoCreateInstanceFunction = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);

}  // namespace

OleaccNames::~OleaccNames() {
    if (services_ != nullptr) {
        services_->Release();
    }
    if (com_initialised_) {
        if (auto uninitialise =
                library_function<CoUninitializeFunction>(ole32_.get(), "CoUninitialize")) {
            uninitialise();
        }
    }
}

bool OleaccNames::ready() {
    if (tried_) {
        return services_ != nullptr;
    }
    tried_ = true;
    ole32_ = load_system_library(L"ole32.dll");
    if (!ole32_) {
        return false;
    }
    auto initialise = library_function<CoInitializeExFunction>(ole32_.get(), "CoInitializeEx");
    auto create = library_function<CoCreateInstanceFunction>(ole32_.get(), "CoCreateInstance");
    if (initialise == nullptr || create == nullptr) {
        return false;
    }
    // The window's thread is a single-threaded apartment; S_FALSE says it already was one,
    // and that too is balanced by CoUninitialize.
    const HRESULT init = initialise(nullptr, COINIT_APARTMENTTHREADED);
    com_initialised_ = SUCCEEDED(init);
    void* services = nullptr;
    if (FAILED(create(kClsidAccPropServices, nullptr, CLSCTX_INPROC_SERVER, kIidAccPropServices,
                      &services))) {
        return false;
    }
    services_ = static_cast<IAccPropServices*>(services);
    return true;
}

bool OleaccNames::set_name(HWND control, std::wstring_view name) {
    if (!ready()) {
        return false;
    }
    const std::wstring text(name);
    return SUCCEEDED(services_->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT),
                                               CHILDID_SELF, kPropIdAccName, text.c_str()));
}

void OleaccNames::clear_name(HWND control) {
    if (services_ != nullptr) {
        services_->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                  &kPropIdAccName, 1);
    }
}

bool name_edit_boxes(const MainWindow& window, AccessibleNames& names) {
    bool all = true;
    for (const ControlDef& c : window.definition().controls) {
        const std::wstring_view name = accessible_name(window.definition(), c.id);
        HWND h = window.control(c.id);
        if (!name.empty() && h != nullptr) {
            all = names.set_name(h, name) && all;
        }
    }
    return all;
}

void forget_edit_box_names(const MainWindow& window, AccessibleNames& names) {
    for (const ControlDef& c : window.definition().controls) {
        HWND h = window.control(c.id);
        if (!accessible_name(window.definition(), c.id).empty() && h != nullptr) {
            names.clear_name(h);
        }
    }
}

}  // namespace tovrelle
