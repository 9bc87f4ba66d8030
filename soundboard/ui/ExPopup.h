// The framework's short-lived popup windows (combo drop-downs and menus):
// their kinds, the window properties that link them, the hook every popup
// host runs, and the nested loop that waits for a popup to go away.
#pragma once

#include "ExGeometry.h"
#include "Handles.h"

class ExHost;

// Value of the "Ex_Wnd_Flags" property of a framework popup window.
enum class ExPopupKind { kNone = 0, kMenu = 1, kDropDown = 2, kMessageBox = 3 };

constexpr wchar_t kExPopupKindProperty[] = L"Ex_Wnd_Flags";
constexpr wchar_t kExPopupOpenerProperty[] = L"Ex_LayerUI_Host";  // the window that opened the popup
constexpr wchar_t kExMenuSubProperty[] = L"Ex_LayerUI_Sub";       // a menu's open sub-menu window
constexpr wchar_t kExMenuActiveProperty[] = L"Ex_LayerUI_Act";    // a menu's hovered item, from 1
constexpr wchar_t kExMenuEventProperty[] = L"Ex_LayerUI_Event";   // the window that receives the command
constexpr wchar_t kExMessageBoxProperty[] = L"Ex_LayerUI_MsgBox";

ExPopupKind PopupKindOf(HWND window);

// The first menu window of the chain `menu` belongs to (following
// "Ex_LayerUI_Host" while it names a menu window); `menu` itself for a root.
HWND RootMenuOf(HWND menu);

// Creates a hidden popup window of `kind` at `screenRect`, owned by `opener`,
// and attaches `host` to it with the popup hook installed. A menu window also
// gets `opener` as its "Ex_LayerUI_Host". The window destroys itself on
// WM_CLOSE and removes its properties when destroyed; nullptr on failure.
HWND ExOpenPopupWindow(ExHost& host, ExPopupKind kind, const char* title, HWND opener, const ExPixelRect& screenRect);

// The message hook of every popup host: deactivation closes a drop-down and
// the whole chain of a menu, Escape closes the popup, a menu turns keys into
// access keys, and destruction removes the kind's properties. Always lets the
// host go on handling the message (kExUndecided).
LRESULT ExPopupHook(HWND popup, UINT message, WPARAM wParam, LPARAM lParam);

// Dispatches the thread's messages until `popup` is gone. A WM_QUIT on the way
// destroys the popup and is posted again for the outer loop.
void ExRunPopupLoop(HWND popup);
