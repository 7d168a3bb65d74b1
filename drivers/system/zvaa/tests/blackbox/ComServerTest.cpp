// The plug-in as the driver's user interface meets it: zvaaSUI.dll loaded, the class object asked
// for, the object created and driven through its table of operations.
#include <gtest/gtest.h>

#include "testbed/ImportPatch.h"
#include "testbed/PluginLibrary.h"

namespace {

typedef HRESULT(WINAPI *GetClassObjectFn)(REFCLSID, REFIID, void **);
typedef HRESULT(WINAPI *CanUnloadFn)();

// Counts the process-heap blocks the DLL takes and gives back, to see objects come and go.
struct HeapCounter {
    static inline LONG allocations = 0, frees = 0;
    static inline bool failAllocations = false;
    static inline decltype(&HeapAlloc) realAlloc = nullptr;
    static inline decltype(&HeapFree) realFree = nullptr;

    static LPVOID WINAPI Alloc(HANDLE heap, DWORD flags, SIZE_T size) {
        if (failAllocations) return nullptr;
        ++allocations;
        return realAlloc(heap, flags, size);
    }
    static BOOL WINAPI Free(HANDLE heap, DWORD flags, LPVOID block) {
        ++frees;
        return realFree(heap, flags, block);
    }

    explicit HeapCounter(HMODULE dll)
        : allocPatch(dll, "kernel32.dll", "HeapAlloc", reinterpret_cast<const void *>(&Alloc)),
          freePatch(dll, "kernel32.dll", "HeapFree", reinterpret_cast<const void *>(&Free)) {
        allocations = frees = 0;
        failAllocations = false;
        realAlloc = allocPatch.original<decltype(&HeapAlloc)>();
        realFree = freePatch.original<decltype(&HeapFree)>();
    }
    LONG live() const { return allocations - frees; }

    ImportPatch allocPatch, freePatch;
};

struct ComServer : testing::Test {
    void SetUp() override {
        ASSERT_NE(nullptr, dll.module());
        getClassObject = dll.get<GetClassObjectFn>("DllGetClassObject");
        canUnload = dll.get<CanUnloadFn>("DllCanUnloadNow");
        ASSERT_NE(nullptr, getClassObject);
        ASSERT_NE(nullptr, canUnload);
    }
    PluginLibrary dll;
    GetClassObjectFn getClassObject = nullptr;
    CanUnloadFn canUnload = nullptr;
};

TEST_F(ComServer, ExportsThePlainNamesOnly) {
    for (const char *name : {"DllGetClassObject", "DllCanUnloadNow", "GetOEMPrefix", "OEMGetNumAlignValues",
                             "OEMEjectPageCmd", "GetColorDataDLLPath"})
        EXPECT_NE(nullptr, dll.proc(name)) << name;
    for (const char *name : {"DllGetClassObject@12", "GetOEMPrefix@4", "_GetOEMPrefix@4", "DllMain"})
        EXPECT_EQ(nullptr, dll.proc(name)) << name;
}

TEST_F(ComServer, ServesOnlyThePluginClass) {
    const CLSID other = {0xABCE80D7, 0x9F46, 0x11D1, {0x88, 0x2A, 0x00, 0xC0, 0x4F, 0xB9, 0x61, 0xED}};
    void *out = reinterpret_cast<void *>(0x5150);
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, getClassObject(other, IID_IClassFactory, &out));
    EXPECT_EQ(reinterpret_cast<void *>(0x5150), out);
}

TEST_F(ComServer, FactoryLifetime) {
    HeapCounter heap(dll.module());
    IClassFactory *factory = nullptr;
    ASSERT_EQ(S_OK, getClassObject(CLSID_OEMUI, IID_IClassFactory, reinterpret_cast<void **>(&factory)));
    EXPECT_EQ(1, heap.live());
    EXPECT_EQ(2u, factory->AddRef());
    EXPECT_EQ(1u, factory->Release());

    IUnknown *unknown = nullptr;
    ASSERT_EQ(S_OK, factory->QueryInterface(IID_IUnknown, reinterpret_cast<void **>(&unknown)));
    EXPECT_EQ(static_cast<IUnknown *>(factory), unknown);
    EXPECT_EQ(1u, unknown->Release());

    EXPECT_EQ(0u, factory->Release());
    EXPECT_EQ(0, heap.live());

    // Each call makes a factory of its own.
    IClassFactory *a = nullptr, *b = nullptr;
    ASSERT_EQ(S_OK, getClassObject(CLSID_OEMUI, IID_IUnknown, reinterpret_cast<void **>(&a)));
    ASSERT_EQ(S_OK, getClassObject(CLSID_OEMUI, IID_IClassFactory, reinterpret_cast<void **>(&b)));
    EXPECT_NE(a, b);
    a->Release();
    b->Release();
    EXPECT_EQ(0, heap.live());
}

