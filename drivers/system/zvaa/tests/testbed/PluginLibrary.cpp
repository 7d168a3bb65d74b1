#include "testbed/PluginLibrary.h"

#include <strsafe.h>

void PathBesideProgram(const wchar_t *name, wchar_t *path, size_t cchPath) {
    path[0] = L'\0';
    const DWORD length = GetModuleFileNameW(nullptr, path, (DWORD)cchPath);
    if (length == 0 || length >= cchPath) return;
    wchar_t *slash = wcsrchr(path, L'\\');
    if (slash) slash[1] = L'\0';
    StringCchCatW(path, cchPath, name);
}

std::wstring FileBesideProgram(const std::wstring &name) {
    wchar_t path[MAX_PATH];
    PathBesideProgram(name.c_str(), path, MAX_PATH);
    return path[0] ? std::wstring(path) : name;
}

PluginLibrary::PluginLibrary() : PluginLibrary(FileBesideProgram(L"zvaaSUI.dll")) {}

PluginLibrary::PluginLibrary(const std::wstring &path) : m_module(LoadLibraryW(path.c_str())) {}

PluginLibrary::~PluginLibrary() {
    if (m_module) FreeLibrary(m_module);
}

FARPROC PluginLibrary::proc(const char *name) const { return m_module ? GetProcAddress(m_module, name) : nullptr; }

IPrintOemUI *PluginLibrary::CreatePlugin(const wchar_t **failure) const {
    const wchar_t *ignored = nullptr;
    const wchar_t *&step = failure ? *failure : ignored;
    auto getClassObject = get<HRESULT(WINAPI *)(REFCLSID, REFIID, void **)>("DllGetClassObject");
    IClassFactory *factory = nullptr;
    if (!getClassObject ||
        FAILED(getClassObject(CLSID_OEMUI, IID_IClassFactory, reinterpret_cast<void **>(&factory))) || !factory) {
        step = L"DllGetClassObject gave no class factory";
        return nullptr;
    }
    IUnknown *unknown = nullptr;
    const HRESULT created = factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void **>(&unknown));
    factory->Release();
    if (FAILED(created) || !unknown) {
        step = L"the class factory created no object";
        return nullptr;
    }
    IPrintOemUI *plugin = nullptr;
    unknown->QueryInterface(IID_IPrintOemUI, reinterpret_cast<void **>(&plugin));
    unknown->Release();
    if (!plugin) step = L"the object does not answer IPrintOemUI";
    return plugin;
}
