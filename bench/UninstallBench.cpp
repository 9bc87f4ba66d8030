// Removal speed: the engine against the command interpreter's "rd /s /q" on
// an identical tree, in the same run. The engine runs as in the dialog: on
// its worker, sending a progress message per file to a window whose thread
// pumps them.
#include <windows.h>
#include <shlobj.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "ChildProcess.h"
#include "Handles.h"
#include "InstallRecord.h"
#include "MessagePump.h"
#include "PvUninstaller.h"

namespace {

constexpr int kFolders = 500;
constexpr int kFilesPerFolder = 40;

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

void MakeTree(const std::wstring& root) {
  for (int folder = 0; folder < kFolders; ++folder) {
    const std::wstring dir = root + L"dir" + std::to_wstring(folder) + L"\\";
    SHCreateDirectoryExW(nullptr, dir.c_str(), nullptr);
    for (int file = 0; file < kFilesPerFolder; ++file) {
      UniqueFileHandle handle(CreateFileW((dir + L"f" + std::to_wstring(file) + L".dat").c_str(), GENERIC_WRITE, 0,
                                          nullptr, CREATE_ALWAYS, 0, nullptr));
      DWORD written = 0;
      WriteFile(handle.Get(), "data", 4, &written, nullptr);
    }
  }
}

int g_progressMessages = 0;

LRESULT CALLBACK CountProgress(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_UNINSTALL_PROGRESS) {
    ++g_progressMessages;
    return 0;
  }
  return DefWindowProcW(wnd, message, wParam, lParam);
}

double TimeEngine(const std::wstring& appDir, const std::wstring& tree) {
  InstallRecord record = {};
  tagUninstallItem item = {};
  SetRecordText(item.szPath, std::u16string(tree.begin(), tree.end()));
  record.items.push_back(item);
  const std::vector<std::uint8_t> bytes = WriteInstallRecord(record);
  {
    UniqueFileHandle file(
        CreateFileW((appDir + L"pvUninstall.dat").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  }

  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = CountProgress;
  windowClass.lpszClassName = L"UninstallBench";
  RegisterClassW(&windowClass);
  HWND wnd = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);

  CPvUninstaller engine(appDir.c_str());
  const Clock::time_point start = Clock::now();
  engine.StartUninstall(wnd, TRUE);
  constexpr DWORD kEngineLimitMs = 600000;
  const bool finished = PumpUntil([&engine] { return engine.isFinished(); }, kEngineLimitMs);
  // The worker sleeps 300 ms before it starts, as the dialog's bar needs.
  const double seconds = SecondsSince(start) - 0.3;
  DestroyWindow(wnd);
  return finished ? seconds : -1;
}

double TimeCommand(const std::wstring& tree) {
  constexpr DWORD kCommandLimitMs = 600000;
  const Clock::time_point start = Clock::now();
  if (!RunToExit(L"cmd.exe", L"/c rd /s /q \"" + tree + L"\"", L"", kCommandLimitMs)) return -1;
  return SecondsSince(start);
}

}  // namespace

int main() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring root = std::wstring(temp) + L"QuoblyUninstallBench\\";
  const std::wstring appDir = root + L"app\\";
  // Inside the program folder: the engine removes only what the product owns.
  const std::wstring engineTree = appDir + L"engine\\";
  const std::wstring commandTree = root + L"command\\";
  SHCreateDirectoryExW(nullptr, appDir.c_str(), nullptr);
  MakeTree(engineTree);
  MakeTree(commandTree);

  const double command = TimeCommand(commandTree);
  const double engine = TimeEngine(appDir, engineTree);
  std::printf("tree: %d files in %d folders\n", kFolders * kFilesPerFolder, kFolders);
  std::printf("rd /s /q: %.3f s\n", command);
  std::printf("engine:   %.3f s (%d progress messages)%s\n", engine, g_progressMessages,
              GetFileAttributesW(engineTree.c_str()) == INVALID_FILE_ATTRIBUTES ? "" : ", BUT THE TREE IS STILL THERE");
  std::printf("ratio:    %.2f (target: at most 1.30)\n", engine / command);

  DeleteFileW((appDir + L"pvUninstall.dat").c_str());
  RemoveDirectoryW(appDir.c_str());
  RemoveDirectoryW(root.c_str());
  return 0;
}
