// The element classes in a real host window: their bitmaps, the composed
// canvas, mouse states, tabs, animated images, tooltips and the caption
// elements of a host.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "ExButton.h"
#include "ExCaptionButton.h"
#include "ExImage.h"
#include "ExImageButton.h"
#include "ExImageLoader.h"
#include "ExLabel.h"
#include "ExProgress.h"
#include "ExSystemButtons.h"
#include "ExTab.h"
#include "FrameworkFixture.h"

using Gdiplus::ARGB;
using Gdiplus::GpSolidFill;
using Gdiplus::StringAlignmentCenter;
using namespace Gdiplus::DllExports;

namespace {

constexpr ARGB kRed = 0xFFFF0000;
constexpr ARGB kGreen = 0xFF00FF00;
constexpr ARGB kBlue = 0xFF0000FF;

// Straight (not premultiplied) ARGB of an element's own bitmap.
ARGB BitmapPixel(const ExElement& element, int x, int y) {
  ARGB colour = 0;
  GdipBitmapGetPixel(element.Bitmap(), x, y, &colour);
  return colour;
}

// PNG bytes of a strip of solid frames, each `step` pixels wide.
std::string PngStrip(const std::vector<ARGB>& frames, int step, int height) {
  UniqueGpBitmap strip;
  UniqueGpGraphics graphics;
  GdipCreateBitmapFromScan0(step * static_cast<int>(frames.size()), height, 0, PixelFormat32bppARGB, nullptr,
                            strip.Put());
  GdipGetImageGraphicsContext(strip.Get(), graphics.Put());
  for (size_t k = 0; k < frames.size(); ++k) {
    GpSolidFill* brush = nullptr;
    GdipCreateSolidFill(frames[k], &brush);
    GdipFillRectangleI(graphics.Get(), brush, static_cast<INT>(k) * step, 0, step, height);
    GdipDeleteBrush(brush);
  }
  static const CLSID kPngEncoder = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
  IStream* stream = nullptr;
  CreateStreamOnHGlobal(nullptr, TRUE, &stream);
  GdipSaveImageToStream(strip.Get(), stream, &kPngEncoder, nullptr);
  HGLOBAL memory = nullptr;
  GetHGlobalFromStream(stream, &memory);
  STATSTG stat = {};
  stream->Stat(&stat, STATFLAG_NONAME);
  std::string bytes(static_cast<const char*>(GlobalLock(memory)), static_cast<size_t>(stat.cbSize.QuadPart));
  GlobalUnlock(memory);
  stream->Release();
  return bytes;
}

// A 1 x 1 GIF with three frames (palette red, green, blue) and the given
// delays in hundredths of a second.
std::string ThreeFrameGif(int first, int second, int third) {
  std::string gif("GIF89a\x01\x00\x01\x00\x81\x00\x00", 13);  // 4-colour global palette
  gif += std::string("\xFF\x00\x00\x00\xFF\x00\x00\x00\xFF\x00\x00\x00", 12);
  gif += std::string("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19);  // loop for ever
  const int delays[] = {first, second, third};
  // LZW data of one pixel of colour k with 2-bit codes: clear, k, end.
  const char* pixels[] = {"\x02\x02\x44\x01\x00", "\x02\x02\x4C\x01\x00", "\x02\x02\x54\x01\x00"};
  for (int k = 0; k < 3; ++k) {
    gif += std::string("\x21\xF9\x04\x00", 4);
    gif += static_cast<char>(delays[k] & 0xFF);
    gif += static_cast<char>(delays[k] >> 8);
    gif += std::string("\x00\x00", 2);
    gif += std::string("\x2C\x00\x00\x00\x00\x01\x00\x01\x00\x00", 10);
    gif += std::string(pixels[k], 5);
  }
  gif += '\x3B';
  return gif;
}

class ControlsTest : public FrameworkTest {
 protected:
  // Every tool the host's tooltip window holds, as its text.
  std::vector<std::string> Tips() {
    std::vector<std::string> tips;
    HWND tooltip = host.TooltipWindow();
    const int count = static_cast<int>(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      char text[1024] = {};
      TOOLINFOA tool = {};
      tool.cbSize = TTTOOLINFOA_V2_SIZE;
      SendMessageA(tooltip, TTM_ENUMTOOLSA, i, reinterpret_cast<LPARAM>(&tool));
      tool.lpszText = text;
      SendMessageA(tooltip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
      tips.emplace_back(text);
    }
    return tips;
  }

  void MoveTo(int x, int y) { SendMessageW(window, WM_MOUSEMOVE, 0, Point(x, y)); }
};

ExProgressOptions SolidBar() {
  ExProgressOptions options;
  options.barStart = options.barEnd = kRed;
  options.border = 0;
  options.background = 0;
  options.rounded = false;
  return options;
}

TEST_F(ControlsTest, ProgressAtMaximumFillsTheInnerRectangleAndAtMinimumDrawsNoBar) {
  AttachHost();
  ExProgress bar;
  ExProgressOptions options = SolidBar();
  options.value = 100;
  ASSERT_NE(bar.Create(window, {20, 20, 70, 30}, options), 0u);
  for (const auto& corner : {std::pair<int, int>{2, 2}, {67, 2}, {2, 27}, {67, 27}}) {
    EXPECT_EQ(BitmapPixel(bar, corner.first, corner.second) & 0xFFFFFF00, kRed & 0xFFFFFF00);
  }
  EXPECT_EQ(BitmapPixel(bar, 1, 15), 0u);  // the 2-pixel margin stays clear
  EXPECT_EQ(BitmapPixel(bar, 68, 15), 0u);
  EXPECT_EQ(Red(Pixel(22, 22)), 255);  // and the canvas shows it

  bar.SetValue(0);
  EXPECT_EQ(Red(BitmapPixel(bar, 35, 15)), 0);
  EXPECT_LE(Alpha(BitmapPixel(bar, 35, 15)), 0x33);  // only the shading
  bar.SetValue(50);                                  // 33 of the 66 inner pixels: x 2 to 34
  EXPECT_EQ(Red(BitmapPixel(bar, 34, 15)), 255);
  EXPECT_EQ(Red(BitmapPixel(bar, 35, 15)), 0);

  bar.SetRange(40, 40);  // an empty range draws no bar and divides by nothing
  EXPECT_EQ(Red(BitmapPixel(bar, 10, 15)), 0);
}

TEST_F(ControlsTest, BarsAreRoundedUnlessTheHostThemeIsZero) {
  ExAttachOptions square;
  square.theme = 0;
  AttachHost(square);
  ExProgress bar;
  ExProgressOptions options = SolidBar();
  options.rounded.reset();
  options.value = 100;
  ASSERT_NE(bar.Create(window, {20, 20, 70, 30}, options), 0u);
  EXPECT_FALSE(bar.Rounded());
  EXPECT_EQ(Red(BitmapPixel(bar, 2, 2)), 255);  // the bar's corner is square
  bar.SetRounded(true);
  EXPECT_LT(Alpha(BitmapPixel(bar, 2, 2)), 255);
}

TEST_F(ControlsTest, VerticalBarGrowsFromTheBottom) {
  AttachHost();
  ExProgress bar;
  ExProgressOptions options = SolidBar();
  options.vertical = true;
  options.value = 50;
  ASSERT_NE(bar.Create(window, {20, 20, 20, 104}, options), 0u);
  EXPECT_EQ(Red(BitmapPixel(bar, 10, 100)), 255);
  EXPECT_EQ(Red(BitmapPixel(bar, 10, 53)), 255);
  EXPECT_EQ(Red(BitmapPixel(bar, 10, 50)), 0);
}

TEST_F(ControlsTest, CaptionButtonShowsTheBarThroughAndTakesTheClick) {
  AttachHost();
  ExProgress panel;
  ExProgressOptions options = SolidBar();
  options.value = 100;
  ASSERT_NE(panel.Create(window, {20, 110, 70, 30}, options), 0u);
  ExCaptionButton caption;
  ExButtonOptions look;
  look.textColour = 0xFFFFFFFF;
  ASSERT_NE(caption.Create(panel.Handle(), {20, 110, 70, 30}, "x", look), 0u);
  EXPECT_EQ(Pixel(24, 114), 0xFFFF0000u);  // the bar, untouched by the caption
  int captionClicks = 0;
  int panelClicks = 0;
  caption.BindEvent(EXM_CLICK, [&](ExHandle parent, ExHandle, UINT, WPARAM, LPARAM) -> LRESULT {
    EXPECT_EQ(parent, panel.Handle());
    return ++captionClicks;
  });
  panel.BindEvent(EXM_CLICK, [&](ExHandle, ExHandle, UINT, WPARAM, LPARAM) -> LRESULT { return ++panelClicks; });
  Click(24, 114);
  EXPECT_EQ(captionClicks, 1);
  EXPECT_EQ(panelClicks, 0);
}

TEST_F(ControlsTest, ImageStripButtonShowsFrameOneOnHoverAndTwoWhenPressed) {
  AttachHost();
  const std::string strip = PngStrip({kRed, kGreen, kBlue}, 10, 8);
  ExImageButton button;
  ASSERT_NE(button.Create(window, {40, 40, 20, 16}, "pin"), 0u);
  ASSERT_TRUE(button.SetImageStrip(strip.data(), strip.size(), 10, 10, 8, true));
  EXPECT_EQ(BitmapPixel(button, 10, 8), kRed);
  MoveTo(50, 48);
  EXPECT_EQ(BitmapPixel(button, 10, 8), kGreen);
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, Point(50, 48));
  EXPECT_EQ(BitmapPixel(button, 10, 8), kBlue);
  SendMessageW(window, WM_LBUTTONUP, 0, Point(50, 48));
  EXPECT_EQ(BitmapPixel(button, 10, 8), kGreen);
  MoveTo(5, 5);
  EXPECT_EQ(BitmapPixel(button, 10, 8), kRed);

  // A cut beyond the strip keeps what is there; bytes that do not decode leave no frames.
  EXPECT_TRUE(button.SetImageStrip(strip.data(), strip.size(), 25, 10, 8, true));
  EXPECT_FALSE(button.SetImageStrip("nope", 4, 10, 10, 8, true));
  EXPECT_EQ(BitmapPixel(button, 10, 8), 0u);
}

TEST_F(ControlsTest, DisabledButtonIsDrawnAtHalfOpacity) {
  AttachHost();
  const std::string strip = PngStrip({kRed, kRed, kRed}, 10, 8);
  ExImageButton button;
  ASSERT_NE(button.Create(window, {40, 40, 20, 16}, ""), 0u);
  button.SetImageStrip(strip.data(), strip.size(), 10, 10, 8, true);
  EXPECT_EQ(Red(Pixel(50, 48)), 255);
  button.SetDisabled(true);
  EXPECT_NEAR(Red(Pixel(50, 48)), 128, 2);  // over the black background
  MoveTo(50, 48);
  EXPECT_EQ(host.Hovered(), 0u);
}

TEST_F(ControlsTest, ButtonsRegisterTheirAccessKeyAndRepaintOnStateChanges) {
  AttachHost();
  ExButton button;
  ASSERT_NE(button.Create(window, {40, 40, 80, 24}, "&Bind"), 0u);
  int clicks = 0;
  button.BindEvent(EXM_CLICK, [&](ExHandle, ExHandle, UINT, WPARAM, LPARAM) -> LRESULT { return ++clicks; });
  SendMessageW(window, WM_SYSCHAR, 'b', 0);
  EXPECT_EQ(clicks, 1);
  button.SetText("Bind");
  SendMessageW(window, WM_SYSCHAR, 'b', 0);
  EXPECT_EQ(clicks, 1);

  const ARGB normal = BitmapPixel(button, 40, 20);
  MoveTo(60, 50);
  EXPECT_EQ(button.State(), ExButtonState::kHover);
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, Point(60, 50));
  EXPECT_EQ(button.State(), ExButtonState::kPressed);
  EXPECT_NE(BitmapPixel(button, 40, 20), normal);  // the pressed shading is dark at the top
  SendMessageW(window, WM_LBUTTONUP, 0, Point(60, 50));
  EXPECT_EQ(clicks, 2);
}

TEST_F(ControlsTest, ButtonLookSettlesOnePeriodAfterAStateChange) {
  AttachHost();
  ExButton button;
  ASSERT_NE(button.Create(window, {40, 40, 80, 24}, ""), 0u);
  const ARGB normal = BitmapPixel(button, 40, 4);
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, Point(60, 50));
  const ARGB halfWay = BitmapPixel(button, 40, 4);
  EXPECT_NE(halfWay, normal);
  ARGB settled = halfWay;
  EXPECT_TRUE(WaitUntil([&] {
    PumpMessages();
    settled = BitmapPixel(button, 40, 4);
    return settled != halfWay;
  }));
  Sleep(150);
  PumpMessages();
  EXPECT_EQ(BitmapPixel(button, 40, 4), settled);  // and stays

