// How quickly a click on a sound button starts its sound: a soundboard over a
// real framework window, its button clicked through the window's mouse
// messages, played by bass.dll with free and init on every play. Prints the
// median and 99th percentile of the time from the click until its handling
// has returned (the library's play call returned within it) and until
// bass.dll hands its first audio buffer to wave-out.
//   board_latency_bench [plays]
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "../tests/audio/AudioMedia.h"
#include "AppMessages.h"
#include "AudioPlayer.h"
#include "ExFramework.h"
#include "ExHost.h"
#include "ExStyleFlags.h"
#include "ExTab.h"
#include "LatencyReport.h"
#include "SoundBoard.h"

namespace {

using Clock = std::chrono::steady_clock;
using WaveOutWrite = MMRESULT(WINAPI*)(HWAVEOUT, LPWAVEHDR, UINT);

WaveOutWrite g_waveOutWrite = nullptr;
// Ticks of the first buffer written since the last reset, 0 while none was;
// written by the library's worker thread.
std::atomic<Clock::rep> g_firstWrite{0};

MMRESULT WINAPI NotingWaveOutWrite(HWAVEOUT device, LPWAVEHDR header, UINT size) {
  Clock::rep none = 0;
  g_firstWrite.compare_exchange_strong(none, Clock::now().time_since_epoch().count());
  return g_waveOutWrite(device, header, size);
}

// Points `module`'s import of `function` from `library` at `replacement`;
// the function it pointed at, or null when the module has no such import.
void* RedirectImport(HMODULE module, const char* library, const char* function, void* replacement) {
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

// A program folder in %TEMP% with one sound in the first category; gone
// with the object.
class ProgramFolder {
 public:
  ProgramFolder() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    m_folder = std::string(temp) + "board_latency_bench";
    CreateDirectoryA(m_folder.c_str(), nullptr);
    CreateDirectoryA(Sounds().c_str(), nullptr);
    CopyFileA(MediaPath("cbr.mp3").c_str(), Sound().c_str(), FALSE);
  }
  ~ProgramFolder() {
    DeleteFileA(Sound().c_str());
    RemoveDirectoryA(Sounds().c_str());
    RemoveDirectoryA(m_folder.c_str());
  }
  const std::string& Path() const { return m_folder; }

 private:
  std::string Sounds() const { return m_folder + "\\主持音效"; }
  std::string Sound() const { return Sounds() + "\\sound.mp3"; }

  std::string m_folder;
};

void HandleMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

int Run(int plays) {
  ExWindowOptions options;
  options.width = 430;
  options.height = 320;
  HWND window = ExCreateWindow(options);
  ExHost host;
  ExAttachOptions attach;
  attach.styleFlags = kExAttached;
  attach.dragAnywhere = false;
  if (window == nullptr || !host.Attach(window, nullptr, 0, attach)) {
    std::fprintf(stderr, "no framework window\n");
    return 1;
  }
  ExTab tab;
  tab.Create(window, {1, 70, 430, 260});
  tab.AddPage("sounds");

  AudioPlayer player;
  player.free();  // loads bass.dll
  const HMODULE bass = GetModuleHandleA("bass.dll");
  g_waveOutWrite = bass != nullptr
                       ? reinterpret_cast<WaveOutWrite>(RedirectImport(bass, "winmm.dll", "waveOutWrite",
                                                                       reinterpret_cast<void*>(&NotingWaveOutWrite)))
                       : nullptr;
  if (g_waveOutWrite == nullptr) {
    std::fprintf(stderr, "bass.dll is missing or does not write to wave-out\n");
    return 1;
  }

  auto board = std::make_unique<SoundBoard>(player);
  host.SetMessageHook([&board](HWND, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message != kMsgProgress) return kExUndecided;
    board->OnProgress(wParam, lParam);
    return 0;
  });
  const ProgramFolder programFolder;
  board->BuildCategory(1, window, tab, programFolder.Path());
  if (board->SoundPath(1, 1).empty()) {
    std::fprintf(stderr, "no sound to play\n");
    return 1;
  }

  const LPARAM middle = MAKELPARAM(20 + 35, 110 + 15);  // sound button 1
  std::vector<double> toHandled, toFirstBuffer;
  int silent = 0;
  for (int i = 0; i < plays; ++i) {
    g_firstWrite = 0;
    const Clock::time_point start = Clock::now();
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    SendMessageW(window, WM_LBUTTONUP, 0, middle);
    toHandled.push_back(Milliseconds(Clock::now() - start));
    while (g_firstWrite == 0 && Clock::now() - start < std::chrono::seconds(1)) Sleep(0);
    if (g_firstWrite == 0) {
      ++silent;
    } else {
      toFirstBuffer.push_back(Milliseconds(Clock::duration(g_firstWrite.load()) - start.time_since_epoch()));
    }
    HandleMessages();
    Sleep(5);
  }
  board->Stop();
  std::printf("%d clicks on a sound button (free, init, open, volume, play each)\n", plays);
  Report("until the click is handled", toHandled);
  Report("until the first buffer is written", toFirstBuffer);
  if (silent) std::printf("%d plays wrote no buffer within a second\n", silent);
  board.reset();
  DestroyWindow(window);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int plays = argc > 1 ? std::max(1, std::atoi(argv[1])) : 300;
  if (!ExFramework::Startup()) return 1;
  const int result = Run(plays);
  ExFramework::Shutdown();
  return result;
}
