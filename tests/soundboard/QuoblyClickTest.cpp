// The real program: Quobly.exe and bass.dll copied into a program folder
// with a category of sounds, clicked on its main window like a user would.
#include "BoardFixture.h"

namespace {

class QuoblyClickTest : public testing::Test {
 protected:
  void SetUp() override {
    for (const wchar_t* file : {L"Quobly.exe", L"bass.dll"}) {
      ASSERT_TRUE(CopyFileW((ExecutableFolder() + file).c_str(), (programFolder.Path() + file).c_str(), FALSE));
    }
    sounds = programFolder.Path() + CategoryFolderName(1) + L"\\";
    ASSERT_TRUE(CreateDirectoryW(sounds.c_str(), nullptr));
    const std::wstring media = Wide(MediaPath("cbr.mp3"));
    for (int i = 1; i <= 7; ++i) {
      ASSERT_TRUE(CopyFileW(media.c_str(), (sounds + L"s" + std::to_wstring(i) + L".mp3").c_str(), FALSE));
    }
  }

  void Start() {
    std::wstring commandLine = L"\"" + programFolder.Path() + L"Quobly.exe\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    ASSERT_TRUE(
        CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info));
    process.Reset(info.hProcess);
    CloseHandle(info.hThread);
    ASSERT_TRUE(WaitUntil([&] { return (window = FindShownWindow(info.dwProcessId, L"Quobly")) != nullptr; }, 20000));
    // Past the window's zoom-in, waiting in its message loop.
    ASSERT_EQ(WaitForInputIdle(process.Get(), 10000), 0u);
  }

  // The file the program opened after a click at (x, y), "" when none.
  std::string Played(int x, int y) {
    trace.Clear();
    PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    WaitUntil([&] { return !trace.CallsOf("BASS_ChannelPlay(").empty(); }, 3000);
    return trace.LastOpenedFile();
  }

  void TearDown() override {
    if (!process) return;
    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(process.Get(), 20000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.Get(), &exitCode);
    EXPECT_EQ(exitCode, 0u);
  }

  TempFolder programFolder;
  BassTrace trace{programFolder.Path() + L"bass-trace.txt"};
  std::wstring sounds;
  UniqueKernelHandle process;
  HWND window = nullptr;
};

TEST_F(QuoblyClickTest, ButtonsInTheMainWindowPlayTheirSoundsForThatWindow) {
  std::vector<std::string> listed;
  WIN32_FIND_DATAW found = {};
  UniqueFindHandle listing(FindFirstFileW((sounds + L"*.mp3").c_str(), &found));
  ASSERT_TRUE(static_cast<bool>(listing));
  do {
    listed.push_back(Ansi(sounds + found.cFileName));
  } while (FindNextFileW(listing.Get(), &found));
  ASSERT_EQ(listed.size(), 7u);

  ASSERT_NO_FATAL_FAILURE(Start());
  EXPECT_EQ(Played(340 + 35, 110 + 15), listed[4]);
  const std::vector<std::string> inits = trace.CallsOf("BASS_Init(");
  ASSERT_EQ(inits.size(), 1u);
  char forWindow[32];
  std::snprintf(forWindow, sizeof forWindow, "win=0x%08lX",
                static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window)));
  EXPECT_NE(inits[0].find(forWindow), std::string::npos) << inits[0];
  EXPECT_EQ(Played(20 + 35, 150 + 15), listed[5]);
  EXPECT_EQ(Played(100 + 35, 150 + 15), listed[6]);
  EXPECT_EQ(Played(180 + 35, 150 + 15), "");
}

}  // namespace
