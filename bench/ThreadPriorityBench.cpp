// Whether this system lets a raised thread beat busy threads of normal
// priority: a thread sleeps 1 ms 300 times and notes how late it wakes, once
// at normal priority and once raised as the soundboard raises its audio
// threads (AudioPriorityScope), quiet and with busy threads in another
// process. Where priorities are honoured, the raised thread wakes as late
// under load as when quiet; where they are not (Wine without the right to
// change Unix priorities), both wake as late as the busy threads let them.
//   thread_priority_bench [wake-ups] [--load N]
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

#include "AudioPriorityScope.h"
#include "BusyLoad.h"
#include "LatencyReport.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Figures {
  std::vector<double> normal, raised;
};

// How much later than asked a thread wakes from Sleep(1), in milliseconds.
std::vector<double> WakeLateness(int wakeUps, bool raise) {
  std::vector<double> lateness;
  std::thread sleeper([&] {
    std::unique_ptr<AudioPriorityScope> raised;
    if (raise) raised = std::make_unique<AudioPriorityScope>();
    for (int i = 0; i < wakeUps; ++i) {
      const Clock::time_point start = Clock::now();
      Sleep(1);
      lateness.push_back(Milliseconds(Clock::now() - start) - 1.0);
    }
  });
  sleeper.join();
  return lateness;
}

Figures Measure(int wakeUps) {
  return {WakeLateness(wakeUps, false), WakeLateness(wakeUps, true)};
}

// What the raise did to the thread: the priority it reads back and whether
// the scheduler service took it.
void PrintRaise() {
  std::thread probe([] {
    const AudioPriorityScope raised;
    std::printf("a raised thread reads priority %d (normal %d); the scheduler service %s it\n",
                GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_NORMAL,
                raised.Registered() ? "registered" : "did not register");
  });
  probe.join();
}

}  // namespace

int main(int argc, char** argv) {
  // Sleep(1) sleeps 1 ms only with the timer at its finest.
  timeBeginPeriod(1);
  const int load = TakeLoadOption(argc, argv);
  const int wakeUps = argc > 1 ? std::max(1, std::atoi(argv[1])) : 300;
  PrintRaise();
  Figures quiet, loaded;
  if (!MeasureQuietAndLoaded(
          load, [&] { return Measure(wakeUps); }, &quiet, &loaded))
    return 1;
  std::printf("%d wake-ups from Sleep(1): how late each came\n", wakeUps);
  ReportHeading(load);
  Report("normal-priority thread", quiet.normal, load > 0 ? &loaded.normal : nullptr);
  Report("raised thread", quiet.raised, load > 0 ? &loaded.raised : nullptr);
  timeEndPeriod(1);
  return 0;
}
