// Taskbar button, minimize and restore, maximize refused, always on top, and the
// session's lock; each Wine step marked "Wine:" and run only under Wine.
#include "desktop.h"

#include "screen.h"
#include "state.h"
#include "tooltip.h"

static_assert(sizeof(WINDOWPLACEMENT) == 44, "WINDOWPLACEMENT is 44 bytes");

static bool UnderWine;

// Under Wine: a clock just back from minimized is put back where it stood if
// something moves it elsewhere within RETURN_MS of its return (see ReturnToPlace).
static bool Returning;
static DWORD ReturnStart; // GetTickCount at the return
const DWORD RETURN_MS = 3000;

#ifndef NOTIFY_FOR_THIS_SESSION
const DWORD NOTIFY_FOR_THIS_SESSION = 0;
#endif
typedef BOOL(WINAPI* RegisterSessionFunction)(HWND, DWORD);
typedef BOOL(WINAPI* UnregisterSessionFunction)(HWND);
static HMODULE SessionLibrary;
static RegisterSessionFunction RegisterSession;
// The session notices are on; else when they were last asked for.
static bool SessionNoticesOn;
static DWORD LastSessionTry;
const DWORD SESSION_RETRY_MS = 60000;

// The session this clock runs in; the notices name the session they are about.
static DWORD OwnSession;
static bool OwnSessionKnown;

static void AskForSessionNotices(HWND window, DWORD now)
{
    LastSessionTry = now;
    SessionNoticesOn =
        RegisterSession != nullptr && RegisterSession(window, NOTIFY_FOR_THIS_SESSION);
}

void StartDesktop(HWND window)
{
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    UnderWine = ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
    Returning = false;
    OwnSessionKnown = ProcessIdToSessionId(GetCurrentProcessId(), &OwnSession) != FALSE;
    SessionLibrary = LoadLibraryA("wtsapi32.dll");
    RegisterSession = SessionLibrary ? (RegisterSessionFunction)(void*)GetProcAddress(
                                           SessionLibrary, "WTSRegisterSessionNotification")
                                     : nullptr;
    AskForSessionNotices(window, GetTickCount());
}

// Unsigned: GetTickCount wraps after 49.7 days.
void RetrySessionNotices(HWND window, DWORD now)
{
    if (!SessionNoticesOn && RegisterSession != nullptr &&
        now - LastSessionTry >= SESSION_RETRY_MS) {
        AskForSessionNotices(window, now);
    }
}

bool IsOwnSession(DWORD session)
{
    return !OwnSessionKnown || session == OwnSession;
}

void EndDesktop(HWND window)
{
    UnregisterSessionFunction unregisterSession =
        SessionLibrary ? (UnregisterSessionFunction)(void*)GetProcAddress(
                             SessionLibrary, "WTSUnRegisterSessionNotification")
                       : nullptr;
    if (SessionNoticesOn && unregisterSession != nullptr) {
        unregisterSession(window);
    }
    SessionNoticesOn = false;
    RegisterSession = nullptr;
    if (SessionLibrary != nullptr) {
        FreeLibrary(SessionLibrary);
        SessionLibrary = nullptr;
    }
}

bool WineSteps()
{
    return UnderWine;
}

void SetWineSteps(bool on)
{
    UnderWine = on;
}

static bool HasToolStyle(HWND window)
{
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
}

// A tool window has no taskbar button. Windows takes the button from the style
// when the window is shown ("Managing Taskbar Buttons"): the style of a shown
// window is changed while it is hidden, and it is shown again after.
static void SetToolWindowStyle(HWND window, bool on)
{
    LONG style = GetWindowLongA(window, GWL_EXSTYLE);
    style = on ? (style | WS_EX_TOOLWINDOW) : (style & ~WS_EX_TOOLWINDOW);
    SetWindowLongA(window, GWL_EXSTYLE, style);
}

