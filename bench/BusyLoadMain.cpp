// busy_load.exe <threads> <stop event> <ready event> <parent process>: spins
// the given number of threads at normal priority until the stop event is set
// or the parent ends (the handles are inherited, given by value). Started by
// BusyLoad for the benchmarks.
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

HANDLE HandleArgument(const char* text) {
  return reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(std::strtoul(text, nullptr, 10)));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) return 2;
  const int threads = std::atoi(argv[1]);
  const HANDLE stop = HandleArgument(argv[2]);
  const HANDLE ready = HandleArgument(argv[3]);
  const HANDLE parent = HandleArgument(argv[4]);
  if (threads < 1 || threads > 64) return 2;

  std::atomic<bool> done{false};
  std::vector<std::thread> spinners;
  for (int i = 0; i < threads; ++i) {
    spinners.emplace_back([&done] {
      volatile unsigned spins = 0;
      while (!done.load(std::memory_order_relaxed)) spins = spins + 1;
    });
  }
  SetEvent(ready);
  const HANDLE waits[] = {stop, parent};
  WaitForMultipleObjects(2, waits, FALSE, INFINITE);
  done = true;
  for (std::thread& spinner : spinners) spinner.join();
  return 0;
}
