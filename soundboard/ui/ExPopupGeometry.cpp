#include "ExPopupGeometry.h"

#include <algorithm>

namespace {

constexpr int kMenuTextMargin = 50;
constexpr int kSubMenuArrowRoom = 15;

// Keeps [start, start + length) inside [low, high) where it fits.
int ClampSpan(int start, int length, int low, int high) {
  if (start + length > high) start = high - length;
  return std::max(start, low);
}

}  // namespace

int DropDownHeight(int itemCount) {
  const long long wanted = static_cast<long long>(std::max(0, itemCount)) * kExListRowPitch + kExDropDownPadding;
  return static_cast<int>(std::min<long long>(wanted, kExDropDownMaxHeight));
}

ExPixelRect DropDownPlacement(const ExPixelRect& combo, int height, const ExPixelRect& workArea) {
  ExPixelRect placed{combo.left, combo.bottom, combo.right, combo.bottom + height};
  if (placed.bottom > workArea.bottom) placed = {combo.left, combo.top - height, combo.right, combo.top};
  return placed;
}

int VisibleRows(int viewHeight) {
  return std::max(1, viewHeight / kExListRowPitch);
}

int MaxFirstRow(int rowCount, int viewHeight) {
  return std::max(0, rowCount - VisibleRows(viewHeight));
}

int RowAt(int y, int firstRow, int rowCount) {
  if (y < 0) return -1;
  const int row = firstRow + y / kExListRowPitch;
  return row < rowCount ? row : -1;
}

int ScrollRowIntoView(int row, int firstRow, int viewHeight) {
  if (row < firstRow) return row;
  const int visible = VisibleRows(viewHeight);
  if (row >= firstRow + visible) return row - visible + 1;
  return firstRow;
}

ExMenuLayout LayoutMenu(const std::vector<ExMenuItemMetrics>& items) {
  ExMenuLayout layout;
  int widest = 0;
  bool subMenus = false;
  for (const auto& item : items) {
    if (item.hidden) continue;
    widest = std::max(widest, item.textWidth);
    subMenus = subMenus || item.kind == ExMenuItemKind::kSubMenu;
  }
  const int width = widest + kMenuTextMargin + (subMenus ? kSubMenuArrowRoom : 0);
  int y = kExMenuPadding;
  for (const auto& item : items) {
    if (item.hidden) {
      layout.items.push_back({});
      continue;
    }
    const int height = item.kind == ExMenuItemKind::kSeparator ? kExMenuSeparatorHeight : kExMenuItemHeight;
    layout.items.push_back({2, y, width - 2, y + height});
    y += height;
  }
  layout.size = {width, y + kExMenuPadding};
  return layout;
}

int MenuItemAt(const ExMenuLayout& layout, int x, int y) {
  for (size_t i = 0; i < layout.items.size(); ++i) {
    const ExPixelRect& item = layout.items[i];
    if (!item.IsEmpty() && x >= item.left && x < item.right && y >= item.top && y < item.bottom) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

ExPixelRect MenuPlacement(int x, int y, const ExSize& size, const ExPixelRect& workArea) {
  int left = x + size.width > workArea.right ? x - size.width : x;
  int top = y + size.height > workArea.bottom ? y - size.height : y;
  left = ClampSpan(left, size.width, workArea.left, workArea.right);
  top = ClampSpan(top, size.height, workArea.top, workArea.bottom);
  return {left, top, left + size.width, top + size.height};
}

ExPixelRect SubMenuPlacement(const ExPixelRect& parent, const ExPixelRect& item, const ExSize& size,
                             const ExPixelRect& workArea) {
  int left = parent.right - 3;
  if (left + size.width > workArea.right) left = parent.left - size.width + 3;
  left = ClampSpan(left, size.width, workArea.left, workArea.right);
  const int top = ClampSpan(item.top - kExMenuPadding, size.height, workArea.top, workArea.bottom);
  return {left, top, left + size.width, top + size.height};
}
