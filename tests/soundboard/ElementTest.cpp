// The element tree in a real host window under Wine: composition read back
// from the canvas, input sent to the window as real messages.
#include <memory>
#include <thread>

#include "FrameworkFixture.h"

namespace {

constexpr Gdiplus::ARGB kRed = 0xFFFF0000;
constexpr Gdiplus::ARGB kBlue = 0xFF0000FF;

class ElementTest : public FrameworkTest {
 protected:
  void SetUp() override {
    FrameworkTest::SetUp();
    AttachHost();
  }
};

TEST_F(ElementTest, LaterSiblingIsDrawnOnTopAndTakesTheClick) {
  SolidElement below(kRed), above(kBlue);
  ASSERT_NE(below.Create(window, {20, 20, 100, 60}), 0u);
  ASSERT_NE(above.Create(window, {60, 40, 100, 60}), 0u);

  EXPECT_EQ(Pixel(30, 30), kRed);
  EXPECT_EQ(Pixel(80, 50), kBlue);  // the overlap
  EXPECT_EQ(Pixel(300, 300), 0xFF000000u);

  Click(80, 50);
  EXPECT_EQ(above.Count(EXM_CLICK), 1);
  EXPECT_EQ(below.Count(EXM_CLICK), 0);
  EXPECT_EQ(host.HitTest(80, 50), &above);

  above.SendToBack();
  EXPECT_EQ(Pixel(80, 50), kRed);
  EXPECT_EQ(host.HitTest(80, 50), &below);
}

TEST_F(ElementTest, DisabledElementIsTransparentToTheMouseAndDrawnAtHalfOpacity) {
  SolidElement below(kRed), above(kBlue);
  below.Create(window, {20, 20, 100, 60});
  above.Create(window, {20, 20, 100, 60});
  above.SetDisabled(true);

  Click(50, 50);
  EXPECT_EQ(below.Count(EXM_CLICK), 1);
  EXPECT_EQ(above.Count(WM_LBUTTONDOWN), 0);
  const auto pixel = Pixel(50, 50);
  EXPECT_NEAR(Blue(pixel), 128, 2);
  EXPECT_NEAR(Red(pixel), 127, 2);
}

TEST_F(ElementTest, PressAndReleaseOnDifferentElementsClickNeither) {
  SolidElement first, second;
  first.Create(window, {20, 20, 70, 30});
  second.Create(window, {100, 20, 70, 30});
  ExHandle released = 0;
  host.SetCallback(ExHostEvent::kRelease, [&](HWND, ExHandle element, WPARAM, LPARAM, int) { released = element; });

  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, Point(30, 30));
  EXPECT_EQ(host.Pressed(), first.Handle());
  SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, Point(110, 30));
  SendMessageW(window, WM_LBUTTONUP, 0, Point(110, 30));

  EXPECT_EQ(first.Count(EXM_CLICK) + second.Count(EXM_CLICK), 0);
  EXPECT_EQ(released, first.Handle());
  // During the press every mouse message went to the pressed element.
  EXPECT_EQ(first.Count(WM_MOUSEMOVE), 1);
  EXPECT_EQ(first.Count(WM_LBUTTONUP), 1);
  EXPECT_EQ(first.Count(EXM_MOUSELEAVE), 1);
  EXPECT_EQ(second.Count(EXM_MOUSEENTER), 1);
  EXPECT_EQ(host.Hovered(), second.Handle());
  EXPECT_EQ(host.Pressed(), 0u);
}

