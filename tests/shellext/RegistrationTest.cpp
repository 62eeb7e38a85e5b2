// Registration through the exports (against a scratch registry) and through
// regsvr32 for real, and what the library carries for it.
#include "tests/shellext/ShellExtFixture.h"
#include "tests/support/TempFolder.h"

namespace {

const std::wstring kClassKey = L"CLSID\\" + kClassId;
const std::wstring kHandlerKey = L"Directory\\Background\\ShellEx\\ContextMenuHandlers\\Tesselator";

DWORD CountSubkeys(HKEY root, const std::wstring& key)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return 0;
    DWORD count = 0;
    RegQueryInfoKeyW(handle, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(handle);
    return count;
}

// Every entry that registration writes under HKEY_CLASSES_ROOT.
void ExpectRegistered(const std::wstring& modulePath)
{
    EXPECT_EQ(L"SimpleShlExt Class", ReadStringValue(HKEY_CLASSES_ROOT, L"Tesselator.SimpleShlExt.1"));
    EXPECT_EQ(kClassId, ReadStringValue(HKEY_CLASSES_ROOT, L"Tesselator.SimpleShlExt.1\\CLSID"));
    EXPECT_EQ(L"SimpleShlExt Class", ReadStringValue(HKEY_CLASSES_ROOT, L"Tesselator.SimpleShlExt"));
    EXPECT_EQ(kClassId, ReadStringValue(HKEY_CLASSES_ROOT, L"Tesselator.SimpleShlExt\\CLSID"));
    EXPECT_EQ(L"Tesselator.SimpleShlExt.1", ReadStringValue(HKEY_CLASSES_ROOT, L"Tesselator.SimpleShlExt\\CurVer"));
    EXPECT_EQ(L"SimpleShlExt Class", ReadStringValue(HKEY_CLASSES_ROOT, kClassKey));
    EXPECT_EQ(L"Tesselator.SimpleShlExt.1", ReadStringValue(HKEY_CLASSES_ROOT, kClassKey + L"\\ProgID"));
    EXPECT_EQ(L"Tesselator.SimpleShlExt", ReadStringValue(HKEY_CLASSES_ROOT, kClassKey + L"\\VersionIndependentProgID"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kClassKey + L"\\Programmable"));
    EXPECT_EQ(0u, CountValues(HKEY_CLASSES_ROOT, kClassKey + L"\\Programmable"));
    EXPECT_EQ(ShortPath(modulePath), ReadStringValue(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32"));
    EXPECT_EQ(L"Apartment", ReadStringValue(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32", L"ThreadingModel"));
    EXPECT_EQ(kLibraryId, ReadStringValue(HKEY_CLASSES_ROOT, kClassKey + L"\\TypeLib"));
    EXPECT_EQ(kClassId, ReadStringValue(HKEY_CLASSES_ROOT, kHandlerKey));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"TypeLib\\" + kLibraryId + L"\\1.0"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"Interface\\" + kInterfaceId));

    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(ReadRawValue(HKEY_LOCAL_MACHINE, kApprovedKey, kClassId, type, bytes));
    EXPECT_EQ(DWORD(REG_SZ), type);
    EXPECT_EQ(TextBytes(L"Fast Folders"), bytes);
}

// What unregistration removes, and the shared keys it keeps.
void ExpectUnregistered()
{
    for (const std::wstring& key : {std::wstring(L"Tesselator.SimpleShlExt.1"), std::wstring(L"Tesselator.SimpleShlExt"),
                                   kClassKey, kHandlerKey, L"TypeLib\\" + kLibraryId,
                                   L"Interface\\" + kInterfaceId})
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, key)) << key;
    for (const wchar_t* key : {L"CLSID", L"Directory", L"Directory\\Background", L"Directory\\Background\\ShellEx",
                            L"Directory\\Background\\ShellEx\\ContextMenuHandlers"})
        EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, key)) << key;
    DWORD type = 0;
    std::string bytes;
    EXPECT_FALSE(ReadRawValue(HKEY_LOCAL_MACHINE, kApprovedKey, kClassId, type, bytes));
}

class RegistrationTest : public ShellExtTest {};

