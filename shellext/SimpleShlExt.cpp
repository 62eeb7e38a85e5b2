#include "shellext/SimpleShlExt.h"

#include "shellext/ComBoundary.h"
#include "shellext/FolderNavigation.h"
#include "shellext/Identity.h"
#include "shellext/MenuPictures.h"
#include "shellext/MenuTexts.h"
#include "shellext/Module.h"
#include "shellext/OleAutomation.h"
#include "shellext/StoreReader.h"
#include "shellext/WideText.h"

#include <iterator>
#include <new>

namespace tesselator {

namespace {

// The interface table, in the order QueryInterface searches it. IUnknown,
// ISimpleShlExt and IDispatch share the primary interface pointer.
struct InterfaceEntry {
    const IID* iid;
    void* (*cast)(SimpleShlExt*);
};

template <typename I>
void* CastTo(SimpleShlExt* object)
{
    return static_cast<I*>(object);
}

const InterfaceEntry kInterfaces[] = {
    {&IID_IUnknown, &CastTo<ISimpleShlExt>},
    {&IID_ISimpleShlExt, &CastTo<ISimpleShlExt>},
    {&IID_IDispatch, &CastTo<ISimpleShlExt>},
    {&IID_IShellExtInit, &CastTo<IShellExtInit>},
    {&IID_IContextMenu, &CastTo<IContextMenu>},
    {&IID_IObjectWithSite, &CastTo<IObjectWithSite>},
};

HRESULT MenuResult(int count)
{
    return MAKE_HRESULT(SEVERITY_SUCCESS, FACILITY_NULL, static_cast<USHORT>(count));
}

} // namespace

// --- lifetime and identity ---------------------------------------------------

SimpleShlExt::SimpleShlExt(IUnknown* outer) : m_outer(outer ? outer : &m_inner)
{
    LockModule();
}

SimpleShlExt::~SimpleShlExt()
{
    m_site.Reset(); // runs host code: while the module is still locked
    UnlockModule();
}

HRESULT SimpleShlExt::CreateInstance(IUnknown* outer, REFIID riid, void** result)
{
    auto* object = new (std::nothrow) SimpleShlExt(outer);
    if (!object)
        return E_OUTOFMEMORY;
    const HRESULT hr = object->m_inner.QueryInterface(riid, result);
    object->m_inner.Release(); // the creation reference
    return hr;
}

HRESULT SimpleShlExt::CInnerUnknown::QueryInterface(REFIID riid, void** result)
{
    return Guarded([&] {
        if (!result)
            return E_POINTER;
        *result = nullptr;
        if (riid == IID_IUnknown && m_owner.m_outer != this) {
            *result = this; // an aggregate's identity is the outer object
        } else {
            for (const InterfaceEntry& entry : kInterfaces) {
                if (*entry.iid == riid) {
                    *result = entry.cast(&m_owner);
                    break;
                }
            }
        }
        if (!*result)
            return E_NOINTERFACE;
        static_cast<IUnknown*>(*result)->AddRef();
        return S_OK;
    });
}

ULONG SimpleShlExt::CInnerUnknown::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_owner.m_refs));
}

ULONG SimpleShlExt::CInnerUnknown::Release()
{
    const LONG refs = InterlockedDecrement(&m_owner.m_refs);
    if (refs == 0)
        delete &m_owner;
    return static_cast<ULONG>(refs);
}

HRESULT SimpleShlExt::QueryInterface(REFIID riid, void** result) { return m_outer->QueryInterface(riid, result); }
ULONG SimpleShlExt::AddRef() { return m_outer->AddRef(); }
ULONG SimpleShlExt::Release() { return m_outer->Release(); }

// --- IDispatch -----------------------------------------------------------------

HRESULT SimpleShlExt::LoadTypeInfo()
{
    if (m_typeInfo)
        return S_OK;
    const auto loadRegTypeLib = OleAutomationCall<decltype(&LoadRegTypeLib)>("LoadRegTypeLib");
    if (!loadRegTypeLib)
        return TYPE_E_CANTLOADLIBRARY;
    CComHolder<ITypeLib> library;
    HRESULT hr = loadRegTypeLib(LIBID_TesselatorLib, kTypeLibMajor, kTypeLibMinor, kTypeLibLocale, library.Put());
    if (SUCCEEDED(hr))
        hr = library->GetTypeInfoOfGuid(IID_ISimpleShlExt, m_typeInfo.Put());
    return hr;
}

