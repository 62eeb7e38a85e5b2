// Registration through the exports (against a scratch registry) and through
// regsvr32 for real, and what the library carries for it.
#include "tests/shellext/ShellExtFixture.h"
#include "tests/support/TempFolder.h"

namespace {

const std::string kClassKey = std::string("CLSID\\") + kClassId;
const std::string kHandlerKey = "Directory\\Background\\ShellEx\\ContextMenuHandlers\\Tesselator";

DWORD CountSubkeys(HKEY root, const std::string& key)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return 0;
    DWORD count = 0;
    RegQueryInfoKeyA(handle, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(handle);
    return count;
}

// Every entry that registration writes under HKEY_CLASSES_ROOT.
void ExpectRegistered(const std::string& modulePath)
{
    EXPECT_EQ("SimpleShlExt Class", ReadStringValue(HKEY_CLASSES_ROOT, "Tesselator.SimpleShlExt.1"));
    EXPECT_EQ(kClassId, ReadStringValue(HKEY_CLASSES_ROOT, "Tesselator.SimpleShlExt.1\\CLSID"));
    EXPECT_EQ("SimpleShlExt Class", ReadStringValue(HKEY_CLASSES_ROOT, "Tesselator.SimpleShlExt"));
    EXPECT_EQ(kClassId, ReadStringValue(HKEY_CLASSES_ROOT, "Tesselator.SimpleShlExt\\CLSID"));
    EXPECT_EQ("Tesselator.SimpleShlExt.1", ReadStringValue(HKEY_CLASSES_ROOT, "Tesselator.SimpleShlExt\\CurVer"));
    EXPECT_EQ("SimpleShlExt Class", ReadStringValue(HKEY_CLASSES_ROOT, kClassKey));
    EXPECT_EQ("Tesselator.SimpleShlExt.1", ReadStringValue(HKEY_CLASSES_ROOT, kClassKey + "\\ProgID"));
    EXPECT_EQ("Tesselator.SimpleShlExt", ReadStringValue(HKEY_CLASSES_ROOT, kClassKey + "\\VersionIndependentProgID"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kClassKey + "\\Programmable"));
    EXPECT_EQ(0u, CountValues(HKEY_CLASSES_ROOT, kClassKey + "\\Programmable"));
    EXPECT_EQ(ShortPath(modulePath), ReadStringValue(HKEY_CLASSES_ROOT, kClassKey + "\\InprocServer32"));
    EXPECT_EQ("Apartment", ReadStringValue(HKEY_CLASSES_ROOT, kClassKey + "\\InprocServer32", "ThreadingModel"));
    EXPECT_EQ(kLibraryId, ReadStringValue(HKEY_CLASSES_ROOT, kClassKey + "\\TypeLib"));
    EXPECT_EQ(kClassId, ReadStringValue(HKEY_CLASSES_ROOT, kHandlerKey));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, std::string("TypeLib\\") + kLibraryId + "\\1.0"));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, std::string("Interface\\") + kInterfaceId));

    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(ReadRawValue(HKEY_LOCAL_MACHINE, kApprovedKey, kClassId, type, bytes));
    EXPECT_EQ(DWORD(REG_SZ), type);
    EXPECT_EQ(std::string("Fast Folders\0", 13), bytes);
}

// What unregistration removes, and the shared keys it keeps.
void ExpectUnregistered()
{
    for (const std::string& key : {std::string("Tesselator.SimpleShlExt.1"), std::string("Tesselator.SimpleShlExt"),
                                   kClassKey, kHandlerKey, std::string("TypeLib\\") + kLibraryId,
                                   std::string("Interface\\") + kInterfaceId})
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, key)) << key;
    for (const char* key : {"CLSID", "Directory", "Directory\\Background", "Directory\\Background\\ShellEx",
                            "Directory\\Background\\ShellEx\\ContextMenuHandlers"})
        EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, key)) << key;
    DWORD type = 0;
    std::string bytes;
    EXPECT_FALSE(ReadRawValue(HKEY_LOCAL_MACHINE, kApprovedKey, kClassId, type, bytes));
}

