// pvUninstall as a user meets it: started as a real process on a product
// laid into the Wine prefix, clicked with injected input, watched through
// screenshots, with its reports arriving at the recording HTTP server.
// Screenshots are saved under e2e-shots\ beside the tests for a person to
// look at. Every test owns the name pvUninstall.exe in the prefix while it
// runs, so that the process of that name is the one it started.
#include "HttpTestServer.h"

#include <gtest/gtest.h>

#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cmath>
#include <regex>
#include <string>
#include <vector>

#include "Handles.h"
#include "InstallRecord.h"
#include "PvHelpers.h"
#include "PvImage.h"
#include "ScreenShot.h"
#include "TestSupport.h"
#include "UninstallFixture.h"

namespace {

constexpr wchar_t kProgramName[] = L"pvUninstall.exe";
constexpr wchar_t kAppTitle[] = L"Tesk软件-卸载程序";
constexpr wchar_t kParvaneKey[] = L"SOFTWARE\\Parvane";
constexpr wchar_t kRegKey[] = L"QuoblyEndToEnd";
constexpr wchar_t kMenu[] = L"QuoblyEndToEnd";
constexpr wchar_t kProduct[] = L"Quobly 音效板";
constexpr char kEncodedProduct[] = "Quobly%20%e9%9f%b3%e6%95%88%e6%9d%bf";
// The main dialog's size and its controls, in client coordinates.
constexpr int kDialogWidth = 450;
constexpr int kDialogHeight = 230;
constexpr POINT kUninstallButton = {289, 162};
constexpr POINT kCancelButton = {359, 162};
constexpr int kPanelTop = 89;

std::vector<DWORD> ProcessesNamed(const wchar_t* name) {
  std::vector<DWORD> found;
  UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry)) {
    if (_wcsicmp(entry.szExeFile, name) == 0) found.push_back(entry.th32ProcessID);
  }
  return found;
}

