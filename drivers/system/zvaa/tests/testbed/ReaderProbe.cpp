#include "testbed/ReaderProbe.h"

#include <oleacc.h>

namespace {

std::wstring Take(BSTR text) {
    const std::wstring taken = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    return taken;
}

}  // namespace

Heard HearControl(HWND control) {
    Heard heard;
    IAccessible *object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void **>(&object))))
        return heard;
    VARIANT self, role;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VariantInit(&role);
    BSTR name = nullptr, value = nullptr, description = nullptr;
    if (object->get_accName(self, &name) == S_OK) heard.name = Take(name);
    if (object->get_accValue(self, &value) == S_OK) heard.value = Take(value);
    if (object->get_accDescription(self, &description) == S_OK) heard.description = Take(description);
    if (object->get_accRole(self, &role) == S_OK && role.vt == VT_I4) heard.role = role.lVal;
    WCHAR roleText[128] = L"";
    if (GetRoleTextW(static_cast<DWORD>(heard.role), roleText, ARRAYSIZE(roleText))) heard.roleText = roleText;
    VariantClear(&role);
    object->Release();
    return heard;
}
