#include "CrashTrigger.h"

#include <windows.h>

#include <cstdlib>

namespace {

constexpr DWORD kDelayMs = 1000;  // the main dialog has appeared by then
constexpr int kMaxThreads = 8;

// Released once every crashing thread waits on it, so they fault together.
HANDLE g_go = nullptr;

DWORD WINAPI FaultingThread(void*) {
  WaitForSingleObject(g_go, INFINITE);
  volatile int* nowhere = nullptr;
  *nowhere = 1;
  return 0;
}

DWORD WINAPI TriggerThread(void* countPtr) {
  const int count = static_cast<int>(reinterpret_cast<INT_PTR>(countPtr));
  Sleep(kDelayMs);
  g_go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  for (int i = 0; i < count; ++i) CloseHandle(CreateThread(nullptr, 0, FaultingThread, nullptr, 0, nullptr));
  Sleep(50);  // all of them are waiting by now
  SetEvent(g_go);
  return 0;
}

}  // namespace

void ArmCrashTrigger() {
  wchar_t value[16] = {};
  if (GetEnvironmentVariableW(L"PVUNINSTALL_TEST_CRASH", value, 16) == 0) return;
  const int count = _wtoi(value);
  if (count < 1 || count > kMaxThreads) return;
  CloseHandle(
      CreateThread(nullptr, 0, TriggerThread, reinterpret_cast<void*>(static_cast<INT_PTR>(count)), 0, nullptr));
}