struct WindowSearch {
  DWORD processId;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectProcessWindow(HWND wnd, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(wnd, &owner);
  if (owner == search->processId && IsWindowVisible(wnd)) search->found.push_back(wnd);
  return TRUE;
}

std::vector<HWND> VisibleWindows(DWORD processId) {
  WindowSearch search = {processId, {}};
  EnumWindows(CollectProcessWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

RECT WindowRect(HWND wnd) {
  RECT rect = {};
  GetWindowRect(wnd, &rect);
  return rect;
}

int Brightness(uint32_t pixel) {
  return ScreenShot::Red(pixel) + ScreenShot::Green(pixel) + ScreenShot::Blue(pixel);
}

// Starts and ends GDI+ for saving screenshots and reading the eraser picture.
class GdiplusSession {
 public:
  GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&m_token, &input, nullptr);
  }
  ~GdiplusSession() { Gdiplus::GdiplusShutdown(m_token); }

 private:
  ULONG_PTR m_token = 0;
};

// A product installed under Program Files with the uninstaller in its folder
// (whole-folder mode), a start-menu folder, a desktop shortcut and an
// uninstall key; the machine identifier marks this test's reports.
class EndToEndTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ProcessesNamed(kProgramName).empty()) << "another pvUninstall.exe runs in this prefix";
    m_installDir = ShellFolder([](wchar_t* path) {
                     return SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, 0, path)) ? TRUE : FALSE;
                   }) +
                   L"\\QuoblyEndToEnd" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    m_program = m_installDir + kProgramName;
    m_menuFolder = ShellFolder(GetProgramsPath) + L"\\" + kMenu;
    m_desktopShortcut = ShellFolder(GetDesktopPath) + L"\\" + kProduct + L".lnk";
    m_shotFolder = ExecutableFolder() + L"e2e-shots\\";
    CreateDirectoryW(m_shotFolder.c_str(), nullptr);
    for (const std::wstring& batch : uninstall_test::SelfDeleteBatches()) DeleteFileW(batch.c_str());

    const std::string token = test_server::UniqueToken();
    m_uid = "PV" + std::string(18 - std::min<size_t>(18, token.size()), '0') + token.substr(0, 18);
    UniqueRegKey key;
    ASSERT_EQ(
        RegCreateKeyExW(HKEY_CURRENT_USER, kParvaneKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(), nullptr),
        ERROR_SUCCESS);
    const std::wstring uid(m_uid.begin(), m_uid.end());
    RegSetValueExW(key.Get(), L"UID", 0, REG_SZ, reinterpret_cast<const BYTE*>(uid.c_str()),
                   static_cast<DWORD>((uid.size() + 1) * sizeof(wchar_t)));
  }

  void TearDown() override {
    if (m_uninstaller.Started()) {
      m_uninstaller.Kill();
    }
    if (!m_installDir.empty()) RemoveTree(m_installDir);
    RemoveTree(m_menuFolder);
    DeleteFileW(m_desktopShortcut.c_str());
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, (std::wstring(kUninstallKey) + kRegKey).c_str());
    RegDeleteTreeW(HKEY_CURRENT_USER, kParvaneKey);
    for (const std::wstring& batch : uninstall_test::SelfDeleteBatches()) DeleteFileW(batch.c_str());
  }

  // Lays the product down with `program` as its uninstaller.
  void Install(const std::wstring& program) {
    for (const wchar_t* folder : {L"", L"sounds\\", L"sounds\\主持音效\\", L"sounds\\搞笑音效\\"}) {
      SHCreateDirectoryExW(nullptr, (m_installDir + folder).c_str(), nullptr);
    }
    for (int i = 0; i < 6; ++i) {
      ASSERT_TRUE(WriteBytes(m_installDir + L"sounds\\主持音效\\effect" + std::to_wstring(i) + L".mp3", "ID3", 3));
      ASSERT_TRUE(WriteBytes(m_installDir + L"sounds\\搞笑音效\\laugh" + std::to_wstring(i) + L".mp3", "ID3", 3));
    }
    ASSERT_TRUE(WriteBytes(m_installDir + L"Quobly.exe", "MZ", 2));
    ASSERT_TRUE(WriteBytes(m_installDir + L"音效配置.ini", "[热键]\r\n", 8));
    ASSERT_TRUE(CopyFileW(program.c_str(), m_program.c_str(), FALSE));

    SHCreateDirectoryExW(nullptr, m_menuFolder.c_str(), nullptr);
    ASSERT_TRUE(MakeShortcut(m_menuFolder + L"\\Quobly.lnk", m_installDir + L"Quobly.exe"));
    ASSERT_TRUE(MakeShortcut(m_menuFolder + L"\\卸载 Quobly.lnk", m_program));
    ASSERT_TRUE(MakeShortcut(m_desktopShortcut, m_installDir + L"Quobly.exe"));
    UniqueRegKey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, (std::wstring(kUninstallKey) + kRegKey).c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, key.Put(), nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key.Get(), L"DisplayName", 0, REG_SZ, reinterpret_cast<const BYTE*>(kProduct), sizeof kProduct);
    RegSetValueExW(key.Get(), L"InstallLocation", 0, REG_SZ, reinterpret_cast<const BYTE*>(m_installDir.c_str()),
                   static_cast<DWORD>((m_installDir.size() + 1) * sizeof(wchar_t)));

    InstallRecord record = {};
    SetRecordText(record.info.szRegKey, U16(kRegKey));
    SetRecordText(record.info.szProductName, U16(kProduct));
    SetRecordText(record.info.szMenuFolder, U16(kMenu));
    SetRecordText(record.info.szInstallDir, U16(m_installDir));
    const std::vector<std::uint8_t> bytes = WriteInstallRecord(record);
    ASSERT_TRUE(WriteBytes(m_installDir + L"pvUninstall.dat", bytes.data(), bytes.size()));
  }

  // Starts the installed uninstaller and waits until its dialog stands
  // still, centred on the screen.
  void Start() {
    ASSERT_TRUE(m_uninstaller.Start(m_program, std::wstring(), m_installDir)) << GetLastError();

    const int left = (GetSystemMetrics(SM_CXSCREEN) - kDialogWidth) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - kDialogHeight) / 2;
    ASSERT_TRUE(WaitUntil(
        [&] {
          for (HWND wnd : VisibleWindows(m_uninstaller.Id())) {
            const RECT rect = WindowRect(wnd);
            if (rect.left == left && rect.top == top) m_dialog = wnd;
          }
          return m_dialog != nullptr;
        },
        20000))
        << "the dialog never came to rest in the middle of the screen";
    Sleep(300);  // the last repaint of the show effect
    m_dialogRect = WindowRect(m_dialog);
  }

  void ClickDialog(POINT client) { ClickScreen({m_dialogRect.left + client.x, m_dialogRect.top + client.y}); }

  ScreenShot ShootDialog(const wchar_t* name = nullptr) const {
    ScreenShot shot(m_dialogRect);
    if (name != nullptr) shot.SavePng(m_shotFolder + name + L".png");
    return shot;
  }

  bool Ended(DWORD timeoutMs) { return m_uninstaller.WaitForExit(timeoutMs); }

  // This test's reports of `type`, waiting up to `timeoutMs` for `count`.
  std::vector<RecordedRequest> Reports(const std::string& type, size_t count, DWORD timeoutMs) const {
    std::vector<RecordedRequest> found;
    WaitUntil(
        [&] {
          found.clear();
          for (const RecordedRequest& request : test_server::Requests(m_uid)) {
            if (request.requestLine.find("?type=" + type + "&") != std::string::npos) found.push_back(request);
          }
          return found.size() >= count;
        },
        timeoutMs);
    return found;
  }

  GdiplusSession m_gdiplus;
  std::wstring m_installDir;
  std::wstring m_program;
  std::wstring m_menuFolder;
  std::wstring m_desktopShortcut;
  std::wstring m_shotFolder;
  std::string m_uid;
  ChildProcess m_uninstaller;
  HWND m_dialog = nullptr;
  RECT m_dialogRect = {};
};

