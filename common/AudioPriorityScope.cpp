#include "AudioPriorityScope.h"

#include <string>

namespace {

using SetTaskFunction = HANDLE(WINAPI*)(LPCWSTR taskName, LPDWORD taskIndex);

// AvSetMmThreadCharacteristicsW from the system's avrt.dll, null where there
// is none. The library stays loaded for the rest of the process: registered
// threads revert through it (MmcssTaskTraits), and loading it once keeps the
// raise cheap for a thread that is raised at every play.
SetTaskFunction SetTask() {
  static const SetTaskFunction function = [] {
    wchar_t system[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return SetTaskFunction(nullptr);
    // By full path: a copy planted in the program folder is never loaded.
    const HMODULE avrt = LoadLibraryW((std::wstring(system) + L"\\avrt.dll").c_str());
    if (avrt == nullptr) return SetTaskFunction(nullptr);
    return reinterpret_cast<SetTaskFunction>(
        reinterpret_cast<void*>(GetProcAddress(avrt, "AvSetMmThreadCharacteristicsW")));
  }();
  return function;
}

}  // namespace

AudioPriorityScope::AudioPriorityScope() : m_previousPriority(GetThreadPriority(GetCurrentThread())) {
  if (const SetTaskFunction setTask = SetTask()) {
    DWORD taskIndex = 0;  // 0 asks the service for a new task
    m_task.Reset(setTask(L"Pro Audio", &taskIndex));
  }
  SetThreadPriority(GetCurrentThread(), kRaisedPriority);
}

AudioPriorityScope::~AudioPriorityScope() {
  m_task.Reset();
  if (m_previousPriority != THREAD_PRIORITY_ERROR_RETURN) SetThreadPriority(GetCurrentThread(), m_previousPriority);
}
