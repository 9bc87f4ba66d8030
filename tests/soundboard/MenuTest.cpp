// Popup menus in real windows: commands, Escape, disabled and hidden items,
// access keys, sub-menus, dismissal, and the popup hook's property clean-up.
#include "ExPopupMenu.h"
#include "PopupTestSupport.h"

namespace {

// Item rows of the menu below, in menu-window coordinates.
constexpr int kOpenY = 8 + 11;
constexpr int kDisabledY = 30 + 11;
constexpr int kMoreY = 55 + 11;  // after the hidden item and the separator

class MenuTest : public PopupFixture {
 protected:
  void SetUp() override {
    PopupFixture::SetUp();
    subMenu.AddItem(std::wstring(L"子项(&S)"), 201);
    menu.AddItem(std::wstring(L"打开(&O)"), 101);
    menu.AddItem(std::wstring(L"禁用"), 102, kExMenuDisabled);
    menu.AddItem(std::wstring(L"隐藏"), 103, kExMenuHidden);
    menu.AddSeparator();
    menu.AddItem(std::string("More"), 104, kExMenuEnabled, &subMenu);
  }

  int Popup() { return menu.Popup(window, false, 200, 200); }

  // The commands posted to the owner window since the menu opened.
  std::vector<WORD> PostedCommands() {
    std::vector<WORD> commands;
    MSG message;
    while (PeekMessageW(&message, window, WM_COMMAND, WM_COMMAND, PM_REMOVE))
      commands.push_back(LOWORD(message.wParam));
    return commands;
  }