TEST_F(ComServer, AClassObjectOfTheWrongInterfaceLeavesNothingAlive) {
    HeapCounter heap(dll.module());
    void *out = reinterpret_cast<void *>(0x5150);
    EXPECT_EQ(E_NOINTERFACE, getClassObject(CLSID_OEMUI, IID_IPrintOemUI, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(1, heap.allocations);
    EXPECT_EQ(0, heap.live());
}

TEST_F(ComServer, CreateInstanceRules) {
    HeapCounter heap(dll.module());
    IClassFactory *factory = nullptr;
    ASSERT_EQ(S_OK, getClassObject(CLSID_OEMUI, IID_IClassFactory, reinterpret_cast<void **>(&factory)));

    void *out = reinterpret_cast<void *>(0x5150);
    EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(factory, IID_IUnknown, &out));
    EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(nullptr, IID_IClassFactory, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(1, heap.live());  // the refused object is gone again; only the factory lives

    IPrintOemUI *plugin = nullptr;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IPrintOemUI, reinterpret_cast<void **>(&plugin)));
    EXPECT_EQ(2u, plugin->AddRef());  // created with one reference, the caller's
    EXPECT_EQ(1u, plugin->Release());
    EXPECT_EQ(0u, factory->Release());
    EXPECT_EQ(1, heap.live());  // the object outlives its factory
    EXPECT_EQ(0u, plugin->Release());
    EXPECT_EQ(0, heap.live());
}

TEST_F(ComServer, OutOfMemory) {
    HeapCounter heap(dll.module());
    IClassFactory *factory = nullptr;
    ASSERT_EQ(S_OK, getClassObject(CLSID_OEMUI, IID_IClassFactory, reinterpret_cast<void **>(&factory)));

    HeapCounter::failAllocations = true;
    void *out = reinterpret_cast<void *>(0x5150);
    EXPECT_EQ(E_OUTOFMEMORY, getClassObject(CLSID_OEMUI, IID_IClassFactory, &out));
    EXPECT_EQ(E_OUTOFMEMORY, factory->CreateInstance(nullptr, IID_IPrintOemUI, &out));
    HeapCounter::failAllocations = false;

    EXPECT_EQ(0u, factory->Release());
    EXPECT_EQ(0, heap.live());
}

TEST_F(ComServer, CanUnloadFollowsTheServerLocksAndTheLiveObjects) {
    EXPECT_EQ(S_OK, canUnload());
    IPrintOemUI *plugin = dll.CreatePlugin();
    ASSERT_NE(nullptr, plugin);
    EXPECT_EQ(S_FALSE, canUnload()) << "a live plug-in holds the library";

    IClassFactory *factory = nullptr;
    ASSERT_EQ(S_OK, getClassObject(CLSID_OEMUI, IID_IClassFactory, reinterpret_cast<void **>(&factory)));
    plugin->Release();
    EXPECT_EQ(S_FALSE, canUnload()) << "a live factory holds the library";
    EXPECT_EQ(S_OK, factory->LockServer(TRUE));
    EXPECT_EQ(S_FALSE, canUnload());
    factory->Release();
    EXPECT_EQ(S_FALSE, canUnload()) << "the lock outlives the factory";

    IClassFactory *again = nullptr;
    ASSERT_EQ(S_OK, getClassObject(CLSID_OEMUI, IID_IClassFactory, reinterpret_cast<void **>(&again)));
    EXPECT_EQ(S_OK, again->LockServer(FALSE));
    again->Release();
    EXPECT_EQ(S_OK, canUnload());

    // A refused interface leaves no object counted.
    void *out = nullptr;
    EXPECT_EQ(E_NOINTERFACE, getClassObject(CLSID_OEMUI, IID_IPrintOemUI, &out));
    EXPECT_EQ(S_OK, canUnload());
}

// The driver's side of PublishDriverInterface for calls from several threads: references counted
// atomically, and a pause in QueryInterface so that the callers meet inside the plug-in.
class ThreadSafeDriverUi : public IPrintOemDriverUI {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
        if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IPrintOemDriverUI)) {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        Sleep(1);
        *ppv = this;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs); }
    ULONG STDMETHODCALLTYPE Release() override { return InterlockedDecrement(&refs); }
    volatile LONG refs = 1;  // the driver's own
};

struct PublishRound {
    IPrintOemUI *plugin;
    ThreadSafeDriverUi *driver;
    HANDLE start;
    HRESULT result;
};

DWORD WINAPI PublishWhenStarted(LPVOID parameter) {
    PublishRound *round = static_cast<PublishRound *>(parameter);
    WaitForSingleObject(round->start, INFINITE);
    round->result = round->plugin->PublishDriverInterface(round->driver);
    return 0;
}

TEST_F(ComServer, ConcurrentPublishingKeepsExactlyOneReference) {
    ThreadSafeDriverUi driver;
    for (int i = 0; i < 200; ++i) {
        IPrintOemUI *plugin = dll.CreatePlugin();
        ASSERT_NE(nullptr, plugin);
        HANDLE start = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        PublishRound rounds[4];
        HANDLE threads[4];
        for (int t = 0; t < 4; ++t) {
            rounds[t] = {plugin, &driver, start, E_UNEXPECTED};
            threads[t] = CreateThread(nullptr, 0, PublishWhenStarted, &rounds[t], 0, nullptr);
            ASSERT_NE(nullptr, threads[t]);
        }
        SetEvent(start);
        WaitForMultipleObjects(4, threads, TRUE, INFINITE);
        for (int t = 0; t < 4; ++t) {
            CloseHandle(threads[t]);
            EXPECT_EQ(S_OK, rounds[t].result);
        }
        CloseHandle(start);
        EXPECT_EQ(2, driver.refs) << "round " << i << ": the plug-in holds one reference";
        plugin->Release();
        ASSERT_EQ(1, driver.refs) << "round " << i << ": every reference taken was given back";
    }
}

}  // namespace