class RegistrationTest : public ShellExtTest {};

TEST_F(RegistrationTest, ExportsRegisterEveryEntryOnceAndUnregisterKeepsTheSharedKeys)
{
    CreateKey(HKEY_LOCAL_MACHINE, kApprovedKey);
    WriteRawValue(HKEY_LOCAL_MACHINE, kApprovedKey, "{other}", REG_SZ, std::string("Other\0", 6));
    ASSERT_EQ(S_OK, Tesselator().registerServer());
    ExpectRegistered(TesselatorPath());

    // A second registration rewrites the class key from scratch.
    CreateKey(HKEY_CLASSES_ROOT, kClassKey + "\\Stale");
    ASSERT_EQ(S_OK, Tesselator().registerServer());
    EXPECT_EQ(1u, CountSubkeys(HKEY_CLASSES_ROOT, "CLSID"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey + "\\Stale"));
    ExpectRegistered(TesselatorPath());

    // Another handler under the same NoRemove keys survives.
    CreateKey(HKEY_CLASSES_ROOT, "Directory\\Background\\ShellEx\\ContextMenuHandlers\\Other");
    ASSERT_EQ(S_OK, Tesselator().unregisterServer());
    ExpectUnregistered();
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "Directory\\Background\\ShellEx\\ContextMenuHandlers\\Other"));
    EXPECT_EQ("Other", ReadStringValue(HKEY_LOCAL_MACHINE, kApprovedKey, "{other}"));
}

TEST_F(RegistrationTest, WithoutTheRightToApproveNothingIsWritten)
{
    // No Approved key at all: it is never created.
    EXPECT_EQ(E_ACCESSDENIED, Tesselator().registerServer());
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kApprovedKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kHandlerKey));
    EXPECT_EQ(0u, CountSubkeys(HKEY_CLASSES_ROOT, ""));

    // An Approved key that grants only reading.
    CreateKey(HKEY_LOCAL_MACHINE, kApprovedKey);
    SetKeyDacl(HKEY_LOCAL_MACHINE, kApprovedKey, "D:P(A;;KR;;;WD)");

    EXPECT_EQ(E_ACCESSDENIED, Tesselator().registerServer());
    EXPECT_EQ(0u, CountValues(HKEY_LOCAL_MACHINE, kApprovedKey));
    EXPECT_EQ(0u, CountSubkeys(HKEY_CLASSES_ROOT, ""));

    // Full access again, so that the scratch registry can be removed.
    SetKeyDacl(HKEY_LOCAL_MACHINE, kApprovedKey, "D:(A;;KA;;;WD)");
}

TEST_F(RegistrationTest, DllInstallTakesOnlyTheUserCommandLineInAnyCase)
{
    const std::string handler = "Software\\Classes\\" + kHandlerKey;
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

BOOL CALLBACK TakeLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR found)
{
    *reinterpret_cast<WORD*>(found) = language;
    return FALSE;
}