TEST_F(ElementTest, DoubleClickArrivesAsTwoPressesAndOnlyTheSecondFiresA515Handler) {
  SolidElement element;
  const ExHandle handle = element.Create(window, {20, 20, 70, 30});
  std::vector<WPARAM> doubleClicks;
  element.BindEvent(WM_LBUTTONDBLCLK, [&](ExHandle parent, ExHandle self, UINT message, WPARAM wParam, LPARAM) {
    EXPECT_EQ(parent, 0u);
    EXPECT_EQ(self, handle);
    EXPECT_EQ(message, static_cast<UINT>(WM_LBUTTONDOWN));
    doubleClicks.push_back(wParam);
    return LRESULT{0};
  });
  int hostDoubleClicks = 0;
  host.SetCallback(ExHostEvent::kDoubleClick, [&](HWND, ExHandle, WPARAM, LPARAM, int) { ++hostDoubleClicks; });

  Click(30, 30);
  SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, Point(30, 30));
  SendMessageW(window, WM_LBUTTONUP, 0, Point(30, 30));

  std::vector<WPARAM> presses;
  for (const auto& entry : element.received) {
    if (entry.message == WM_LBUTTONDOWN) presses.push_back(entry.wParam);
    EXPECT_NE(entry.message, static_cast<UINT>(WM_LBUTTONDBLCLK));
  }
  EXPECT_EQ(presses, (std::vector<WPARAM>{MK_LBUTTON, EXM_DBLCLK_MARK}));
  EXPECT_EQ(doubleClicks, std::vector<WPARAM>{EXM_DBLCLK_MARK});
  EXPECT_EQ(hostDoubleClicks, 1);
  EXPECT_EQ(element.Count(EXM_CLICK), 2);
}

TEST_F(ElementTest, HandlerOrderDecidesBetween513And515) {
  SolidElement element;
  element.Create(window, {20, 20, 70, 30});
  std::vector<UINT> fired;
  element.BindEvent(WM_LBUTTONDOWN, [&](ExHandle, ExHandle, UINT, WPARAM, LPARAM) {
    fired.push_back(WM_LBUTTONDOWN);
    return LRESULT{0};
  });
  element.BindEvent(WM_LBUTTONDBLCLK, [&](ExHandle, ExHandle, UINT, WPARAM, LPARAM) {
    fired.push_back(WM_LBUTTONDBLCLK);
    return LRESULT{0};
  });
  SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, Point(30, 30));
  EXPECT_EQ(fired, std::vector<UINT>{WM_LBUTTONDOWN});  // the 513 pair came first
}

TEST_F(ElementTest, BindingAMessageTwiceKeepsOnePairWithTheSecondHandler) {
  SolidElement element;
  element.Create(window, {20, 20, 70, 30});
  int first = 0;
  int second = 0;
  element.BindEvent(EXM_CLICK, [&](ExHandle, ExHandle, UINT, WPARAM, LPARAM) { return LRESULT(++first); });
  element.BindEvent(EXM_CLICK, [&](ExHandle, ExHandle, UINT, WPARAM, LPARAM) { return LRESULT(++second); });
  Click(30, 30);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(second, 1);
}

TEST_F(ElementTest, HandlersOfChildrenGetTheParentHandleFirst) {
  SolidElement panel, caption;
  const ExHandle panelHandle = panel.Create(window, {20, 20, 70, 30}, {12, true, false});
  const ExHandle captionHandle = caption.Create(panelHandle, {20, 20, 70, 30});
  ASSERT_NE(captionHandle, 0u);
  ExHandle seenParent = 0;
  ExHandle seenElement = 0;
  caption.BindEvent(EXM_CLICK, [&](ExHandle parent, ExHandle element, UINT, WPARAM, LPARAM) {
    seenParent = parent;
    seenElement = element;
    return LRESULT{0};
  });
  Click(30, 30);
  EXPECT_EQ(seenParent, panelHandle);
  EXPECT_EQ(seenElement, captionHandle);
  EXPECT_EQ(panel.Count(WM_LBUTTONDOWN), 0);
}

TEST_F(ElementTest, MovesWithinTheToleranceChangeNothing) {
  SolidElement element;
  element.Create(window, {20, 20, 70, 30});
  Gdiplus::GpBitmap* bitmap = element.Bitmap();
  const long long composed = host.PixelsRecomposed();

  element.SetWidth(70 + 1e-8);
  element.SetLeft(20 + 5e-8);
  EXPECT_EQ(element.Bitmap(), bitmap);
  EXPECT_EQ(element.Count(EXM_SIZE), 0);
  EXPECT_EQ(host.PixelsRecomposed(), composed);

  element.SetWidth(80);
  EXPECT_EQ(element.Count(EXM_SIZE), 1);
  UINT width = 0;
  Gdiplus::DllExports::GdipGetImageWidth(element.Bitmap(), &width);
  EXPECT_EQ(width, 80u);
  EXPECT_EQ(Pixel(95, 30), kRed);  // re-rendered at the new size
}

