// A started framework and one host window per test, plus an element class
// that paints one colour and remembers what reached it.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <vector>

#include "ExFramework.h"
#include "ExHost.h"
#include "ExStyleFlags.h"
#include "TestSupport.h"

struct ReceivedMessage {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

class SolidElement : public ExElement {
 public:
  explicit SolidElement(Gdiplus::ARGB colour = 0xFFFF0000) : m_colour(colour) {}

  std::vector<ReceivedMessage> received;
  int paints = 0;
  LRESULT wantPress = kExUndecided;  // answer to EXM_WANTPRESS
  LRESULT customDraw = 0;            // answer to EXM_CUSTOMDRAW
  using ExElement::EnableCustomDraw;

  int Count(UINT message) const {
    int count = 0;
    for (const auto& entry : received) count += entry.message == message ? 1 : 0;
    return count;
  }
  void SetColour(Gdiplus::ARGB colour) {
    m_colour = colour;
    Repaint();
  }

 protected:
  LRESULT ClassProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    received.push_back({message, wParam, lParam});
    if (message == WM_PAINT) {
      ++paints;
      Gdiplus::DllExports::GdipGraphicsClear(Graphics(), m_colour);
    }
    if (message == EXM_WANTPRESS) return wantPress;
    if (message == EXM_CUSTOMDRAW) return customDraw;
    return ExElement::ClassProc(message, wParam, lParam);
  }

 private:
  Gdiplus::ARGB m_colour;
};

inline LPARAM Point(int x, int y) {
  return MAKELPARAM(x, y);
}

// Channel helpers for premultiplied 0xAARRGGBB pixels.
inline int Red(std::uint32_t pixel) {
  return (pixel >> 16) & 0xFF;
}
inline int Green(std::uint32_t pixel) {
  return (pixel >> 8) & 0xFF;
}
inline int Blue(std::uint32_t pixel) {
  return pixel & 0xFF;
}
inline int Alpha(std::uint32_t pixel) {
  return pixel >> 24;
}

class FrameworkTest : public ::testing::Test {
 protected:
  static constexpr int kWidth = 430;
  static constexpr int kHeight = 320;

  void SetUp() override { ASSERT_TRUE(ExFramework::Startup()); }

  void TearDown() override {
    if (IsWindow(window)) DestroyWindow(window);
    ExFramework::Shutdown();
  }

  // A black, opaque host of kWidth x kHeight that neither drags nor resizes,
  // so presses on the background stay plain messages.
  void AttachHost(ExAttachOptions options = {}, ExWindowOptions windowOptions = {}) {
    windowOptions.width = kWidth;
    windowOptions.height = kHeight;
    window = ExCreateWindow(windowOptions);
    ASSERT_NE(window, nullptr);
    options.dragAnywhere = false;
    options.resizable = options.resizable.value_or(false);
    if (!options.styleFlags) options.styleFlags = kExAttached;
    ASSERT_TRUE(host.Attach(window, nullptr, 0, options));
  }

  void Click(int x, int y) { SendClick(window, x, y); }

  std::uint32_t Pixel(int x, int y) const { return host.Canvas().Pixel(x, y); }

  ExHost host;
  HWND window = nullptr;
};
