// ExMenuList: the element inside a menu window. It draws the items of its
// ExPopupMenu, tracks the hovered item, opens sub-menus after a short hover
// and closes the chain when an item is chosen.
#pragma once

#include <memory>

#include "ExElement.h"
#include "ExHost.h"
#include "ExPopupMenu.h"

// What every level of one open menu shares.
struct ExMenuChain {
  HWND eventWindow = nullptr;  // receives WM_COMMAND; may be nullptr
  int* chosen = nullptr;       // the command chosen, written once; owned by the popup call
  bool rightButtonChooses = false;
};

class ExMenuWindow;

class ExMenuList : public ExElement {
 public:
  ExMenuList();
  ~ExMenuList() override;

  // Fills the menu window `window` (already hosted) with `menu`, laid out as
  // `layout`. The menu object must outlive the window.
  ExHandle Create(HWND window, const ExPopupMenu& menu, const ExMenuLayout& layout, const ExMenuChain& chain);

  // The hovered item from 0, or -1.
  int Hovered() const { return m_hovered; }
  // The open sub-menu's window, or nullptr.
  HWND SubMenuWindow() const;

 protected:
  LRESULT ClassProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  bool Selectable(int index) const;
  int ItemAt(LPARAM point) const;
  void Hover(int index);
  void Choose(int index);
  void OpenSubMenu();
  void CloseSubMenu();
  bool OnAccessKey(wchar_t key);
  LRESULT OnKeyDown(WPARAM key);
  void Paint();

  const ExPopupMenu* m_menu = nullptr;
  ExMenuLayout m_layout;
  ExMenuChain m_chain;
  int m_hovered = -1;
  int m_subMenuItem = -1;                   // the item whose sub-menu is open
  std::unique_ptr<ExMenuWindow> m_subMenu;  // owned: destroyed with this level
};

// One level of an open menu: its popup window, host and item list. Destroying
// it destroys the window (and the levels below it).
class ExMenuWindow {
 public:
  ~ExMenuWindow();
  // Creates the window at `screenRect` (hidden), opened by `opener`.
  bool Open(const ExPopupMenu& menu, const ExMenuLayout& layout, HWND opener, const ExPixelRect& screenRect,
            const ExMenuChain& chain);
  HWND Window() const { return m_window; }
  ExMenuList& List() { return m_list; }

 private:
  HWND m_window = nullptr;
  ExHost m_host;
  ExMenuList m_list;  // declared after the host: destroyed first
};
