#include "testbed/PrinterStateFixture.h"

#include "testbed/PrinterEnvironment.h"
#include "testbed/StateKeyProbe.h"

#include <string.h>

namespace {

bool SetValue(const std::wstring &path, const wchar_t *name, DWORD type, LONG value) {
    return WriteStateKeyValue(path, name, type, &value, sizeof value, StateKeyOpen::kCreate);
}

}  // namespace

PrinterStateFixture::PrinterStateFixture(PrinterEnvironment &environment, const std::wstring &printer)
    : m_printer(printer), m_friendlyName(environment.DriverName() + L" " + environment.PortOf(printer)) {}

std::wstring PrinterStateFixture::KeyPath() const { return PrinterEnvironment::StateKeyPath(m_friendlyName); }

bool PrinterStateFixture::Install(LONG left, LONG right, DWORD level, LONG alignNeed) {
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(m_printer.c_str()), &printer, &defaults)) return false;
    const DWORD status = SetPrinterDataW(printer, const_cast<LPWSTR>(L"OriginalFriendlyName"), REG_SZ,
                                         reinterpret_cast<LPBYTE>(const_cast<wchar_t *>(m_friendlyName.c_str())),
                                         static_cast<DWORD>(m_friendlyName.size() * sizeof(wchar_t)));
    ClosePrinter(printer);
    if (status != ERROR_SUCCESS) return false;

    bool ok = SetBinary(L"CartLeft", left) && SetBinary(L"CartRight", right) && SetBinary(L"AlignNeed", alignNeed);
    for (const wchar_t *counter : kInkCounterNames) ok = SetDword(counter, level) && ok;
    const LONG defaults6[] = {17, 6, 17, 17, 17, 17};
    for (int i = 0; i < 6; ++i) ok = SetBinary((L"AlignCMYK_" + std::to_wstring(i)).c_str(), defaults6[i]) && ok;
    for (int i = 0; i < 4; ++i) ok = SetBinary((L"AlignCMYKcm_" + std::to_wstring(i)).c_str(), defaults6[i]) && ok;
    return ok;
}

bool PrinterStateFixture::SetBinary(const wchar_t *name, LONG value) const {
    return SetValue(KeyPath(), name, REG_BINARY, value);
}

bool PrinterStateFixture::SetDword(const wchar_t *name, DWORD value) const {
    return SetValue(KeyPath(), name, REG_DWORD, static_cast<LONG>(value));
}

bool PrinterStateFixture::Remove(const wchar_t *name) const { return DeleteStateKeyValue(KeyPath(), name); }

bool PrinterStateFixture::Read(const wchar_t *name, LONG *value) const {
    std::string bytes;
    if (!ReadStateKeyValue(KeyPath(), name, nullptr, &bytes) || bytes.size() != sizeof *value) return false;
    memcpy(value, bytes.data(), sizeof *value);
    return true;
}

LONG PrinterStateFixture::Get(const wchar_t *name, LONG missing) const {
    LONG value = 0;
    return Read(name, &value) ? value : missing;
}