TEST_F(RegistrationTest, FallsBackToATypeLibraryFileBesideTheLibrary)
{
    // A copy of the library whose TYPELIB resource cannot be read; the type
    // library lies beside it as Tesselator.tlb instead.
    CTempProgramFolder folder(false, "-tlb");
    const std::string copy = folder.Path() + "\\Tesselator.dll";
    const std::string file = folder.Path() + "\\Tesselator.tlb";
    ASSERT_TRUE(CopyFileA(TesselatorPath().c_str(), copy.c_str(), FALSE));
    const HMODULE original = Tesselator().module;
    const HRSRC resource = FindResourceA(original, MAKEINTRESOURCEA(1), "TYPELIB");
    ASSERT_TRUE(resource);
    WriteFileBytes(file, std::string(static_cast<const char*>(LockResource(LoadResource(original, resource))),
                                     SizeofResource(original, resource)));
    WORD language = 0;
    EnumResourceLanguagesA(original, "TYPELIB", MAKEINTRESOURCEA(1), TakeLanguage, reinterpret_cast<LONG_PTR>(&language));
    const HANDLE update = BeginUpdateResourceA(copy.c_str(), FALSE);
    ASSERT_TRUE(update);
    // Wine does not delete a resource given no data; unreadable data serves.
    char junk[] = "not a type library";
    ASSERT_TRUE(UpdateResourceA(update, "TYPELIB", MAKEINTRESOURCEA(1), language, junk, sizeof junk));
    ASSERT_TRUE(EndUpdateResourceA(update, FALSE));
    CInterfacePtr<ITypeLib> none;
    ASSERT_TRUE(FAILED(LoadTypeLibEx(std::wstring(copy.begin(), copy.end()).c_str(), REGKIND_NONE, none.Put())));

    const HMODULE module = LoadLibraryA(copy.c_str());
    ASSERT_TRUE(module);
    const auto registerServer = reinterpret_cast<HRESULT(WINAPI*)()>(GetProcAddress(module, "DllRegisterServer"));
    const auto unregisterServer = reinterpret_cast<HRESULT(WINAPI*)()>(GetProcAddress(module, "DllUnregisterServer"));
    CreateKey(HKEY_LOCAL_MACHINE, kApprovedKey);
    EXPECT_EQ(S_OK, registerServer());
    const std::string platform = sizeof(void*) == 8 ? "win64" : "win32";
    std::string registered = ReadStringValue(HKEY_CLASSES_ROOT, std::string("TypeLib\\") + kLibraryId + "\\1.0\\409\\" + platform);
    CharLowerA(registered.data());
    std::string expected = file;
    CharLowerA(expected.data());
    EXPECT_EQ(expected, registered);
    EXPECT_EQ(S_OK, unregisterServer());
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::string("TypeLib\\") + kLibraryId));
    FreeLibrary(module);
}

// A default value read through the wide call; L"<missing>" when absent.
std::wstring ReadWideDefault(HKEY root, const std::wstring& key)
{
    wchar_t text[MAX_PATH * 2] = {};
    DWORD size = sizeof text - sizeof(wchar_t);
    return RegGetValueW(root, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, text, &size) == ERROR_SUCCESS
        ? text
        : L"<missing>";
}

std::wstring LowerWide(std::wstring text)
{
    CharLowerW(text.data());
    return text;
}

TEST_F(RegistrationTest, RegistersFromAFolderTheCodePageCannotSpell)
{
    // A Just me install lies in the user's profile, named in any script.
    CTempProgramFolder base(false, "-unicode");
    const CWideFolder folder(Wide(base.Path()) + L"\\\u0418\u043D\u0441\u0442\u0440 \u540D o'\u0142");
    const std::wstring copy = folder.Path() + L"\\Tesselator.dll";
    ASSERT_TRUE(CopyFileW(Wide(TesselatorPath()).c_str(), copy.c_str(), FALSE));
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
        EXPECT_EQ(shortPath, ReadWideDefault(HKEY_CLASSES_ROOT, Wide(kClassKey) + L"\\InprocServer32"));
        const std::wstring platform = sizeof(void*) == 8 ? L"win64" : L"win32";
        EXPECT_EQ(LowerWide(copy),
                  LowerWide(ReadWideDefault(HKEY_CLASSES_ROOT, L"TypeLib\\" + Wide(kLibraryId) + L"\\1.0\\409\\" + platform)));
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
    const std::string quoted = folder.Path() + "\\it's";
    ASSERT_TRUE(CreateDirectoryA(quoted.c_str(), nullptr));
    const std::string library = quoted + "\\Tesselator.dll";
    ASSERT_TRUE(CopyFileA(TesselatorPath().c_str(), library.c_str(), FALSE));
    ASSERT_NE(std::string::npos, ShortPath(library).find('\'')) << ShortPath(library);

    ASSERT_EQ(0u, RunAndWait("regsvr32.exe /s \"" + library + "\""));
    ExpectRegistered(library);
    ASSERT_EQ(0u, RunAndWait("regsvr32.exe /s \"" + library + "\""));
    EXPECT_EQ(ShortPath(library), ReadStringValue(HKEY_CLASSES_ROOT, kClassKey + "\\InprocServer32"));

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

    EXPECT_EQ(0u, RunAndWait("regsvr32.exe /u /s \"" + library + "\""));
    ExpectUnregistered();
}

