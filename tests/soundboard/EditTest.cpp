// The edit box in a real host window: typed characters, keys, the real
// clipboard, the right-click menu and its enabling rules, focus and caret,
// password mode, mouse selection and scrolling, and what hiding or disabling
// a box in use leaves behind.
#include <functional>
#include <string>
#include <vector>

#include "ExEdit.h"
#include "PopupTestSupport.h"
#include "TextConversion.h"

#include <commctrl.h>  // after <windows.h>

namespace {

// Rows of the edit menu in its window: cut, copy, paste, separator, select all.
constexpr int kCutY = 8 + 11;
constexpr int kCopyY = 30 + 11;
constexpr int kSelectAllY = 77 + 11;

void SetClipboardTo(HWND owner, const std::wstring& text) {
  ASSERT_TRUE(OpenClipboard(owner));
  EmptyClipboard();
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);  // the clipboard takes it
  memcpy(GlobalLock(memory), text.c_str(), bytes);
  GlobalUnlock(memory);
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
}

std::wstring ClipboardText(HWND owner) {
  std::wstring text;
  if (!OpenClipboard(owner)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    text = static_cast<const wchar_t*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

class EditTest : public PopupFixture {
 protected:
  void CreateEdit(ExEditOptions options = {}, ExRectF rect = {20, 20, 200, 24}) {
    ASSERT_NE(edit.Create(window, rect, options), 0u);
    host.SetFocus(edit.Handle());
  }

  void Type(const std::wstring& characters) {
    for (wchar_t c : characters) SendMessageW(window, WM_CHAR, c, 1);
  }

  // Right-clicks the box, then runs `actions` in the menu that opens; true
  // when a menu opened.
  bool RightClick(const std::vector<std::function<void()>>& actions) {
    bool menuSeen = false;
    PopupSteps steps;
    steps.Then([&] { menuSeen = FindMenu() != nullptr; });
    for (const auto& action : actions) steps.Then(action);
    steps.Start();
    SendMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, Point(40, 30));
    SendMessageW(window, WM_RBUTTONUP, 0, Point(40, 30));
    steps.Stop();
    EXPECT_FALSE(steps.ForcedClose());
    return menuSeen;
  }

  ExEdit edit;
};

TEST_F(EditTest, TypedCharactersFollowTheModeAndReadOnlyBoxesTakeNone) {
  CreateEdit();
  Type(L"ab\x4F60 c~\x7F");
  EXPECT_EQ(edit.Text(), "ab c~");
  edit.SetInputMode(ExInputMode::kDecimal);
  edit.SetText("");
  Type(L"1.5./-");
  EXPECT_EQ(edit.Text(), "1.5/-");
  edit.SetInputMode(ExInputMode::kReadOnly);
  Type(L"9");
  SendMessageW(window, WM_KEYDOWN, VK_BACK, 1);
  EXPECT_EQ(edit.Text(), "1.5/-");
}

TEST_F(EditTest, KeysEditMoveAndSelectAndUnknownKeysAreSwallowed) {
  CreateEdit();
  edit.SetText("hello");
  EXPECT_EQ(edit.RunKey(VK_HOME, false, false), 0);
  EXPECT_EQ(edit.RunKey(VK_RIGHT, false, true), 0);
  EXPECT_EQ(edit.RunKey(VK_RIGHT, false, true), 0);
  EXPECT_EQ(edit.SelectedText(), "he");
  edit.RunKey(VK_DELETE, false, false);
  EXPECT_EQ(edit.Text(), "llo");
  edit.RunKey(VK_END, false, false);
  edit.RunKey(VK_BACK, false, false);
  EXPECT_EQ(edit.Text(), "ll");
  EXPECT_EQ(edit.RunKey(VK_RETURN, false, false), 0);  // single-line: no break
  EXPECT_EQ(edit.Text(), "ll");
  EXPECT_EQ(edit.RunKey(VK_F5, false, false), 255);
  EXPECT_EQ(edit.RunKey(VK_TAB, false, false), 255);

  // Space is typed, never a click on the box.
  int clicks = 0;
  edit.BindEvent(EXM_CLICK, [&](ExHandle, ExHandle, UINT, WPARAM, LPARAM) { return LRESULT{++clicks}; });
  SendMessageW(window, WM_KEYDOWN, VK_SPACE, 1);
  SendMessageW(window, WM_CHAR, L' ', 1);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(edit.Text(), "ll ");
}

TEST_F(EditTest, ClipboardRoundTripThroughTheRealClipboard) {
  CreateEdit();
  edit.SetText(Ansi(L"你好 world"));
  edit.Select(0, 3);
  edit.RunKey('C', true, false);
  EXPECT_EQ(ClipboardText(window), L"你好 ");
  edit.Select(8, 8);
  edit.RunKey('V', true, false);
  EXPECT_EQ(edit.Text(), Ansi(L"你好 world你好 "));
  edit.Select(3, 8);
  edit.RunKey('X', true, false);
  EXPECT_EQ(ClipboardText(window), L"world");
  EXPECT_EQ(edit.Text(), Ansi(L"你好 你好 "));
  edit.RunKey('A', true, false);
  EXPECT_EQ(edit.SelectedText(), edit.Text());

  // Menu commands are the same keys: WM_COMMAND reaches the focused box.
  edit.Select(0, 0);
  SendMessageW(window, WM_COMMAND, 'A', 0);
  EXPECT_EQ(edit.SelectedText(), Ansi(L"你好 你好 "));

  // A read-only box copies but never cuts or pastes.
  edit.SetInputMode(ExInputMode::kReadOnly);
  edit.Select(0, 2);
  edit.RunKey('X', true, false);
  EXPECT_EQ(edit.Text(), Ansi(L"你好 你好 "));
  EXPECT_EQ(ClipboardText(window), L"world");
  edit.RunKey('C', true, false);
  EXPECT_EQ(ClipboardText(window), L"你好");
  edit.RunKey('V', true, false);
  EXPECT_EQ(edit.Text(), Ansi(L"你好 你好 "));

  // Multi-line text leaves with CR LF and comes back with one break per line.
  ExEdit lines;
  ExEditOptions options;
  options.multiLine = true;
  ASSERT_NE(lines.Create(window, {20, 100, 200, 80}, options), 0u);
  host.SetFocus(lines.Handle());
  SetClipboardTo(window, L"one\r\ntwo");
  lines.RunKey('V', true, false);
  EXPECT_EQ(lines.Buffer().Text(), L"one\ntwo");
  lines.RunKey('A', true, false);
  lines.RunKey('C', true, false);
  EXPECT_EQ(ClipboardText(window), L"one\r\ntwo");
}

TEST_F(EditTest, PasswordBoxesOpenNoMenuAndCopyNothing) {
  ExEditOptions options;
  options.mode = ExInputMode::kPassword;
  options.text = "secret";
  CreateEdit(options);
  SetClipboardTo(window, L"before");
  edit.Select(0, 6);
  edit.RunKey('C', true, false);
  edit.RunKey('X', true, false);
  EXPECT_EQ(ClipboardText(window), L"before");
  EXPECT_EQ(edit.Text(), "secret");
  edit.Select(0, 0);
  edit.RunKey('A', true, false);
  EXPECT_EQ(edit.SelectedText(), "");
  edit.RunKey('V', true, false);
  EXPECT_EQ(edit.Text(), "secret");

  EXPECT_FALSE(RightClick({}));
  EXPECT_EQ(PopupWindowCount(), 0);
}

TEST_F(EditTest, PasswordBoxesDrawThePasswordCharacterForEveryCharacter) {
  ExEditOptions hidden;
  hidden.mode = ExInputMode::kPassword;
  hidden.text = "abc";
  ASSERT_NE(edit.Create(window, {20, 20, 120, 24}, hidden), 0u);
  ExEdit shown;
  ExEditOptions stars;
  stars.text = "***";
  ASSERT_NE(shown.Create(window, {20, 60, 120, 24}, stars), 0u);
  ExEdit plain;
  ExEditOptions letters;
  letters.text = "abc";
  ASSERT_NE(plain.Create(window, {20, 100, 120, 24}, letters), 0u);
  int differencesFromStars = 0;
  int differencesFromLetters = 0;
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 120; ++x) {
      differencesFromStars += Pixel(20 + x, 20 + y) != Pixel(20 + x, 60 + y) ? 1 : 0;
      differencesFromLetters += Pixel(20 + x, 20 + y) != Pixel(20 + x, 100 + y) ? 1 : 0;
    }
  }
  EXPECT_EQ(differencesFromStars, 0);
  EXPECT_GT(differencesFromLetters, 20);
}

