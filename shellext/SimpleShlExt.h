#pragma once
// The directory-background context-menu handler: one object per menu. It
// offers the Fast Folders of the store and "Settings...", and makes the
// window the user works in browse to the chosen folder.
#include "shellext/HandlerRules.h"
#include "shellext/Holders.h"

#include "TesselatorLib.h"

#include <ocidl.h>
#include <shlobj.h>

namespace tesselator {

class SimpleShlExt final : public ISimpleShlExt, public IShellExtInit, public IContextMenu, public IObjectWithSite {
public:
    // The class factory's creator: an aggregated inner object when outer is
    // given (the caller has checked that IUnknown was asked for).
    static HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** result);

    // IUnknown, delegated to the controlling unknown.
    STDMETHODIMP QueryInterface(REFIID riid, void** result) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch, answered from the registered type library.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argumentError) override;

    // IShellExtInit
    STDMETHODIMP Initialize(PCIDLIST_ABSOLUTE pidlFolder, IDataObject* data, HKEY progIdKey) override;

    // IContextMenu
    STDMETHODIMP QueryContextMenu(HMENU menu, UINT indexMenu, UINT idCmdFirst, UINT idCmdLast, UINT flags) override;
    STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO* info) override;
    STDMETHODIMP GetCommandString(UINT_PTR offset, UINT type, UINT* reserved, CHAR* name, UINT size) override;

    // IObjectWithSite: the host hands over its site, through which the
    // handler finds the browser to navigate.
    STDMETHODIMP SetSite(IUnknown* site) override;
    STDMETHODIMP GetSite(REFIID riid, void** result) override;

private:
    // The non-delegating IUnknown that an aggregating outer object holds.
    class CInnerUnknown final : public IUnknown {
    public:
        explicit CInnerUnknown(SimpleShlExt& owner) : m_owner(owner) {}
        STDMETHODIMP QueryInterface(REFIID riid, void** result) override;
        STDMETHODIMP_(ULONG) AddRef() override;
        STDMETHODIMP_(ULONG) Release() override;

    private:
        SimpleShlExt& m_owner;
    };

    explicit SimpleShlExt(IUnknown* outer);
    ~SimpleShlExt();
    SimpleShlExt(const SimpleShlExt&) = delete;
    SimpleShlExt& operator=(const SimpleShlExt&) = delete;

    HRESULT LoadTypeInfo();
    void LoadAliases();
    void ReadTargetPath(int index);
    void ReadProgramPath();
    void OpenSettings();
    void OpenFolder(int index);

    CInnerUnknown m_inner{*this};
    IUnknown* m_outer;
    LONG m_refs = 1;
    CComHolder<ITypeInfo> m_typeInfo;
    CComHolder<IUnknown> m_site;

    // Store texts in UTF-16, as the registry holds them: any script.
    wchar_t m_szFolder[kTextBufferSize] = {};
    wchar_t m_aszAliases[kMaxFastFolders][kTextBufferSize] = {};
    int m_nCount = 0;
    wchar_t m_szTarget[kTextBufferSize] = {};
    wchar_t m_szProgram[kTextBufferSize] = {};
};

} // namespace tesselator
