// Where the drop-down and the menus open and how their rows are laid out.
#include <gtest/gtest.h>

#include "ExPopupGeometry.h"

namespace {

const ExPixelRect kWorkArea{0, 0, 1280, 994};

TEST(PopupGeometryTest, DropDownIs19PixelsPerItemPlus6CappedAt130) {
  EXPECT_EQ(DropDownHeight(0), 6);
  EXPECT_EQ(DropDownHeight(1), 25);
  EXPECT_EQ(DropDownHeight(6), 120);
  EXPECT_EQ(DropDownHeight(7), 130);  // 139 capped
  EXPECT_EQ(DropDownHeight(10), 130);
  EXPECT_EQ(DropDownHeight(-3), 6);
  EXPECT_EQ(DropDownHeight(0x7FFFFFFF), 130);  // no overflow
}

TEST(PopupGeometryTest, DropDownOpensBelowOrAboveWhenItWouldLeaveTheWorkArea) {
  const ExPixelRect combo{100, 500, 240, 525};
  EXPECT_EQ(DropDownPlacement(combo, 130, kWorkArea), (ExPixelRect{100, 525, 240, 655}));
  const ExPixelRect low{100, 900, 240, 925};
  EXPECT_EQ(DropDownPlacement(low, 130, kWorkArea), (ExPixelRect{100, 770, 240, 900}));
  const ExPixelRect flush{100, 864, 240, 864 + 25};  // bottom lands exactly on the edge: stays below
  EXPECT_EQ(DropDownPlacement(flush, 105, kWorkArea).top, 889);
}

TEST(PopupGeometryTest, ListRowsAndScrolling) {
  const int view = 124;  // a 130-pixel drop-down less frame and padding
  EXPECT_EQ(VisibleRows(view), 6);
  EXPECT_EQ(MaxFirstRow(10, view), 4);
  EXPECT_EQ(MaxFirstRow(3, view), 0);
  EXPECT_EQ(RowAt(0, 0, 10), 0);
  EXPECT_EQ(RowAt(18, 0, 10), 0);
  EXPECT_EQ(RowAt(19, 0, 10), 1);
  EXPECT_EQ(RowAt(40, 4, 10), 6);
  EXPECT_EQ(RowAt(200, 4, 10), -1);
  EXPECT_EQ(RowAt(-1, 0, 10), -1);
  EXPECT_EQ(ScrollRowIntoView(8, 0, view), 3);
  EXPECT_EQ(ScrollRowIntoView(1, 4, view), 1);
  EXPECT_EQ(ScrollRowIntoView(5, 2, view), 2);
}

TEST(PopupGeometryTest, MenuSizeFollowsItsTextsAndKinds) {
  std::vector<ExMenuItemMetrics> items(5);
  items[0].textWidth = 60;
  items[1].textWidth = 80;
  items[2].textWidth = 300;
  items[2].hidden = true;  // takes no room, not even its width
  items[3].kind = ExMenuItemKind::kSeparator;
  items[4].textWidth = 70;
  ExMenuLayout layout = LayoutMenu(items);
  EXPECT_EQ(layout.size.width, 130);
  EXPECT_EQ(layout.size.height, 22 * 3 + 3 + 16);
  EXPECT_TRUE(layout.items[2].IsEmpty());
  EXPECT_EQ(layout.items[3].Height(), 3);
  EXPECT_EQ(layout.items[4].top, 8 + 22 + 22 + 3);

  EXPECT_EQ(MenuItemAt(layout, 20, 8), 0);
  EXPECT_EQ(MenuItemAt(layout, 20, 30), 1);
  EXPECT_EQ(MenuItemAt(layout, 20, 53), 3);
  EXPECT_EQ(MenuItemAt(layout, 20, 4), -1);  // padding
  EXPECT_EQ(MenuItemAt(layout, 200, 30), -1);

  items[0].kind = ExMenuItemKind::kSubMenu;
  EXPECT_EQ(LayoutMenu(items).size.width, 145);
  EXPECT_EQ(LayoutMenu({}).size.height, 16);
}

TEST(PopupGeometryTest, MenusStayInsideTheWorkArea) {
  const ExSize size{130, 100};
  EXPECT_EQ(MenuPlacement(200, 300, size, kWorkArea), (ExPixelRect{200, 300, 330, 400}));
  EXPECT_EQ(MenuPlacement(1250, 950, size, kWorkArea), (ExPixelRect{1120, 850, 1250, 950}));
  EXPECT_EQ(MenuPlacement(50, 950, {130, 2000}, kWorkArea).top, 0);

  const ExPixelRect parent{1000, 100, 1130, 200};
  const ExPixelRect item{1002, 130, 1128, 152};
  EXPECT_EQ(SubMenuPlacement(parent, item, size, kWorkArea).left, 1127);
  EXPECT_EQ(SubMenuPlacement(parent, item, {200, 100}, kWorkArea).left, 803);  // no room on the right
  EXPECT_EQ(SubMenuPlacement(parent, item, size, kWorkArea).top, 122);
}

}  // namespace