TEST_F(EditTest, TheRightClickMenuEnablesOnlyWhatApplies) {
  CreateEdit();
  edit.SetText("abc");
  edit.Select(3, 3);  // nothing selected: cut and copy are disabled
  SetClipboardTo(window, L"clip");
  EXPECT_TRUE(RightClick({
      [] { ClickAt(FindMenu(), 30, kCutY); },
      [] { ClickAt(FindMenu(), 30, kCopyY); },
      [] { ClickAt(FindMenu(), 30, kSelectAllY); },
  }));
  PumpMessages();  // the posted command
  EXPECT_EQ(edit.Text(), "abc");
  EXPECT_EQ(edit.SelectedText(), "abc");
  EXPECT_EQ(ClipboardText(window), L"clip");

  EXPECT_TRUE(RightClick({[] { ClickAt(FindMenu(), 30, kCutY); }}));
  PumpMessages();
  EXPECT_EQ(edit.Text(), "");
  EXPECT_EQ(ClipboardText(window), L"abc");
  EXPECT_EQ(PopupWindowCount(), 0);
}

TEST_F(EditTest, FocusRunsTheBlinkAndDetachesTheImeInRestrictedModes) {
  ExEditOptions options;
  options.mode = ExInputMode::kInteger;
  ASSERT_NE(edit.Create(window, {20, 20, 200, 24}, options), 0u);
  HIMC original = ImmGetContext(window);
  ImmReleaseContext(window, original);
  ASSERT_NE(original, nullptr);
  EXPECT_FALSE(edit.CaretShown());

  host.SetFocus(edit.Handle());
  EXPECT_TRUE(edit.CaretShown());
  HIMC whileFocused = ImmGetContext(window);
  if (whileFocused != nullptr) ImmReleaseContext(window, whileFocused);
  EXPECT_EQ(whileFocused, nullptr);
  SendMessageW(window, WM_TIMER, edit.Handle(), 0);
  EXPECT_FALSE(edit.CaretShown());
  SendMessageW(window, WM_TIMER, edit.Handle(), 0);
  EXPECT_TRUE(edit.CaretShown());

  host.SetFocus(0);
  EXPECT_FALSE(edit.CaretShown());
  HIMC afterwards = ImmGetContext(window);
  if (afterwards != nullptr) ImmReleaseContext(window, afterwards);
  EXPECT_EQ(afterwards, original);
}

