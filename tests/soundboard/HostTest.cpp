// The host window under Wine: attach, presentation, the window-level message
// handling (edges, dragging, maximising, closing) and teardown.
#include <string>

#include "FrameworkFixture.h"

namespace {

class HostTest : public FrameworkTest {
 protected:
  // Records WM_SYSCOMMAND and WM_NCLBUTTONDOWN and keeps them from starting
  // the modal size and move loops.
  void RecordWindowCommands() {
    host.SetMessageHook([this](HWND, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
      if (message != WM_SYSCOMMAND && message != WM_NCLBUTTONDOWN) return kExUndecided;
      commands.push_back({message, wParam, 0});
      return 0;
    });
  }

  std::vector<ReceivedMessage> commands;
};

TEST_F(HostTest, AttachTakesOverTheWindowOnce) {
  AttachHost();
  EXPECT_EQ(ExHost::FromWindow(window), &host);
  EXPECT_EQ(host.Width(), kWidth);
  EXPECT_EQ(host.StyleFlags(), kExAttached);
  EXPECT_GE(ExFramework::Get()->Scratch().Width(), kWidth);  // the shared scratch grew to fit
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_DLGFRAME | WS_BORDER | WS_MAXIMIZEBOX | WS_MINIMIZEBOX), 0);
  HWND tooltip = host.TooltipWindow();
  ASSERT_TRUE(IsWindow(tooltip));
  EXPECT_TRUE(GetWindowLongW(tooltip, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_FALSE(host.Attach(window, nullptr, 0));
  ExHost second;
  EXPECT_FALSE(second.Attach(window, nullptr, 0));
  EXPECT_FALSE(second.Attach(nullptr, nullptr, 0));
  EXPECT_FALSE(second.IsAttached());
  DestroyWindow(window);
  EXPECT_FALSE(IsWindow(tooltip));
}

TEST_F(HostTest, DefaultStyleFlagsFollowTheWindowsBoxes) {
  ExHost defaults;
  HWND plain = ExCreateWindow({});
  ASSERT_TRUE(defaults.Attach(plain, nullptr, 0));
  EXPECT_EQ(defaults.StyleFlags(),
            kExWindowIcon | kExTitleText | kExCloseButton | kExMaximiseButton | kExMinimiseButton | kExAttached);
  DestroyWindow(plain);
}

TEST_F(HostTest, WindowProcedureIsAnExecuteOnlyThunkAndIsRestoredOnDetach) {
  window = ExCreateWindow({});
  const LONG_PTR original = GetWindowLongPtrW(window, GWLP_WNDPROC);
  {
    ExHost scoped;
    ASSERT_TRUE(scoped.Attach(window, nullptr, 0));
    const LONG_PTR thunk = GetWindowLongPtrW(window, GWLP_WNDPROC);
    ASSERT_NE(thunk, original);
    MEMORY_BASIC_INFORMATION memory = {};
    ASSERT_NE(VirtualQuery(reinterpret_cast<void*>(thunk), &memory, sizeof memory), 0u);
    EXPECT_EQ(memory.Protect, static_cast<DWORD>(PAGE_EXECUTE_READ));
    EXPECT_EQ(SendMessageW(window, WM_NCACTIVATE, FALSE, 0), TRUE);  // runs through the thunk
  }
  EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), original);
  EXPECT_EQ(ExHost::FromWindow(window), nullptr);
  EXPECT_TRUE(host.Attach(window, nullptr, 0));  // and can be attached again
}