// Wine: a window restored under a window manager may be put, during the restore
// or just after it, where the window manager first maps it (the screen's corner,
// seen under IceWM on a busy machine; the end-to-end script's restores show it).
// A clock that comes back elsewhere than it stood goes back there, for three
// seconds after its return, through the start-up's on-screen rule: a monitor
// may have gone meanwhile. On Windows the restore itself puts the window back at
// its normal place, and on screen ("SetWindowPlacement").
static void ReturnToPlace(HWND window)
{
    POINT place = PlaceOnScreen(AppState.settings.X, AppState.settings.Y, AppState.dialSize);
    RECT rect;
    GetWindowRect(window, &rect);
    if (rect.left != place.x || rect.top != place.y) {
        SetWindowPos(window, nullptr, place.x, place.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void MatchTaskbarButton(HWND window)
{
    if (IsZoomed(window)) {
        // A clock is never a screen: a maximize request (a shortcut's "Run:
        // Maximized", another program, a window manager) shows it normal again.
        ShowWindow(window, SW_SHOWNOACTIVATE);
    }
    bool iconic = IsIconic(window) != 0;
    bool tool = HasToolStyle(window);
    if (iconic != tool) {
        return;
    }
    ShowWindow(window, SW_HIDE);
    SetToolWindowStyle(window, !iconic);
    if (!iconic && UnderWine) {
        ReturnToPlace(window);
        Returning = true;
        ReturnStart = GetTickCount();
    }
    ShowWindow(window, iconic ? SW_SHOWMINNOACTIVE : SW_SHOWNA);
    if (UnderWine) {
        // Wine: tells a window manager of a shown window's new style only when
        // the style changes; one still busy with the earlier showing may keep
        // the old taskbar entry (seen under IceWM on a busy machine, in the
        // end-to-end script's restores). The style is changed once more, ending
        // as it is; Windows reads it only at the showing.
        SetToolWindowStyle(window, iconic);
        SetToolWindowStyle(window, !iconic);
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
}

void MinimizeWithTaskbarButton(HWND window)
{
    ShowWindow(window, SW_HIDE);
    SetToolWindowStyle(window, false);
    if (UnderWine) {
        // Wine: takes the minimized place of a window minimized while hidden
        // for its normal one, and a restore then puts it at the screen's corner
        // (rcNormalPosition -32000, -32000, seen under IceWM; the end-to-end
        // script's restores show it).
        ShowWindow(window, SW_SHOWNA);
    }
    SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

bool IsPlaceToRecord(HWND window)
{
    WINDOWPLACEMENT placement;
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window, &placement) || placement.showCmd != SW_SHOWNORMAL) {
        return false; // minimized or maximized: keep the last real place
    }
    if (!UnderWine) {
        return true;
    }
    // Wine: the window manager's interim places on the way back are not the
    // user's (see ReturnToPlace): nothing is recorded while the button is on,
    // and a move within the return's three seconds is undone.
    if (!HasToolStyle(window)) {
        return false;
    }
    bool returning = Returning && GetTickCount() - ReturnStart < RETURN_MS; // unsigned: wraps
    if (returning && !AppState.moving) {
        ReturnToPlace(window);
    }
    return true;
}

void EndReturnToPlace()
{
    Returning = false; // Wine: the user moves it, its place is where they put it
}

// Raised once shown: a window manager may hold a window that was mapped already
// "above" there for good (IceWM does), and the user could then never switch it
// off. Windows raises a hidden window as well as a shown one ("SetWindowPos").
void RaiseOnceShown(HWND window)
{
    if (AppState.settings.OnTop) {
        PostMessageA(window, WM_APP_ON_TOP, 0, 0);
    }
}

// Puts the window above all others or back among them, as OnTop says, without
// taking the focus: on Windows the clock's owned tooltip comes along with it
// ("SetWindowPos").
void ApplyOnTop(HWND window)
{
    HWND after = AppState.settings.OnTop ? HWND_TOPMOST : HWND_NOTOPMOST;
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    SetWindowPos(window, after, 0, 0, 0, 0, flags);
    bool topmost = (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    if (!UnderWine || !AppState.settings.OnTop || topmost) {
        return;
    }
    // Wine: slots an owner in right below its owned pop-ups, and there a window
    // stays topmost only if the one below it is topmost as well (seen without a
    // window manager: the window tests' Always on top). The clock lets go of the
    // tooltip for a second raise.
    SetTooltipOwner(nullptr);
    SetWindowPos(window, after, 0, 0, 0, 0, flags);
    SetTooltipOwner(window);
}
