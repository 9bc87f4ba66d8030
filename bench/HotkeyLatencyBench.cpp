// How quickly a hotkey plays: F2 pressed as hardware input from this process
// while a window of this process has the focus, and Quobly.exe (from a
// program folder of its own, F2 bound in its binding file) reaching the play
// call, as its audio library's trace time-stamps it. Then how long the
// keyboard hook's procedure takes, measured by a hook installed after it,
// which the system therefore calls first and which calls it through
// CallNextHookEx. Both quiet and with busy threads in another process.
//   hotkey_latency_bench [presses] [--load N]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "AppMessages.h"
#include "BassTrace.h"
#include "BindingFile.h"
#include "BusyLoad.h"
#include "KeyboardHook.h"
#include "LatencyReport.h"
#include "soundboard/QuoblyProcess.h"

namespace {

// The time stamp of the next play call in the trace, when there is one.
bool NextPlay(TraceFollower& trace, double& at) {
  for (TracedCall next; trace.Next(next);) {
    if (next.call.rfind("BASS_ChannelPlay(", 0) == 0) {
      at = next.timeMs;
      return true;
    }
  }
  return false;
}

std::vector<double> PressToPlay(int presses) {
  std::vector<double> latencies;
  QuoblyProcess quobly;
  FocusWindow other;
  if (!WriteBinding(quobly.BindingFile(), "F2键", MediaPath("cbr.mp3")) || !quobly.Start() || !other.TakeFocus()) {
    std::fprintf(stderr, "Quobly did not start, or the focus could not be taken\n");
    return latencies;
  }
  TraceFollower trace(quobly.TracePath());
  for (int i = 0; i < presses; ++i) {
    const double pressed = TraceClockMs();
    InjectKey(VK_F2, true);
    double played = 0;
    if (PumpUntil([&] { return NextPlay(trace, played); }, 3000)) latencies.push_back(played - pressed);
    InjectKey(VK_F2, false);
    other.ClearKeys();
  }
  quobly.Close();
  return latencies;
}

// The hook installed after KeyboardHook: called first, it times the rest of
// the chain, which is KeyboardHook's procedure on the hook's own thread
// (the hop to that thread included).
std::vector<double>* g_hookTimes = nullptr;

LRESULT CALLBACK TimingHook(int code, WPARAM wParam, LPARAM lParam) {
  const double start = TraceClockMs();
  const LRESULT result = CallNextHookEx(nullptr, code, wParam, lParam);
  if (code == HC_ACTION) g_hookTimes->push_back(TraceClockMs() - start);
  return result;
}

struct Counter {
  int posted = 0;
};

LRESULT CALLBACK CountingProcedure(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kMsgHotkeyPressed) {
    ++reinterpret_cast<Counter*>(GetWindowLongPtrW(wnd, GWLP_USERDATA))->posted;
    // The hook raised this thread for the key; the soundboard drops back too.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
  }
  return DefWindowProcW(wnd, message, wParam, lParam);
}

std::vector<double> HookProcedureTimes(int presses, int& posted) {
  std::vector<double> times;
  times.reserve(presses * 2);
  g_hookTimes = &times;
  Counter counter;
  UniqueWindow window = CreateMessageWindow(L"HotkeyBenchWindow", CountingProcedure, &counter);
  KeyboardHook hook;
  hook.install_keyboard_hook(window.Get());
  UniqueWindowsHook timing(SetWindowsHookExA(WH_KEYBOARD_LL, TimingHook, GetModuleHandleA(nullptr), 0));
  if (!hook.installed() || !timing) return times;
  // The timing hook runs on this thread's message loop; another thread
  // types, at a typist's pace rather than in one burst.
  std::thread typist([presses] {
    for (int i = 0; i < presses; ++i) {
      InjectKey(VK_F2, true);
      InjectKey(VK_F2, false);
      Sleep(2);
    }
  });
  PumpUntil([&] { return times.size() >= static_cast<size_t>(presses) * 2; }, 20000);
  typist.join();
  PumpUntil([&] { return counter.posted >= presses; }, 2000);
  posted = counter.posted;
  return times;
}

// The figures are wall-clock times: on a busy machine a thread may lose the
// processor at any point, so the system load is printed beside them.
void PrintLoad() {
  UniqueFileHandle file(
      CreateFileW(L"Z:\\proc\\loadavg", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  char text[128] = {};
  DWORD read = 0;
  if (file && ReadFile(file.Get(), text, sizeof text - 1, &read, nullptr) && read > 0) {
    std::printf("load average over 1, 5 and 15 minutes: %.15s\n", text);
  }
}

struct Figures {
  std::vector<double> pressToPlay, insideHook;
  int posted = 0;
};

Figures Measure(int presses) {
  PrintLoad();
  Figures figures;
  figures.pressToPlay = PressToPlay(presses);
  figures.insideHook = HookProcedureTimes(presses, figures.posted);
  return figures;
}

}  // namespace

int main(int argc, char** argv) {
  const int load = TakeLoadOption(argc, argv);
  const int presses = argc > 1 ? std::max(1, std::atoi(argv[1])) : 300;
  Figures quiet, loaded;
  if (!MeasureQuietAndLoaded(
          load, [&] { return Measure(presses); }, &quiet, &loaded))
    return 1;
  ReportHeading(load);
  Report("key press to play call", quiet.pressToPlay, load > 0 ? &loaded.pressToPlay : nullptr);
  Report("inside the hook procedure", quiet.insideHook, load > 0 ? &loaded.insideHook : nullptr);
  std::printf("%d presses, %d posted to the window quiet", presses, quiet.posted);
  if (load > 0) std::printf(", %d loaded", loaded.posted);
  std::printf("\n");
  return 0;
}