// Where the eraser stands, read from a screenshot: the left edge of its
// picture in the rows above the panel, where nothing else is drawn.
class EraserTracker {
 public:
  // Learns the eraser's outline from the picture the program embeds too.
  EraserTracker() {
    std::unique_ptr<Gdiplus::Image> image = CPvImage::Instance().LoadPngFromRes(60027, L"IMG");
    if (image == nullptr) return;
    auto* bitmap = static_cast<Gdiplus::Bitmap*>(image.get());
    for (int hop : {0, 30}) {
      int left = 1000;
      int top = 1000;
      for (int y = 0; y + hop < kPanelTop && y < static_cast<int>(bitmap->GetHeight()); ++y) {
        for (int x = 0; x < static_cast<int>(bitmap->GetWidth()); ++x) {
          Gdiplus::Color colour;
          bitmap->GetPixel(x, y, &colour);
          if (colour.GetA() > 128) {
            left = std::min(left, x);
            top = std::min(top, y + hop);
          }
        }
      }
      m_outline.push_back({hop, left, top});
    }
  }

  // The percent the eraser shows (-1 when it is not seen).
  int PercentIn(const ScreenShot& shot) const {
    int left = 1000;
    int top = 1000;
    for (int y = 0; y < kPanelTop; ++y) {
      for (int x = 0; x < shot.Width(); ++x) {
        if (Brightness(shot.At(x, y)) > 200) {
          left = std::min(left, x);
          top = std::min(top, y);
        }
      }
    }
    if (left == 1000 || m_outline.size() != 2) return -1;
    // The hop shows in how high the eraser's top stands.
    const Outline& outline =
        std::abs(top - m_outline[0].top) <= std::abs(top - m_outline[1].top) ? m_outline[0] : m_outline[1];
    return static_cast<int>(std::lround((left - outline.left - 60) * 100.0 / 240.0));
  }

