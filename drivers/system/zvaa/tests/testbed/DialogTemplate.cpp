#include "testbed/DialogTemplate.h"

namespace {

class Reader {
public:
    Reader(const BYTE *data, size_t size) : m_data(data), m_size(size) {}
    bool ok() const { return m_ok; }
    WORD Word() {
        WORD v = 0;
        Take(&v, sizeof v);
        return v;
    }
    DWORD Dword() {
        DWORD v = 0;
        Take(&v, sizeof v);
        return v;
    }
    BYTE Byte() {
        BYTE v = 0;
        Take(&v, sizeof v);
        return v;
    }
    std::wstring String() {
        std::wstring s;
        for (WORD c = Word(); m_ok && c != 0; c = Word()) s.push_back(static_cast<wchar_t>(c));
        return s;
    }
    // A string or 0xFFFF followed by an ordinal, which `names` turns into text.
    std::wstring StringOrOrdinal(bool classNames) {
        const WORD first = Word();
        if (first == 0) return std::wstring();
        if (first == 0xFFFF) {
            const WORD ordinal = Word();
            if (classNames) {
                switch (ordinal) {
                case 0x80: return L"Button";
                case 0x81: return L"Edit";
                case 0x82: return L"Static";
                case 0x83: return L"ListBox";
                case 0x84: return L"ScrollBar";
                case 0x85: return L"ComboBox";
                }
            }
            return L"#" + std::to_wstring(ordinal);
        }
        std::wstring s(1, static_cast<wchar_t>(first));
        for (WORD c = Word(); m_ok && c != 0; c = Word()) s.push_back(static_cast<wchar_t>(c));
        return s;
    }
    void AlignDword() { m_pos = (m_pos + 3) & ~static_cast<size_t>(3); }
    void Skip(size_t n) { m_pos += n; }

private:
    void Take(void *dst, size_t n) {
        if (m_pos + n > m_size) {
            m_ok = false;
            memset(dst, 0, n);
            return;
        }
        memcpy(dst, m_data + m_pos, n);
        m_pos += n;
    }
    const BYTE *m_data;
    size_t m_size;
    size_t m_pos = 0;
    bool m_ok = true;
};

}  // namespace

const TemplateItem *DialogTemplateInfo::Find(DWORD id) const {
    for (const TemplateItem &item : items)
        if (item.id == id) return &item;
    return nullptr;
}

bool ReadDialogTemplate(HMODULE module, UINT id, DialogTemplateInfo *out) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5) /* RT_DIALOG */);
    if (!found) return false;
    HGLOBAL loaded = LoadResource(module, found);
    const BYTE *data = loaded ? static_cast<const BYTE *>(LockResource(loaded)) : nullptr;
    if (!data) return false;
    Reader r(data, SizeofResource(module, found));

    DialogTemplateInfo info;
    const WORD version = r.Word();
    const WORD signature = r.Word();
    info.extended = version == 1 && signature == 0xFFFF;
    WORD count = 0;
    if (info.extended) {
        r.Dword();  // help id
        info.exStyle = r.Dword();
        info.style = r.Dword();
    } else {
        info.style = MAKELONG(version, signature);
        info.exStyle = r.Dword();
    }
    count = r.Word();
    info.x = static_cast<short>(r.Word());
    info.y = static_cast<short>(r.Word());
    info.cx = static_cast<short>(r.Word());
    info.cy = static_cast<short>(r.Word());
    r.StringOrOrdinal(false);  // menu
    r.StringOrOrdinal(false);  // class
    info.caption = r.String();
    if (info.style & (DS_SETFONT | DS_SHELLFONT)) {
        info.pointSize = r.Word();
        if (info.extended) {
            info.weight = r.Word();
            info.italic = r.Byte();
            info.charset = r.Byte();
        }
        info.face = r.String();
    }
    for (WORD i = 0; i < count && r.ok(); ++i) {
        r.AlignDword();
        TemplateItem item;
        if (info.extended) {
            r.Dword();  // help id
            item.exStyle = r.Dword();
            item.style = r.Dword();
        } else {
            item.style = r.Dword();
            item.exStyle = r.Dword();
        }
        item.x = static_cast<short>(r.Word());
        item.y = static_cast<short>(r.Word());
        item.cx = static_cast<short>(r.Word());
        item.cy = static_cast<short>(r.Word());
        item.id = info.extended ? r.Dword() : r.Word();
        item.className = r.StringOrOrdinal(true);
        item.text = r.StringOrOrdinal(false);
        const WORD extra = r.Word();
        r.Skip(extra);
        info.items.push_back(item);
    }
    if (!r.ok()) return false;
    *out = info;
    return true;
}
