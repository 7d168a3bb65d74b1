#include "testbed/ImportPatch.h"

#include <string.h>

namespace {

void WriteSlot(const void **slot, const void *value) {
    DWORD old = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
    *slot = value;
    DWORD ignored = 0;
    VirtualProtect(slot, sizeof *slot, old, &ignored);
}

}  // namespace

ImportPatch::ImportPatch(HMODULE module, const char *dll, const char *function, const void *replacement) {
    Apply(module, dll, function, 0, replacement);
}

ImportPatch::ImportPatch(HMODULE module, const char *dll, WORD ordinal, const void *replacement) {
    Apply(module, dll, nullptr, ordinal, replacement);
}

ImportPatch::~ImportPatch() {
    for (const void **slot : m_slots) WriteSlot(slot, m_original);
}

void ImportPatch::Apply(HMODULE module, const char *dll, const char *function, WORD ordinal,
                        const void *replacement) {
    auto *base = reinterpret_cast<BYTE *>(module);
    auto *dos = reinterpret_cast<IMAGE_DOS_HEADER *>(base);
    auto *nt = reinterpret_cast<IMAGE_NT_HEADERS *>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY &dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!dir.VirtualAddress) return;

    for (auto *desc = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR *>(base + dir.VirtualAddress); desc->Name; ++desc) {
        if (lstrcmpiA(reinterpret_cast<const char *>(base + desc->Name), dll) != 0) continue;
        auto *names = reinterpret_cast<IMAGE_THUNK_DATA *>(
            base + (desc->OriginalFirstThunk ? desc->OriginalFirstThunk : desc->FirstThunk));
        auto *table = reinterpret_cast<IMAGE_THUNK_DATA *>(base + desc->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++table) {
            bool match;
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
                match = !function && IMAGE_ORDINAL(names->u1.Ordinal) == ordinal;
            } else {
                auto *byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME *>(base + names->u1.AddressOfData);
                match = function && strcmp(reinterpret_cast<const char *>(byName->Name), function) == 0;
            }
            if (!match) continue;
            auto **slot = reinterpret_cast<const void **>(&table->u1.Function);
            if (!m_original) m_original = *slot;
            m_slots.push_back(slot);
            WriteSlot(slot, replacement);
        }
    }
}
