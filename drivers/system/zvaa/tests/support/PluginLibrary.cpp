#include "support/PluginLibrary.h"

#include <strsafe.h>

void PathBesideProgram(const wchar_t *name, wchar_t *path, size_t cchPath) {
    path[0] = L'\0';
    const DWORD length = GetModuleFileNameW(nullptr, path, (DWORD)cchPath);
    if (length == 0 || length >= cchPath) return;
    wchar_t *slash = wcsrchr(path, L'\\');
    if (slash) slash[1] = L'\0';
    StringCchCatW(path, cchPath, name);
}

PluginLibrary::PluginLibrary() {
    wchar_t path[MAX_PATH];
    PathBesideProgram(L"zvaaSUI.dll", path, MAX_PATH);
    m_module = LoadLibraryW(path);
}

PluginLibrary::~PluginLibrary() {
    if (m_module) FreeLibrary(m_module);
}

FARPROC PluginLibrary::proc(const char *name) const { return m_module ? GetProcAddress(m_module, name) : nullptr; }

IPrintOemUI *PluginLibrary::CreatePlugin() const {
    auto getClassObject = get<HRESULT(WINAPI *)(REFCLSID, REFIID, void **)>("DllGetClassObject");
    if (!getClassObject) return nullptr;
    IClassFactory *factory = nullptr;
    if (FAILED(getClassObject(CLSID_OEMUI, IID_IClassFactory, reinterpret_cast<void **>(&factory)))) return nullptr;
    IUnknown *unknown = nullptr;
    const HRESULT created = factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void **>(&unknown));
    factory->Release();
    if (FAILED(created)) return nullptr;
    IPrintOemUI *plugin = nullptr;
    unknown->QueryInterface(IID_IPrintOemUI, reinterpret_cast<void **>(&plugin));
    unknown->Release();
    return plugin;
}