  // Disabling re-renders in the disabled colours, whatever the state was.
  SendMessageW(window, WM_LBUTTONUP, 0, Point(60, 50));
  const ARGB enabledLook = BitmapPixel(button, 40, 12);
  button.SetDisabled(true);
  EXPECT_NE(BitmapPixel(button, 40, 12), enabledLook);
}

TEST_F(ControlsTest, TabShowsOnlyTheCurrentPagesItemsAndHeadersSwitchPages) {
  AttachHost();
  ExTab tab;
  ASSERT_NE(tab.Create(window, {1, 70, 400, 200}), 0u);
  tab.SetHeaderMetrics({10, 10, 90, 30});
  EXPECT_EQ(tab.CurrentPage(), 0);
  EXPECT_EQ(tab.AddPage("one"), 1);
  EXPECT_EQ(tab.AddPage("two"), 2);
  EXPECT_EQ(tab.CurrentPage(), 1);
  SolidElement first;
  SolidElement second(kGreen);
  first.Create(window, {20, 120, 40, 40});
  second.Create(window, {20, 120, 40, 40});
  HWND native =
      CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, window, nullptr, nullptr, nullptr);
  EXPECT_EQ(tab.PlaceItem(1, first.Handle(), ExTabItemKind::kElement), 2);
  EXPECT_EQ(tab.PlaceItem(2, second.Handle(), ExTabItemKind::kElement), 2);
  EXPECT_EQ(tab.PlaceItem(2, reinterpret_cast<std::uintptr_t>(native), ExTabItemKind::kWindow), 2);
  EXPECT_TRUE(first.Visible());
  EXPECT_FALSE(second.Visible());
  const auto shown = [native] { return (GetWindowLongW(native, GWL_STYLE) & WS_VISIBLE) != 0; };
  EXPECT_FALSE(shown());
  EXPECT_EQ(Red(Pixel(30, 130)), 255);

  Click(1 + 10 + 90 + 45, 70 + 10 + 15);  // the second header
  EXPECT_EQ(tab.CurrentPage(), 2);
  EXPECT_FALSE(first.Visible());
  EXPECT_TRUE(second.Visible());
  EXPECT_TRUE(shown());
  EXPECT_EQ(Green(Pixel(30, 130)), 255);

  // A page beyond the count (or 0) is left alone, and so are the items.
  SolidElement stray;
  stray.Create(window, {200, 200, 10, 10});
  EXPECT_EQ(tab.PlaceItem(3, stray.Handle(), ExTabItemKind::kElement), 2);
  EXPECT_EQ(tab.PlaceItem(0, stray.Handle(), ExTabItemKind::kElement), 2);
  EXPECT_TRUE(stray.Visible());
  tab.SetCurrentPage(1);
  EXPECT_TRUE(stray.Visible());
  tab.SetCurrentPage(7);
  EXPECT_EQ(tab.CurrentPage(), 1);
}

