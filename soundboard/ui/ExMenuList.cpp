#include "ExMenuList.h"

#include <windowsx.h>

#include "ExAccessKeyText.h"
#include "ExFramework.h"
#include "ExPaint.h"
#include "ExPopup.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

constexpr UINT kSubMenuDelayMs = 250;
constexpr ARGB kBackground = 0xFEFFFFFF;
constexpr ARGB kFrame = 0xFFB4B4B4;
constexpr ARGB kSeparator = 0xFFD2D2D2;
constexpr ARGB kHighlight = 0xBE0060C0;
constexpr ARGB kText = 0xFF000000;
constexpr ARGB kHighlightedText = 0xFFFFFFFF;
constexpr ARGB kDisabledText = 0xFF9A9A9A;
constexpr float kTextIndent = 24.0f;  // room for a check mark
constexpr char kMenuTitle[] = "Ex_LayerUI_Menu";

wchar_t Upper(wchar_t c) {
  return static_cast<wchar_t>(
      reinterpret_cast<UINT_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(c)))));
}

}  // namespace

// ---- ExMenuWindow -------------------------------------------------------------

ExMenuWindow::~ExMenuWindow() {
  if (m_window != nullptr && IsWindow(m_window)) DestroyWindow(m_window);
}

bool ExMenuWindow::Open(const ExPopupMenu& menu, const ExMenuLayout& layout, HWND opener, const ExPixelRect& screenRect,
                        const ExMenuChain& chain) {
  m_window = ExOpenPopupWindow(m_host, ExPopupKind::kMenu, kMenuTitle, opener, screenRect);
  if (m_window == nullptr) return false;
  SetPropW(m_window, kExMenuEventProperty, chain.eventWindow);
  if (m_list.Create(m_window, menu, layout, chain) == 0) {
    DestroyWindow(m_window);
    m_window = nullptr;
    return false;
  }
  m_host.SetFocus(m_list.Handle());  // keys and access keys reach the list
  return true;
}

// ---- ExMenuList ---------------------------------------------------------------

ExMenuList::ExMenuList() = default;

ExMenuList::~ExMenuList() {
  CloseSubMenu();
}

ExHandle ExMenuList::Create(HWND window, const ExPopupMenu& menu, const ExMenuLayout& layout,
                            const ExMenuChain& chain) {
  Destroy();
  m_menu = &menu;
  m_layout = layout;
  m_chain = chain;
  m_hovered = -1;
  ExElementStyle style;
  style.typeCode = kExTypeSkippedByTab;
  const ExRectF rect{0, 0, static_cast<float>(layout.size.width), static_cast<float>(layout.size.height)};
  return ExElement::Create(window, rect, style);
}

HWND ExMenuList::SubMenuWindow() const {
  return m_subMenu ? m_subMenu->Window() : nullptr;
}

bool ExMenuList::Selectable(int index) const {
  if (m_menu == nullptr || index < 0 || index >= m_menu->ItemCount()) return false;
  const ExPopupMenu::Item& item = m_menu->Items()[index];
  return item.kind != ExMenuItemKind::kSeparator && item.state != kExMenuHidden && item.state != kExMenuDisabled;
}

int ExMenuList::ItemAt(LPARAM point) const {
  return MenuItemAt(m_layout, GET_X_LPARAM(point) - static_cast<int>(Left()),
                    GET_Y_LPARAM(point) - static_cast<int>(Top()));
}

void ExMenuList::Hover(int index) {
  if (index == m_hovered) return;
  m_hovered = index;
  SetPropW(Window(), kExMenuActiveProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(index + 1)));
  // The sub-menu follows the pointer after a pause, so a diagonal move across
  // other items does not flicker menus open and shut.
  if (index != m_subMenuItem) StartTimer(kSubMenuDelayMs);
  Repaint();
}

void ExMenuList::Choose(int index) {
  if (!Selectable(index)) return;  // disabled items, separators and gaps ignore clicks
  const ExPopupMenu::Item& item = m_menu->Items()[index];
  if (item.kind == ExMenuItemKind::kSubMenu) {
    m_hovered = index;
    OpenSubMenu();
    return;
  }
  if (m_chain.chosen != nullptr) *m_chain.chosen = item.command;
  PostMessageW(RootMenuOf(Window()), WM_CLOSE, 0, 0);
  if (m_chain.eventWindow != nullptr) PostMessageW(m_chain.eventWindow, WM_COMMAND, MAKEWPARAM(item.command, 0), 0);
}

void ExMenuList::OpenSubMenu() {
  StopTimer();
  if (m_hovered == m_subMenuItem) return;
  CloseSubMenu();
  if (!Selectable(m_hovered)) return;
  const ExPopupMenu::Item& item = m_menu->Items()[m_hovered];
  if (item.kind != ExMenuItemKind::kSubMenu || item.subMenu == nullptr) return;

  RECT window = {};
  GetWindowRect(Window(), &window);
  const ExPixelRect& local = m_layout.items[m_hovered];
  const ExPixelRect itemOnScreen{window.left + local.left, window.top + local.top, window.left + local.right,
                                 window.top + local.bottom};
  const ExMenuLayout layout = item.subMenu->Measure();
  const ExPixelRect place = SubMenuPlacement({window.left, window.top, window.right, window.bottom}, itemOnScreen,
                                             layout.size, ExWorkArea(window));
  auto subMenu = std::make_unique<ExMenuWindow>();
  if (!subMenu->Open(*item.subMenu, layout, Window(), place, m_chain)) return;
  m_subMenu = std::move(subMenu);
  m_subMenuItem = m_hovered;
  SetPropW(Window(), kExMenuSubProperty, m_subMenu->Window());
  // Shown without activation: the keyboard stays with the root of the chain.
  ShowWindow(m_subMenu->Window(), SW_SHOWNOACTIVATE);
}

