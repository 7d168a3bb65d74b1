// Owners of what the plug-in takes from the platform: registry keys, printer handles, files, find
// handles, memory blocks, device contexts, GDI objects and loaded libraries. Each gives back what it
// holds when it goes out of scope, so every path out of an operation releases the same things; none
// throws.
#pragma once

#include <windows.h>
#include <winspool.h>

// One handle or block, released by Traits::Close unless it is Traits::Empty().
template <typename Traits> class Owned {
public:
    using Handle = typename Traits::Handle;

    Owned() : m_handle(Traits::Empty()) {}
    explicit Owned(Handle handle) : m_handle(handle) {}
    ~Owned() { reset(); }
    Owned(Owned &&other) : m_handle(other.release()) {}
    Owned &operator=(Owned &&other) {
        if (this != &other) reset(other.release());
        return *this;
    }
    Owned(const Owned &) = delete;
    Owned &operator=(const Owned &) = delete;

    Handle get() const { return m_handle; }
    Handle operator->() const { return m_handle; }
    explicit operator bool() const { return m_handle != Traits::Empty(); }

    // For the platform's out parameters: releases what is held and hands out the empty slot.
    Handle *put() {
        reset();
        return &m_handle;
    }
    // The caller takes the handle over; the owner is left empty.
    Handle release() {
        const Handle handle = m_handle;
        m_handle = Traits::Empty();
        return handle;
    }
    void reset(Handle handle = Traits::Empty()) {
        if (m_handle != Traits::Empty()) Traits::Close(m_handle);
        m_handle = handle;
    }

private:
    Handle m_handle;
};

namespace owned_traits {

struct Key {
    using Handle = HKEY;
    static HKEY Empty() { return nullptr; }
    static void Close(HKEY key) { RegCloseKey(key); }
};

struct Printer {
    using Handle = HANDLE;
    static HANDLE Empty() { return nullptr; }
    static void Close(HANDLE printer) { ClosePrinter(printer); }
};

struct File {
    using Handle = HANDLE;
    static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE file) { CloseHandle(file); }
};

struct Find {
    using Handle = HANDLE;
    static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE search) { FindClose(search); }
};

template <typename T> struct GlobalBlock {
    using Handle = T *;
    static T *Empty() { return nullptr; }
    static void Close(T *block) { GlobalFree(block); }
};

template <typename T> struct HeapBlock {
    using Handle = T *;
    static T *Empty() { return nullptr; }
    static void Close(T *block) { HeapFree(GetProcessHeap(), 0, block); }
};

struct Dc {
    using Handle = HDC;
    static HDC Empty() { return nullptr; }
    static void Close(HDC dc) { DeleteDC(dc); }
};

struct Module {
    using Handle = HMODULE;
    static HMODULE Empty() { return nullptr; }
    static void Close(HMODULE module) { FreeLibrary(module); }
};

template <typename Object> struct Gdi {
    using Handle = Object;
    static Object Empty() { return nullptr; }
    static void Close(Object object) { DeleteObject(object); }
};

}  // namespace owned_traits

using UniqueKey = Owned<owned_traits::Key>;
using UniquePrinter = Owned<owned_traits::Printer>;
using UniqueFile = Owned<owned_traits::File>;
using UniqueFind = Owned<owned_traits::Find>;
// A fixed block from GlobalAlloc, seen as a T.
template <typename T> using UniqueGlobal = Owned<owned_traits::GlobalBlock<T>>;
// A block of the process heap, seen as a T: the spooler's records the plug-in fetches, lists.
template <typename T> using UniqueHeapBlock = Owned<owned_traits::HeapBlock<T>>;
using UniquePrinterRecord = UniqueHeapBlock<PRINTER_INFO_2W>;
// A memory device context of CreateCompatibleDC.
using UniqueDc = Owned<owned_traits::Dc>;
using UniqueModule = Owned<owned_traits::Module>;
// A bitmap, font, brush or pen.
template <typename Object> using UniqueGdi = Owned<owned_traits::Gdi<Object>>;

// Selects an object into a context and selects the one it replaced back when it goes out of scope,
// so that the object can be deleted afterwards. Selects nothing without a context or an object.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object)
        : m_dc(dc), m_previous(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~SelectedObject() {
        if (m_previous) SelectObject(m_dc, m_previous);
    }
    SelectedObject(const SelectedObject &) = delete;
    SelectedObject &operator=(const SelectedObject &) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// A spooler document started on an open printer, ended when it goes out of scope. A refused start
// (job id 0) leaves nothing to end.
class StartedDocument {
public:
    StartedDocument(HANDLE printer, DOC_INFO_1W *document)
        : m_printer(printer), m_jobId(StartDocPrinterW(printer, 1, reinterpret_cast<LPBYTE>(document))) {}
    ~StartedDocument() {
        if (m_jobId) EndDocPrinter(m_printer);
    }
    StartedDocument(const StartedDocument &) = delete;
    StartedDocument &operator=(const StartedDocument &) = delete;

    DWORD jobId() const { return m_jobId; }
    explicit operator bool() const { return m_jobId != 0; }

private:
    HANDLE m_printer;
    DWORD m_jobId;
};

// A page of a started document; ended when it goes out of scope or by End, whether or not the
// spooler reported the start as done (the page's bytes are written all the same).
class StartedPage {
public:
    explicit StartedPage(HANDLE printer) : m_printer(printer) { StartPagePrinter(printer); }
    ~StartedPage() { End(); }
    StartedPage(const StartedPage &) = delete;
    StartedPage &operator=(const StartedPage &) = delete;

    void End() {
        if (m_printer) EndPagePrinter(m_printer);
        m_printer = nullptr;
    }

private:
    HANDLE m_printer;
};

// A bitmap of a module's resources selected into a memory context compatible with `dc`, ready to be
// copied from. False when the bitmap cannot be loaded (then no context is made) or the context cannot
// be made; then nothing is held. Loaded as a DIB section, or as LoadBitmapW loads it (a bitmap of the
// screen's format).
class ResourceBitmapDc {
public:
    enum Format { kDibSection, kScreenBitmap };

    ResourceBitmapDc(HDC dc, HINSTANCE module, UINT bitmapId, Format format = kDibSection)
        : m_bitmap(Load(module, bitmapId, format)),
          m_memory(m_bitmap ? CreateCompatibleDC(dc) : nullptr),
          m_size(SizeOf(m_bitmap.get())),
          m_selection(m_memory.get(), m_bitmap.get()) {}
    ResourceBitmapDc(const ResourceBitmapDc &) = delete;
    ResourceBitmapDc &operator=(const ResourceBitmapDc &) = delete;

    explicit operator bool() const { return m_memory && m_bitmap; }
    HDC dc() const { return m_memory.get(); }
    int width() const { return m_size.bmWidth; }
    int height() const { return m_size.bmHeight; }

private:
    static HBITMAP Load(HINSTANCE module, UINT bitmapId, Format format) {
        if (format == kScreenBitmap) return LoadBitmapW(module, MAKEINTRESOURCEW(bitmapId));
        return static_cast<HBITMAP>(
            LoadImageW(module, MAKEINTRESOURCEW(bitmapId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    }
    static BITMAP SizeOf(HBITMAP bitmap) {
        BITMAP size = {};
        if (bitmap) GetObjectW(bitmap, sizeof size, &size);
        return size;
    }

    // Released in the reverse order: the selection first, then the context, then the bitmap.
    UniqueGdi<HBITMAP> m_bitmap;
    UniqueDc m_memory;
    BITMAP m_size;
    SelectedObject m_selection;
};