TEST_F(HostTest, OpaqueHostHasARoundedRegionAndLayeredHostNone) {
  AttachHost();
  EXPECT_FALSE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(window, region), ERROR);
  EXPECT_FALSE(PtInRegion(region, 5, 100));
  EXPECT_TRUE(PtInRegion(region, 6, 100));
  EXPECT_TRUE(PtInRegion(region, kWidth - 7, 100));
  EXPECT_FALSE(PtInRegion(region, kWidth - 5, 100));
  EXPECT_FALSE(PtInRegion(region, 6, 6));  // rounded corner
  DeleteObject(region);

  ExHost layered;
  HWND other = ExCreateWindow({});
  ExAttachOptions options;
  options.layeredKey = 0;
  ASSERT_TRUE(layered.Attach(other, nullptr, 0, options));
  EXPECT_TRUE(GetWindowLongW(other, GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_TRUE(layered.IsLayered());
  DestroyWindow(other);
}

TEST_F(HostTest, BackgroundIsTheColourUnderTheSkinImage) {
  ExAttachOptions options;
  options.backgroundColour = RGB(0, 128, 255);
  AttachHost(options);
  EXPECT_EQ(Pixel(100, 100), 0xFF0080FFu);
  // A 2 x 2 BMP of opaque green, stretched over the inner rectangle.
  const unsigned char bmp[] = {'B', 'M', 70, 0,   0, 0,   0, 0,   0, 0,   54, 0,   0, 0,   40, 0,  0,  0,
                               2,   0,   0,  0,   2, 0,   0, 0,   1, 0,   32, 0,   0, 0,   0,  0,  16, 0,
                               0,   0,   0,  0,   0, 0,   0, 0,   0, 0,   0,  0,   0, 0,   0,  0,  0,  0,
                               0,   255, 0,  255, 0, 255, 0, 255, 0, 255, 0,  255, 0, 255, 0,  255};
  ASSERT_TRUE(host.RebuildBackground(bmp, sizeof bmp, ExImageMode::kStretch, RGB(0, 128, 255)));
  EXPECT_EQ(Green(Pixel(100, 100)), 255);
  EXPECT_EQ(Red(Pixel(100, 100)), 0);
  EXPECT_EQ(Pixel(2, 100), 0xFF0080FFu);  // the margin keeps the colour
  ASSERT_TRUE(host.RebuildBackground(bmp, sizeof bmp, ExImageMode::kNatural, RGB(0, 128, 255)));
  EXPECT_EQ(Green(Pixel(6, 6)), 255);  // at natural size from (5, 5)
  EXPECT_EQ(Pixel(7, 7), 0xFF0080FFu);
  ASSERT_TRUE(host.RebuildBackground(bmp, sizeof bmp, ExImageMode::kCentre, RGB(0, 128, 255)));
  const int centreX = 5 + (kWidth - 10 - 2) / 2;
  const int centreY = 5 + (kHeight - 10 - 2) / 2;
  EXPECT_EQ(Green(Pixel(centreX, centreY)), 255);
  EXPECT_EQ(Pixel(centreX - 2, centreY), 0xFF0080FFu);
  EXPECT_FALSE(host.RebuildBackground("not an image", 12, ExImageMode::kStretch, RGB(0, 128, 255)));
  EXPECT_EQ(Pixel(100, 100), 0xFF0080FFu);
}

TEST_F(HostTest, StretchAreaKeepsTheImageWhereItWasWhenTheWindowWidens) {
  ExAttachOptions options;
  options.backgroundColour = RGB(0, 128, 255);
  options.imageMode = ExImageMode::kStretch;
  options.stretchArea = ExSize{kWidth / 2, kHeight};
  AttachHost(options);
  // A 2 x 2 BMP: the left column red, the right one green.
  const unsigned char bmp[] = {'B', 'M', 70,  0,   0, 0,   0, 0,   0, 0, 54,  0,   0, 0,   40, 0,  0,  0,
                               2,   0,   0,   0,   2, 0,   0, 0,   1, 0, 32,  0,   0, 0,   0,  0,  16, 0,
                               0,   0,   0,   0,   0, 0,   0, 0,   0, 0, 0,   0,   0, 0,   0,  0,  0,  0,
                               0,   0,   255, 255, 0, 255, 0, 255, 0, 0, 255, 255, 0, 255, 0,  255};
  ASSERT_TRUE(host.RebuildBackground(bmp, sizeof bmp, ExImageMode::kStretch, RGB(0, 128, 255)));
  std::vector<std::uint32_t> before;
  for (int x = 0; x < kWidth / 2; ++x) before.push_back(Pixel(x, 100));
  EXPECT_GT(Red(before[10]), 200);
  EXPECT_GT(Green(before[kWidth / 2 - 10]), Red(before[kWidth / 2 - 10]));
  EXPECT_EQ(Pixel(kWidth / 2 + 10, 100), 0xFF0080FFu);

  SetWindowPos(window, nullptr, 0, 0, kWidth + 100, kHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (int x = 10; x < kWidth / 2 - 10; ++x) ASSERT_EQ(Pixel(x, 100), before[x]) << "x " << x;
  EXPECT_EQ(Pixel(kWidth + 50, 100), 0xFF0080FFu);
}

TEST_F(HostTest, EdgeZonesResizeFromTheRightPixels) {
  ExAttachOptions options;
  options.resizable = true;
  AttachHost(options);
  RecordWindowCommands();
  auto pressAt = [&](int x, int y) {
    commands.clear();
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, Point(x, y));
    SendMessageW(window, WM_LBUTTONUP, 0, Point(x, y));
    return commands.empty() || commands[0].message != WM_SYSCOMMAND ? WPARAM{0} : commands[0].wParam;
  };
  EXPECT_EQ(pressAt(7, 100), static_cast<WPARAM>(SC_SIZE | WMSZ_LEFT));
  EXPECT_EQ(pressAt(8, 100), 0u);
  EXPECT_EQ(pressAt(kWidth - 9, 100), static_cast<WPARAM>(SC_SIZE | WMSZ_RIGHT));
  EXPECT_EQ(pressAt(kWidth - 10, 100), 0u);
  EXPECT_EQ(pressAt(100, kHeight - 1), static_cast<WPARAM>(SC_SIZE | WMSZ_BOTTOM));
  EXPECT_EQ(pressAt(3, 3), static_cast<WPARAM>(SC_SIZE | WMSZ_TOPLEFT));

  SolidElement element;
  element.Create(window, {0, 0, 50, 50});
  EXPECT_EQ(pressAt(3, 30), static_cast<WPARAM>(SC_SIZE | WMSZ_LEFT));  // edges come before elements
  EXPECT_EQ(element.Count(WM_LBUTTONDOWN), 0);
}

TEST_F(HostTest, BackgroundPressDragsAndCaptionDoubleClickMaximises) {
  ExAttachOptions options;
  options.styleFlags = kExAttached | kExMaximiseButton;
  AttachHost(options);
  host.SetDragAnywhere(true);
  RecordWindowCommands();

  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, Point(100, 100));
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].message, static_cast<UINT>(WM_NCLBUTTONDOWN));
  EXPECT_EQ(commands[0].wParam, static_cast<WPARAM>(HTCAPTION));

  commands.clear();
  SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, Point(100, 20));
  PumpMessages();  // the maximise is posted
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].message, static_cast<UINT>(WM_SYSCOMMAND));
  EXPECT_EQ(commands[0].wParam, static_cast<WPARAM>(SC_MAXIMIZE));

  commands.clear();
  SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, Point(100, 40));  // below the caption: a drag
  PumpMessages();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].message, static_cast<UINT>(WM_NCLBUTTONDOWN));
}

