// The COM server: class object, creation and aggregation, the interface
// table, IDispatch from the registered type library, the unload rule and
// what lives as long as the library (the menu pictures).
#include "tests/shellext/ShellExtFixture.h"

#include <algorithm>
#include <iterator>

namespace {

class ServerTest : public ShellExtTest {};

// An outer object that counts the references its inner object hands it.
class CCountingOuter final : public IUnknown {
public:
    STDMETHODIMP QueryInterface(REFIID, void** result) override
    {
        *result = nullptr;
        ++queries;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
    ULONG refs = 1;
    int queries = 0;
};

TEST_F(ServerTest, ClassObjectCreatesOnlyWhatIsAllowed)
{
    void* result = reinterpret_cast<void*>(1);
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, Tesselator().getClassObject(IID_IUnknown, IID_IClassFactory, &result));
    EXPECT_EQ(nullptr, result);
    EXPECT_EQ(E_POINTER, Tesselator().getClassObject(CLSID_SimpleShlExt, IID_IClassFactory, nullptr));

    CInterfacePtr<IClassFactory> factory;
    ASSERT_EQ(S_OK, Tesselator().getClassObject(CLSID_SimpleShlExt, IID_IClassFactory, factory.PutVoid()));
    EXPECT_EQ(E_POINTER, factory->CreateInstance(nullptr, IID_IContextMenu, nullptr));

    CCountingOuter outer;
    result = reinterpret_cast<void*>(1);
    EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(&outer, IID_IContextMenu, &result));
    EXPECT_EQ(nullptr, result);

    // Aggregated: the inner IUnknown is its own; the other interfaces
    // delegate to the outer object.
    CInterfacePtr<IUnknown> inner;
    ASSERT_EQ(S_OK, factory->CreateInstance(&outer, IID_IUnknown, inner.PutVoid()));
    CInterfacePtr<IContextMenu> menu;
    ASSERT_EQ(S_OK, inner->QueryInterface(IID_IContextMenu, menu.PutVoid()));
    EXPECT_EQ(2u, outer.refs);
    void* viaOuter = nullptr;
    EXPECT_EQ(E_NOINTERFACE, menu->QueryInterface(IID_IShellExtInit, &viaOuter));
    EXPECT_EQ(1, outer.queries);
    menu.Reset();
    EXPECT_EQ(1u, outer.refs);
    EXPECT_EQ(S_FALSE, Tesselator().canUnloadNow());
    inner.Reset();
    factory.Reset();
    EXPECT_EQ(S_OK, Tesselator().canUnloadNow());
}

TEST_F(ServerTest, AnswersItsInterfacesWithOneIdentity)
{
    CInterfacePtr<IUnknown> object;
    CreateHandler(object, IID_IUnknown);
    ASSERT_TRUE(object);
    void* primary = nullptr;
    for (const IID* iid : {&IID_IUnknown, &IID_ISimpleShlExt, &IID_IDispatch}) {
        void* pointer = nullptr;
        ASSERT_EQ(S_OK, object->QueryInterface(*iid, &pointer));
        static_cast<IUnknown*>(pointer)->Release();
        if (!primary)
            primary = pointer;
        EXPECT_EQ(primary, pointer);
    }
    EXPECT_EQ(static_cast<void*>(object.Get()), primary);

    CInterfacePtr<IShellExtInit> init;
    CInterfacePtr<IContextMenu> menu;
    ASSERT_EQ(S_OK, object->QueryInterface(IID_IShellExtInit, init.PutVoid()));
    ASSERT_EQ(S_OK, object->QueryInterface(IID_IContextMenu, menu.PutVoid()));
    EXPECT_NE(static_cast<void*>(init.Get()), primary);
    EXPECT_NE(static_cast<void*>(menu.Get()), static_cast<void*>(init.Get()));
    CInterfacePtr<IUnknown> back;
    ASSERT_EQ(S_OK, menu->QueryInterface(IID_IUnknown, back.PutVoid()));
    EXPECT_EQ(primary, static_cast<void*>(back.Get()));

    void* none = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, object->QueryInterface(IID_IClassFactory, &none));
    EXPECT_EQ(nullptr, none);
    EXPECT_EQ(E_POINTER, object->QueryInterface(IID_IUnknown, nullptr));
}

TEST_F(ServerTest, DispatchIsServedFromTheRegisteredTypeLibrary)
{
    CInterfacePtr<IDispatch> dispatch;
    CreateHandler(dispatch, IID_IDispatch);
    ASSERT_TRUE(dispatch);
    UINT count = 0;
    EXPECT_EQ(S_OK, dispatch->GetTypeInfoCount(&count));
    EXPECT_EQ(1u, count);
    CInterfacePtr<ITypeInfo> info;
    EXPECT_TRUE(FAILED(dispatch->GetTypeInfo(0, 0, info.Put()))) << "no type library registered yet";

    CreateKey(HKEY_LOCAL_MACHINE, kApprovedKey);
    ASSERT_EQ(S_OK, Tesselator().registerServer());
    CInterfacePtr<IDispatch> registered;
    CreateHandler(registered, IID_IDispatch);
    ASSERT_EQ(S_OK, registered->GetTypeInfo(0, 0, info.Put()));
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(S_OK, info->GetTypeAttr(&attributes));
    EXPECT_TRUE(IsEqualGUID(IID_ISimpleShlExt, attributes->guid));
    info->ReleaseTypeAttr(attributes);
    EXPECT_EQ(DISP_E_BADINDEX, registered->GetTypeInfo(1, 0, info.Put()));

    wchar_t nameText[] = L"Navigate";
    LPOLESTR names[] = {nameText};
    DISPID id = 0;
    EXPECT_EQ(DISP_E_UNKNOWNNAME, registered->GetIDsOfNames(IID_NULL, names, 1, 0, &id));
    DISPPARAMS none = {};
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, registered->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr,
                                                        nullptr));

    dispatch.Reset();
    registered.Reset();
    info.Reset();
    EXPECT_EQ(S_OK, Tesselator().unregisterServer());
}

