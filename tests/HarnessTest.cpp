// The Wine environment the programs are tested in is the one they are made
// for: a Chinese system code page, the Chinese font families, and a wave-out
// device even without a sound card.
#include <gtest/gtest.h>

#include <windows.h>
#include <objidl.h>  // GDI+ needs COM types that WIN32_LEAN_AND_MEAN leaves out
#include <gdiplus.h>
#include <mmsystem.h>

namespace {

TEST(HarnessTest, SystemCodePageIsChinese) {
  EXPECT_EQ(GetACP(), 936u);
  EXPECT_EQ(GetOEMCP(), 936u);
}

TEST(HarnessTest, ChineseFontFamiliesExist) {
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
  for (const wchar_t* name : {L"宋体", L"微软雅黑"}) {
    Gdiplus::GpFontFamily* family = nullptr;
    EXPECT_EQ(Gdiplus::DllExports::GdipCreateFontFamilyFromName(name, nullptr, &family), Gdiplus::Ok) << name;
    if (family != nullptr) Gdiplus::DllExports::GdipDeleteFontFamily(family);
  }
  Gdiplus::GdiplusShutdown(token);
}

TEST(HarnessTest, WaveOutHasADevice) {
  ASSERT_GE(waveOutGetNumDevs(), 1u);
  WAVEOUTCAPSA caps = {};
  EXPECT_EQ(waveOutGetDevCapsA(0, &caps, sizeof caps), MMSYSERR_NOERROR);
  EXPECT_NE(caps.szPname[0], '\0');
}

}  // namespace
