#include "ui/AccessibleObject.h"

#include <new>

#include "core/Owned.h"

namespace {

volatile LONG g_live = 0;

// The platform's accessibility library and the automation library its strings come from, both
// loaded on a reader's first question rather than imported, so that the plug-in starts as fast as
// before for everyone who never runs a reader.
typedef HRESULT(WINAPI *CreateStandardFunction)(HWND, LONG, REFIID, void **);
typedef LRESULT(WINAPI *LresultFunction)(REFIID, WPARAM, LPUNKNOWN);
typedef BSTR(WINAPI *AllocStringFunction)(const OLECHAR *);

struct AccessibilityLibrary {
    UniqueModule oleacc, oleaut;
    CreateStandardFunction createStandard = nullptr;
    LresultFunction lresultFromObject = nullptr;
    AllocStringFunction allocString = nullptr;

    bool Load() {
        oleacc.reset(LoadLibraryW(L"oleacc.dll"));
        oleaut.reset(LoadLibraryW(L"oleaut32.dll"));
        if (!oleacc || !oleaut) return false;
        createStandard = reinterpret_cast<CreateStandardFunction>(
            reinterpret_cast<void *>(GetProcAddress(oleacc.get(), "CreateStdAccessibleObject")));
        lresultFromObject = reinterpret_cast<LresultFunction>(
            reinterpret_cast<void *>(GetProcAddress(oleacc.get(), "LresultFromObject")));
        allocString = reinterpret_cast<AllocStringFunction>(
            reinterpret_cast<void *>(GetProcAddress(oleaut.get(), "SysAllocString")));
        return createStandard && lresultFromObject && allocString;
    }
};

bool IsSelf(const VARIANT &child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

class ControlAccessible final : public IAccessible, public IOleWindow {
public:
    ControlAccessible(HWND control, DescribeControl describe, const void *context)
        : m_control(control), m_describe(describe), m_context(context) {
        InterlockedIncrement(&g_live);
    }
    ~ControlAccessible() {
        if (m_standard) m_standard->Release();
        InterlockedDecrement(&g_live);
    }

    bool Connect() {
        if (!m_library.Load()) return false;
        void *standard = nullptr;
        if (FAILED(m_library.createStandard(m_control, OBJID_CLIENT, __uuidof(IAccessible), &standard))) return false;
        m_standard = static_cast<IAccessible *>(standard);
        return true;
    }
    void Disconnect() {
        if (!m_standard) return;
        m_standard->Release();
        m_standard = nullptr;
        // Clients in other processes let go of this object now, not when they next ask.
        CoDisconnectObject(static_cast<IAccessible *>(this), 0);
    }
    LRESULT Result(WPARAM wParam) {
        return m_standard ? m_library.lresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible *>(this))
                          : 0;
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (IsEqualIID(riid, __uuidof(IUnknown)) || IsEqualIID(riid, __uuidof(IDispatch)) ||
            IsEqualIID(riid, __uuidof(IAccessible)))
            *ppv = static_cast<IAccessible *>(this);
        else if (IsEqualIID(riid, __uuidof(IOleWindow)))
            *ppv = static_cast<IOleWindow *>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG refs = InterlockedDecrement(&m_refs);
        if (refs == 0) {
            this->~ControlAccessible();
            HeapFree(GetProcessHeap(), 0, this);
        }
        return static_cast<ULONG>(refs);
    }

    // IDispatch: readers call the interface itself; by name the object answers nothing, rather than
    // the standard object's answers, which would contradict its own.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **info) override {
        if (info) *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *, EXCEPINFO *,
                                     UINT *) override {
        return E_NOTIMPL;
    }

