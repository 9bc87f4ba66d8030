// Both programs start as real GUI processes, show their main window and end
// cleanly when it is closed.
#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"

namespace {

void RunAndClose(const wchar_t* program, const wchar_t* expectedTitle) {
  ChildProcess child;
  ASSERT_TRUE(child.Start(ExecutableFolder() + program)) << GetLastError();

  HWND found = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (found = FindShownWindow(child.Id())) != nullptr; }, 20000));
  wchar_t title[256] = {};
  GetWindowTextW(found, title, 256);
  EXPECT_STREQ(title, expectedTitle);

  PostMessageW(found, WM_CLOSE, 0, 0);
  ASSERT_TRUE(child.WaitForExit(20000));
  EXPECT_EQ(child.ExitCode(), 0u);
}

TEST(ProgramTest, SoundboardOpensAndCloses) {
  RunAndClose(L"Quobly.exe", L"Quobly");
}

TEST(ProgramTest, UninstallerOpensAndCloses) {
  RunAndClose(L"pvUninstall.exe", L"Tesk软件-卸载程序");
}

}  // namespace
