// Replaces one imported function of a loaded module for the lifetime of the patch object, by
// rewriting the module's import address table. The module keeps calling through its table, so
// it meets the replacement wherever it calls that import. Restored on destruction.
#pragma once

#include <windows.h>

#include <vector>

class ImportPatch {
public:
    // Imports by name; `dll` is matched without regard to case (a module may import one DLL
    // through several descriptors, and every match is patched).
    ImportPatch(HMODULE module, const char *dll, const char *function, const void *replacement);
    // Imports by ordinal.
    ImportPatch(HMODULE module, const char *dll, WORD ordinal, const void *replacement);
    ~ImportPatch();

    ImportPatch(const ImportPatch &) = delete;
    ImportPatch &operator=(const ImportPatch &) = delete;

    // How many table slots were rewritten; 0 means the module does not import the function.
    size_t slots() const { return m_slots.size(); }
    // The function the module called before the patch, to chain to.
    template <typename F> F original() const { return reinterpret_cast<F>(const_cast<void *>(m_original)); }

private:
    void Apply(HMODULE module, const char *dll, const char *function, WORD ordinal, const void *replacement);
    std::vector<const void **> m_slots;
    const void *m_original = nullptr;
};