TEST(Regsvr32, RegistersForTheUserAloneAndRemovesIt)
{
    // The prefix's real registry again (see above).
    const std::string library = TesselatorPath();
    const std::string classes = "Software\\Classes\\";
    const std::vector<std::string> scriptKeys = {"Tesselator.SimpleShlExt.1", "Tesselator.SimpleShlExt", kClassKey,
                                                 kHandlerKey};

    ASSERT_EQ(0u, RunAndWait("regsvr32.exe /n /i:user /s \"" + library + "\""));
    EXPECT_EQ("SimpleShlExt Class", ReadStringValue(HKEY_CURRENT_USER, classes + kClassKey));
    EXPECT_EQ(ShortPath(library), ReadStringValue(HKEY_CURRENT_USER, classes + kClassKey + "\\InprocServer32"));
    EXPECT_EQ("Apartment",
              ReadStringValue(HKEY_CURRENT_USER, classes + kClassKey + "\\InprocServer32", "ThreadingModel"));
    EXPECT_EQ(kClassId, ReadStringValue(HKEY_CURRENT_USER, classes + kHandlerKey));
    EXPECT_EQ("Fast Folders", ReadStringValue(HKEY_CURRENT_USER, kApprovedKey, kClassId));
    // Nothing for the machine. The type library is left out: Wine's per-user
    // type-library registration writes the machine's.
    for (const std::string& key : scriptKeys) {
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, key)) << key;
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, classes + key)) << key;
    }
    EXPECT_EQ("<missing>", ReadStringValue(HKEY_LOCAL_MACHINE, kApprovedKey, kClassId));

    EXPECT_EQ(0u, RunAndWait("regsvr32.exe /u /n /i:user /s \"" + library + "\""));
    for (const std::string& key : scriptKeys)
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, classes + key)) << key;
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, classes + "Directory\\Background\\ShellEx\\ContextMenuHandlers"));
    EXPECT_EQ("<missing>", ReadStringValue(HKEY_CURRENT_USER, kApprovedKey, kClassId));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, classes + "TypeLib\\" + kLibraryId));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, std::string("TypeLib\\") + kLibraryId));
}

TEST(TesselatorResources, CarryTheVersionStringsAndTheTypeLibrary)
{
    const std::string path = TesselatorPath();
    DWORD ignored = 0;
    std::string info(GetFileVersionInfoSizeA(path.c_str(), &ignored), '\0');
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &size));
    EXPECT_EQ(MAKELONG(0, 1), static_cast<LONG>(fixed->dwFileVersionMS));
    EXPECT_EQ(MAKELONG(2, 0), static_cast<LONG>(fixed->dwFileVersionLS));
    EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);
    const auto text = [&](const char* name) {
        char* value = nullptr;
        UINT length = 0;
        const std::string query = std::string("\\StringFileInfo\\040904B0\\") + name;
        if (!VerQueryValueA(info.data(), query.c_str(), reinterpret_cast<void**>(&value), &length))
            return std::string("<missing>");
        return std::string(value, strnlen(value, length));
    };
    EXPECT_EQ("", text("OLESelfRegister"));
    EXPECT_EQ("Verbosa: Fast Folders Shell Extension", text("FileDescription"));
    EXPECT_EQ("Verbosa: Fast Folders Shell Extension", text("ProductName"));
    EXPECT_EQ("Shell Extension for Verbosa", text("Comments"));
    EXPECT_EQ("Tesselator", text("InternalName"));
    EXPECT_EQ("Tesselator.DLL", text("OriginalFilename"));

    char project[64] = {};
    EXPECT_EQ(10, LoadStringA(Tesselator().module, 100, project, sizeof project));
    EXPECT_STREQ("Tesselator", project);

    CInterfacePtr<ITypeLib> library;
    ASSERT_EQ(S_OK, LoadTypeLibEx(std::wstring(path.begin(), path.end()).c_str(), REGKIND_NONE, library.Put()));
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