 private:
  struct Outline {
    int hop;
    int left;
    int top;
  };
  std::vector<Outline> m_outline;
};

TEST_F(EndToEndTest, UninstallRemovesTheProductAndThenTheProgram) {
  ASSERT_NO_FATAL_FAILURE(Install(ExecutableFolder() + kProgramName));
  ASSERT_NO_FATAL_FAILURE(Start());

  const std::vector<RecordedRequest> open = Reports("open", 1, 10000);
  ASSERT_EQ(open.size(), 1u);
  EXPECT_NE(open[0].requestLine.find("GET /report.asp?type=open&value=Tesk_Uninstall&uuid=" + m_uid + "&sign="),
            std::string::npos)
      << open[0].requestLine;

  wchar_t title[64] = {};
  GetWindowTextW(m_dialog, title, 64);
  EXPECT_STREQ(title, kAppTitle);
  const ScreenShot confirm = ShootDialog(L"1-confirm");
  // The question: dark text in its box on the white panel; the buttons below
  // it; nothing above the panel.
  EXPECT_GT(confirm.Count(35, 146, 245, 176, [](uint32_t p) { return Brightness(p) < 300; }), 150);
  EXPECT_GT(confirm.Count(255, 148, 393, 177, [](uint32_t p) { return Brightness(p) < 300; }), 60);
  EXPECT_EQ(confirm.Count(0, 0, kDialogWidth, kPanelTop - 2, [](uint32_t p) { return Brightness(p) > 60; }), 0);

  ClickDialog(kUninstallButton);
  // Screenshots until the program ends, each with its time.
  const EraserTracker eraser;
  struct Frame {
    long long ms;
    int percent;
  };
  std::vector<Frame> frames;
  Stopwatch clock;
  bool savedMiddle = false;
  bool savedEnd = false;
  while (!Ended(0) && clock.ElapsedMs() < 20000) {
    const ScreenShot shot = ShootDialog();
    const int percent = eraser.PercentIn(shot);
    if (percent >= 0) frames.push_back({clock.ElapsedMs(), percent});
    if (!savedMiddle && percent >= 40 && percent <= 60) {
      shot.SavePng(m_shotFolder + L"2-uninstalling.png");
      savedMiddle = true;
    }
    if (!savedEnd && percent == 100) {
      shot.SavePng(m_shotFolder + L"2-uninstalled.png");
      savedEnd = true;
    }
    Sleep(20);
  }
  ASSERT_TRUE(Ended(20000)) << "the program did not end";

  // The bar moves in steps of 10, one every 200 ms or so, up to 100.
  ASSERT_FALSE(frames.empty()) << "the eraser was never seen";
  std::vector<Frame> steps;
  for (const Frame& frame : frames) {
    const int rounded = (frame.percent + 5) / 10 * 10;
    EXPECT_LE(std::abs(frame.percent - rounded), 3) << "not a step of 10: " << frame.percent;
    if (steps.empty() || rounded != steps.back().percent) steps.push_back({frame.ms, rounded});
  }
  for (size_t i = 1; i < steps.size(); ++i) {
    EXPECT_GT(steps[i].percent, steps[i - 1].percent) << "the bar went back";
  }
  EXPECT_EQ(steps.back().percent, 100);
  EXPECT_GE(steps.size(), 6u) << "too few of the ten steps were seen";
  const auto firstAt = [&](int percent) {
    for (const Frame& step : steps) {
      if (step.percent >= percent) return step.ms;
    }
    return -1LL;
  };
  const long long climb = firstAt(100) - firstAt(10);
  EXPECT_GE(climb, 1500) << "nine steps of 200 ms";
  EXPECT_LE(climb, 4000);

  const std::vector<RecordedRequest> uninstall = Reports("uninstall", 1, 10000);
  ASSERT_EQ(uninstall.size(), 1u);
  EXPECT_NE(uninstall[0].requestLine.find(std::string("type=uninstall&value=") + kEncodedProduct + "&uuid=" + m_uid),
            std::string::npos)
      << uninstall[0].requestLine;

  // The batch ran: the program and its folder went last, then the batch.
  EXPECT_TRUE(WaitUntil([&] { return !Exists(m_installDir); }, 20000)) << "install folder left";
  EXPECT_TRUE(WaitUntil([] { return uninstall_test::SelfDeleteBatches().empty(); }, 10000))
      << "the batch did not delete itself";
  EXPECT_FALSE(Exists(m_program));
  EXPECT_FALSE(Exists(m_menuFolder));
  EXPECT_FALSE(Exists(m_desktopShortcut));
  UniqueRegKey key;
  EXPECT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, (std::wstring(kUninstallKey) + kRegKey).c_str(), 0, KEY_READ, key.Put()),
            ERROR_SUCCESS);
  EXPECT_TRUE(ProcessesNamed(kProgramName).empty());
}