TEST_F(ElementTest, MovingRecomposesTheOldAndTheNewPlace) {
  SolidElement element;
  element.Create(window, {20, 20, 70, 30});
  element.Move(200, 100, {}, {});
  EXPECT_EQ(Pixel(30, 30), 0xFF000000u);
  EXPECT_EQ(Pixel(210, 110), kRed);
  EXPECT_EQ(element.Count(EXM_MOVED), 1);
  EXPECT_EQ(element.Rect().x, 200.0f);
  EXPECT_EQ(element.Rect().width, 70.0f);
}

TEST_F(ElementTest, OpacityScalesTheElementsAlpha) {
  SolidElement element(kRed);
  element.Create(window, {20, 20, 70, 30});
  element.SetOpacity(100);
  const auto pixel = Pixel(30, 30);  // red at 100/255 over opaque black
  EXPECT_NEAR(Red(pixel), 100, 2);
  EXPECT_EQ(Alpha(pixel), 255);
  EXPECT_EQ(element.Count(EXM_OPACITY), 1);
  element.SetOpacity(100);  // always notifies
  EXPECT_EQ(element.Count(EXM_OPACITY), 2);
  element.SetOpacity(0);
  EXPECT_EQ(Pixel(30, 30), 0xFF000000u);
}

TEST_F(ElementTest, ChildrenAreClippedToTheirParent) {
  SolidElement parent(kRed), child(kBlue);
  const ExHandle parentHandle = parent.Create(window, {20, 20, 70, 30});
  child.Create(parentHandle, {60, 30, 100, 100});
  EXPECT_EQ(Pixel(70, 40), kBlue);
  EXPECT_EQ(Pixel(100, 40), 0xFF000000u);  // right of the parent
  EXPECT_EQ(Pixel(70, 60), 0xFF000000u);   // below the parent
  EXPECT_EQ(host.HitTest(70, 40), &child);
  EXPECT_EQ(host.HitTest(100, 40), nullptr);
}

TEST_F(ElementTest, AChangeRecomposesOnlyTheElementsRectangle) {
  SolidElement element;
  element.Create(window, {20, 20, 70, 30});
  const long long before = host.PixelsRecomposed();
  element.SetColour(kBlue);
  EXPECT_EQ(host.PixelsRecomposed() - before, 70 * 30);
  EXPECT_EQ(Pixel(30, 30), kBlue);
  element.SetVisible(false);
  EXPECT_EQ(Pixel(30, 30), 0xFF000000u);
  EXPECT_EQ(element.Count(EXM_HIDE), 1);
  element.SetVisible(false);
  EXPECT_EQ(element.Count(EXM_HIDE), 1);
}

TEST_F(ElementTest, LockedRedrawDefersRecompositionToTheUnlock) {
  SolidElement element;
  element.Create(window, {20, 20, 70, 30});
  element.LockRedraw();
  element.SetColour(kBlue);
  EXPECT_EQ(Pixel(30, 30), kRed);
  element.UnlockRedraw();
  EXPECT_EQ(Pixel(30, 30), kBlue);
}

TEST_F(ElementTest, CreationFailsWithoutAHostOrAcrossHosts) {
  SolidElement element;
  HWND plain = ExCreateWindow({});
  EXPECT_EQ(element.Create(plain, {0, 0, 10, 10}), 0u);
  EXPECT_EQ(element.Create(ExHandle{12345}, {0, 0, 10, 10}), 0u);
  DestroyWindow(plain);

  ExHost otherHost;
  HWND other = ExCreateWindow({});
  ASSERT_TRUE(otherHost.Attach(other, nullptr, 0));
  SolidElement foreign;
  const ExHandle foreignHandle = foreign.Create(other, {0, 0, 10, 10});
  SolidElement mine;
  const ExHandle mineHandle = mine.Create(window, {0, 0, 10, 10});
  ASSERT_NE(mineHandle, 0u);
  EXPECT_FALSE(mine.SetParent(foreignHandle));
  EXPECT_FALSE(mine.SetParent(other));
  DestroyWindow(other);
  EXPECT_EQ(foreign.Handle(), 0u);  // the window took its elements along
  EXPECT_EQ(ExElement::FromHandle(foreignHandle), nullptr);
}

