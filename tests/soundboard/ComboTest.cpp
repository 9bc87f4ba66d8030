// The combo box in a real host window: its drop-down window, where it opens,
// how it closes, and what the application hears.
#include <memory>
#include <string>
#include <vector>

#include "ExCombo.h"
#include "ExListBox.h"
#include "PopupTestSupport.h"

namespace {

class ComboTest : public PopupFixture {
 protected:
  void CreateCombo(int itemCount, float y = 40) {
    ExComboOptions options;
    for (int i = 1; i <= itemCount; ++i) options.items.push_back("device " + std::to_string(i));
    ASSERT_NE(combo.Create(window, {20, y, 140, 25}, options), 0u);
    combo.OnSelectionChanged([this](int index) { picked.push_back(index); });
    combo.OnBeforeOpen([this] { ++opened; });
    combo.OnAfterClose([this] { ++closed; });
  }

  RECT DropDownRect() const {
    RECT rect = {};
    GetWindowRect(FindDropDown(), &rect);
    return rect;
  }

  // The list inside the open drop-down: the only top-level element there.
  static ExListBox* OpenList() {
    ExHost* host = ExHost::FromWindow(FindDropDown());
    return host != nullptr ? static_cast<ExListBox*>(host->FirstElement()) : nullptr;
  }

  ExCombo combo;
  std::vector<int> picked;
  int opened = 0;
  int closed = 0;
};

TEST_F(ComboTest, TenItemsGiveAScrollingDropDown130PixelsHighBelowTheCombo) {
  CreateCombo(10);
  RECT comboOnScreen = {};
  GetWindowRect(window, &comboOnScreen);
  OffsetRect(&comboOnScreen, 20, 40);
  RECT dropDown = {};
  bool scrolls = false;
  int firstRowAfterWheel = 0;
  int rows = 0;
  PopupSteps steps;
  steps
      .Then([&] {
        dropDown = DropDownRect();
        ExListBox* list = OpenList();
        ASSERT_NE(list, nullptr);
        rows = list->RowCount();
        scrolls = list->Scrolls();
        SendMessageW(FindDropDown(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
        firstRowAfterWheel = list->FirstVisibleRow();
        EXPECT_EQ(GetPropW(FindDropDown(), kExPopupKindProperty), reinterpret_cast<HANDLE>(2));
        EXPECT_EQ(GetWindow(FindDropDown(), GW_OWNER), window);
      })
      .Then([&] { PressKey(FindDropDown(), VK_ESCAPE); });
  steps.Start();
  combo.DropDown();
  steps.Stop();

  EXPECT_EQ(dropDown.bottom - dropDown.top, 130);
  EXPECT_EQ(dropDown.right - dropDown.left, 140);
  EXPECT_EQ(dropDown.left, comboOnScreen.left);
  EXPECT_EQ(dropDown.top, comboOnScreen.top + 25);
  EXPECT_EQ(rows, 10);
  EXPECT_TRUE(scrolls);
  EXPECT_EQ(firstRowAfterWheel, 2);
  EXPECT_EQ(FindDropDown(), nullptr);
  EXPECT_TRUE(picked.empty());  // Escape picks nothing
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(closed, 1);
}

TEST_F(ComboTest, NearTheBottomOfTheWorkAreaTheDropDownOpensAbove) {
  RECT work = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  SetWindowPos(window, nullptr, 100, work.bottom - kHeight, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  CreateCombo(4, kHeight - 40.0f);
  RECT comboOnScreen = {};
  GetWindowRect(window, &comboOnScreen);
  OffsetRect(&comboOnScreen, 20, kHeight - 40);
  RECT dropDown = {};
  PopupSteps steps;
  steps.Then([&] { dropDown = DropDownRect(); }).Then([&] { PressKey(FindDropDown(), VK_ESCAPE); });
  steps.Start();
  combo.DropDown();
  steps.Stop();
  EXPECT_EQ(dropDown.bottom - dropDown.top, 19 * 4 + 6);
  EXPECT_EQ(dropDown.bottom, comboOnScreen.top);
}

TEST_F(ComboTest, PickingARowCallsBackWithItsIndexFromOne) {
  CreateCombo(5);
  PopupSteps steps;
  // Row 3 lies 2 rows below the list's top (list at 1, rows start 2 lower).
  steps.Then([&] { ClickAt(FindDropDown(), 30, 1 + 2 + 2 * 19 + 8); });
  steps.Start();
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, Point(60, 50));  // the press opens it
  steps.Stop();
  SendMessageW(window, WM_LBUTTONUP, 0, Point(60, 50));
  EXPECT_EQ(picked, std::vector<int>{3});
  EXPECT_EQ(combo.CurrentIndex(), 3);
  EXPECT_EQ(combo.Text(), "device 3");
  EXPECT_EQ(closed, 1);
  EXPECT_FALSE(combo.IsOpen());
  EXPECT_EQ(host.Pressed(), 0u);  // the owner's press ended when the list took over
}

TEST_F(ComboTest, OpenListSelectsTheCurrentItemAndKeysPickAnother) {
  CreateCombo(10);
  combo.SetCurrentIndex(9);
  int selectedOnOpen = 0;
  int firstVisible = 0;
  PopupSteps steps;
  steps.Then([&] {
    selectedOnOpen = OpenList()->Selected();
    firstVisible = OpenList()->FirstVisibleRow();
    PressKey(FindDropDown(), VK_UP);
    PressKey(FindDropDown(), VK_RETURN);
  });
  steps.Start();
  combo.DropDown();
  steps.Stop();
  EXPECT_EQ(selectedOnOpen, 9);
  EXPECT_EQ(firstVisible, 4);  // scrolled so that row 9 shows
  EXPECT_EQ(picked, std::vector<int>{8});
}

TEST_F(ComboTest, AClickOutsideClosesTheDropDownKeepingTheSelectionAndCallingNoCallback) {
  CreateCombo(10);
  combo.SetCurrentIndex(2);
  RECT windowRect = {};
  GetWindowRect(window, &windowRect);
  PopupSteps steps;
  steps.Then([&] {
    ASSERT_NE(FindDropDown(), nullptr);
    // A real click on the owner window, well away from the drop-down.
    ClickScreen({windowRect.left + 350, windowRect.top + 280});
  });
  steps.Start();
  combo.DropDown();
  steps.Stop();
  EXPECT_FALSE(steps.ForcedClose());
  EXPECT_EQ(FindDropDown(), nullptr);
  EXPECT_TRUE(picked.empty());
  EXPECT_EQ(combo.CurrentIndex(), 2);
  EXPECT_EQ(combo.Text(), "device 2");
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(closed, 1);
}

TEST_F(ComboTest, TheOwnerClosingEndsTheLoopWithoutTouchingTheGoneCombo) {
  auto doomed = std::make_unique<ExCombo>();
  ExComboOptions options;
  options.items = {"a", "b"};
  ASSERT_NE(doomed->Create(window, {20, 40, 140, 25}, options), 0u);
  doomed->OnAfterClose([&] { ++closed; });
  PopupSteps steps;
  steps.Then([&] { doomed.reset(); });  // a handler destroys the combo while its list is open
  steps.Start();
  ExCombo* raw = doomed.get();
  raw->DropDown();
  steps.Stop();
  EXPECT_EQ(doomed, nullptr);
  EXPECT_EQ(FindDropDown(), nullptr);
  EXPECT_EQ(closed, 0);

  CreateCombo(3);
  PopupSteps ownerSteps;
  ownerSteps.Then([&] { DestroyWindow(window); });
  ownerSteps.Start();
  combo.DropDown();
  ownerSteps.Stop();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(combo.Handle(), 0u);
  EXPECT_EQ(PopupWindowCount(), 0);
}

TEST_F(ComboTest, AnEditableComboTypesIntoItsFieldAndOpensFromItsArrow) {
  ExComboOptions options;
  options.items = {"one", "two"};
  options.dropStyle = ExDropStyle::kEditable;
  ASSERT_NE(combo.Create(window, {20, 40, 140, 25}, options), 0u);
  Click(40, 50);  // the field takes the focus and the caret
  SendMessageW(window, WM_CHAR, L'x', 1);
  EXPECT_EQ(combo.Text(), "x");
  EXPECT_FALSE(combo.IsOpen());

  PopupSteps steps;
  steps.Then([&] { ClickAt(FindDropDown(), 30, 1 + 2 + 19 + 8); });
  steps.Start();
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, Point(150, 50));  // the arrow area
  steps.Stop();
  SendMessageW(window, WM_LBUTTONUP, 0, Point(150, 50));
  EXPECT_EQ(combo.CurrentIndex(), 2);
  EXPECT_EQ(combo.Text(), "two");
}

// A 40 x 26 drop-button strip as BMP bytes: the closed frame red, the open one blue.
std::string TwoFrameArrowPicture() {
  constexpr int kWidth = 40, kHeight = 26;
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof info;
  info.biWidth = kWidth;
  info.biHeight = kHeight;
  info.biPlanes = 1;
  info.biBitCount = 32;
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + kWidth * kHeight * 4;
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const std::uint32_t pixel = x < kWidth / 2 ? 0xFFFF0000u : 0xFF0000FFu;
      bytes.append(reinterpret_cast<const char*>(&pixel), 4);
    }
  }
  return bytes;
}

