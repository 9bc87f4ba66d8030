// A busy machine for the benchmarks: N threads that spin at normal priority
// in a process of their own (busy_load.exe, built beside the benchmarks),
// started by the object and stopped when it goes, or when this process ends
// without stopping it.
//   <benchmark> ... --load N     N busy threads (0: quiet figures only)
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Handles.h"

class BusyLoad {
 public:
  explicit BusyLoad(int threads) {
    if (threads <= 0) return;
    const SECURITY_ATTRIBUTES inherited = {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    m_stop.Reset(CreateEventW(const_cast<SECURITY_ATTRIBUTES*>(&inherited), TRUE, FALSE, nullptr));
    UniqueKernelHandle ready(CreateEventW(const_cast<SECURITY_ATTRIBUTES*>(&inherited), TRUE, FALSE, nullptr));
    UniqueKernelHandle self;
    DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), self.Put(), SYNCHRONIZE, TRUE, 0);
    if (!m_stop || !ready || !self) return;

    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string path(program);
    path = path.substr(0, path.find_last_of('\\') + 1) + "busy_load.exe";
    std::string command = "\"" + path + "\" " + std::to_string(threads) + " " + HandleText(m_stop.Get()) + " " +
                          HandleText(ready.Get()) + " " + HandleText(self.Get());
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    // Normal priority class whatever this process runs at: the load stands
    // for ordinary programs.
    if (!CreateProcessA(path.c_str(), &command[0], nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                        &startup, &process)) {
      std::fprintf(stderr, "busy_load.exe did not start\n");
      return;
    }
    CloseHandle(process.hThread);
    m_process.Reset(process.hProcess);
    // Emulated, a process takes a while to start; its threads spin once it says so.
    const HANDLE waits[] = {ready.Get(), m_process.Get()};
    if (WaitForMultipleObjects(2, waits, FALSE, 120000) != WAIT_OBJECT_0) {
      std::fprintf(stderr, "busy_load.exe did not get going\n");
      Stop();
      return;
    }
    m_threads = threads;
  }
  ~BusyLoad() { Stop(); }
  BusyLoad(const BusyLoad&) = delete;
  BusyLoad& operator=(const BusyLoad&) = delete;

  // How many threads spin, 0 when the load did not start.
  int Threads() const { return m_threads; }

 private:
  static std::string HandleText(HANDLE handle) { return std::to_string(reinterpret_cast<UINT_PTR>(handle)); }

  void Stop() {
    if (!m_process) return;
    SetEvent(m_stop.Get());
    if (WaitForSingleObject(m_process.Get(), 30000) != WAIT_OBJECT_0) TerminateProcess(m_process.Get(), 1);
    m_process.Reset();
    m_threads = 0;
  }

  UniqueKernelHandle m_stop;
  UniqueKernelHandle m_process;
  int m_threads = 0;
};

// Takes "--load N" out of the arguments, so that the others keep their
// places; without it, one busy thread per processor.
inline int TakeLoadOption(int& argc, char** argv) {
  SYSTEM_INFO system = {};
  GetSystemInfo(&system);
  int load = static_cast<int>(system.dwNumberOfProcessors);
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--load") != 0) continue;
    load = i + 1 < argc ? std::max(0, std::min(64, std::atoi(argv[i + 1]))) : 0;
    const int taken = i + 1 < argc ? 2 : 1;
    for (int j = i; j + taken <= argc; ++j) argv[j] = argv[j + taken];
    argc -= taken;
    break;
  }
  return load;
}

// Runs `measure` quiet, then, when `load` is above 0, once more beside that
// many busy threads. False when the load did not start.
template <typename Figures, typename Measure>
bool MeasureQuietAndLoaded(int load, const Measure& measure, Figures* quiet, Figures* loaded) {
  *quiet = measure();
  if (load <= 0) return true;
  const BusyLoad busy(load);
  if (busy.Threads() == 0) return false;
  *loaded = measure();
  return true;
}