TEST_F(ElementTest, DestroyForgetsTheElementEverywhere) {
  SolidElement parent, child;
  const ExHandle parentHandle = parent.Create(window, {20, 20, 70, 30});
  const ExHandle childHandle = child.Create(parentHandle, {20, 20, 70, 30});
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, Point(30, 30));
  ASSERT_EQ(host.Pressed(), childHandle);
  ASSERT_EQ(host.Focused(), childHandle);
  ASSERT_TRUE(child.StartTimer(1000));

  parent.Destroy();
  EXPECT_EQ(ExElement::FromHandle(parentHandle), nullptr);
  EXPECT_EQ(ExElement::FromHandle(childHandle), nullptr);
  EXPECT_EQ(child.Count(EXM_DESTROY), 1);
  EXPECT_EQ(host.Pressed(), 0u);
  EXPECT_EQ(host.Focused(), 0u);
  EXPECT_EQ(host.Hovered(), 0u);
  EXPECT_EQ(host.FirstElement(), nullptr);
  EXPECT_EQ(Pixel(30, 30), 0xFF000000u);
  EXPECT_FALSE(KillTimer(window, childHandle));          // already gone
  SendMessageW(window, WM_LBUTTONUP, 0, Point(30, 30));  // the stale release is harmless
  parent.Destroy();
}

TEST_F(ElementTest, RecreatingAnElementGivesItANewHandle) {
  SolidElement element;
  const ExHandle first = element.Create(window, {20, 20, 70, 30});
  const ExHandle second = element.Create(window, {20, 20, 70, 30});
  EXPECT_NE(second, 0u);
  EXPECT_EQ(ExElement::FromHandle(second), &element);
  if (first != second) {
    EXPECT_EQ(ExElement::FromHandle(first), nullptr);
  }
  EXPECT_EQ(host.FirstElement(), host.LastElement());
}

TEST_F(ElementTest, SendAndPostDeliverThroughTheHost) {
  SolidElement element;
  element.Create(window, {20, 20, 70, 30});
  const UINT custom = WM_APP + 7;
  element.Send(custom, 1, 2);
  ASSERT_EQ(element.Count(custom), 1);
  EXPECT_TRUE(element.Post(custom, 3, 4));
  EXPECT_EQ(element.Count(custom), 1);  // not yet: the message loop delivers it
  PumpMessages();
  ASSERT_EQ(element.Count(custom), 2);
  EXPECT_EQ(element.received.back().wParam, 3u);
  EXPECT_EQ(element.received.back().lParam, 4);
}

TEST_F(ElementTest, WorkerThreadsPostThroughTheMessageLoop) {
  SolidElement element;
  element.Create(window, {20, 20, 70, 30});
  const UINT progress = WM_APP + 9;
  std::thread worker([&element, progress] {
    for (int value = 1; value <= 3; ++value) element.Post(progress, value, 0);
  });
  worker.join();
  EXPECT_EQ(element.Count(progress), 0);  // nothing ran on the worker
  PumpMessages();
  std::vector<WPARAM> values;
  for (const auto& entry : element.received) {
    if (entry.message == progress) values.push_back(entry.wParam);
  }
  EXPECT_EQ(values, (std::vector<WPARAM>{1, 2, 3}));
}

TEST_F(ElementTest, ElementTimersTickIntoTheElement) {
  SolidElement element;
  const ExHandle handle = element.Create(window, {20, 20, 70, 30});
  ASSERT_TRUE(element.StartTimer(10));
  ASSERT_TRUE(WaitUntil([&] {
    PumpMessages();
    return element.Count(WM_TIMER) >= 2;
  }));
  for (const auto& entry : element.received) {
    if (entry.message == WM_TIMER) {
      EXPECT_EQ(entry.wParam, handle);
    }
  }
  element.StopTimer();
}