TEST_F(EndToEndTest, CancelSlidesOutAndEndsWithoutUninstalling) {
  ASSERT_NO_FATAL_FAILURE(Install(ExecutableFolder() + kProgramName));
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_EQ(Reports("open", 1, 10000).size(), 1u);

  ClickDialog(kCancelButton);
  // Effect 3 moves the window left in five steps before the process ends.
  LONG leftmost = m_dialogRect.left;
  while (!Ended(0)) {
    if (IsWindow(m_dialog)) leftmost = std::min(leftmost, WindowRect(m_dialog).left);
    Sleep(5);
  }
  EXPECT_LT(leftmost, m_dialogRect.left - 200) << "the window did not slide out";

  Sleep(1000);  // time for a wrongly sent report to arrive
  EXPECT_TRUE(Reports("uninstall", 1, 0).empty());
  EXPECT_TRUE(Exists(m_program));
  EXPECT_TRUE(Exists(m_installDir + L"sounds\\主持音效\\effect0.mp3"));
  EXPECT_TRUE(Exists(m_desktopShortcut));
  EXPECT_TRUE(uninstall_test::SelfDeleteBatches().empty());
}

TEST_F(EndToEndTest, ClosingDuringTheUninstallEndsAtOnce) {
  ASSERT_NO_FATAL_FAILURE(Install(ExecutableFolder() + kProgramName));
  ASSERT_NO_FATAL_FAILURE(Start());

  ClickDialog(kUninstallButton);
  ASSERT_TRUE(WaitUntil([&] {
    return ShootDialog().Count(0, 0, kDialogWidth, kPanelTop, [](uint32_t p) { return Brightness(p) > 200; }) > 0;
  })) << "the uninstalling view never showed";
  Stopwatch clock;
  PostMessageW(m_dialog, WM_CLOSE, 0, 0);
  ASSERT_TRUE(Ended(5000));
  EXPECT_LT(clock.ElapsedMs(), 1000);
  Sleep(500);
  EXPECT_TRUE(uninstall_test::SelfDeleteBatches().empty()) << "no self-deletion after a close";
  EXPECT_TRUE(Exists(m_program));
}