void ExMenuList::CloseSubMenu() {
  if (!m_subMenu) return;
  if (Window() != nullptr) RemovePropW(Window(), kExMenuSubProperty);
  m_subMenu.reset();
  m_subMenuItem = -1;
}

bool ExMenuList::OnAccessKey(wchar_t key) {
  if (m_menu == nullptr) return false;
  for (int i = 0; i < m_menu->ItemCount(); ++i) {
    const wchar_t access = AccessKeyOf(m_menu->Items()[i].text);
    if (access == 0 || Upper(access) != Upper(key) || !Selectable(i)) continue;
    Choose(i);
    return true;
  }
  return false;
}

LRESULT ExMenuList::OnKeyDown(WPARAM key) {
  if (m_menu == nullptr || m_menu->ItemCount() == 0) return kExUndecided;
  const int count = m_menu->ItemCount();
  switch (key) {
    case VK_UP:
    case VK_DOWN: {
      const int step = key == VK_DOWN ? 1 : count - 1;
      int index = m_hovered < 0 ? (key == VK_DOWN ? count - 1 : 0) : m_hovered;
      for (int tries = 0; tries < count; ++tries) {
        index = (index + step) % count;
        if (Selectable(index)) {
          Hover(index);
          break;
        }
      }
      return 0;
    }
    case VK_RETURN:
    case VK_RIGHT:
      Choose(m_hovered);
      return 0;
    default:
      return kExUndecided;
  }
}

void ExMenuList::Paint() {
  GpGraphics* graphics = Graphics();
  if (graphics == nullptr || m_menu == nullptr) return;
  GdipGraphicsClear(graphics, kBackground);
  ExFrame(graphics, {0, 0, Width(), Height()}, 0, kFrame);
  UniqueGpStringFormat format;
  GdipCreateStringFormat(StringFormatFlagsNoWrap, LANG_NEUTRAL, format.Put());
  GdipSetStringFormatHotkeyPrefix(format.Get(), HotkeyPrefixShow);
  GdipSetStringFormatLineAlign(format.Get(), StringAlignmentCenter);
  GpFont* font = ExFramework::Get()->DefaultFont();
  for (int i = 0; i < m_menu->ItemCount() && i < static_cast<int>(m_layout.items.size()); ++i) {
    const ExPopupMenu::Item& item = m_menu->Items()[i];
    const ExPixelRect& place = m_layout.items[i];
    if (place.IsEmpty()) continue;  // hidden
    const float x = static_cast<float>(place.left);
    const float y = static_cast<float>(place.top);
    const float width = static_cast<float>(place.Width());
    const float height = static_cast<float>(place.Height());
    if (item.kind == ExMenuItemKind::kSeparator) {
      ExFillRect(graphics, {x + 4, y + 1, width - 8, 1}, kSeparator);
      continue;
    }
    const bool highlighted = i == m_hovered && Selectable(i);
    if (highlighted) ExFillRect(graphics, {x, y, width, height}, kHighlight);
    const ARGB colour = item.state == kExMenuDisabled ? kDisabledText : highlighted ? kHighlightedText : kText;
    const UniqueGpBrush brush = ExSolidBrush(colour);
    const RectF layout(x + kTextIndent, y, width - kTextIndent, height);
    GdipDrawString(graphics, item.text.c_str(), static_cast<INT>(item.text.size()), font, &layout, format.Get(),
                   brush.Get());
    if (item.kind == ExMenuItemKind::kSubMenu) {
      const float right = x + width - 8;
      const float middle = y + height / 2;
      const PointF arrow[] = {{right - 4, middle - 4}, {right, middle}, {right - 4, middle + 4}};
      GdipFillPolygon(graphics, brush.Get(), arrow, 3, FillModeAlternate);
    }
  }
}

LRESULT ExMenuList::ClassProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_MOUSEMOVE:
      Hover(ItemAt(lParam));
      return 0;
    case EXM_MOUSELEAVE:
      if (!m_subMenu) Hover(-1);  // the pointer went over to the open sub-menu: keep its item lit
      return 0;
    case EXM_CLICK:
      Choose(ItemAt(lParam));
      return 0;
    case WM_RBUTTONUP:
      if (!m_chain.rightButtonChooses) return ExElement::ClassProc(message, wParam, lParam);
      Choose(ItemAt(lParam));
      return 0;
    case WM_TIMER:
      OpenSubMenu();  // or closes the one of an item no longer hovered
      return 0;
    case WM_SYSCHAR:
      return OnAccessKey(static_cast<wchar_t>(wParam)) ? 1 : 0;
    case WM_KEYDOWN:
      return OnKeyDown(wParam);
    case WM_DESTROY:
      CloseSubMenu();
      return 0;
    default:
      return ExElement::ClassProc(message, wParam, lParam);
  }
}