    // IOleWindow: which window the object stands for.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND *window) override {
        if (!window) return E_POINTER;
        *window = m_standard ? m_control : nullptr;
        return m_standard ? S_OK : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IAccessible: the four answers of its own, read anew each time.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR *name) override {
        SpokenControl spoken;
        if (!Describe(child, &spoken) || !spoken.name[0]) return Standard() ? m_standard->get_accName(child, name) : Gone();
        return Text(spoken.name, name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR *value) override {
        SpokenControl spoken;
        if (!Describe(child, &spoken) || !spoken.value[0]) return Standard() ? m_standard->get_accValue(child, value) : Gone();
        return Text(spoken.value, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR *text) override {
        SpokenControl spoken;
        if (!Describe(child, &spoken) || !spoken.description[0])
            return Standard() ? m_standard->get_accDescription(child, text) : Gone();
        return Text(spoken.description, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *role) override {
        SpokenControl spoken;
        if (!Describe(child, &spoken) || spoken.role == 0) return Standard() ? m_standard->get_accRole(child, role) : Gone();
        if (!role) return E_POINTER;
        role->vt = VT_I4;
        role->lVal = spoken.role;
        return S_OK;
    }

    // IAccessible: the rest as the platform answers it for the control.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch **parent) override {
        return Standard() ? m_standard->get_accParent(parent) : Gone();
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG *count) override {
        return Standard() ? m_standard->get_accChildCount(count) : Gone();
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch **object) override {
        return Standard() ? m_standard->get_accChild(child, object) : Gone();
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT *state) override {
        return Standard() ? m_standard->get_accState(child, state) : Gone();
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR *help) override {
        return Standard() ? m_standard->get_accHelp(child, help) : Gone();
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR *file, VARIANT child, LONG *topic) override {
        return Standard() ? m_standard->get_accHelpTopic(file, child, topic) : Gone();
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR *shortcut) override {
        return Standard() ? m_standard->get_accKeyboardShortcut(child, shortcut) : Gone();
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT *child) override {
        return Standard() ? m_standard->get_accFocus(child) : Gone();
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT *children) override {
        return Standard() ? m_standard->get_accSelection(children) : Gone();
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR *action) override {
        return Standard() ? m_standard->get_accDefaultAction(child, action) : Gone();
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        return Standard() ? m_standard->accSelect(flags, child) : Gone();
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG *x, LONG *y, LONG *width, LONG *height, VARIANT child) override {
        return Standard() ? m_standard->accLocation(x, y, width, height, child) : Gone();
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT *end) override {
        return Standard() ? m_standard->accNavigate(direction, start, end) : Gone();
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT *child) override {
        return Standard() ? m_standard->accHitTest(x, y, child) : Gone();
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return Standard() ? m_standard->accDoDefaultAction(child) : Gone();
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    bool Standard() const { return m_standard != nullptr; }
    static HRESULT Gone() { return CO_E_OBJNOTCONNECTED; }

    // Only while the window lives: a destroyed window's handle may already name another.
    bool Describe(const VARIANT &child, SpokenControl *spoken) const {
        *spoken = SpokenControl{};
        return m_standard && IsSelf(child) && m_describe(m_control, m_context, spoken);
    }
    HRESULT Text(const WCHAR *text, BSTR *out) const {
        if (!out) return E_POINTER;
        *out = m_library.allocString(text);
        return *out ? S_OK : E_OUTOFMEMORY;
    }

    volatile LONG m_refs = 1;
    HWND m_control;
    DescribeControl m_describe;
    const void *m_context;
    AccessibilityLibrary m_library;
    IAccessible *m_standard = nullptr;
};

}  // namespace

IAccessible *CreateControlAccessible(HWND control, DescribeControl describe, const void *context) {
    if (!describe) return nullptr;
    void *memory = HeapAlloc(GetProcessHeap(), 0, sizeof(ControlAccessible));
    if (!memory) return nullptr;
    auto *object = new (memory) ControlAccessible(control, describe, context);
    if (!object->Connect()) {
        object->Release();
        return nullptr;
    }
    return object;
}

LRESULT AccessibleObjectResult(IAccessible *object, WPARAM wParam) {
    return object ? static_cast<ControlAccessible *>(object)->Result(wParam) : 0;
}

void DisconnectControlAccessible(IAccessible *object) {
    if (object) static_cast<ControlAccessible *>(object)->Disconnect();
}

LONG LiveAccessibleObjects() { return g_live; }