// A report server that accepts every request and never answers: the reports
// hang on their own threads, and the program neither waits for them nor
// fails to end.
TEST_F(EndToEndTest, UninstallEndsWhileTheReportServerNeverAnswers) {
  ASSERT_TRUE(test_server::StallRequestsWith(m_uid));
  ASSERT_NO_FATAL_FAILURE(Install(ExecutableFolder() + kProgramName));
  ASSERT_NO_FATAL_FAILURE(Start());
  // Received and left unanswered; asked again after each timeout.
  ASSERT_FALSE(Reports("open", 1, 10000).empty());

  Stopwatch clock;
  ClickDialog(kUninstallButton);
  ASSERT_TRUE(Ended(20000)) << "the program did not end";
  const size_t uninstallReports = Reports("uninstall", 1, 0).size();
  EXPECT_GE(uninstallReports, 1u);
  EXPECT_LE(uninstallReports, 3u) << "a silent server is asked three times at most";
  EXPECT_TRUE(WaitUntil([&] { return !Exists(m_installDir); }, 20000)) << "install folder left";
  EXPECT_FALSE(Exists(m_menuFolder));
  EXPECT_FALSE(Exists(m_desktopShortcut));
  std::printf("uninstall with a silent report server: ended after %lld ms\n", clock.ElapsedMs());
}

TEST_F(EndToEndTest, CancelEndsWhileTheReportServerNeverAnswers) {
  ASSERT_TRUE(test_server::StallRequestsWith(m_uid));
  ASSERT_NO_FATAL_FAILURE(Install(ExecutableFolder() + kProgramName));
  ASSERT_NO_FATAL_FAILURE(Start());
  ASSERT_FALSE(Reports("open", 1, 10000).empty());

  Stopwatch clock;
  ClickDialog(kCancelButton);
  ASSERT_TRUE(Ended(5000)) << "the program did not end";
  EXPECT_TRUE(Exists(m_program));
  std::printf("cancel with a silent report server: ended after %lld ms\n", clock.ElapsedMs());
}

// The crash handler, in a test build whose trigger faults two worker threads
// at once a second after the start.
class CrashTest : public EndToEndTest {
 protected:
  void SetUp() override {
    EndToEndTest::SetUp();
    RemoveDumps();
  }
  void TearDown() override {
    RemoveDumps();
    EndToEndTest::TearDown();
  }

  // Where the program's dumps go: the user's own crash-dump folder, never
  // the program folder, which users other than this one may write.
  static std::wstring CrashDumpFolder() {
    return ShellFolder([](wchar_t* path) {
             return SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, path)) ? TRUE : FALSE;
           }) +
           L"\\CrashDumps\\";
  }

  void RemoveDumps() const {
    for (const std::wstring& dump : DumpFiles(CrashDumpFolder())) DeleteFileW(dump.c_str());
  }

  void StartCrashing() {
    SetEnvironmentVariableW(L"PVUNINSTALL_TEST_CRASH", L"2");
    Start();
    SetEnvironmentVariableW(L"PVUNINSTALL_TEST_CRASH", nullptr);
  }

  // Waits for the notice, checks its countdown on screen and that it closes
  // by itself, then that the process ends. The notice comes after the dump,
  // which 64-bit Wine's dbghelp takes seconds to write.
  void WatchNotice() {
    HWND notice = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
          for (HWND wnd : VisibleWindows(m_uninstaller.Id())) {
            if (wnd != m_dialog) notice = wnd;
          }
          return notice != nullptr;
        },
        30000))
        << "no notice; the program " << (Ended(0) ? "ended" : "still runs") << ", "
        << DumpFiles(CrashDumpFolder()).size() << " dump(s), pings: " << Reports("tk_uninstall_dump", 1, 0).size();
    const long long cpuBeforeNotice = CpuTimeMs();
    Stopwatch clock;
    wchar_t title[64] = {};
    GetWindowTextW(notice, title, 64);
    EXPECT_STREQ(title, kAppTitle);

    // One picture of the OK button per second: five different captions.
    std::vector<std::vector<uint32_t>> captions;
    for (int second = 0; second < 5 && IsWindowVisible(notice); ++second) {
      while (clock.ElapsedMs() < 600 + second * 1000) Sleep(10);
      const RECT rect = WindowRect(notice);
      if (rect.right - rect.left != 300) continue;  // still zooming
      const ScreenShot shot(rect);
      shot.SavePng(m_shotFolder + L"3-notice-" + std::to_wstring(second) + L".png");
      const std::vector<uint32_t> button = shot.Area(115, 170, 185, 195);
      if (captions.empty() || captions.back() != button) captions.push_back(button);
    }
    EXPECT_GE(captions.size(), 4u) << "the countdown did not change the caption";

    ASSERT_TRUE(Ended(10000)) << "the notice did not close by itself";
    // The second faulting thread waited rather than faulting again and again.
    EXPECT_LT(CpuTimeMs() - cpuBeforeNotice, 2500) << "a thread spun while the notice showed";
    EXPECT_GE(clock.ElapsedMs(), 4500);
    EXPECT_LE(clock.ElapsedMs(), 8000);
  }

  long long CpuTimeMs() const {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(m_uninstaller.Handle(), &created, &exited, &kernel, &user)) return -1;
    const auto ms = [](const FILETIME& time) {
      return static_cast<long long>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32 | time.dwLowDateTime) / 10000);
    };
    return ms(kernel) + ms(user);
  }

  std::vector<std::wstring> DumpFiles(const std::wstring& folder) const {
    std::vector<std::wstring> dumps;
    WIN32_FIND_DATAW found = {};
    UniqueFindHandle search(FindFirstFileW((folder + L"pvUninstall.exe_*.dmp").c_str(), &found));
    if (!search) return dumps;
    do {
      dumps.push_back(folder + found.cFileName);
    } while (FindNextFileW(search.Get(), &found));
    return dumps;
  }
};

