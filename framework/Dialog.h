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
// An exception thrown inside any handler (a CFileError, lack of memory,
// anything) is reported to the user and ends that handler; the window goes on.
#include <windows.h>

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

// Typed window messages, decoded once here so that a handler's signature
// says what it receives. A void handler observes: the dialog's default
// processing runs after it.
#define ROUTE_OBSERVED_(msg, call)                                               \
    {RouteKind::message, (msg), 0, 0,                                            \
     [](CDialog* d, WPARAM w, LPARAM l, LRESULT&) -> BOOL {                      \
         [[maybe_unused]] auto* self = static_cast<ThisClass*>(d);               \
         (void)w;                                                                \
         (void)l;                                                                \
         call;                                                                   \
         return FALSE;                                                           \
     }},

// void OnCreate(), run before initialisation (dialogs see no WM_CREATE).
#define ON_WM_CREATE(handler) ROUTE_OBSERVED_(WM_CREATE, self->handler())
// void OnDestroy().
#define ON_WM_DESTROY(handler) ROUTE_OBSERVED_(WM_DESTROY, self->handler())
// void OnSize(UINT state, int clientWidth, int clientHeight).
#define ON_WM_SIZE(handler)                                                      \
    ROUTE_OBSERVED_(WM_SIZE, self->handler(static_cast<UINT>(w), static_cast<short>(LOWORD(l)),  \
                                           static_cast<short>(HIWORD(l))))
// void OnSizing(UINT edge, RECT& dragRect).
#define ON_WM_SIZING(handler)                                                    \
    ROUTE_OBSERVED_(WM_SIZING, self->handler(static_cast<UINT>(w), *reinterpret_cast<RECT*>(l)))
// void OnWindowPosChanging(WINDOWPOS& pos): may change the coming position.
#define ON_WM_WINDOWPOSCHANGING(handler)                                         \
    ROUTE_OBSERVED_(WM_WINDOWPOSCHANGING, self->handler(*reinterpret_cast<WINDOWPOS*>(l)))
// void OnShowWindow(bool show, UINT status).
#define ON_WM_SHOWWINDOW(handler)                                                \
    ROUTE_OBSERVED_(WM_SHOWWINDOW, self->handler(w != 0, static_cast<UINT>(l)))
// void OnMenuSelect(const MenuSelection& selection).
#define ON_WM_MENUSELECT(handler)                                                \
    ROUTE_OBSERVED_(WM_MENUSELECT, self->handler(MenuSelection{LOWORD(w), HIWORD(w), reinterpret_cast<HMENU>(l)}))
// void OnMouseMove(UINT keys, POINT client) and the same for a left press.
#define ON_WM_MOUSEMOVE(handler)                                                 \
    ROUTE_OBSERVED_(WM_MOUSEMOVE, self->handler(static_cast<UINT>(w), PointFromLParam(l)))
#define ON_WM_LBUTTONDOWN(handler)                                               \
    ROUTE_OBSERVED_(WM_LBUTTONDOWN, self->handler(static_cast<UINT>(w), PointFromLParam(l)))

// void OnDpiChanged(int dpi, const RECT& suggested): the window moved to a
// monitor of another scale and handles that itself.
#define ON_WM_DPICHANGED(handler)                                                \
    {RouteKind::message, WM_DPICHANGED, 0, 0,                                    \
     [](CDialog* d, WPARAM w, LPARAM l, LRESULT& r) -> BOOL {                    \
         static_cast<ThisClass*>(d)->handler(static_cast<int>(HIWORD(w)),        \
                                             *reinterpret_cast<const RECT*>(l)); \
         r = 0;                                                                  \
         return TRUE;                                                            \
     }},

// bool OnPaint(): true when the handler painted, false for the default.
#define ON_WM_PAINT(handler)                                                     \
    {RouteKind::message, WM_PAINT, 0, 0,                                         \
     [](CDialog* d, WPARAM, LPARAM, LRESULT&) -> BOOL {                          \
         return static_cast<ThisClass*>(d)->handler() ? TRUE : FALSE;            \
     }},
// HICON OnQueryDragIcon(): the icon shown while the minimized window is dragged.
#define ON_WM_QUERYDRAGICON(handler)                                             \
    {RouteKind::message, WM_QUERYDRAGICON, 0, 0,                                 \
     [](CDialog* d, WPARAM, LPARAM, LRESULT& r) -> BOOL {                        \
         r = reinterpret_cast<LRESULT>(static_cast<ThisClass*>(d)->handler());   \
         return TRUE;                                                            \
     }},
// HBRUSH OnCtlColorStatic(HDC dc, HWND control): nullptr for the default colours.
#define ON_WM_CTLCOLORSTATIC(handler)                                            \
    {RouteKind::message, WM_CTLCOLORSTATIC, 0, 0,                                \
     [](CDialog* d, WPARAM w, LPARAM l, LRESULT& r) -> BOOL {                    \
         const HBRUSH brush = static_cast<ThisClass*>(d)->handler(               \
             reinterpret_cast<HDC>(w), reinterpret_cast<HWND>(l));               \
         r = reinterpret_cast<LRESULT>(brush);                                   \
         return brush ? TRUE : FALSE;                                            \
     }},

// What WM_MENUSELECT reports: the highlighted item, or that the menu closed.
struct MenuSelection {
    UINT item;
    UINT flags;
    HMENU menu;
    // A command item is highlighted (not a submenu, not the menu closing).
    bool IsCommandItem() const { return !(flags == 0xFFFF && !menu) && (flags & MF_POPUP) == 0; }
};

// Client coordinates packed in a mouse message's lParam (signed).
inline POINT PointFromLParam(LPARAM l)
{
    return POINT{static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))};
}

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
    // The client size the template asks for, in pixels of the dialog's font
    // and DPI; the window itself may have been made smaller to fit the screen.
    SIZE TemplateClientSize() const;
    INT_PTR GetResult() const { return m_result; }

    // The base runs UpdateData(false) and returns TRUE.
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(bool save);
    bool UpdateData(bool save);
    virtual void OnOK();
    virtual void OnCancel();
    // The modal loop hands every message to the innermost dialog first;
    // TRUE means it was handled. The base offers F1 to OnHelpKey, then runs
    // the dialog manager's keys.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // F1 without Shift: a dialog with help opens it and returns true, which
    // consumes the key. Shift+F1 goes on to the dialog manager.
    virtual bool OnHelpKey() { return false; }

    // Marks this dialog as the application's main window once it exists.
    void MakeAppMainWindow() { m_isMainWindow = true; }

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
    short m_templateSize[2] = {}; // cx, cy in dialog units
};
