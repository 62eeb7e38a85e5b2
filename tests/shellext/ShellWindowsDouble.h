#pragma once
// Stand-ins for the shell's list of Explorer windows (Wine's own answers "not
// implemented"): the list, registered in this process for the multithreaded
// apartment where the library asks for it, its windows, and browsers that
// show real views of folders. For the tests and the menu picture's host.
#include "framework/Handles.h"

#include <windows.h>
#include <exdisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include <vector>

// Reference counts only: the doubles live on the test's stack, and the
// worker may call them from its own thread.
template <typename... Interfaces>
class CStackObject : public Interfaces... {
public:
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }
    STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(InterlockedDecrement(&m_refs)); }
    LONG Refs() const { return m_refs; }

private:
    LONG m_refs = 1;
};

// A frame that shows a real shell view of one folder (a path, or an
// item-ID list for a virtual folder).
class CFolderBrowser final : public CStackObject<IShellBrowser> {
public:
    CFolderBrowser(PIDLIST_ABSOLUTE folder, HWND frame) : m_folder(folder), m_frame(frame) {}
    ~CFolderBrowser() { ILFree(m_folder); }

    STDMETHODIMP QueryInterface(REFIID riid, void** result) override
    {
        *result = riid == IID_IUnknown || riid == IID_IOleWindow || riid == IID_IShellBrowser ? this : nullptr;
        if (!*result)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP GetWindow(HWND* window) override
    {
        *window = m_frame;
        return m_frame ? S_OK : E_FAIL;
    }
    STDMETHODIMP QueryActiveShellView(IShellView** view) override
    {
        *view = nullptr;
        CInterfacePtr<IShellFolder> desktop, folder;
        if (FAILED(SHGetDesktopFolder(desktop.Put())))
            return E_FAIL;
        if (FAILED(desktop->BindToObject(m_folder, nullptr, IID_IShellFolder, folder.PutVoid())))
            return E_FAIL;
        return folder->CreateViewObject(nullptr, IID_IShellView, reinterpret_cast<void**>(view));
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP InsertMenusSB(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenuSB(HMENU, HOLEMENU, HWND) override { return E_NOTIMPL; }
    STDMETHODIMP RemoveMenusSB(HMENU) override { return E_NOTIMPL; }
    STDMETHODIMP SetStatusTextSB(LPCWSTR) override { return E_NOTIMPL; }
    STDMETHODIMP EnableModelessSB(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP TranslateAcceleratorSB(MSG*, WORD) override { return E_NOTIMPL; }
    STDMETHODIMP BrowseObject(PCUIDLIST_RELATIVE, UINT) override { return E_NOTIMPL; }
    STDMETHODIMP GetViewStateStream(DWORD, IStream**) override { return E_NOTIMPL; }
    STDMETHODIMP GetControlWindow(UINT, HWND*) override { return E_NOTIMPL; }
    STDMETHODIMP SendControlMsg(UINT, UINT, WPARAM, LPARAM, LRESULT*) override { return E_NOTIMPL; }
    STDMETHODIMP OnViewWindowActive(IShellView*) override { return E_NOTIMPL; }
    STDMETHODIMP SetToolbarItems(LPTBBUTTONSB, UINT, UINT) override { return E_NOTIMPL; }

private:
    PIDLIST_ABSOLUTE m_folder;
    HWND m_frame;
};

// One entry of the window list: what its top-level browser service answers.
class CExplorerWindow final : public CStackObject<IDispatch, IServiceProvider> {
public:
    enum class Answer { Browser, Fails, WrongInterface, Hangs };
    CExplorerWindow(Answer answer, IShellBrowser* browser = nullptr) : m_answer(answer), m_browser(browser) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** result) override
    {
        if (riid == IID_IUnknown || riid == IID_IDispatch)
            *result = static_cast<IDispatch*>(this);
        else if (riid == IID_IServiceProvider)
            *result = static_cast<IServiceProvider*>(this);
        else
            *result = nullptr;
        if (!*result)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP QueryService(REFGUID service, REFIID, void** result) override
    {
        *result = nullptr;
        if (service != SID_STopLevelBrowser)
            return E_NOINTERFACE;
        switch (m_answer) {
        case Answer::Browser:
            m_browser->AddRef();
            *result = m_browser;
            return S_OK;
        case Answer::WrongInterface: // claims success, hands over no browser
            AddRef();
            *result = static_cast<IDispatch*>(this);
            return S_OK;
        case Answer::Hangs:
            WaitForSingleObject(m_release.Get(), 30000);
            return E_FAIL;
        case Answer::Fails:
            break;
        }
        return E_FAIL;
    }
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    void Serve(IShellBrowser* browser) { m_browser = browser; }
    // Lets a hanging call return.
    void Answer_() { SetEvent(m_release.Get()); }

private:
    Answer m_answer;
    IShellBrowser* m_browser;
    CKernelHandle m_release{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};

// The shell's window list; a null entry is a window whose Item fails.
class CShellWindowsDouble final : public CStackObject<IShellWindows, IClassFactory> {
public:
    std::vector<IDispatch*> windows;

    STDMETHODIMP QueryInterface(REFIID riid, void** result) override
    {
        if (riid == IID_IUnknown || riid == IID_IClassFactory)
            *result = static_cast<IClassFactory*>(this);
        else if (riid == IID_IDispatch || riid == IID_IShellWindows)
            *result = static_cast<IShellWindows*>(this);
        else
            *result = nullptr;
        if (!*result)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** result) override
    {
        *result = nullptr;
        return outer ? CLASS_E_NOAGGREGATION : QueryInterface(riid, result);
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
    STDMETHODIMP get_Count(LONG* count) override
    {
        *count = static_cast<LONG>(windows.size());
        return S_OK;
    }
    STDMETHODIMP Item(VARIANT index, IDispatch** window) override
    {
        *window = nullptr;
        if (index.vt != VT_I4 || index.lVal < 0 || static_cast<size_t>(index.lVal) >= windows.size() ||
            !windows[index.lVal])
            return E_FAIL;
        *window = windows[index.lVal];
        (*window)->AddRef();
        return S_OK;
    }
    STDMETHODIMP _NewEnum(IUnknown**) override { return E_NOTIMPL; }
    STDMETHODIMP Register(IDispatch*, LONG, int, LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP RegisterPending(LONG, VARIANT*, VARIANT*, int, LONG*) override { return E_NOTIMPL; }
    STDMETHODIMP Revoke(LONG) override { return E_NOTIMPL; }
    STDMETHODIMP OnNavigate(LONG, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP OnActivated(LONG, VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP FindWindowSW(VARIANT*, VARIANT*, int, LONG*, int, IDispatch**) override { return E_NOTIMPL; }
    STDMETHODIMP OnCreated(LONG, IUnknown*) override { return E_NOTIMPL; }
    STDMETHODIMP ProcessAttachDetach(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }
};

// Registers the window list for the multithreaded apartment, where the
// library's worker asks for it, from a thread that keeps that apartment
// alive until the object goes.
class CRegisteredShellWindows {
public:
    explicit CRegisteredShellWindows(CShellWindowsDouble& list) : m_list(list)
    {
        m_thread.Reset(CreateThread(nullptr, 0, &CRegisteredShellWindows::Run, this, 0, nullptr));
        WaitForSingleObject(m_ready.Get(), 10000);
    }
    ~CRegisteredShellWindows()
    {
        SetEvent(m_stop.Get());
        WaitForSingleObject(m_thread.Get(), 10000);
    }
    CRegisteredShellWindows(const CRegisteredShellWindows&) = delete;
    CRegisteredShellWindows& operator=(const CRegisteredShellWindows&) = delete;
    bool Registered() const { return m_registered; }

private:
    static DWORD WINAPI Run(void* parameter)
    {
        auto& self = *static_cast<CRegisteredShellWindows*>(parameter);
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        DWORD cookie = 0;
        self.m_registered = SUCCEEDED(CoRegisterClassObject(CLSID_ShellWindows, static_cast<IClassFactory*>(&self.m_list),
                                                            CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie));
        SetEvent(self.m_ready.Get());
        WaitForSingleObject(self.m_stop.Get(), INFINITE);
        if (self.m_registered)
            CoRevokeClassObject(cookie);
        CoUninitialize();
        return 0;
    }

    CShellWindowsDouble& m_list;
    bool m_registered = false;
    CKernelHandle m_ready{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    CKernelHandle m_stop{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    CKernelHandle m_thread;
};