TEST_F(CrashTest, PingDumpAndANoticeThatClosesItself) {
  ASSERT_NO_FATAL_FAILURE(Install(ExecutableFolder() + L"pvUninstall_crash.exe"));
  ASSERT_NO_FATAL_FAILURE(StartCrashing());
  ASSERT_NO_FATAL_FAILURE(WatchNotice());

  EXPECT_TRUE(DumpFiles(m_installDir).empty());
  const std::vector<std::wstring> dumps = DumpFiles(CrashDumpFolder());
  ASSERT_EQ(dumps.size(), 1u) << "one dump for two faulting threads";
  const std::string dump = ReadFileBytes(dumps[0]);
  EXPECT_EQ(dump.substr(0, 4), "MDMP");

  Reports("tk_uninstall_dump", 2, 2000);  // time for a second ping that must not come
  const std::vector<RecordedRequest> pings = Reports("tk_uninstall_dump", 1, 0);
  ASSERT_EQ(pings.size(), 1u);
  EXPECT_NE(pings[0].requestLine.find("GET /api.ashx?type=tk_uninstall_dump&value=&uuid=" + m_uid), std::string::npos)
      << pings[0].requestLine;
}

// Run by the uninstaller_e2e_readonly test, which lays the crashing build
// into a folder nothing can write to and names it in the environment: the
// dump and the notice come as from any other folder.
TEST_F(CrashTest, ReadOnlyFolderGetsNoDumpButTheNotice) {
  wchar_t folder[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"PVUNINSTALL_READONLY_FOLDER", folder, MAX_PATH) == 0) {
    GTEST_SKIP() << "needs the read-only folder of the uninstaller_e2e_readonly test";
  }
  m_installDir = std::wstring(folder) + L"\\";
  m_program = m_installDir + kProgramName;
  ASSERT_TRUE(Exists(m_program));
  ASSERT_FALSE(CreateDirectoryW((m_installDir + L"probe").c_str(), nullptr)) << "the folder is writable";

  ASSERT_NO_FATAL_FAILURE(StartCrashing());
  ASSERT_NO_FATAL_FAILURE(WatchNotice());
  EXPECT_TRUE(DumpFiles(m_installDir).empty());
  EXPECT_EQ(DumpFiles(CrashDumpFolder()).size(), 1u);
  m_installDir.clear();  // not ours to remove
}

}  // namespace