TEST_F(EditTest, MouseSelectsAndMultiLineBoxesScroll) {
  CreateEdit();
  edit.SetText("selection");
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, Point(22, 30));
  SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, Point(215, 30));
  SendMessageW(window, WM_LBUTTONUP, 0, Point(215, 30));
  EXPECT_EQ(edit.SelectedText(), "selection");
  EXPECT_EQ(edit.Buffer().Caret(), 9u);

  ExEdit lines;
  ExEditOptions options;
  options.multiLine = true;
  ASSERT_NE(lines.Create(window, {20, 100, 200, 60}, options), 0u);
  host.SetFocus(lines.Handle());
  lines.SetText("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10");
  EXPECT_EQ(lines.Buffer().LineCount(), 10u);
  EXPECT_GT(lines.FirstVisibleLine(), 0u);  // the caret at the end is in view
  lines.RunKey(VK_HOME, true, false);
  EXPECT_EQ(lines.FirstVisibleLine(), 0u);
  SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(lines.FirstVisibleLine(), 3u);
  // The vertical bar is the box's first child; a press on its lower arrow scrolls one line.
  ExElement* bar = lines.FirstChild();
  ASSERT_NE(bar, nullptr);
  const ExRectF& place = bar->Rect();
  Click(static_cast<int>(place.x + 3), static_cast<int>(place.y + place.height - 3));
  EXPECT_EQ(lines.FirstVisibleLine(), 4u);
  EXPECT_EQ(host.Focused(), lines.Handle());  // the bar took the press, not the focus
}