TEST_F(RegistrationTest, ExportsRegisterEveryEntryOnceAndUnregisterKeepsTheSharedKeys)
{
    CreateKey(HKEY_LOCAL_MACHINE, kApprovedKey);
    WriteStringValue(HKEY_LOCAL_MACHINE, kApprovedKey, L"{other}", L"Other");
    ASSERT_EQ(S_OK, Tesselator().registerServer());
    ExpectRegistered(TesselatorPath());

    // A second registration rewrites the class key from scratch.
    CreateKey(HKEY_CLASSES_ROOT, kClassKey + L"\\Stale");
    ASSERT_EQ(S_OK, Tesselator().registerServer());
    EXPECT_EQ(1u, CountSubkeys(HKEY_CLASSES_ROOT, L"CLSID"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey + L"\\Stale"));
    ExpectRegistered(TesselatorPath());

    // Another handler under the same NoRemove keys survives.
    CreateKey(HKEY_CLASSES_ROOT, L"Directory\\Background\\ShellEx\\ContextMenuHandlers\\Other");
    ASSERT_EQ(S_OK, Tesselator().unregisterServer());
    ExpectUnregistered();
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"Directory\\Background\\ShellEx\\ContextMenuHandlers\\Other"));
    EXPECT_EQ(L"Other", ReadStringValue(HKEY_LOCAL_MACHINE, kApprovedKey, L"{other}"));
}

TEST_F(RegistrationTest, WithoutTheRightToApproveNothingIsWritten)
{
    // No Approved key at all: it is never created.
    EXPECT_EQ(E_ACCESSDENIED, Tesselator().registerServer());
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kApprovedKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kHandlerKey));
    EXPECT_EQ(0u, CountSubkeys(HKEY_CLASSES_ROOT, L""));

    // An Approved key that grants only reading.
    CreateKey(HKEY_LOCAL_MACHINE, kApprovedKey);
    SetKeyDacl(HKEY_LOCAL_MACHINE, kApprovedKey, L"D:P(A;;KR;;;WD)");

    EXPECT_EQ(E_ACCESSDENIED, Tesselator().registerServer());
    EXPECT_EQ(0u, CountValues(HKEY_LOCAL_MACHINE, kApprovedKey));
    EXPECT_EQ(0u, CountSubkeys(HKEY_CLASSES_ROOT, L""));

    // Full access again, so that the scratch registry can be removed.
    SetKeyDacl(HKEY_LOCAL_MACHINE, kApprovedKey, L"D:(A;;KA;;;WD)");
}

TEST_F(RegistrationTest, DllInstallTakesOnlyTheUserCommandLineInAnyCase)
{
    const std::wstring handler = L"Software\\Classes\\" + kHandlerKey;
    for (const wchar_t* line : {static_cast<const wchar_t*>(nullptr), L"", L"machine", L"user ", L"/user"})
        EXPECT_EQ(E_INVALIDARG, Tesselator().install(TRUE, line));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, handler));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kApprovedKey));

    ASSERT_EQ(S_OK, Tesselator().install(TRUE, L"USER"));
    EXPECT_EQ(kClassId, ReadStringValue(HKEY_CURRENT_USER, handler));
    EXPECT_EQ(E_INVALIDARG, Tesselator().install(FALSE, L"all"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, handler));
    ASSERT_EQ(S_OK, Tesselator().install(FALSE, L"User"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, handler));
}

BOOL CALLBACK TakeLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found)
{
    *reinterpret_cast<WORD*>(found) = language;
    return FALSE;
}