TEST_F(ControlsTest, GifFramesAdvanceByTheirDelaysAndWrap) {
  AttachHost();
  const std::string gif = ThreeFrameGif(5, 20, 50);
  ExImage image;
  ASSERT_NE(image.Create(window, {10, 10, 4, 4}, gif.data(), gif.size()), 0u);
  ASSERT_EQ(image.FrameCount(), 3);
  EXPECT_EQ(image.FrameIndex(), 0);
  EXPECT_EQ(image.ArmedDelayMs(), 50);
  EXPECT_EQ(BitmapPixel(image, 2, 2), kRed);
  image.AdvanceFrame();
  EXPECT_EQ(image.FrameIndex(), 1);
  EXPECT_EQ(image.ArmedDelayMs(), 200);
  EXPECT_EQ(BitmapPixel(image, 2, 2), kGreen);
  image.AdvanceFrame();
  EXPECT_EQ(image.FrameIndex(), 2);
  EXPECT_EQ(image.ArmedDelayMs(), 500);
  EXPECT_EQ(Blue(Pixel(12, 12)), 255);
  image.AdvanceFrame();
  EXPECT_EQ(image.FrameIndex(), 0);
  EXPECT_EQ(image.ArmedDelayMs(), 50);

  // The window timer (identifier handle + 1) drives the same steps.
  image.SetImage(gif.data(), gif.size());
  EXPECT_EQ(image.FrameIndex(), 0);
  EXPECT_TRUE(WaitUntil([&] {
    PumpMessages();
    return image.FrameIndex() == 1;
  }));
  EXPECT_EQ(image.ArmedDelayMs(), 200);
}

