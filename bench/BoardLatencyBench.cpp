// How quickly a click on a sound button starts its sound: a soundboard over a
// real framework window, its button clicked through the window's mouse
// messages, played by bass.dll with free and init on every play. Prints the
// median and 99th percentile of the time from the click until its handling
// has returned (the library's play call returned within it) and until
// bass.dll hands its first audio buffer to wave-out, quiet and with busy
// threads in another process.
//   board_latency_bench [plays] [--load N]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "../tests/audio/AudioMedia.h"
#include "../tests/audio/WaveOutWriteSpy.h"
#include "AppMessages.h"
#include "AudioPlayer.h"
#include "BusyLoad.h"
#include "ExFramework.h"
#include "ExHost.h"
#include "ExStyleFlags.h"
#include "ExTab.h"
#include "LatencyReport.h"
#include "MessagePump.h"
#include "SoundBoard.h"

namespace {

using Clock = std::chrono::steady_clock;

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

struct Figures {
  std::vector<double> toHandled, toFirstBuffer;
  int silent = 0;
};

// Clicks sound button 1 `plays` times.
Figures Measure(HWND window, SoundBoard& board, int plays) {
  const LPARAM middle = MAKELPARAM(20 + 35, 110 + 15);  // sound button 1
  Figures figures;
  for (int i = 0; i < plays; ++i) {
    WaveOutWriteSpy::Clear();
    const Clock::time_point start = Clock::now();
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    SendMessageW(window, WM_LBUTTONUP, 0, middle);
    figures.toHandled.push_back(Milliseconds(Clock::now() - start));
    std::vector<WaveOutWriteSpy::Write> writes;
    while ((writes = WaveOutWriteSpy::Taken()).empty() && Clock::now() - start < std::chrono::seconds(1)) Sleep(0);
    if (writes.empty()) {
      ++figures.silent;
    } else {
      figures.toFirstBuffer.push_back(Milliseconds(writes.front().at - start));
    }
    PumpMessages();
    Sleep(5);
  }
  board.Stop();
  return figures;
}

int Run(int plays, int load) {
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
  if (!WaveOutWriteSpy::Install()) {
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

  Figures quiet, loaded;
  if (!MeasureQuietAndLoaded(
          load, [&] { return Measure(window, *board, plays); }, &quiet, &loaded))
    return 1;
  board->Stop();
  std::printf("%d clicks on a sound button (free, init, open, volume, play each)\n", plays);
  ReportHeading(load);
  Report("until the click is handled", quiet.toHandled, load > 0 ? &loaded.toHandled : nullptr);
  Report("until the first buffer is written", quiet.toFirstBuffer, load > 0 ? &loaded.toFirstBuffer : nullptr);
  if (quiet.silent + loaded.silent > 0) {
    std::printf("%d plays wrote no buffer within a second\n", quiet.silent + loaded.silent);
  }
  board.reset();
  DestroyWindow(window);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int load = TakeLoadOption(argc, argv);
  const int plays = argc > 1 ? std::max(1, std::atoi(argv[1])) : 300;
  if (!ExFramework::Startup()) return 1;
  const int result = Run(plays, load);
  ExFramework::Shutdown();
  return result;
}