TEST_F(RegistrationTest, FallsBackToATypeLibraryFileBesideTheLibrary)
{
    // A copy of the library whose TYPELIB resource cannot be read; the type
    // library lies beside it as Tesselator.tlb instead.
    CTempProgramFolder folder(false, L"-tlb");
    const std::wstring copy = folder.Path() + L"\\Tesselator.dll";
    const std::wstring file = folder.Path() + L"\\Tesselator.tlb";
    ASSERT_TRUE(CopyFileW(TesselatorPath().c_str(), copy.c_str(), FALSE));
    const HMODULE original = Tesselator().module;
    const HRSRC resource = FindResourceW(original, MAKEINTRESOURCEW(1), L"TYPELIB");
    ASSERT_TRUE(resource);
    WriteFileBytes(file, std::string(static_cast<const char*>(LockResource(LoadResource(original, resource))),
                                     SizeofResource(original, resource)));
    WORD language = 0;
    EnumResourceLanguagesW(original, L"TYPELIB", MAKEINTRESOURCEW(1), TakeLanguage, reinterpret_cast<LONG_PTR>(&language));
    const HANDLE update = BeginUpdateResourceW(copy.c_str(), FALSE);
    ASSERT_TRUE(update);
    // Wine does not delete a resource given no data; unreadable data serves.
    char junk[] = "not a type library";
    ASSERT_TRUE(UpdateResourceW(update, L"TYPELIB", MAKEINTRESOURCEW(1), language, junk, sizeof junk));
    ASSERT_TRUE(EndUpdateResourceW(update, FALSE));
    CInterfacePtr<ITypeLib> none;
    ASSERT_TRUE(FAILED(LoadTypeLibEx(copy.c_str(), REGKIND_NONE, none.Put())));

    const HMODULE module = LoadLibraryW(copy.c_str());
    ASSERT_TRUE(module);
    const auto registerServer = reinterpret_cast<HRESULT(WINAPI*)()>(GetProcAddress(module, "DllRegisterServer"));
    const auto unregisterServer = reinterpret_cast<HRESULT(WINAPI*)()>(GetProcAddress(module, "DllUnregisterServer"));
    CreateKey(HKEY_LOCAL_MACHINE, kApprovedKey);
    EXPECT_EQ(S_OK, registerServer());
    const std::wstring platform = sizeof(void*) == 8 ? L"win64" : L"win32";
    EXPECT_EQ(Lower(file), Lower(ReadStringValue(HKEY_CLASSES_ROOT, L"TypeLib\\" + kLibraryId + L"\\1.0\\409\\" + platform)));
    EXPECT_EQ(S_OK, unregisterServer());
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"TypeLib\\" + kLibraryId));
    FreeLibrary(module);
}