TEST_F(HostTest, MaximisedWindowHangsSevenPixelsOverTheWorkArea) {
  AttachHost();
  ShowWindow(window, SW_SHOWMAXIMIZED);
  RECT work = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  RECT placed = {};
  GetWindowRect(window, &placed);
  EXPECT_EQ(placed.left, work.left - 7);
  EXPECT_EQ(placed.top, work.top - 7);
  EXPECT_EQ(placed.right, work.right + 7);
  EXPECT_EQ(placed.bottom, work.bottom + 7);
  EXPECT_EQ(host.Width(), work.right - work.left + 14);  // the canvas followed
  EXPECT_EQ(host.Canvas().Width(), host.Width());
}

LRESULT CALLBACK RecordingCloseProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    auto* seen = reinterpret_cast<std::string*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    *seen = IsWindowVisible(window) ? "visible" : "hidden";
    if (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED) *seen += ",layered";
    return 0;  // keeps the window
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(HostTest, CloseAnimatesAndHidesBeforeTheWindowsOwnProcedureRuns) {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = RecordingCloseProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"HostTestClose";
  RegisterClassExW(&windowClass);
  ExWindowOptions windowOptions;
  windowOptions.className = windowClass.lpszClassName;
  ExAttachOptions options;
  options.closeAnimation = kExFade;
  AttachHost(options, windowOptions);
  std::string seen;
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&seen));
  host.Show();
  ASSERT_TRUE(IsWindowVisible(window));

  Stopwatch stopwatch;
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_GE(stopwatch.ElapsedMs(), 140);  // 15 steps of 10 ms
  // The opaque window was layered for the fade and is given back its own
  // presentation once hidden.
  EXPECT_EQ(seen, "hidden");
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_FALSE(host.IsBusy());
  DestroyWindow(window);
  UnregisterClassW(windowClass.lpszClassName, GetModuleHandleW(nullptr));
}