  ExPopupMenu subMenu;
  ExPopupMenu menu;
};

TEST_F(MenuTest, AClickedItemPostsItsCommandAndClosesTheMenu) {
  HWND menuWindow = nullptr;
  RECT placed = {};
  PopupSteps steps;
  steps.Then([&] {
    menuWindow = FindMenu();
    ASSERT_NE(menuWindow, nullptr);
    GetWindowRect(menuWindow, &placed);
    EXPECT_EQ(GetPropW(menuWindow, kExPopupKindProperty), reinterpret_cast<HANDLE>(1));
    EXPECT_EQ(GetPropW(menuWindow, kExPopupOpenerProperty), window);
    EXPECT_EQ(GetPropW(menuWindow, kExMenuEventProperty), window);
    ClickAt(menuWindow, 30, kOpenY);
  });
  steps.Start();
  EXPECT_EQ(Popup(), 101);
  steps.Stop();
  EXPECT_EQ(PostedCommands(), std::vector<WORD>{101});
  EXPECT_FALSE(IsWindow(menuWindow));
  EXPECT_EQ(placed.left, 200);
  EXPECT_EQ(placed.top, 200);
  EXPECT_EQ(placed.bottom - placed.top, 22 * 3 + 3 + 16);  // the hidden item takes no room
}

TEST_F(MenuTest, DisabledItemsIgnoreClicksAndEscapePostsNothing) {
  bool openAfterDisabledClick = false;
  PopupSteps steps;
  steps.Then([&] { ClickAt(FindMenu(), 30, kDisabledY); })
      .Then([&] { ClickAt(FindMenu(), 30, 53); })  // the separator
      .Then([&] {
        openAfterDisabledClick = FindMenu() != nullptr;
        PressKey(FindMenu(), VK_ESCAPE);
      });
  steps.Start();
  EXPECT_EQ(Popup(), 0);
  steps.Stop();
  EXPECT_TRUE(openAfterDisabledClick);
  EXPECT_TRUE(PostedCommands().empty());
  EXPECT_EQ(PopupWindowCount(), 0);
}

TEST_F(MenuTest, AccessKeysAndArrowKeysChooseItems) {
  PopupSteps steps;
  steps.Then([&] { PressKey(FindMenu(), 'O'); });
  steps.Start();
  EXPECT_EQ(Popup(), 101);
  steps.Stop();
  EXPECT_EQ(PostedCommands(), std::vector<WORD>{101});

  PopupSteps arrows;
  arrows.Then([&] {
    PressKey(FindMenu(), VK_DOWN);  // "打开"
    PressKey(FindMenu(), VK_DOWN);  // skips the disabled, hidden and separator rows: "More"
    PressKey(FindMenu(), VK_UP);
    PressKey(FindMenu(), VK_RETURN);
  });
  arrows.Start();
  EXPECT_EQ(Popup(), 101);
  arrows.Stop();
  EXPECT_EQ(PostedCommands(), std::vector<WORD>{101});
}

TEST_F(MenuTest, HoverOpensTheSubMenuWhoseItemClosesTheWholeChain) {
  HWND root = nullptr;
  HWND sub = nullptr;
  PopupSteps steps;
  steps
      .Then([&] {
        root = FindMenu();
        SendMessageW(root, WM_MOUSEMOVE, 0, Point(30, kMoreY));
      })
      .Then([] {})
      .Then([] {})
      .Then([] {})
      .Then([] {})
      .Then([&] {
        sub = static_cast<HWND>(GetPropW(root, kExMenuSubProperty));
        ASSERT_NE(sub, nullptr);
        EXPECT_EQ(GetPropW(sub, kExPopupOpenerProperty), root);
        EXPECT_EQ(RootMenuOf(sub), root);
        EXPECT_EQ(PopupWindowCount(), 2);
        ClickAt(sub, 30, kOpenY);
      });
  steps.Start();
  EXPECT_EQ(Popup(), 201);
  steps.Stop();
  EXPECT_EQ(PostedCommands(), std::vector<WORD>{201});
  EXPECT_FALSE(IsWindow(sub));
  EXPECT_EQ(PopupWindowCount(), 0);
}

TEST_F(MenuTest, ActivatingAnUnrelatedWindowClosesTheChainButNeverItsOwner) {
  HWND other = ExCreateWindow({});
  ShowWindow(other, SW_SHOWNOACTIVATE);
  PopupSteps steps;
  steps.Then([&] { SendMessageW(FindMenu(), WM_MOUSEMOVE, 0, Point(30, kMoreY)); })
      .Then([] {})
      .Then([] {})
      .Then([] {})
      .Then([] {})
      .Then([&] {
        EXPECT_EQ(PopupWindowCount(), 2);
        SetForegroundWindow(other);
        SetActiveWindow(other);
      });
  steps.Start();
  const int command = Popup();
  steps.Stop();
  EXPECT_EQ(command, 0);
  EXPECT_FALSE(steps.ForcedClose());
  EXPECT_EQ(PopupWindowCount(), 0);
  PumpMessages();
  EXPECT_TRUE(IsWindow(window));
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_TRUE(PostedCommands().empty());
  DestroyWindow(other);
}

TEST_F(MenuTest, ItemStates) {
  EXPECT_EQ(menu.ItemCount(), 5);
  EXPECT_EQ(menu.ItemState(2), kExMenuDisabled);
  menu.SetItemState(2, kExMenuEnabled);
  EXPECT_EQ(menu.ItemState(2), kExMenuEnabled);
  menu.SetItemState(9, kExMenuHidden);  // out of range: ignored
  EXPECT_EQ(menu.ItemState(9), kExMenuDisabled);
}

TEST(PopupHookTest, DestructionRemovesThePropertiesOfEachKind) {
  ASSERT_TRUE(ExFramework::Startup());
  const wchar_t* menuProperties[] = {kExPopupOpenerProperty, kExMenuSubProperty, kExMenuActiveProperty,
                                     kExMenuEventProperty};
  for (int kind = 1; kind <= 3; ++kind) {
    HWND popup = ExCreateWindow({});
    SetPropW(popup, kExPopupKindProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(kind)));
    for (const wchar_t* name : menuProperties) SetPropW(popup, name, popup);
    SetPropW(popup, kExMessageBoxProperty, popup);
    EXPECT_EQ(ExPopupHook(popup, WM_DESTROY, 0, 0), kExUndecided);
    EXPECT_EQ(GetPropW(popup, kExPopupKindProperty), nullptr);
    for (const wchar_t* name : menuProperties) EXPECT_EQ(GetPropW(popup, name) == nullptr, kind == 1) << kind;
    EXPECT_EQ(GetPropW(popup, kExMessageBoxProperty) == nullptr, kind == 3) << kind;
    for (const wchar_t* name : menuProperties) RemovePropW(popup, name);
    RemovePropW(popup, kExMessageBoxProperty);
    DestroyWindow(popup);
  }
  ExFramework::Shutdown();
}

TEST(PopupHookTest, EscapeAndDeactivationClosePopups) {
  ASSERT_TRUE(ExFramework::Startup());
  HWND dropDown = ExCreateWindow({});
  SetPropW(dropDown, kExPopupKindProperty, reinterpret_cast<HANDLE>(2));
  ExPopupHook(dropDown, WM_ACTIVATE, WA_INACTIVE, 0);
  MSG message;
  EXPECT_TRUE(PeekMessageW(&message, dropDown, WM_CLOSE, WM_CLOSE, PM_REMOVE));
  ExPopupHook(dropDown, WM_KEYDOWN, 'A', 0);
  EXPECT_FALSE(PeekMessageW(&message, dropDown, WM_CLOSE, WM_CLOSE, PM_REMOVE));
  ExPopupHook(dropDown, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(PeekMessageW(&message, dropDown, WM_CLOSE, WM_CLOSE, PM_REMOVE));
  RemovePropW(dropDown, kExPopupKindProperty);
  DestroyWindow(dropDown);
  ExFramework::Shutdown();
}

}  // namespace
