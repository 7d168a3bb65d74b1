#include "PrinterStateView.h"

#include <string.h>

#include "testbed/StateKeyProbe.h"

std::vector<std::pair<std::wstring, std::wstring>> ReadStateKey(const std::wstring &printer) {
    std::vector<std::pair<std::wstring, std::wstring>> values;
    const std::wstring path = StateKeyPathOf(printer);
    if (path.empty()) return values;
    for (const StateKeyValue &value : ReadStateKeyValues(path)) {
        std::wstring text;
        if (value.bytes.size() == 4) {
            LONG number;
            memcpy(&number, value.bytes.data(), sizeof number);
            text = std::to_wstring(number);
        } else {
            text = L"(" + std::to_wstring(value.bytes.size()) + L" bytes)";
        }
        values.emplace_back(value.name, text);
    }
    return values;
}

bool SetStateCounter(const std::wstring &printer, const wchar_t *valueName, DWORD value) {
    const std::wstring path = StateKeyPathOf(printer);
    return !path.empty() && WriteStateKeyValue(path, valueName, REG_DWORD, &value, sizeof value);
}