TEST_F(ElementTest, TabMovesFocusAndEnterOrSpaceClicks) {
  SolidElement first, hidden, label, last;
  first.Create(window, {20, 20, 70, 30});
  hidden.Create(window, {100, 20, 70, 30}, {0, false, true});
  label.Create(window, {180, 20, 70, 30}, {3, true, false});
  last.Create(window, {260, 20, 70, 30});
  int clicks = 0;
  host.SetCallback(ExHostEvent::kClick, [&](HWND, ExHandle, WPARAM, LPARAM, int) { ++clicks; });

  SendMessageW(window, WM_KEYDOWN, VK_TAB, 0);
  EXPECT_EQ(host.Focused(), first.Handle());
  EXPECT_TRUE(first.FocusedByKeyboard());
  SendMessageW(window, WM_KEYDOWN, VK_TAB, 0);
  EXPECT_EQ(host.Focused(), last.Handle());
  EXPECT_EQ(first.Count(EXM_KILLFOCUS), 1);
  EXPECT_EQ(last.Count(EXM_SETFOCUS), 1);
  SendMessageW(window, WM_KEYDOWN, VK_TAB, 0);
  EXPECT_EQ(host.Focused(), first.Handle());  // wrapped

  SendMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
  SendMessageW(window, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(first.Count(EXM_CLICK), 2);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(first.Count(WM_KEYDOWN), 3);  // the focused element saw each key first
  EXPECT_TRUE(first.HasFocus());
  EXPECT_FALSE(last.HasFocus());
}

TEST_F(ElementTest, DisablingTheFocusedElementDropsTheFocus) {
  SolidElement element;
  element.Create(window, {20, 20, 70, 30});
  host.SetFocus(element.Handle());
  element.SetDisabled(true);
  EXPECT_EQ(host.Focused(), 0u);
  EXPECT_EQ(element.Count(EXM_KILLFOCUS), 1);
  EXPECT_EQ(element.Count(EXM_MOUSELEAVE), 1);
}

TEST_F(ElementTest, NonInteractiveElementsTakeAPressOnlyWhenTheyAskForIt) {
  SolidElement label;
  label.Create(window, {20, 20, 70, 30}, {3, true, false});
  Click(30, 30);
  EXPECT_EQ(label.Count(EXM_CLICK), 0);
  EXPECT_EQ(label.Count(WM_LBUTTONDOWN), 1);  // the message itself still arrives
  label.wantPress = 0;
  Click(30, 30);
  EXPECT_EQ(label.Count(EXM_CLICK), 1);
  EXPECT_EQ(host.Focused(), 0u);  // a press, but no focus for a non-interactive element
}

TEST_F(ElementTest, HostCallbacksGetWindowElementAndTypeCode) {
  SolidElement element;
  const ExHandle handle = element.Create(window, {20, 20, 70, 30}, {2});
  std::vector<ExHostEvent> seen;
  for (int i = 0; i < static_cast<int>(ExHostEvent::kCount); ++i) {
    const auto event = static_cast<ExHostEvent>(i);
    host.SetCallback(event, [&, event](HWND callbackWindow, ExHandle callbackElement, WPARAM, LPARAM, int type) {
      EXPECT_EQ(callbackWindow, window);
      EXPECT_EQ(callbackElement, handle);
      EXPECT_EQ(type, 2);
      seen.push_back(event);
    });
  }
  SendMessageW(window, WM_MOUSEMOVE, 0, Point(30, 30));
  Click(30, 30);
  SendMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, Point(30, 30));
  SendMessageW(window, WM_RBUTTONUP, 0, Point(30, 30));
  SendMessageW(window, WM_MOUSEMOVE, 0, Point(300, 300));
  const std::vector<ExHostEvent> expected = {
      ExHostEvent::kEnter,       ExHostEvent::kMouseMove,    ExHostEvent::kPress,
      ExHostEvent::kFocusGained, ExHostEvent::kRelease,      ExHostEvent::kClick,
      ExHostEvent::kRightPress,  ExHostEvent::kRightRelease, ExHostEvent::kLeave};
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(element.Count(WM_RBUTTONDOWN), 1);
  EXPECT_EQ(element.Count(WM_RBUTTONUP), 1);
}

TEST_F(ElementTest, CustomDrawingReplacesTheDefaultOnlyWhenItSaysSo) {
  SolidElement element(kRed);
  element.Create(window, {20, 20, 70, 30});
  element.EnableCustomDraw(true);
  element.customDraw = 1;  // drew itself (here: nothing)
  element.Repaint();
  EXPECT_EQ(Pixel(30, 30), 0xFF000000u);
  const auto& record = element.received.back();
  EXPECT_EQ(record.message, static_cast<UINT>(EXM_CUSTOMDRAW));
  element.customDraw = 0;  // asks for the default
  element.Repaint();
  EXPECT_EQ(Pixel(30, 30), kRed);
}

}  // namespace
