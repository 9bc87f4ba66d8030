// ExPopupMenu: a menu that opens in a framework popup window of its own and
// waits there, in a nested message loop, until an item is chosen or the menu
// is dismissed. Items may be hidden, disabled, separators or open sub-menus
// (after a short hover). A chosen item closes the whole chain and posts
// WM_COMMAND with its command number to the event window.
#pragma once

#include <string>
#include <vector>

#include "ExPopupGeometry.h"
#include "Handles.h"

// Item states: any value other than these two is enabled.
constexpr int kExMenuEnabled = 0;
constexpr int kExMenuDisabled = -1;
constexpr int kExMenuHidden = 5;

// The buttons that choose an item: a menu opened by a right click (a
// notification-area icon's) is tracked with the right button as well.
enum class ExMenuButtons { kLeft, kBoth };

class ExPopupMenu {
 public:
  struct Item {
    std::wstring text;  // "&" marks the access key
    int command = 0;
    int state = kExMenuEnabled;
    ExMenuItemKind kind = ExMenuItemKind::kItem;
    const ExPopupMenu* subMenu = nullptr;  // not owned
  };

  // Appends an item and returns its index from 1. A sub-menu is not owned
  // and must outlive every popup of this menu.
  int AddItem(const std::wstring& text, int command, int state = kExMenuEnabled, const ExPopupMenu* subMenu = nullptr);
  int AddItem(const std::string& ansiText, int command, int state = kExMenuEnabled,
              const ExPopupMenu* subMenu = nullptr);
  int AddSeparator();
  // Index from 1; out-of-range indexes change nothing.
  void SetItemState(int index, int state);
  int ItemState(int index) const;
  int ItemCount() const { return static_cast<int>(m_items.size()); }
  const std::vector<Item>& Items() const { return m_items; }

  // The window that receives WM_COMMAND; by default the popup's owner.
  void SetEventWindow(HWND window) { m_eventWindow = window; }

  // Shows the menu at the cursor or at (x, y) in screen coordinates, owned by
  // `owner`, and returns once it has closed: the chosen command number (also
  // posted as WM_COMMAND), or 0 when it was dismissed.
  int Popup(HWND owner, bool atCursor, int x = 0, int y = 0, ExMenuButtons buttons = ExMenuButtons::kLeft) const;

  // The item layout, measured as the menu window will show it.
  ExMenuLayout Measure() const;

 private:
  std::vector<Item> m_items;
  HWND m_eventWindow = nullptr;
};
