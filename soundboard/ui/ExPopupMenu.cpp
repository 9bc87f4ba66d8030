#include "ExPopupMenu.h"

#include "ExAccessKeyText.h"
#include "ExFramework.h"
#include "ExMenuList.h"
#include "ExPopup.h"

namespace {

constexpr int kMenuFontPixels = 12;

}  // namespace

int ExPopupMenu::AddItem(const std::wstring& text, int command, int state, const ExPopupMenu* subMenu) {
  Item item;
  item.text = text;
  item.command = command;
  item.state = state;
  item.kind = subMenu != nullptr ? ExMenuItemKind::kSubMenu : ExMenuItemKind::kItem;
  item.subMenu = subMenu;
  m_items.push_back(item);
  return ItemCount();
}

int ExPopupMenu::AddItem(const std::string& ansiText, int command, int state, const ExPopupMenu* subMenu) {
  return AddItem(AnsiToWide(ansiText), command, state, subMenu);
}

int ExPopupMenu::AddSeparator() {
  Item item;
  item.kind = ExMenuItemKind::kSeparator;
  m_items.push_back(item);
  return ItemCount();
}

void ExPopupMenu::SetItemState(int index, int state) {
  if (index >= 1 && index <= ItemCount()) m_items[index - 1].state = state;
}

int ExPopupMenu::ItemState(int index) const {
  return index >= 1 && index <= ItemCount() ? m_items[index - 1].state : kExMenuDisabled;
}

ExMenuLayout ExPopupMenu::Measure() const {
  WindowDc screen(nullptr);
  // Measured in the face the list draws its items in: the default font's.
  ExFramework* framework = ExFramework::Get();
  const wchar_t* face = framework != nullptr ? framework->DefaultFace().c_str() : L"";
  UniqueFont font(CreateFontW(-kMenuFontPixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face));
  HGDIOBJ previous = font ? SelectObject(screen.Get(), font.Get()) : nullptr;
  std::vector<ExMenuItemMetrics> metrics;
  for (const Item& item : m_items) {
    ExMenuItemMetrics entry;
    entry.kind = item.kind;
    entry.hidden = item.state == kExMenuHidden;
    const std::wstring shown = WithoutAccessMarks(item.text);
    SIZE extent = {};
    if (item.kind != ExMenuItemKind::kSeparator && screen.Get() != nullptr &&
        GetTextExtentPoint32W(screen.Get(), shown.c_str(), static_cast<int>(shown.size()), &extent)) {
      entry.textWidth = extent.cx;
    }
    metrics.push_back(entry);
  }
  if (previous != nullptr) SelectObject(screen.Get(), previous);
  return LayoutMenu(metrics);
}

int ExPopupMenu::Popup(HWND owner, bool atCursor, int x, int y, ExMenuButtons buttons) const {
  const ExMenuLayout layout = Measure();
  POINT at = {x, y};
  if (atCursor) GetCursorPos(&at);
  const ExPixelRect place = MenuPlacement(at.x, at.y, layout.size, ExWorkArea({at.x, at.y, at.x + 1, at.y + 1}));

  int chosen = 0;
  ExMenuChain chain;
  chain.eventWindow = m_eventWindow != nullptr ? m_eventWindow : owner;
  chain.chosen = &chosen;
  chain.rightButtonChooses = buttons == ExMenuButtons::kBoth;
  ExMenuWindow root;  // lives on this frame: the menu object may go while the loop runs
  if (!root.Open(*this, layout, owner, place, chain)) return 0;
  ShowWindow(root.Window(), SW_SHOWNORMAL);
  SetForegroundWindow(root.Window());
  ExRunPopupLoop(root.Window());
  return chosen;
}