TEST_F(ComboTest, TheDropButtonPictureShowsItsOpenFrameWhileTheListIsOpen) {
  CreateCombo(3);
  const std::string picture = TwoFrameArrowPicture();
  ASSERT_TRUE(combo.SetArrowImage(picture.data(), picture.size()));
  const int arrowX = 20 + 140 - 10;  // the middle of the 20-pixel drop-button
  EXPECT_NEAR(Red(Pixel(arrowX, 52)), 255, 3);
  EXPECT_NEAR(Blue(Pixel(arrowX, 52)), 0, 3);
  std::uint32_t whileOpen = 0;
  PopupSteps steps;
  steps.Then([&] {
    whileOpen = Pixel(arrowX, 52);
    PressKey(FindDropDown(), VK_ESCAPE);
  });
  steps.Start();
  combo.DropDown();
  steps.Stop();
  EXPECT_NEAR(Blue(whileOpen), 255, 3);
  EXPECT_NEAR(Red(whileOpen), 0, 3);
  EXPECT_NEAR(Red(Pixel(arrowX, 52)), 255, 3);  // closed again
}

TEST_F(ComboTest, ItemsValuesAndCurrentIndex) {
  CreateCombo(0);
  EXPECT_EQ(combo.AddItem("first", 11), 1);
  EXPECT_EQ(combo.AddItem("second", 22), 2);
  EXPECT_EQ(combo.ItemCount(), 2);
  EXPECT_EQ(combo.ItemValue(2), 22);
  EXPECT_EQ(combo.ItemText(1), "first");
  EXPECT_EQ(combo.ItemText(3), "");
  EXPECT_EQ(combo.ItemValue(0), 0);
  combo.SetCurrentIndex(2);
  EXPECT_EQ(combo.Text(), "second");
  combo.SetCurrentIndex(7);  // out of range: nothing changes
  EXPECT_EQ(combo.CurrentIndex(), 2);
  EXPECT_EQ(combo.Text(), "second");
}

}  // namespace
