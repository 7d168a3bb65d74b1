#include "testbed/PngFile.h"

#include <objbase.h>
#include <wincodec.h>

#include <utility>

namespace {

uint32_t Crc32(const uint8_t *data, size_t size, uint32_t crc = 0) {
    static uint32_t table[256];
    static bool ready = false;
    if (!ready) {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        ready = true;
    }
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void Put32(std::vector<uint8_t> &out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v >> 24));
    out.push_back(static_cast<uint8_t>(v >> 16));
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

void Chunk(std::vector<uint8_t> &out, const char *type, const std::vector<uint8_t> &data) {
    Put32(out, static_cast<uint32_t>(data.size()));
    std::vector<uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    Put32(out, Crc32(body.data(), body.size()));
}

// A zlib stream of stored deflate blocks.
std::vector<uint8_t> StoredZlib(const std::vector<uint8_t> &raw) {
    std::vector<uint8_t> out = {0x78, 0x01};
    size_t pos = 0;
    do {
        const size_t n = raw.size() - pos > 65535 ? 65535 : raw.size() - pos;
        const bool last = pos + n == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<uint8_t>(n));
        out.push_back(static_cast<uint8_t>(n >> 8));
        out.push_back(static_cast<uint8_t>(~n));
        out.push_back(static_cast<uint8_t>(~n >> 8));
        out.insert(out.end(), raw.begin() + pos, raw.begin() + pos + n);
        pos += n;
    } while (pos < raw.size());
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    Put32(out, (b << 16) | a);
    return out;
}

template <typename T> void Release(T *&object) {
    if (object) object->Release();
    object = nullptr;
}

// The platform's own image encoder (WIC): a compressed PNG. False when it is not there or fails, so
// that the plain writer below can take over.
bool WriteCompressedPng(const std::wstring &path, int width, int height, const std::vector<uint8_t> &rgb) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IWICImagingFactory *factory = nullptr;
    IWICStream *stream = nullptr;
    IWICBitmapEncoder *encoder = nullptr;
    IWICBitmapFrameEncode *frame = nullptr;
    IPropertyBag2 *options = nullptr;
    // WIC takes blue first.
    const UINT stride = static_cast<UINT>(width) * 3;
    std::vector<BYTE> bgr(rgb.begin(), rgb.end());
    for (size_t i = 0; i + 2 < bgr.size(); i += 3) std::swap(bgr[i], bgr[i + 2]);
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    bool ok =
        SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                   reinterpret_cast<void **>(&factory))) &&
        SUCCEEDED(factory->CreateStream(&stream)) && SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
        SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) &&
        SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
        SUCCEEDED(encoder->CreateNewFrame(&frame, &options)) && SUCCEEDED(frame->Initialize(options)) &&
        SUCCEEDED(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height))) &&
        SUCCEEDED(frame->SetPixelFormat(&format)) && IsEqualGUID(format, GUID_WICPixelFormat24bppBGR) &&
        SUCCEEDED(frame->WritePixels(static_cast<UINT>(height), stride, static_cast<UINT>(bgr.size()), bgr.data())) &&
        SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
    Release(options);
    Release(frame);
    Release(encoder);
    Release(stream);
    Release(factory);
    if (SUCCEEDED(com)) CoUninitialize();
    return ok;
}

}  // namespace

bool WritePng(const std::wstring &path, int width, int height, const std::vector<uint8_t> &rgb) {
    if (width <= 0 || height <= 0 || rgb.size() != static_cast<size_t>(width) * height * 3) return false;
    if (WriteCompressedPng(path, width, height, rgb)) return true;
    std::vector<uint8_t> raw;
    raw.reserve((static_cast<size_t>(width) * 3 + 1) * height);
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);  // no filter
        raw.insert(raw.end(), rgb.begin() + static_cast<size_t>(y) * width * 3,
                   rgb.begin() + static_cast<size_t>(y + 1) * width * 3);
    }
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<uint8_t> header;
    Put32(header, static_cast<uint32_t>(width));
    Put32(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, truecolour
    Chunk(png, "IHDR", header);
    Chunk(png, "IDAT", StoredZlib(raw));
    Chunk(png, "IEND", {});

    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, png.data(), static_cast<DWORD>(png.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == png.size();
}

std::vector<uint8_t> ReadRgbPixels(HDC dc, int x, int y, int width, int height) {
    std::vector<uint8_t> rgb;
    if (width <= 0 || height <= 0) return rgb;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (memory && dib && bits) {
        HGDIOBJ old = SelectObject(memory, dib);
        BitBlt(memory, 0, 0, width, height, dc, x, y, SRCCOPY);
        GdiFlush();
        const int stride = ((width * 3) + 3) & ~3;
        rgb.resize(static_cast<size_t>(width) * height * 3);
        for (int row = 0; row < height; ++row) {
            const uint8_t *src = static_cast<const uint8_t *>(bits) + static_cast<size_t>(row) * stride;
            uint8_t *dst = &rgb[static_cast<size_t>(row) * width * 3];
            for (int col = 0; col < width; ++col) {
                dst[col * 3 + 0] = src[col * 3 + 2];
                dst[col * 3 + 1] = src[col * 3 + 1];
                dst[col * 3 + 2] = src[col * 3 + 0];
            }
        }
        SelectObject(memory, old);
    }
    if (dib) DeleteObject(dib);
    if (memory) DeleteDC(memory);
    return rgb;
}

bool SaveDcRegionPng(HDC dc, int x, int y, int width, int height, const std::wstring &path) {
    const std::vector<uint8_t> rgb = ReadRgbPixels(dc, x, y, width, height);
    return !rgb.empty() && WritePng(path, width, height, rgb);
}

bool SaveWindowPng(HWND window, const std::wstring &path) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT r;
    if (!GetWindowRect(window, &r)) return false;
    HDC dc = GetWindowDC(window);
    if (!dc) return false;
    const bool ok = SaveDcRegionPng(dc, 0, 0, r.right - r.left, r.bottom - r.top, path);
    ReleaseDC(window, dc);
    return ok;
}

bool SaveBitmapPng(HBITMAP bitmap, int scale, const std::wstring &path) {
    BITMAP bm = {};
    if (!bitmap || !GetObjectW(bitmap, sizeof bm, &bm) || scale < 1) return false;
    HDC screen = GetDC(nullptr);
    HDC source = CreateCompatibleDC(screen);
    HDC target = CreateCompatibleDC(screen);
    HBITMAP big = CreateCompatibleBitmap(screen, bm.bmWidth * scale, bm.bmHeight * scale);
    HGDIOBJ oldSource = SelectObject(source, bitmap);
    HGDIOBJ oldTarget = SelectObject(target, big);
    StretchBlt(target, 0, 0, bm.bmWidth * scale, bm.bmHeight * scale, source, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    const bool ok = SaveDcRegionPng(target, 0, 0, bm.bmWidth * scale, bm.bmHeight * scale, path);
    SelectObject(source, oldSource);
    SelectObject(target, oldTarget);
    DeleteObject(big);
    DeleteDC(source);
    DeleteDC(target);
    ReleaseDC(nullptr, screen);
    return ok;
}
