#include "core/OemPrivateDevmode.h"

#include <string.h>

namespace {

constexpr DWORD kSectionSize = sizeof(OemPrivateDevmode);

void WriteHeader(OemPrivateDevmode *section) {
    section->header.dwSize = kSectionSize;
    section->header.dwSignature = kOemSignature;
    section->header.dwVersion = kOemVersion;
}

}  // namespace

bool ConvertOemDevmode(const OemPrivateDevmode *in, OemPrivateDevmode *out) {
    if (!in || !out) return false;

    if (in->header.dwSignature == out->header.dwSignature) {
        out->OemUiValue = 0;
        DWORD count = in->header.dwSize < out->header.dwSize ? in->header.dwSize : out->header.dwSize;
        if (count > kSectionSize) count = kSectionSize;
        memmove(out, in, count);
        // A section too short to hold the whole value holds none of it: a part is not a setting.
        if (count < kSectionSize) out->OemUiValue = 0;
    } else {
        out->OemUiValue = 0;
        out->header.dwSignature = kOemSignature;
    }
    out->header.dwSize = kSectionSize;
    out->header.dwVersion = kOemVersion;
    return true;
}

bool ValidateOemDevmode(OemPrivateDevmode *section) {
    if (!section) return false;
    WriteHeader(section);
    if (section->OemUiValue > kOemUiValueMax) section->OemUiValue = 0;
    return true;
}

HRESULT OemDevMode(DWORD mode, POEMDMPARAM param) {
    if (!param || mode < OEMDM_SIZE || mode > OEMDM_MERGE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }
    if (mode == OEMDM_SIZE) {
        param->cbBufSize = kSectionSize;
        return S_OK;
    }

    auto *out = static_cast<OemPrivateDevmode *>(param->pOEMDMOut);
    // Every other mode writes the whole section, so the driver's buffer must hold it.
    if (out && param->cbBufSize < kSectionSize) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return E_FAIL;
    }
    const auto *in = static_cast<const OemPrivateDevmode *>(param->pOEMDMIn);

    switch (mode) {
    case OEMDM_DEFAULT:
        if (!out) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return E_FAIL;
        }
        out->OemUiValue = 0;
        WriteHeader(out);
        break;
    case OEMDM_CONVERT:
        ConvertOemDevmode(in, out);
        break;
    case OEMDM_MERGE:
        if (ConvertOemDevmode(in, out)) ValidateOemDevmode(out);
        break;
    }
    return S_OK;
}
