#include "testbed/ReaderProbe.h"

#include <oleacc.h>

namespace {

std::wstring Take(BSTR text) {
    std::wstring taken = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    return taken;
}

bool IsTextStatic(const TemplateItem &item) {
    const DWORD type = item.style & SS_TYPEMASK;
    return _wcsicmp(item.className.c_str(), L"Static") == 0 &&
           (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP);
}

}  // namespace

Heard HearControl(HWND control) {
    Heard heard;
    IAccessible *object = nullptr;
    heard.hr = AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void **>(&object));
    if (FAILED(heard.hr) || !object) return heard;
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR text = nullptr;
    if (object->get_accName(self, &text) == S_OK) heard.name = Take(text);
    text = nullptr;
    if (object->get_accValue(self, &text) == S_OK) heard.value = Take(text);
    text = nullptr;
    if (object->get_accDescription(self, &text) == S_OK) heard.description = Take(text);
    VARIANT role;
    VariantInit(&role);
    if (object->get_accRole(self, &role) == S_OK && role.vt == VT_I4) heard.role = role.lVal;
    VariantClear(&role);
    WCHAR roleText[128] = L"";
    if (GetRoleTextW(static_cast<DWORD>(heard.role), roleText, ARRAYSIZE(roleText))) heard.roleText = roleText;
    object->Release();
    return heard;
}

bool IsField(const TemplateItem &item) {
    return _wcsicmp(item.className.c_str(), L"Edit") == 0 || _wcsicmp(item.className.c_str(), L"ComboBox") == 0;
}

std::wstring FieldLabel(const DialogTemplateInfo &dialog, size_t index) {
    for (size_t i = index; i-- > 0;) {
        const TemplateItem &item = dialog.items[i];
        if (IsTextStatic(item)) {
            std::wstring label = item.text;
            const size_t mark = label.find(L'&');
            if (mark != std::wstring::npos) label.erase(mark, 1);
            return label;
        }
        if (item.style & WS_TABSTOP) break;
    }
    return std::wstring();
}
