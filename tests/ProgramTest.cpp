// Both programs start as real GUI processes, show their main window and end
// cleanly when it is closed.
#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"

namespace {

void RunAndClose(const wchar_t* program, const wchar_t* expectedTitle) {
  std::wstring commandLine = L"\"" + ExecutableFolder() + program + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  ASSERT_TRUE(CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
      << GetLastError();
  UniqueKernelHandle process(info.hProcess);
  UniqueKernelHandle thread(info.hThread);

  HWND found = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (found = FindShownWindow(info.dwProcessId)) != nullptr; }, 20000));
  wchar_t title[256] = {};
  GetWindowTextW(found, title, 256);
  EXPECT_STREQ(title, expectedTitle);

  PostMessageW(found, WM_CLOSE, 0, 0);
  ASSERT_EQ(WaitForSingleObject(process.Get(), 20000), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  GetExitCodeProcess(process.Get(), &exitCode);
  EXPECT_EQ(exitCode, 0u);
}

TEST(ProgramTest, SoundboardOpensAndCloses) {
  RunAndClose(L"Quobly.exe", L"Quobly");
}

TEST(ProgramTest, UninstallerOpensAndCloses) {
  RunAndClose(L"pvUninstall.exe", L"Tesk软件-卸载程序");
}

}  // namespace