TEST_F(RegistrationTest, RegistersFromAFolderTheCodePageCannotSpell)
{
    // A Just me install lies in the user's profile, named in any script.
    CTempProgramFolder base(false, L"-unicode");
    const CWideFolder folder(base.Path() + L"\\\u0418\u043D\u0441\u0442\u0440 \u540D o'\u0142");
    const std::wstring copy = folder.Path() + L"\\Tesselator.dll";
    ASSERT_TRUE(CopyFileW(TesselatorPath().c_str(), copy.c_str(), FALSE));
    wchar_t shortPath[MAX_PATH] = {};
    ASSERT_NE(0u, GetShortPathNameW(copy.c_str(), shortPath, MAX_PATH));
    {
        const CLibraryHandle module(LoadLibraryW(copy.c_str()));
        ASSERT_TRUE(module);
        const auto registerServer = reinterpret_cast<HRESULT(WINAPI*)()>(GetProcAddress(module.Get(), "DllRegisterServer"));
        const auto unregisterServer =
            reinterpret_cast<HRESULT(WINAPI*)()>(GetProcAddress(module.Get(), "DllUnregisterServer"));
        CreateKey(HKEY_LOCAL_MACHINE, kApprovedKey);
        ASSERT_EQ(S_OK, registerServer());
        EXPECT_EQ(shortPath, ReadStringValue(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32"));
        const std::wstring platform = sizeof(void*) == 8 ? L"win64" : L"win32";
        EXPECT_EQ(Lower(copy),
                  Lower(ReadStringValue(HKEY_CLASSES_ROOT, L"TypeLib\\" + kLibraryId + L"\\1.0\\409\\" + platform)));
        EXPECT_EQ(S_OK, unregisterServer());
        ExpectUnregistered();
    }
    DeleteFileW(copy.c_str());
}

TEST(Regsvr32, RegistersAndUnregistersALibraryWhosePathHasAQuote)
{
    // regsvr32 runs in a process of its own, so this is the prefix's real
    // registry; everything is removed again at the end.
    // A quote in a name that is its own short form, so %MODULE% carries it.
    CTempProgramFolder folder(false);
    const std::wstring quoted = folder.Path() + L"\\it's";
    ASSERT_TRUE(CreateDirectoryW(quoted.c_str(), nullptr));
    const std::wstring library = quoted + L"\\Tesselator.dll";
    ASSERT_TRUE(CopyFileW(TesselatorPath().c_str(), library.c_str(), FALSE));
    ASSERT_NE(std::wstring::npos, ShortPath(library).find(L'\'')) << Utf8(ShortPath(library));

    ASSERT_EQ(0u, RunAndWait(L"regsvr32.exe /s \"" + library + L"\""));
    ExpectRegistered(library);
    ASSERT_EQ(0u, RunAndWait(L"regsvr32.exe /s \"" + library + L"\""));
    EXPECT_EQ(ShortPath(library), ReadStringValue(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32"));

    // COM finds and loads the library through that registration.
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    {
        CInterfacePtr<IContextMenu> menu;
        EXPECT_EQ(S_OK, CoCreateInstance(CLSID_SimpleShlExt, nullptr, CLSCTX_INPROC_SERVER, IID_IContextMenu,
                                         menu.PutVoid()));
        CInterfacePtr<IDispatch> dispatch;
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_SimpleShlExt, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                         dispatch.PutVoid()));
        CInterfacePtr<ITypeInfo> info;
        EXPECT_EQ(S_OK, dispatch->GetTypeInfo(0, 0, info.Put()));
    }
    CoUninitialize();

    EXPECT_EQ(0u, RunAndWait(L"regsvr32.exe /u /s \"" + library + L"\""));
    ExpectUnregistered();
}

TEST(Regsvr32, RegistersForTheUserAloneAndRemovesIt)
{
    // The prefix's real registry again (see above).
    const std::wstring library = TesselatorPath();
    const std::wstring classes = L"Software\\Classes\\";
    const std::vector<std::wstring> scriptKeys = {L"Tesselator.SimpleShlExt.1", L"Tesselator.SimpleShlExt", kClassKey,
                                                 kHandlerKey};

    ASSERT_EQ(0u, RunAndWait(L"regsvr32.exe /n /i:user /s \"" + library + L"\""));
    EXPECT_EQ(L"SimpleShlExt Class", ReadStringValue(HKEY_CURRENT_USER, classes + kClassKey));
    EXPECT_EQ(ShortPath(library), ReadStringValue(HKEY_CURRENT_USER, classes + kClassKey + L"\\InprocServer32"));
    EXPECT_EQ(L"Apartment",
              ReadStringValue(HKEY_CURRENT_USER, classes + kClassKey + L"\\InprocServer32", L"ThreadingModel"));
    EXPECT_EQ(kClassId, ReadStringValue(HKEY_CURRENT_USER, classes + kHandlerKey));
    EXPECT_EQ(L"Fast Folders", ReadStringValue(HKEY_CURRENT_USER, kApprovedKey, kClassId));
    // Nothing for the machine. The type library is left out: Wine's per-user
    // type-library registration writes the machine's.
    for (const std::wstring& key : scriptKeys) {
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, key)) << key;
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, classes + key)) << key;
    }
    EXPECT_EQ(L"<missing>", ReadStringValue(HKEY_LOCAL_MACHINE, kApprovedKey, kClassId));

    EXPECT_EQ(0u, RunAndWait(L"regsvr32.exe /u /n /i:user /s \"" + library + L"\""));
    for (const std::wstring& key : scriptKeys)
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, classes + key)) << key;
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, classes + L"Directory\\Background\\ShellEx\\ContextMenuHandlers"));
    EXPECT_EQ(L"<missing>", ReadStringValue(HKEY_CURRENT_USER, kApprovedKey, kClassId));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, classes + L"TypeLib\\" + kLibraryId));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"TypeLib\\" + kLibraryId));
}

