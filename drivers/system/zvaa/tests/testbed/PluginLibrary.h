// zvaaSUI.dll as its callers see it: loaded from beside the test program, exports looked up by
// their plain names, the plug-in object created through the class factory as the driver does.
#pragma once

#include "core/PlatformRecords.h"

#include <string>

class PluginLibrary {
public:
    PluginLibrary();                                   // LoadLibraryW of zvaaSUI.dll beside this program
    explicit PluginLibrary(const std::wstring &path);  // LoadLibraryW of that file
    ~PluginLibrary();                                  // FreeLibrary

    PluginLibrary(const PluginLibrary &) = delete;
    PluginLibrary &operator=(const PluginLibrary &) = delete;

    HMODULE module() const { return m_module; }
    FARPROC proc(const char *name) const;
    template <typename F> F get(const char *name) const { return reinterpret_cast<F>(reinterpret_cast<void *>(proc(name))); }

    // DllGetClassObject(CLSID_OEMUI, IID_IClassFactory) then CreateInstance(IID_IUnknown) and
    // QueryInterface(IID_IPrintOemUI), the order the driver uses. Null on any failure; `failure`, when
    // given, then says which step failed.
    IPrintOemUI *CreatePlugin(const wchar_t **failure = nullptr) const;

private:
    HMODULE m_module;
};

// Full path of a file beside the running program.
void PathBesideProgram(const wchar_t *name, wchar_t *path, size_t cchPath);
std::wstring FileBesideProgram(const std::wstring &name);