TEST_F(HostTest, ZoomInShowEndsVisibleOpaqueAndFullyComposed) {
  AttachHost();
  SolidElement element;
  element.Create(window, {20, 20, 70, 30});
  host.Show(kExZoomIn);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_FALSE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_FALSE(host.IsBusy());
  EXPECT_EQ(Pixel(30, 30), 0xFFFF0000u);
}

TEST_F(HostTest, WholeWindowIsClientAreaWithMinimumTrackingSize) {
  AttachHost();
  RECT client = {};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, kWidth);
  EXPECT_EQ(client.bottom, kHeight);
  MINMAXINFO info = {};
  SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 21);
  EXPECT_EQ(info.ptMinTrackSize.y, 20);
}

TEST_F(HostTest, DestroyingTheWindowDestroysItsElements) {
  AttachHost();
  SolidElement element;
  const ExHandle handle = element.Create(window, {20, 20, 70, 30});
  EXPECT_TRUE(element.Post(WM_APP, 0, 0));  // undelivered: freed with the window
  DestroyWindow(window);
  EXPECT_FALSE(host.IsAttached());
  EXPECT_EQ(element.Handle(), 0u);
  EXPECT_EQ(ExElement::FromHandle(handle), nullptr);
  EXPECT_EQ(element.Count(EXM_DESTROY), 1);
  EXPECT_EQ(element.Count(WM_APP), 0);
}

TEST_F(HostTest, AClickHandlerMayDestroyTheWholeWindow) {
  AttachHost();
  SolidElement element;
  element.Create(window, {20, 20, 70, 30});
  element.BindEvent(EXM_CLICK, [this](ExHandle, ExHandle, UINT, WPARAM, LPARAM) {
    DestroyWindow(window);
    return LRESULT{0};
  });
  int released = 0;
  host.SetCallback(ExHostEvent::kClick, [&](HWND, ExHandle, WPARAM, LPARAM, int) { ++released; });
  Click(30, 30);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(host.IsAttached());
  EXPECT_EQ(element.Handle(), 0u);
  EXPECT_EQ(released, 0);  // the host's callbacks went with the window
}

TEST_F(HostTest, TeardownKeepsAQuitMessageThatIsAlreadyPosted) {
  AttachHost();
  PostQuitMessage(7);
  DestroyWindow(window);  // drains the window's undelivered posts
  MSG msg = {};
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

}  // namespace