TEST(TesselatorResources, CarryTheVersionStringsAndTheTypeLibrary)
{
    const std::wstring path = TesselatorPath();
    DWORD ignored = 0;
    std::string info(GetFileVersionInfoSizeW(path.c_str(), &ignored), '\0');
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
    EXPECT_EQ(MAKELONG(0, 1), static_cast<LONG>(fixed->dwFileVersionMS));
    EXPECT_EQ(MAKELONG(2, 0), static_cast<LONG>(fixed->dwFileVersionLS));
    EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);
    const auto text = [&](const wchar_t* name) {
        wchar_t* value = nullptr;
        UINT length = 0;
        const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
        if (!VerQueryValueW(info.data(), query.c_str(), reinterpret_cast<void**>(&value), &length))
            return std::wstring(L"<missing>");
        return std::wstring(value, wcsnlen(value, length));
    };
    EXPECT_EQ(L"", text(L"OLESelfRegister"));
    EXPECT_EQ(L"Verbosa: Fast Folders Shell Extension", text(L"FileDescription"));
    EXPECT_EQ(L"Verbosa: Fast Folders Shell Extension", text(L"ProductName"));
    EXPECT_EQ(L"Shell Extension for Verbosa", text(L"Comments"));
    EXPECT_EQ(L"Tesselator", text(L"InternalName"));
    EXPECT_EQ(L"Tesselator.DLL", text(L"OriginalFilename"));

    wchar_t project[64] = {};
    EXPECT_EQ(10, LoadStringW(Tesselator().module, 100, project, 64));
    EXPECT_STREQ(L"Tesselator", project);

    CInterfacePtr<ITypeLib> library;
    ASSERT_EQ(S_OK, LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.Put()));
    BSTR name = nullptr;
    BSTR help = nullptr;
    ASSERT_EQ(S_OK, library->GetDocumentation(-1, &name, &help, nullptr, nullptr));
    EXPECT_STREQ(L"TesselatorLib", name);
    EXPECT_STREQ(L"Tesselator 1.0 Type Library", help);
    SysFreeString(name);
    SysFreeString(help);
    TLIBATTR* attributes = nullptr;
    ASSERT_EQ(S_OK, library->GetLibAttr(&attributes));
    EXPECT_TRUE(IsEqualGUID(LIBID_TesselatorLib, attributes->guid));
    EXPECT_EQ(1, attributes->wMajorVerNum);
    EXPECT_EQ(0, attributes->wMinorVerNum);
    EXPECT_EQ(0x0409u, attributes->lcid);
    library->ReleaseTLibAttr(attributes);

    CInterfacePtr<ITypeInfo> coclass;
    ASSERT_EQ(S_OK, library->GetTypeInfoOfGuid(CLSID_SimpleShlExt, coclass.Put()));
    TYPEATTR* type = nullptr;
    ASSERT_EQ(S_OK, coclass->GetTypeAttr(&type));
    EXPECT_EQ(TKIND_COCLASS, type->typekind);
    EXPECT_NE(0, type->wTypeFlags & TYPEFLAG_FCANCREATE);
    EXPECT_EQ(1, type->cImplTypes);
    coclass->ReleaseTypeAttr(type);
    INT implFlags = 0;
    EXPECT_EQ(S_OK, coclass->GetImplTypeFlags(0, &implFlags));
    EXPECT_NE(0, implFlags & IMPLTYPEFLAG_FDEFAULT);

    CInterfacePtr<ITypeInfo> dual;
    ASSERT_EQ(S_OK, library->GetTypeInfoOfGuid(IID_ISimpleShlExt, dual.Put()));
    ASSERT_EQ(S_OK, dual->GetTypeAttr(&type));
    EXPECT_EQ(TKIND_DISPATCH, type->typekind);
    EXPECT_NE(0, type->wTypeFlags & TYPEFLAG_FDUAL);
    EXPECT_EQ(7, type->cFuncs); // IUnknown's and IDispatch's, none of its own
    dual->ReleaseTypeAttr(type);
    // The vtable side of the dual interface derives from IDispatch.
    HREFTYPE vtableSide = 0;
    ASSERT_EQ(S_OK, dual->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtableSide));
    CInterfacePtr<ITypeInfo> vtable;
    ASSERT_EQ(S_OK, dual->GetRefTypeInfo(vtableSide, vtable.Put()));
    ASSERT_EQ(S_OK, vtable->GetTypeAttr(&type));
    EXPECT_EQ(TKIND_INTERFACE, type->typekind);
    EXPECT_NE(0, type->wTypeFlags & TYPEFLAG_FOLEAUTOMATION);
    EXPECT_EQ(0, type->cFuncs);
    vtable->ReleaseTypeAttr(type);
}

} // namespace
