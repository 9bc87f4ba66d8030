#include "ExPopup.h"

#include "ExFramework.h"
#include "ExHost.h"

namespace {

constexpr COLORREF kPopupBackground = RGB(255, 255, 255);

void RemoveMenuProperties(HWND window) {
  RemovePropW(window, kExPopupOpenerProperty);
  RemovePropW(window, kExMenuSubProperty);
  RemovePropW(window, kExMenuActiveProperty);
  RemovePropW(window, kExMenuEventProperty);
}

}  // namespace

ExPopupKind PopupKindOf(HWND window) {
  if (window == nullptr) return ExPopupKind::kNone;
  return static_cast<ExPopupKind>(reinterpret_cast<INT_PTR>(GetPropW(window, kExPopupKindProperty)));
}

HWND RootMenuOf(HWND menu) {
  HWND root = menu;
  for (int depth = 0; depth < 64; ++depth) {  // a bounded walk: properties are not ours alone
    HWND opener = static_cast<HWND>(GetPropW(root, kExPopupOpenerProperty));
    if (opener == nullptr || opener == root || PopupKindOf(opener) != ExPopupKind::kMenu) break;
    root = opener;
  }
  return root;
}

HWND ExOpenPopupWindow(ExHost& host, ExPopupKind kind, const char* title, HWND opener, const ExPixelRect& screenRect) {
  ExWindowOptions options;
  options.title = title;
  options.style = WS_POPUP;
  options.exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
  options.owner = opener;
  options.centred = false;
  options.x = screenRect.left;
  options.y = screenRect.top;
  options.width = screenRect.Width();
  options.height = screenRect.Height();
  HWND window = ExCreateWindow(options);
  if (window == nullptr) return nullptr;

  ExAttachOptions attach;
  attach.layeredKey = 0;  // per-pixel alpha: no rounded window region to cut the list
  attach.backgroundColour = kPopupBackground;
  attach.resizable = false;
  attach.dragAnywhere = false;
  attach.blur = false;
  attach.styleFlags = 0;
  if (!host.Attach(window, nullptr, 0, attach)) {
    DestroyWindow(window);
    return nullptr;
  }
  host.SetMessageHook(ExPopupHook);
  SetPropW(window, kExPopupKindProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(kind)));
  if (kind == ExPopupKind::kMenu) SetPropW(window, kExPopupOpenerProperty, opener);
  return window;
}

LRESULT ExPopupHook(HWND popup, UINT message, WPARAM wParam, LPARAM lParam) {
  const ExPopupKind kind = PopupKindOf(popup);
  switch (message) {
    case WM_ACTIVATE: {
      if (LOWORD(wParam) != WA_INACTIVE) break;
      if (kind == ExPopupKind::kDropDown) {
        PostMessageW(popup, WM_CLOSE, 0, 0);
      } else if (kind == ExPopupKind::kMenu) {
        // Another level of the same menu taking the activation keeps the
        // chain; anything else closes it from its root. (The root's opener is
        // the application's window, which must never be closed here.)
        const auto activated = reinterpret_cast<HWND>(lParam);
        const HWND root = RootMenuOf(popup);
        const bool sameChain = PopupKindOf(activated) == ExPopupKind::kMenu && RootMenuOf(activated) == root;
        if (!sameChain) PostMessageW(root, WM_CLOSE, 0, 0);
      }
      break;
    }
    case WM_KEYDOWN:
      if (kind == ExPopupKind::kMenu) SendMessageW(popup, WM_SYSCHAR, wParam, lParam);
      if (wParam == VK_ESCAPE) PostMessageW(popup, WM_CLOSE, 0, 0);
      break;
    case WM_DESTROY:
      if (kind == ExPopupKind::kMenu) RemoveMenuProperties(popup);
      if (kind == ExPopupKind::kMessageBox) RemovePropW(popup, kExMessageBoxProperty);
      RemovePropW(popup, kExPopupKindProperty);
      break;
    default:
      break;
  }
  return kExUndecided;
}

void ExRunPopupLoop(HWND popup) {
  MSG message;
  while (IsWindow(popup)) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      DestroyWindow(popup);
      if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}
