// Geometry of the framework's popups: the combo drop-down (its height, its
// place beside the combo, the rows of its list) and the popup menu (item
// heights, size, hit-testing, placement). No Windows headers: tested and
// fuzzed directly.
#pragma once

#include <vector>

#include "ExGeometry.h"

// Drop-down list rows are 19 pixels apart; the drop-down is 19 per item plus
// 6 pixels of frame and padding, but never taller than 130 pixels.
constexpr int kExListRowPitch = 19;
constexpr int kExDropDownPadding = 6;
constexpr int kExDropDownMaxHeight = 130;

int DropDownHeight(int itemCount);

// Screen rectangle of a drop-down `height` pixels high under the combo's
// screen rectangle, or above it when it would pass the work area's bottom.
ExPixelRect DropDownPlacement(const ExPixelRect& combo, int height, const ExPixelRect& workArea);

// Rows of a list `viewHeight` pixels high showing `rowCount` rows: how many
// fit whole, the largest first visible row, and the row (from 0) at y, or -1.
int VisibleRows(int viewHeight);
int MaxFirstRow(int rowCount, int viewHeight);
int RowAt(int y, int firstRow, int rowCount);
// The first row that shows `row` when the list starts at `firstRow`.
int ScrollRowIntoView(int row, int firstRow, int viewHeight);

// Popup menu items as the layout sees them.
enum class ExMenuItemKind { kItem = 0, kSeparator = 1, kSubMenu = 2 };

struct ExMenuItemMetrics {
  ExMenuItemKind kind = ExMenuItemKind::kItem;
  bool hidden = false;
  int textWidth = 0;  // measured width of the item's text
};

constexpr int kExMenuItemHeight = 22;
constexpr int kExMenuSeparatorHeight = 3;
constexpr int kExMenuPadding = 8;  // above the first and below the last item

struct ExMenuLayout {
  ExSize size;
  std::vector<ExPixelRect> items;  // one per item, empty for hidden ones
};

// Width = widest text + 50 (+ 15 when an item opens a sub-menu); height =
// the item heights + 16. Items lie one below the other, inset by the padding.
ExMenuLayout LayoutMenu(const std::vector<ExMenuItemMetrics>& items);
// The item (from 0) under the menu-relative point, or -1.
int MenuItemAt(const ExMenuLayout& layout, int x, int y);

// Screen position of a menu of `size` opened at `point`: it opens to the
// right and below, and flips left or up where it would leave the work area.
ExPixelRect MenuPlacement(int x, int y, const ExSize& size, const ExPixelRect& workArea);
// A sub-menu beside the item `item` (screen rectangle) of its parent menu
// `parent`: to the right, or to the left where there is no room.
ExPixelRect SubMenuPlacement(const ExPixelRect& parent, const ExPixelRect& item, const ExSize& size,
                             const ExPixelRect& workArea);
