#include "ProgressWatch.h"

#include <cstdint>
#include <memory>

#include "AppMessages.h"
#include "PlaybackProgress.h"

namespace {

constexpr DWORD kPollMs = 500;

}  // namespace

// What the worker reads: copied at the start, owned by the thread; the
// player and the stop event outlive it (see the header).
struct ProgressWatch::Job {
  AudioPlayer* player;
  DWORD stream;
  HWND window;
  WPARAM which;
  WORD serial;
  HANDLE stop;
};

bool ProgressWatch::Start(AudioPlayer& player, DWORD stream, HWND window, int category, int index) {
  Stop();
  if (!m_stop) return false;
  ResetEvent(m_stop.Get());
  ++m_serial;
  m_which = Which(category, index);
  auto job = std::make_unique<Job>(Job{&player, stream, window, m_which, m_serial, m_stop.Get()});
  m_thread.Reset(CreateThread(nullptr, 0, &ProgressWatch::ThreadMain, job.get(), 0, nullptr));
  if (!m_thread) return false;
  job.release();  // the thread owns it now
  m_active = true;
  m_index = index;
  return true;
}

void ProgressWatch::RequestStop() {
  if (m_thread) SetEvent(m_stop.Get());
}

void ProgressWatch::Stop() {
  m_active = false;
  m_index = 0;
  if (!m_thread) return;
  RequestStop();
  WaitForSingleObject(m_thread.Get(), INFINITE);
  m_thread.Reset();
}

bool ProgressWatch::Accepts(WPARAM which, LPARAM value) const {
  return m_active && which == m_which && HIWORD(value) == m_serial;
}

DWORD WINAPI ProgressWatch::ThreadMain(void* parameter) {
  const std::unique_ptr<Job> job(static_cast<Job*>(parameter));
  const auto post = [&job](int percent) {
    PostMessageW(job->window, kMsgProgress, job->which, MAKELPARAM(percent, job->serial));
  };
  const std::uint64_t length = job->player->length(job->stream);
  for (;;) {
    const std::uint64_t position = job->player->position(job->stream);
    if (!KeepWatching(position, length, job->player->stream() == job->stream)) break;
    post(PlayedPercent(position, length));
    // Stopped from outside: the UI thread resets the button itself.
    if (WaitForSingleObject(job->stop, kPollMs) != WAIT_TIMEOUT) return 0;
  }
  post(0);
  return 0;
}