TEST_F(ControlsTest, ImagesThatDoNotDecodeDrawNothingAndStillImagesDoNotAnimate) {
  AttachHost();
  ExImage image;
  ASSERT_NE(image.Create(window, {10, 10, 8, 8}, "junk", 4), 0u);
  EXPECT_TRUE(image.IsEmpty());
  EXPECT_EQ(BitmapPixel(image, 4, 4), 0u);
  const std::string still = PngStrip({kGreen}, 8, 8);
  EXPECT_TRUE(image.SetImage(still.data(), still.size()));
  EXPECT_EQ(image.FrameCount(), 1);
  EXPECT_EQ(image.ArmedDelayMs(), 0);
  EXPECT_EQ(BitmapPixel(image, 4, 4), kGreen);
  EXPECT_TRUE(image.SetIcon(LoadIconW(nullptr, MAKEINTRESOURCEW(32512))));  // IDI_APPLICATION
  EXPECT_EQ(image.FrameCount(), 1);
}

TEST_F(ControlsTest, TooltipFollowsTheHoveredElementsText) {
  AttachHost();
  EXPECT_EQ(SendMessageA(host.TooltipWindow(), TTM_GETMAXTIPWIDTH, 0, 0), 1024);  // long tips wrap
  ExImageButton pin;
  ExImageButton plain;
  ASSERT_NE(pin.Create(window, {40, 4, 25, 26}, ""), 0u);
  ASSERT_NE(plain.Create(window, {80, 4, 25, 26}, ""), 0u);
  pin.SetTooltipText("Pin: off");
  MoveTo(50, 10);
  EXPECT_EQ(Tips(), std::vector<std::string>{"Pin: off"});
  TOOLINFOA tool = {};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  SendMessageA(host.TooltipWindow(), TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&tool));
  EXPECT_EQ(tool.rect.left, 40);
  EXPECT_EQ(tool.rect.bottom, 30);

  pin.SetTooltipText("Pin: on");  // while hovered: shown from the next hover
  MoveTo(5, 200);
  EXPECT_TRUE(Tips().empty());
  MoveTo(50, 10);
  EXPECT_EQ(Tips(), std::vector<std::string>{"Pin: on"});

  MoveTo(90, 10);  // no text: no tip, though the previous element had one
  EXPECT_TRUE(Tips().empty());

  MoveTo(50, 10);
  pin.SetTooltipText("Pinned", true);  // with the notification: at once
  EXPECT_EQ(Tips(), std::vector<std::string>{"Pinned"});
  pin.Destroy();
  EXPECT_TRUE(Tips().empty());
}

