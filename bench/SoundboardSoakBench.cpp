// Soak of the running soundboard: Quobly.exe (from a program folder of its
// own, five sounds in its first category, F1 to F5 bound to them) plays
// sounds 2,000 times, by clicks on its buttons and by hotkeys, and opens and
// closes its hotkey panel, its sound-card drop-down and its notification-area
// menu 200 times each. Every play is confirmed by the audio library's trace,
// every popup by its window. Its threads, windows, handles, GDI and USER
// objects and committed memory are taken before and after, printed, and must
// not grow beyond a small allowance; then it must still answer and end
// cleanly. Exits 1 when anything failed.
//   soundboard_soak_bench [plays] [popup cycles]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "AppMessages.h"
#include "BassTrace.h"
#include "BindingFile.h"
#include "KeyNames.h"
#include "ProcessResources.h"
#include "UserInput.h"
#include "soundboard/QuoblyProcess.h"

namespace {

constexpr int kButtons = 5;
// The first sound button, the grid's step and the sound-card combo, in
// client coordinates of the main window.
constexpr POINT kFirstButton = {20 + 35, 110 + 15};
constexpr int kButtonStep = 80;
constexpr POINT kCombo = {20 + 70, 280 + 12};
constexpr int kClosedWidth = 430;
constexpr int kPanelWidth = 640;
constexpr DWORD kStepTimeoutMs = 5000;

// Counts the successful play calls in the audio library's trace as it grows.
class PlayCounter {
 public:
  explicit PlayCounter(const std::wstring& path) : m_trace(path) {}

  int Count() {
    // Calls like "BASS_ChannelPlay(handle=1, restart=0) = 1".
    const std::string played = " = 1";
    for (TracedCall next; m_trace.Next(next);) {
      const std::string& call = next.call;
      if (call.rfind("BASS_ChannelPlay(", 0) == 0 && call.size() > played.size() &&
          call.compare(call.size() - played.size(), played.size(), played) == 0) {
        ++m_plays;
      }
    }
    return m_plays;
  }

 private:
  TraceFollower m_trace;
  int m_plays = 0;
};

struct PopupSearch {
  DWORD processId;
  const wchar_t* title;
  HWND found;
};

BOOL CALLBACK MatchPopup(HWND wnd, LPARAM param) {
  auto* search = reinterpret_cast<PopupSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(wnd, &owner);
  wchar_t title[64] = {};
  GetWindowTextW(wnd, title, 64);
  if (owner != search->processId || !IsWindowVisible(wnd) || std::wstring(title) != search->title) return TRUE;
  search->found = wnd;
  return FALSE;
}

class Soak {
 public:
  Soak(QuoblyProcess& quobly, DWORD processId)
      : m_quobly(quobly), m_processId(processId), m_plays(quobly.TracePath()) {}

  // Each step acts, then waits until its effect shows; false when it never did.
  bool ClickPlay(int button) {
    const int before = m_plays.Count();
    Click(ButtonPoint(button));
    return PumpUntil([&] { return m_plays.Count() > before; }, kStepTimeoutMs);
  }

  bool HotkeyPlay(int key) {
    const int before = m_plays.Count();
    PressKey(static_cast<WORD>(VK_F1 + key));
    return PumpUntil([&] { return m_plays.Count() > before; }, kStepTimeoutMs);
  }

  bool PanelCycle(int button) {
    Click(ButtonPoint(button), true);
    if (!PumpUntil([&] { return Width() == kPanelWidth; }, kStepTimeoutMs)) return false;
    if (!ClickPlay(button)) return false;  // a click on a sound button closes the panel
    return PumpUntil([&] { return Width() == kClosedWidth; }, kStepTimeoutMs);
  }

  bool DropDownCycle() {
    Click(kCombo);
    return Dismiss(L"Ex_LayerUI_Combox");
  }

  bool TrayMenuCycle() {
    PostMessageW(m_quobly.MainWindow(), kMsgTrayIcon, 0, WM_RBUTTONUP);
    return Dismiss(L"Ex_LayerUI_Menu");
  }

  int Plays() { return m_plays.Count(); }

 private:
  POINT ButtonPoint(int button) const { return {kFirstButton.x + kButtonStep * (button % kButtons), kFirstButton.y}; }

  int Width() const {
    RECT rect = {};
    GetWindowRect(m_quobly.MainWindow(), &rect);
    return rect.right - rect.left;
  }

  // Hardware input at a point of the main window.
  void Click(POINT client, bool right = false) {
    ClientToScreen(m_quobly.MainWindow(), &client);
    ClickScreen(client, right);
  }

