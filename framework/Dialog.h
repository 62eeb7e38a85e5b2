#pragma once
// Dialog windows built from templates, with routing tables that map
// commands, control notifications and window messages to handler methods.
//
//   class CMyDlg : public CDialog {
//       DECLARE_ROUTES()
//       void OnBrowse();
//   };
//   BEGIN_ROUTES(CMyDlg, CDialog)
//       ON_COMMAND(1015, OnBrowse)
//   END_ROUTES()
//
// A CFileError thrown inside any handler is reported to the user and ends
// that handler; the window goes on.
#include <windows.h>

#include <functional>

class CDialog;

// The message the system sends for the F1 key (undocumented in the SDK headers).
inline constexpr UINT kWmKeyF1 = 0x004D;
// F1 without Shift: the key that opens a window's help.
inline bool IsHelpKeyMessage(const MSG* msg)
{
    return msg->message == kWmKeyF1 && GetKeyState(VK_SHIFT) >= 0;
}

enum class RouteKind { command, commandRange, control, notify, message };

struct RouteEntry {
    RouteKind kind;
    UINT code;     // notification code (control, notify) or message (message)
    UINT firstId;  // control or command id; the range's first
    UINT lastId;
    // Calls the handler; returns whether the message counts as handled.
    BOOL (*call)(CDialog* self, WPARAM wParam, LPARAM lParam, LRESULT& result);
};

struct CRouteTable {
    const CRouteTable* base;
    const RouteEntry* entries;
    size_t count;
};

#define DECLARE_ROUTES()                                   \
public:                                                    \
    static const CRouteTable* StaticRoutes();              \
    const CRouteTable* GetRoutes() const override;         \
private:

#define BEGIN_ROUTES(theClass, baseClass)                                        \
    const CRouteTable* theClass::GetRoutes() const { return StaticRoutes(); }    \
    const CRouteTable* theClass::StaticRoutes()                                  \
    {                                                                            \
        using ThisClass = theClass;                                              \
        const CRouteTable* baseRoutes = baseClass::StaticRoutes();               \
        static const RouteEntry entries[] = {

#define END_ROUTES()                                                             \
        };                                                                       \
        static const CRouteTable table{baseRoutes, entries,                      \
                                       sizeof(entries) / sizeof(entries[0])};    \
        return &table;                                                           \
    }

// Menu items, accelerators and button clicks: void OnX().
#define ON_COMMAND(id, handler)                                                  \
    {RouteKind::command, 0, (id), (id),                                          \
     [](CDialog* d, WPARAM, LPARAM, LRESULT&) -> BOOL {                          \
         static_cast<ThisClass*>(d)->handler();                                  \
         return TRUE;                                                            \
     }},

// A range of command ids: void OnX(UINT id).
#define ON_COMMAND_RANGE(firstId, lastId, handler)                               \
    {RouteKind::commandRange, 0, (firstId), (lastId),                            \
     [](CDialog* d, WPARAM w, LPARAM, LRESULT&) -> BOOL {                        \
         static_cast<ThisClass*>(d)->handler(LOWORD(w));                         \
         return TRUE;                                                            \
     }},

// A control's WM_COMMAND notification (EN_SETFOCUS, STN_CLICKED...): void OnX().
#define ON_CONTROL(notifyCode, id, handler)                                      \
    {RouteKind::control, (UINT)(notifyCode), (id), (id),                         \
     [](CDialog* d, WPARAM, LPARAM, LRESULT&) -> BOOL {                          \
         static_cast<ThisClass*>(d)->handler();                                  \
         return TRUE;                                                            \
     }},

// WM_NOTIFY: void OnX(NMHDR* header, LRESULT* result).
#define ON_NOTIFY(notifyCode, id, handler)                                       \
    {RouteKind::notify, (UINT)(notifyCode), (id), (id),                          \
     [](CDialog* d, WPARAM, LPARAM l, LRESULT& r) -> BOOL {                      \
         static_cast<ThisClass*>(d)->handler(reinterpret_cast<NMHDR*>(l), &r);   \
         return TRUE;                                                            \
     }},

// Any window message: BOOL OnX(WPARAM, LPARAM, LRESULT& result); FALSE lets
// the dialog's default processing run.
#define ON_MESSAGE(msg, handler)                                                 \
    {RouteKind::message, (msg), 0, 0,                                            \
     [](CDialog* d, WPARAM w, LPARAM l, LRESULT& r) -> BOOL {                    \
         return static_cast<ThisClass*>(d)->handler(w, l, r);                    \
     }},

class CDialog {
public:
    // parent nullptr: owned by the application's main window.
    CDialog(UINT templateId, HWND parent);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog modally and returns the value given to EndDialog
    // (-1 when the window could not be created).
    INT_PTR DoModal();
    // Creates the dialog modeless (tests drive windows this way); hidden
    // leaves it invisible whatever the template says.
    bool Create(HWND parent, bool hidden = false);
    void DestroyWindow();
    void EndDialog(int result);

    HWND GetSafeHwnd() const { return m_hWnd; }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    UINT GetTemplateId() const { return m_templateId; }
    bool IsEnded() const { return m_ended; }
    INT_PTR GetResult() const { return m_result; }

    // The base runs UpdateData(false) and returns TRUE.
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(bool save);
    bool UpdateData(bool save);
    virtual void OnOK();
    virtual void OnCancel();
    // The modal loop hands every message to the innermost dialog first;
    // TRUE means it was handled. The base runs the dialog manager's keys.
    virtual BOOL PreTranslateMessage(MSG* msg);

    // Marks this dialog as the application's main window once it exists.
    void MakeAppMainWindow() { m_isMainWindow = true; }

    // Test seam: when set, DoModal creates the dialog (initialised, not
    // shown), hands it to the hook instead of running the loop, and ends it
    // with IDCANCEL if the hook did not.
    using ModalHook = std::function<void(CDialog&)>;
    // Returns the hook it replaces, so that a nested test can restore it.
    static ModalHook SetModalHook(ModalHook hook);

    static const CRouteTable* StaticRoutes();
    virtual const CRouteTable* GetRoutes() const;

protected:
    HWND m_hWnd = nullptr;

    // For windows the system creates from our templates (property pages).
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
    void Attach(HWND hwnd);
    void Detach();

private:
    bool Route(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result, BOOL& handled);
    HWND CreateFromTemplate(HWND owner, bool hidden);

    UINT m_templateId;
    HWND m_parent;
    bool m_modal = false;
    bool m_ended = false;
    bool m_isMainWindow = false;
    INT_PTR m_result = -1;
};