HRESULT SimpleShlExt::GetTypeInfoCount(UINT* count)
{
    return Guarded([&] {
        if (!count)
            return E_POINTER;
        *count = 1;
        return S_OK;
    });
}

HRESULT SimpleShlExt::GetTypeInfo(UINT index, LCID, ITypeInfo** info)
{
    return Guarded([&] {
        if (!info)
            return E_POINTER;
        *info = nullptr;
        if (index != 0)
            return DISP_E_BADINDEX;
        const HRESULT hr = LoadTypeInfo();
        if (FAILED(hr))
            return hr;
        m_typeInfo->AddRef();
        *info = m_typeInfo.Get();
        return S_OK;
    });
}

HRESULT SimpleShlExt::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    return Guarded([&] {
        if (riid != IID_NULL)
            return DISP_E_UNKNOWNINTERFACE;
        const HRESULT hr = LoadTypeInfo();
        if (FAILED(hr))
            return hr;
        const auto getIDsOfNames = OleAutomationCall<decltype(&DispGetIDsOfNames)>("DispGetIDsOfNames");
        return getIDsOfNames ? getIDsOfNames(m_typeInfo.Get(), names, count, ids) : TYPE_E_CANTLOADLIBRARY;
    });
}

HRESULT SimpleShlExt::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                             EXCEPINFO* exception, UINT* argumentError)
{
    return Guarded([&] {
        if (riid != IID_NULL)
            return DISP_E_UNKNOWNINTERFACE;
        const HRESULT hr = LoadTypeInfo();
        if (FAILED(hr))
            return hr;
        const auto invoke = OleAutomationCall<decltype(&DispInvoke)>("DispInvoke");
        return invoke ? invoke(static_cast<ISimpleShlExt*>(this), m_typeInfo.Get(), id, flags, params, result,
                               exception, argumentError)
                      : TYPE_E_CANTLOADLIBRARY;
    });
}

// --- the store ---------------------------------------------------------------

void SimpleShlExt::LoadAliases()
{
    m_nCount = 0;
    CKeyHolder key;
    if (!OpenStore(key))
        return;
    // Items are dense from 0: the first unreadable alias ends the list.
    while (m_nCount < kMaxFastFolders && ReadStoreText(key.Get(), AliasValueName(m_nCount), m_aszAliases[m_nCount]))
        ++m_nCount;
}

void SimpleShlExt::ReadTargetPath(int index)
{
    CKeyHolder key;
    if (OpenStore(key))
        ReadStoreText(key.Get(), PathValueName(index), m_szTarget);
}

void SimpleShlExt::ReadProgramPath()
{
    m_szProgram[0] = L'\0';
    CKeyHolder key;
    if (OpenStore(key))
        ReadStoreText(key.Get(), kProgramPathValue, m_szProgram);
}

// --- IShellExtInit -------------------------------------------------------------

HRESULT SimpleShlExt::Initialize(PCIDLIST_ABSOLUTE pidlFolder, IDataObject*, HKEY)
{
    return Guarded([&] {
        LoadAliases();
        // Only real file-system folders get the submenu.
        if (!pidlFolder || !SHGetPathFromIDListW(pidlFolder, m_szFolder))
            return E_INVALIDARG;
        return S_OK;
    });
}

// --- IContextMenu ----------------------------------------------------------------

