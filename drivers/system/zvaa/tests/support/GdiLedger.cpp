#include "support/GdiLedger.h"

namespace {

decltype(&CreateCompatibleDC) realCreateCompatibleDC;
decltype(&CreateDCW) realCreateDCW;
decltype(&DeleteDC) realDeleteDC;
decltype(&GetDC) realGetDC;
decltype(&GetWindowDC) realGetWindowDC;
decltype(&ReleaseDC) realReleaseDC;
decltype(&CreateFontW) realCreateFontW;
decltype(&CreateFontIndirectW) realCreateFontIndirectW;
decltype(&CreateBitmap) realCreateBitmap;
decltype(&CreateCompatibleBitmap) realCreateCompatibleBitmap;
decltype(&CreateDIBSection) realCreateDIBSection;
decltype(&LoadImageW) realLoadImageW;
decltype(&LoadBitmapW) realLoadBitmapW;
decltype(&CreateSolidBrush) realCreateSolidBrush;
decltype(&CreatePen) realCreatePen;
decltype(&DeleteObject) realDeleteObject;

template <typename H> H Acquired(const char *kind, H handle) {
    if (handle) HandleLedger::NoteAcquired(kind, handle);
    return handle;
}

HDC WINAPI CountCreateCompatibleDC(HDC dc) { return Acquired(LedgerKind::kDeviceContext, realCreateCompatibleDC(dc)); }
HDC WINAPI CountCreateDCW(LPCWSTR driver, LPCWSTR device, LPCWSTR port, const DEVMODEW *dm) {
    return Acquired(LedgerKind::kDeviceContext, realCreateDCW(driver, device, port, dm));
}
BOOL WINAPI CountDeleteDC(HDC dc) {
    const BOOL ok = realDeleteDC(dc);
    if (ok) HandleLedger::NoteReleased(LedgerKind::kDeviceContext, dc);
    return ok;
}
HDC WINAPI CountGetDC(HWND w) { return Acquired(LedgerKind::kWindowDc, realGetDC(w)); }
HDC WINAPI CountGetWindowDC(HWND w) { return Acquired(LedgerKind::kWindowDc, realGetWindowDC(w)); }
int WINAPI CountReleaseDC(HWND w, HDC dc) {
    const int ok = realReleaseDC(w, dc);
    if (ok) HandleLedger::NoteReleased(LedgerKind::kWindowDc, dc);
    return ok;
}
HFONT WINAPI CountCreateFontW(int h, int w, int e, int o, int weight, DWORD i, DWORD u, DWORD s, DWORD cs, DWORD op,
                              DWORD cp, DWORD q, DWORD pf, LPCWSTR face) {
    return Acquired(LedgerKind::kGdiObject, realCreateFontW(h, w, e, o, weight, i, u, s, cs, op, cp, q, pf, face));
}
HFONT WINAPI CountCreateFontIndirectW(const LOGFONTW *lf) {
    return Acquired(LedgerKind::kGdiObject, realCreateFontIndirectW(lf));
}
HBITMAP WINAPI CountCreateBitmap(int w, int h, UINT planes, UINT bits, const void *data) {
    return Acquired(LedgerKind::kGdiObject, realCreateBitmap(w, h, planes, bits, data));
}
HBITMAP WINAPI CountCreateCompatibleBitmap(HDC dc, int w, int h) {
    return Acquired(LedgerKind::kGdiObject, realCreateCompatibleBitmap(dc, w, h));
}
HBITMAP WINAPI CountCreateDIBSection(HDC dc, const BITMAPINFO *info, UINT usage, void **bits, HANDLE section,
                                     DWORD offset) {
    return Acquired(LedgerKind::kGdiObject, realCreateDIBSection(dc, info, usage, bits, section, offset));
}
HANDLE WINAPI CountLoadImageW(HINSTANCE module, LPCWSTR name, UINT type, int cx, int cy, UINT flags) {
    HANDLE image = realLoadImageW(module, name, type, cx, cy, flags);
    // Only bitmaps are GDI objects; shared icons and cursors are not the caller's to free.
    return type == IMAGE_BITMAP ? Acquired(LedgerKind::kGdiObject, image) : image;
}
HBITMAP WINAPI CountLoadBitmapW(HINSTANCE module, LPCWSTR name) {
    return Acquired(LedgerKind::kGdiObject, realLoadBitmapW(module, name));
}
HBRUSH WINAPI CountCreateSolidBrush(COLORREF c) { return Acquired(LedgerKind::kGdiObject, realCreateSolidBrush(c)); }
HPEN WINAPI CountCreatePen(int style, int width, COLORREF c) {
    return Acquired(LedgerKind::kGdiObject, realCreatePen(style, width, c));
}
BOOL WINAPI CountDeleteObject(HGDIOBJ object) {
    const BOOL ok = realDeleteObject(object);
    if (ok) HandleLedger::NoteReleased(LedgerKind::kGdiObject, object);
    return ok;
}

}  // namespace

void TrackGdiObjects(HandleLedger &ledger) {
    ledger.Hook("gdi32.dll", "CreateCompatibleDC", &CountCreateCompatibleDC, &realCreateCompatibleDC);
    ledger.Hook("gdi32.dll", "CreateDCW", &CountCreateDCW, &realCreateDCW);
    ledger.Hook("gdi32.dll", "DeleteDC", &CountDeleteDC, &realDeleteDC);
    ledger.Hook("user32.dll", "GetDC", &CountGetDC, &realGetDC);
    ledger.Hook("user32.dll", "GetWindowDC", &CountGetWindowDC, &realGetWindowDC);
    ledger.Hook("user32.dll", "ReleaseDC", &CountReleaseDC, &realReleaseDC);
    ledger.Hook("gdi32.dll", "CreateFontW", &CountCreateFontW, &realCreateFontW);
    ledger.Hook("gdi32.dll", "CreateFontIndirectW", &CountCreateFontIndirectW, &realCreateFontIndirectW);
    ledger.Hook("gdi32.dll", "CreateBitmap", &CountCreateBitmap, &realCreateBitmap);
    ledger.Hook("gdi32.dll", "CreateCompatibleBitmap", &CountCreateCompatibleBitmap, &realCreateCompatibleBitmap);
    ledger.Hook("gdi32.dll", "CreateDIBSection", &CountCreateDIBSection, &realCreateDIBSection);
    ledger.Hook("user32.dll", "LoadImageW", &CountLoadImageW, &realLoadImageW);
    ledger.Hook("user32.dll", "LoadBitmapW", &CountLoadBitmapW, &realLoadBitmapW);
    ledger.Hook("gdi32.dll", "CreateSolidBrush", &CountCreateSolidBrush, &realCreateSolidBrush);
    ledger.Hook("gdi32.dll", "CreatePen", &CountCreatePen, &realCreatePen);
    ledger.Hook("gdi32.dll", "DeleteObject", &CountDeleteObject, &realDeleteObject);
}