TEST_F(ControlsTest, HostCaptionHasIconTitleAndButtonsThatFollowTheWindow) {
  ExAttachOptions options;
  options.styleFlags = kExDefaultCaption;
  ExWindowOptions windowOptions;
  windowOptions.title = "Before";
  AttachHost(options, windowOptions);
  std::vector<ReceivedMessage> commands;
  host.SetMessageHook([&](HWND, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
    if (message != WM_SYSCOMMAND) return kExUndecided;
    commands.push_back({message, wParam, 0});
    return 0;
  });
  ASSERT_NE(host.IconElement(), nullptr);
  ASSERT_NE(host.TitleElement(), nullptr);
  ASSERT_NE(host.SystemButtons(), nullptr);
  EXPECT_EQ(host.SystemButtons()->ButtonCount(), 3);
  EXPECT_FALSE(host.IconElement()->IsEmpty());
  EXPECT_EQ(host.TitleElement()->Text(), "Before");
  SetWindowTextW(window, L"After");
  EXPECT_EQ(host.TitleElement()->Text(), "After");

  const ExRectF buttons = host.SystemButtons()->Rect();
  EXPECT_FLOAT_EQ(buttons.x + buttons.width, kWidth - 11);
  SetWindowPos(window, nullptr, 0, 0, kWidth + 100, kHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_FLOAT_EQ(host.SystemButtons()->Rect().x, buttons.x + 100);

  // Right to left: close, maximise, minimise.
  const ExRectF moved = host.SystemButtons()->Rect();
  const int y = static_cast<int>(moved.y) + 5;
  const int right = static_cast<int>(moved.x + moved.width);
  MoveTo(right - 5, y);
  Click(right - 5, y);
  MoveTo(right - 33, y);
  Click(right - 33, y);
  PumpMessages();
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(commands[0].wParam, static_cast<WPARAM>(SC_CLOSE));
  EXPECT_EQ(commands[1].wParam, static_cast<WPARAM>(SC_MAXIMIZE));

  // A double click on the title maximises as the caption does.
  commands.clear();
  const ExRectF title = host.TitleElement()->Rect();
  SendMessageW(window, WM_LBUTTONDBLCLK, 0, Point(static_cast<int>(title.x) + 5, static_cast<int>(title.y) + 5));
  PumpMessages();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].wParam, static_cast<WPARAM>(SC_MAXIMIZE));
}

