// A state key's values as the hostile cases see them: read whole (type and bytes, whatever they are),
// written as given, and the damages a registry can hold in place of a four-byte value.
#pragma once

#include <windows.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "testbed/StateKeyProbe.h"

using StateValue = std::pair<DWORD, std::string>;  // registry type and bytes
using StateSnapshot = std::map<std::wstring, StateValue>;

// Every value of the HKLM key at `path`; empty when there is no key.
inline StateSnapshot ReadStateKey(const std::wstring &path) {
    StateSnapshot values;
    for (const StateKeyValue &value : ReadStateKeyValues(path)) values[value.name] = {value.type, value.bytes};
    return values;
}

inline void WriteStateValue(const std::wstring &path, const std::wstring &name, const StateValue &value) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_SET_VALUE | KEY_WOW64_32KEY, &key));
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(key, name.c_str(), 0, value.first,
                                            reinterpret_cast<const BYTE *>(value.second.data()),
                                            static_cast<DWORD>(value.second.size())));
    RegCloseKey(key);
}

// What a damaged registry holds in place of a four-byte value: 0, 3, 5 and 1,000 bytes; a number of no
// bytes; a text, several texts, an eight-byte number.
inline std::vector<StateValue> DamagedStateValues() {
    const std::wstring text = L"550000000";
    const std::wstring texts = std::wstring(L"1\0002\0\0", 6);
    return {{REG_BINARY, std::string()},
            {REG_BINARY, std::string("\x03\x00\x00", 3)},
            {REG_BINARY, std::string("\x03\x00\x00\x00\x07", 5)},
            {REG_BINARY, std::string(1000, '\x05')},
            {REG_DWORD, std::string()},
            {REG_SZ, std::string(reinterpret_cast<const char *>(text.c_str()), (text.size() + 1) * 2)},
            {REG_MULTI_SZ, std::string(reinterpret_cast<const char *>(texts.data()), texts.size() * 2)},
            {REG_QWORD, std::string("\x01\x00\x00\x00\x00\x00\x00\x80", 8)}};
}