namespace {

enum class PictureSlot { checkMark, itemBitmap };

// One call per entry: text, id and its picture, for the unticked state or
// as the item's bitmap.
bool InsertEntry(HMENU menu, UINT position, UINT id, const wchar_t* text, HBITMAP picture, PictureSlot slot,
                 HMENU submenu = nullptr)
{
    MENUITEMINFOW item = {};
    item.cbSize = sizeof item;
    const UINT pictureMask = slot == PictureSlot::checkMark ? MIIM_CHECKMARKS : MIIM_BITMAP;
    item.fMask = MIIM_STRING | MIIM_ID | (picture ? pictureMask : 0u) | (submenu ? MIIM_SUBMENU : 0u);
    item.wID = id;
    item.hSubMenu = submenu;
    (slot == PictureSlot::checkMark ? item.hbmpUnchecked : item.hbmpItem) = picture;
    item.dwTypeData = const_cast<wchar_t*>(text);
    return InsertMenuItemW(menu, position, TRUE, &item) != FALSE;
}

void InsertSeparator(HMENU menu, UINT position)
{
    InsertMenuW(menu, position, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
}

} // namespace

HRESULT SimpleShlExt::QueryContextMenu(HMENU menu, UINT indexMenu, UINT idCmdFirst, UINT idCmdLast, UINT flags)
{
    return Guarded([&] {
        if ((flags & CMF_DEFAULTONLY) != 0)
            return MenuResult(0);
        const int used = m_nCount + 1;
        if (!CommandRangeFits(idCmdFirst, idCmdLast, used))
            return MenuResult(0); // ids outside the range would collide with other handlers
        const MenuPictureSet pictures = PicturesForMenu();
        const PictureSlot slot = pictures.scale == 0 ? PictureSlot::checkMark : PictureSlot::itemBitmap;

        // The shell's menu is touched only once the popup is complete, so a
        // failure on the way leaves it as it was.
        CMenuHolder popup(CreatePopupMenu());
        if (!popup)
            return MenuResult(0);
        for (int i = 0; i < m_nCount; ++i) {
            const std::wstring text = FromUtf16(MenuTextForAlias(ToUtf16(m_aszAliases[i])));
            InsertEntry(popup.Get(), i, idCmdFirst + i, text.c_str(), pictures.entry, slot);
        }
        if (m_nCount > 0)
            InsertSeparator(popup.Get(), m_nCount);
        InsertEntry(popup.Get(), m_nCount + 1, idCmdFirst + m_nCount, kSettingsText, nullptr, slot);

        InsertSeparator(menu, indexMenu);
        if (InsertEntry(menu, indexMenu + 1, 0, kSubmenuText, pictures.submenu, slot, popup.Get()))
            popup.Detach(); // the shell's menu owns the popup now
        InsertSeparator(menu, indexMenu + 2);
        return MenuResult(used);
    });
}

HRESULT SimpleShlExt::GetCommandString(UINT_PTR offset, UINT type, UINT*, CHAR* name, UINT size)
{
    return Guarded([&] {
        if (offset != 0 || !AsksForHelpText(type) || !name || size == 0)
            return E_INVALIDARG;
        if (AsksForUnicode(type))
            CopyTruncated(std::wstring_view(kHelpTextWide), reinterpret_cast<wchar_t*>(name), size);
        else
            CopyTruncated(std::string_view(kHelpText), name, size);
        return S_OK;
    });
}

void SimpleShlExt::OpenSettings()
{
    ReadProgramPath();
    if (m_szProgram[0] != L'\0')
        ShellOpen(m_szProgram, kSettingsParameters);
}

void SimpleShlExt::OpenFolder(int index)
{
    // The path is read at the moment of the choice; an item removed since the
    // menu was built leaves nothing to open, never a stale target.
    m_szTarget[0] = L'\0';
    ReadTargetPath(index);
    if (m_szTarget[0] != L'\0')
        ShowFolder(m_szTarget, m_site.Get());
}

HRESULT SimpleShlExt::InvokeCommand(CMINVOKECOMMANDINFO* info)
{
    return Guarded([&] {
        if (!info)
            return E_INVALIDARG;
        const int offset = VerbOffset(reinterpret_cast<UINT_PTR>(info->lpVerb));
        switch (ClassifyOffset(offset, m_nCount)) {
        case MenuCommand::Settings:
            OpenSettings();
            return S_OK;
        case MenuCommand::Folder:
            OpenFolder(offset);
            return S_OK;
        case MenuCommand::Invalid:
            break;
        }
        return E_INVALIDARG;
    });
}

// --- IObjectWithSite -------------------------------------------------------------

HRESULT SimpleShlExt::SetSite(IUnknown* site)
{
    return Guarded([&] {
        if (site)
            site->AddRef();
        m_site.Reset(site);
        return S_OK;
    });
}

HRESULT SimpleShlExt::GetSite(REFIID riid, void** result)
{
    return Guarded([&] {
        if (!result)
            return E_POINTER;
        *result = nullptr;
        return m_site ? m_site->QueryInterface(riid, result) : E_FAIL;
    });
}

} // namespace tesselator