TEST_F(ControlsTest, LabelsDrawTheirBackgroundBorderAndOutlinedText) {
  AttachHost();
  ExLabel label;
  ExLabelOptions options;
  options.textColour = 0xFFFF0000;
  options.outline = 0xFF000000;
  options.border = 0xFF00FF00;
  options.backgroundFrom = 0xFF0000FF;
  options.alignment = StringAlignmentCenter;
  options.lineAlignment = StringAlignmentCenter;
  ASSERT_NE(label.Create(window, {20, 20, 120, 30}, "WWWW", options), 0u);
  EXPECT_EQ(BitmapPixel(label, 0, 15), 0xFF00FF00u);
  EXPECT_EQ(BitmapPixel(label, 119, 29), 0xFF00FF00u);
  EXPECT_EQ(BitmapPixel(label, 5, 15), 0xFF0000FFu);
  int red = 0;
  int black = 0;
  for (int y = 5; y < 25; ++y) {
    for (int x = 30; x < 90; ++x) {
      const ARGB pixel = BitmapPixel(label, x, y);
      red += Red(pixel) > 200 && Green(pixel) < 60 && Blue(pixel) < 60 ? 1 : 0;
      black += Red(pixel) < 40 && Green(pixel) < 40 && Blue(pixel) < 40 ? 1 : 0;
    }
  }
  EXPECT_GT(red, 0);
  EXPECT_GT(black, 0);
  label.SetText("");
  EXPECT_EQ(BitmapPixel(label, 60, 15), 0xFF0000FFu);
}

}  // namespace