HWND ThreadCaretWindow() {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetCurrentThreadId(), &info);
  return info.hwndCaret;
}

HIMC WindowIme(HWND window) {
  HIMC context = ImmGetContext(window);
  if (context != nullptr) ImmReleaseContext(window, context);
  return context;
}

// A box that is hovered, pressed and focused (so it has the capture, the
// caret, the blink timer, a detached IME and a tooltip) stops taking input
// in one of three ways; every one of those must go with it.
TEST_F(EditTest, HidingOrDisablingABoxInUseLeavesNoHoverFocusCaretTimerOrTip) {
  enum class Way { kHide, kDisable, kHideParent };
  for (Way way : {Way::kHide, Way::kDisable, Way::kHideParent}) {
    SCOPED_TRACE(static_cast<int>(way));
    SolidElement page;
    ASSERT_NE(page.Create(window, {10, 10, 300, 100}), 0u);
    ExEditOptions options;
    options.mode = ExInputMode::kInteger;
    ASSERT_NE(edit.Create(page.Handle(), {20, 20, 200, 24}, options), 0u);
    edit.SetTooltipText("digits only");
    const HIMC original = WindowIme(window);
    ASSERT_NE(original, nullptr);
    std::vector<ExHostEvent> events;
    auto record = [&events](ExHostEvent event) {
      return [&events, event](HWND, ExHandle, WPARAM, LPARAM, int) { events.push_back(event); };
    };
    host.SetCallback(ExHostEvent::kLeave, record(ExHostEvent::kLeave));
    host.SetCallback(ExHostEvent::kFocusLost, record(ExHostEvent::kFocusLost));

    SendMessageW(window, WM_MOUSEMOVE, 0, Point(40, 40));
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, Point(40, 40));
    ASSERT_EQ(host.Hovered(), edit.Handle());
    ASSERT_EQ(host.Pressed(), edit.Handle());
    ASSERT_EQ(host.Focused(), edit.Handle());
    ASSERT_EQ(GetCapture(), window);
    ASSERT_EQ(ThreadCaretWindow(), window);
    ASSERT_EQ(WindowIme(window), nullptr);
    ASSERT_EQ(SendMessageA(host.TooltipWindow(), TTM_GETTOOLCOUNT, 0, 0), 1);

    switch (way) {
      case Way::kHide:
        edit.SetVisible(false);
        break;
      case Way::kDisable:
        edit.SetDisabled(true);
        break;
      case Way::kHideParent:
        page.SetVisible(false);
        break;
    }

    EXPECT_EQ(host.Hovered(), 0u);
    EXPECT_EQ(host.Pressed(), 0u);
    EXPECT_EQ(host.Focused(), 0u);
    EXPECT_NE(GetCapture(), window);
    EXPECT_EQ(ThreadCaretWindow(), nullptr);
    EXPECT_FALSE(edit.CaretShown());
    EXPECT_FALSE(KillTimer(window, edit.Handle()));  // the blink timer is gone already
    EXPECT_EQ(WindowIme(window), original);
    EXPECT_EQ(SendMessageA(host.TooltipWindow(), TTM_GETTOOLCOUNT, 0, 0), 0);
    EXPECT_EQ(events, (std::vector<ExHostEvent>{ExHostEvent::kLeave, ExHostEvent::kFocusLost}));

    // The release that was under way arrives late and clicks nothing.
    int clicks = 0;
    host.SetCallback(ExHostEvent::kClick, [&clicks](HWND, ExHandle, WPARAM, LPARAM, int) { ++clicks; });
    SendMessageW(window, WM_LBUTTONUP, 0, Point(40, 40));
    EXPECT_EQ(clicks, 0);
    for (auto event : {ExHostEvent::kLeave, ExHostEvent::kFocusLost, ExHostEvent::kClick}) {
      host.SetCallback(event, nullptr);
    }
    edit.Destroy();
  }
}

}  // namespace