namespace {

TEST_F(HostTest, StartupRegistersTheClassAndTheTwelvePixelDefaultFont) {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), L"Ex_LayerUI", &windowClass));
  EXPECT_EQ(windowClass.style, static_cast<UINT>(CS_DBLCLKS));  // double clicks reach the host
  Gdiplus::GpFont* font = ExFramework::Get()->DefaultFont();
  ASSERT_NE(font, nullptr);
  Gdiplus::REAL size = 0;
  Gdiplus::Unit unit = Gdiplus::UnitWorld;
  Gdiplus::DllExports::GdipGetFontSize(font, &size);
  Gdiplus::DllExports::GdipGetFontUnit(font, &unit);
  EXPECT_EQ(size, 12.0f);
  EXPECT_EQ(unit, Gdiplus::UnitPixel);
  int count = 0;
  const ExMenuItemSpec* items = ExFramework::EditMenuItems(&count);
  ASSERT_EQ(count, 5);
  EXPECT_EQ(items[3].text, nullptr);  // the separator
  EXPECT_EQ(items[4].command, 'A');
}

TEST_F(HostTest, CreatedWindowsAreCentredInTheWorkArea) {
  window = ExCreateWindow({});
  RECT work = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  RECT placed = {};
  GetWindowRect(window, &placed);
  EXPECT_EQ(placed.right - placed.left, 380);
  EXPECT_EQ(placed.bottom - placed.top, 250);
  EXPECT_EQ(placed.left, work.left + (work.right - work.left - 380) / 2);
  EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & WS_POPUP, static_cast<LONG>(WS_POPUP));
}

// One monitor here: every place, on screen or far off it, is nearest to the
// primary one, at the origin.
TEST_F(HostTest, TheWorkAreaIsTheNearestMonitorsForPlacesOnAndOffTheScreen) {
  RECT work = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  for (const RECT& place : {RECT{100, 100, 200, 200}, RECT{-5000, -5000, -4900, -4900}, RECT{90000, 50, 90001, 51}}) {
    POINT origin = {1, 1};
    const ExPixelRect area = ExWorkArea(place, &origin);
    EXPECT_TRUE(area == ExPixelRect({work.left, work.top, work.right, work.bottom})) << place.left;
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);
  }
}

TEST_F(HostTest, DeactivationTakesHoverAndFocusLookAway) {
  AttachHost();
  SolidElement element;
  element.Create(window, {20, 20, 70, 30});
  SendMessageW(window, WM_MOUSEMOVE, 0, Point(30, 30));
  host.SetFocus(element.Handle());
  ASSERT_EQ(host.Hovered(), element.Handle());
  SendMessageW(window, WM_ACTIVATE, WA_INACTIVE, 0);
  EXPECT_EQ(element.Count(EXM_MOUSELEAVE), 1);
  EXPECT_EQ(element.Count(EXM_KILLFOCUS), 1);
  EXPECT_EQ(host.Hovered(), 0u);
  SendMessageW(window, WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_GE(element.Count(EXM_SETFOCUS), 2);  // the focus look comes back
}

TEST_F(HostTest, AccessKeysClickTheirVisibleEnabledElement) {
  AttachHost();
  SolidElement hidden, shown;
  hidden.Create(window, {20, 20, 70, 30}, {2, false, true});
  shown.Create(window, {100, 20, 70, 30});
  host.SetAccessKey(hidden.Handle(), L'S');
  host.SetAccessKey(shown.Handle(), L'S');
  EXPECT_EQ(SendMessageW(window, WM_SYSCHAR, L's', 0), 0);
  EXPECT_EQ(shown.Count(EXM_CLICK), 1);
  EXPECT_EQ(hidden.Count(EXM_CLICK), 0);
  host.SetAccessKey(shown.Handle(), 0);
  SendMessageW(window, WM_SYSCHAR, L's', 0);
  EXPECT_EQ(shown.Count(EXM_CLICK), 1);
}

}  // namespace