  HWND FindPopup(const wchar_t* title) const {
    PopupSearch search = {m_processId, title, nullptr};
    EnumWindows(MatchPopup, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  // Waits for the popup, closes it with Escape and waits until it is gone.
  bool Dismiss(const wchar_t* title) {
    HWND popup = nullptr;
    if (!PumpUntil([&] { return (popup = FindPopup(title)) != nullptr; }, kStepTimeoutMs)) return false;
    PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 1);
    return PumpUntil([&] { return FindPopup(title) == nullptr; }, kStepTimeoutMs);
  }

  QuoblyProcess& m_quobly;
  DWORD m_processId;
  PlayCounter m_plays;
};

// Runs `step` `times` times; prints how long it took and how many failed.
bool Phase(const char* name, int times, const std::function<bool(int)>& step) {
  const double start = TraceClockMs();
  int failed = 0;
  for (int i = 0; i < times; ++i) {
    if (!step(i)) {
      if (++failed <= 5) std::printf("  step %d failed\n", i);
    }
  }
  std::printf("%-28s %5d in %7.0f ms, %d failed\n", name, times, TraceClockMs() - start, failed);
  return failed == 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int plays = argc > 1 ? std::atoi(argv[1]) : 2000;
  const int cycles = argc > 2 ? std::atoi(argv[2]) : 200;

  QuoblyProcess quobly;
  // Five short sounds in the first category, F1 to F5 bound to them.
  const std::string category = quobly.Folder() + "主持音效\\";  // GBK, as the program's own texts
  bool laid = CreateDirectoryA(category.c_str(), nullptr) != FALSE;
  for (int i = 1; i <= kButtons; ++i) {
    const std::string sound = category + "sound" + std::to_string(i) + ".mp3";
    laid = laid && CopyFileA(MediaPath("cbr.mp3").c_str(), sound.c_str(), FALSE) &&
           WriteBinding(quobly.BindingFile(), HotkeyName(VK_F1 + i - 1), sound);
  }
  if (!laid || !quobly.Start()) {
    std::printf("soundboard soak: the program did not start\n");
    return 1;
  }
  FocusWindow focus;  // keys go to a window of this process, never into Quobly's
  DWORD processId = 0;
  GetWindowThreadProcessId(quobly.MainWindow(), &processId);
  UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
  Soak soak(quobly, processId);

  bool ok = focus.TakeFocus();
  // First uses fill caches (fonts, decoders, the popups' pictures).
  for (int i = 0; i < 5; ++i) {
    ok = soak.ClickPlay(i) && soak.HotkeyPlay(i) && soak.PanelCycle(i) && soak.DropDownCycle() &&
         soak.TrayMenuCycle() && ok;
    focus.TakeFocus();
  }
  Sleep(500);
  const ProcessResources before = MeasureProcess(process.Get(), processId);
  const int playsBefore = soak.Plays();

  ok = Phase("plays by clicks", plays / 2, [&](int i) { return soak.ClickPlay(i); }) && ok;
  focus.TakeFocus();
  ok = Phase("plays by hotkeys", plays - plays / 2, [&](int i) { return soak.HotkeyPlay(i % kButtons); }) && ok;
  ok = Phase("hotkey panel opened, closed", cycles, [&](int i) { return soak.PanelCycle(i); }) && ok;
  ok = Phase("drop-down opened, closed", cycles, [&](int) { return soak.DropDownCycle(); }) && ok;
  ok = Phase("tray menu opened, closed", cycles, [&](int) { return soak.TrayMenuCycle(); }) && ok;
  Sleep(500);  // the last sound's progress watch ends
  const ProcessResources after = MeasureProcess(process.Get(), processId);
  const int played = soak.Plays() - playsBefore;
  std::printf("plays seen in the trace: %d (%d by clicks and hotkeys, %d closing the panel)\n", played, plays, cycles);
  PrintResources("before", before);
  PrintResources("after", after);

  // A play thread, a progress watch or a popup that stays, or a leak of a
  // decoder's buffers, would show here.
  ok = ok && played >= plays + cycles;
  ok = ok && after.threads <= before.threads + 1 && after.windows <= before.windows;
  ok = ok && after.handleCount <= before.handleCount + 8;
  ok = ok && after.gdiObjects <= before.gdiObjects + 4 && after.userObjects <= before.userObjects + 4;
  ok = ok && after.pagefileUsage <= before.pagefileUsage + 4 * 1024 * 1024;
  DWORD_PTR answer = 0;
  ok = ok && SendMessageTimeoutW(quobly.MainWindow(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer) != 0;
  const int exitCode = quobly.Close();
  std::printf("closed with exit code %d\nsoundboard soak: %s\n", exitCode, ok && exitCode == 0 ? "passed" : "FAILED");
  return ok && exitCode == 0 ? 0 : 1;
}
