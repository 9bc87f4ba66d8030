// Notes every buffer that the bass.dll loaded in this process hands to
// wave-out: when, from which thread and at what thread priority. It points
// the library's import of waveOutWrite at a function of its own, which notes
// the write and passes it on.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <chrono>
#include <cstring>
#include <mutex>
#include <vector>

class WaveOutWriteSpy {
 public:
  using Clock = std::chrono::steady_clock;
  struct Write {
    Clock::time_point at;
    DWORD thread;
    int priority;
  };

  // Redirects the import of the loaded bass.dll (once); false when it is not
  // loaded or writes nothing to wave-out.
  static bool Install() {
    std::lock_guard<std::mutex> lock(Mutex());
    if (Original() != nullptr) return true;
    const HMODULE bass = GetModuleHandleA("bass.dll");
    if (bass == nullptr) return false;
    Original() = reinterpret_cast<WaveOutWrite>(
        RedirectImport(bass, "winmm.dll", "waveOutWrite", reinterpret_cast<void*>(&NotingWrite)));
    return Original() != nullptr;
  }
  static void Clear() {
    std::lock_guard<std::mutex> lock(Mutex());
    Writes().clear();
  }
  // The writes since the last Clear, oldest first.
  static std::vector<Write> Taken() {
    std::lock_guard<std::mutex> lock(Mutex());
    return Writes();
  }

 private:
  using WaveOutWrite = MMRESULT(WINAPI*)(HWAVEOUT, LPWAVEHDR, UINT);

  // Called on whichever thread writes: the library's caller or its worker.
  static MMRESULT WINAPI NotingWrite(HWAVEOUT device, LPWAVEHDR header, UINT size) {
    const Write write{Clock::now(), GetCurrentThreadId(), GetThreadPriority(GetCurrentThread())};
    WaveOutWrite original;
    {
      std::lock_guard<std::mutex> lock(Mutex());
      Writes().push_back(write);
      original = Original();
    }
    return original(device, header, size);
  }

  // Points `module`'s import of `function` from `library` at `replacement`;
  // the function it pointed at, or null when the module has no such import.
  static void* RedirectImport(HMODULE module, const char* library, const char* function, void* replacement) {
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* nt =
        reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const auto& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); entry->Name != 0;
         ++entry) {
      if (lstrcmpiA(reinterpret_cast<const char*>(base + entry->Name), library) != 0) continue;
      auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
      auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
      for (; names->u1.AddressOfData != 0; ++names, ++slots) {
        if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
        const auto* named = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
        if (std::strcmp(reinterpret_cast<const char*>(named->Name), function) != 0) continue;
        DWORD protection = 0;
        VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection);
        void* original = reinterpret_cast<void*>(slots->u1.Function);
        slots->u1.Function = reinterpret_cast<DWORD_PTR>(replacement);
        VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
        return original;
      }
    }
    return nullptr;
  }

  static std::mutex& Mutex() {
    static std::mutex mutex;
    return mutex;
  }
  static WaveOutWrite& Original() {
    static WaveOutWrite original = nullptr;
    return original;
  }
  static std::vector<Write>& Writes() {
    static std::vector<Write> writes;
    return writes;
  }
};