TEST_F(ServerTest, CanUnloadOnlyWhenNothingIsAlive)
{
    ASSERT_EQ(S_OK, Tesselator().canUnloadNow());
    CInterfacePtr<IClassFactory> factory;
    ASSERT_EQ(S_OK, Tesselator().getClassObject(CLSID_SimpleShlExt, IID_IClassFactory, factory.PutVoid()));
    EXPECT_EQ(S_FALSE, Tesselator().canUnloadNow()) << "the class object is held";

    CInterfacePtr<IContextMenu> menu;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IContextMenu, menu.PutVoid()));
    EXPECT_EQ(S_OK, factory->LockServer(TRUE));
    factory.Reset();
    EXPECT_EQ(S_FALSE, Tesselator().canUnloadNow());
    menu.Reset();
    EXPECT_EQ(S_FALSE, Tesselator().canUnloadNow()) << "LockServer(TRUE) is outstanding";

    ASSERT_EQ(S_OK, Tesselator().getClassObject(CLSID_SimpleShlExt, IID_IClassFactory, factory.PutVoid()));
    EXPECT_EQ(S_OK, factory->LockServer(FALSE));
    factory.Reset();
    EXPECT_EQ(S_OK, Tesselator().canUnloadNow());
}

TEST_F(ServerTest, ThousandMenusLeakNoObjectOrMenuAndShareTheirPictures)
{
    WriteStore(NumberedAliases(10), std::vector<std::wstring>(10, L"C:\\windows"));
    const DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD userBefore = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    HBITMAP firstPictures[2] = {};
    for (int cycle = 0; cycle < 1000; ++cycle) {
        CInterfacePtr<IContextMenu> menu;
        CreateHandler(menu, IID_IContextMenu);
        HRESULT result = E_FAIL;
        const HMENU shellMenu = BuildMenu(menu.Get(), result);
        ASSERT_EQ(11, HRESULT_CODE(result));
        const MENUITEMINFOW item = MenuItemAt(shellMenu, 1, MIIM_SUBMENU | MIIM_CHECKMARKS);
        const HMENU popup = item.hSubMenu;
        const HBITMAP pictures[2] = {item.hbmpUnchecked, MenuItemAt(popup, 0, MIIM_CHECKMARKS).hbmpUnchecked};
        if (cycle == 0)
            std::copy(std::begin(pictures), std::end(pictures), firstPictures);
        // Made once: every menu shows the first menu's pictures.
        ASSERT_EQ(firstPictures[0], pictures[0]) << "cycle " << cycle;
        ASSERT_EQ(firstPictures[1], pictures[1]) << "cycle " << cycle;

        DestroyMenu(shellMenu);
        EXPECT_FALSE(IsMenu(popup)) << "the popup belongs to the shell's menu";
        menu.Reset();
        // They outlive the handler that made them: a later menu shows them.
        for (const HBITMAP picture : pictures)
            ASSERT_EQ(OBJ_BITMAP, static_cast<int>(GetObjectType(picture))) << "cycle " << cycle;
    }
    EXPECT_EQ(S_OK, Tesselator().canUnloadNow());
    // Where the system counts them (Wine reports 0), the counts are back.
    EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiBefore + 5);
    EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), userBefore + 5);
}

TEST_F(ServerTest, PicturesGoWhenTheLibraryUnloads)
{
    // A copy of its own, since the tests' library is never unloaded.
    const CTempProgramFolder folder(false, L"-unload");
    const std::wstring copy = folder.Path() + L"\\TesselatorCopy.dll";
    ASSERT_TRUE(CopyFileW(TesselatorPath().c_str(), copy.c_str(), FALSE));
    WriteStore({L"Docs"}, {L"C:\\windows"});
    const HMODULE library = LoadLibraryW(copy.c_str());
    ASSERT_TRUE(library);
    const auto getClassObject = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(
        reinterpret_cast<void*>(GetProcAddress(library, "DllGetClassObject")));
    HBITMAP picture = nullptr;
    {
        CInterfacePtr<IClassFactory> factory;
        ASSERT_EQ(S_OK, getClassObject(CLSID_SimpleShlExt, IID_IClassFactory, factory.PutVoid()));
        CInterfacePtr<IContextMenu> menu;
        ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IContextMenu, menu.PutVoid()));
        HRESULT result = E_FAIL;
        CMenuHandle shellMenu(BuildMenu(menu.Get(), result));
        const MENUITEMINFOW item = MenuItemAt(shellMenu.Get(), 1, MIIM_CHECKMARKS | MIIM_BITMAP);
        picture = item.hbmpUnchecked ? item.hbmpUnchecked : item.hbmpItem;
    }
    ASSERT_EQ(OBJ_BITMAP, static_cast<int>(GetObjectType(picture)));
    ASSERT_TRUE(FreeLibrary(library));
    EXPECT_EQ(0u, GetObjectType(picture));
    DeleteFileW(copy.c_str());
}

} // namespace
