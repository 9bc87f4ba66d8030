// Opening and closing the drop-down and the menu many times leaves no window,
// property, GDI or USER object, or memory behind.
#include "ExCombo.h"
#include "ExPopupMenu.h"
#include "GuiObjectCheck.h"
#include "PopupTestSupport.h"

namespace {

constexpr UINT kDismissPopup = WM_APP + 1;

class PopupLeakTest : public PopupFixture {
 protected:
  void SetUp() override {
    PopupFixture::SetUp();
    // Posted before each popup opens, handled by its nested loop: Escape for
    // the drop-down, a click on the first item for the menu.
    host.SetMessageHook([](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
      if (message != kDismissPopup) return kExUndecided;
      if (HWND dropDown = FindDropDown()) PressKey(dropDown, VK_ESCAPE);
      if (HWND menu = FindMenu()) ClickAt(menu, 30, 19);
      return 0;
    });
  }

  void Cycle(int times, const std::function<void()>& open) {
    for (int i = 0; i < times; ++i) {
      PostMessageW(window, kDismissPopup, 0, 0);
      open();
    }
    PumpMessages();
  }

  void ExpectNothingLeftBy(const std::function<void()>& open) {
    Cycle(5, open);  // first use creates caches (fonts, DCs) that stay
    const ProcessResources before = MeasureProcess(GetCurrentProcess(), GetCurrentProcessId());
    const SIZE_T memoryBefore = PrivateBytes();
    Cycle(200, open);
    ExpectGuiObjectsWithin(before, MeasureProcess(GetCurrentProcess(), GetCurrentProcessId()), 0);
    // A leaked popup canvas is about 75 KB: 200 of them would pass 8 MB.
    EXPECT_LT(PrivateBytes(), memoryBefore + 4 * 1024 * 1024);
    EXPECT_EQ(PopupWindowCount(), 0);
  }
};

TEST_F(PopupLeakTest, TwoHundredDropDownsLeaveNothingBehind) {
  ExCombo combo;
  ExComboOptions options;
  for (int i = 0; i < 10; ++i) options.items.push_back("item");
  ASSERT_NE(combo.Create(window, {20, 40, 140, 25}, options), 0u);
  int opened = 0;
  combo.OnBeforeOpen([&] { ++opened; });
  ExpectNothingLeftBy([&] { combo.DropDown(); });
  EXPECT_EQ(opened, 205);
}

TEST_F(PopupLeakTest, TwoHundredMenusLeaveNothingBehind) {
  ExPopupMenu subMenu;
  subMenu.AddItem(std::string("inner"), 2);
  ExPopupMenu menu;
  menu.AddItem(std::string("first"), 1);
  menu.AddSeparator();
  menu.AddItem(std::string("more"), 3, kExMenuEnabled, &subMenu);
  int chosen = 0;
  ExpectNothingLeftBy([&] { chosen += menu.Popup(window, false, 100, 100); });
  EXPECT_EQ(chosen, 205);
}

}  // namespace
