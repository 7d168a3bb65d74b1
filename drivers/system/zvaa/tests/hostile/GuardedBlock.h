// A block of memory that ends exactly where accessible memory ends: the page after it can be neither
// read nor written, so a write or a read one byte past the block faults at once (and fails the test)
// instead of quietly damaging whatever lies behind it.
#pragma once

#include <windows.h>

#include <string.h>

class GuardedBlock {
public:
    explicit GuardedBlock(size_t bytes, BYTE fill = 0xCD) : m_bytes(bytes) {
        SYSTEM_INFO system;
        GetSystemInfo(&system);
        const size_t page = system.dwPageSize;
        const size_t pages = (bytes + page - 1) / page;
        m_base = static_cast<BYTE *>(VirtualAlloc(nullptr, (pages + 1) * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        if (!m_base) return;
        DWORD old = 0;
        VirtualProtect(m_base + pages * page, page, PAGE_NOACCESS, &old);
        m_data = m_base + pages * page - bytes;
        memset(m_data, fill, bytes);
    }
    ~GuardedBlock() {
        if (m_base) VirtualFree(m_base, 0, MEM_RELEASE);
    }
    GuardedBlock(const GuardedBlock &) = delete;
    GuardedBlock &operator=(const GuardedBlock &) = delete;

    BYTE *data() const { return m_data; }
    size_t size() const { return m_bytes; }
    template <typename T> T *as() const { return reinterpret_cast<T *>(m_data); }

private:
    BYTE *m_base = nullptr;
    BYTE *m_data = nullptr;
    size_t m_bytes;
};
