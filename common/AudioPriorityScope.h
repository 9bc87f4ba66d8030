// Raises the calling thread for work that makes a sound heard, for as long as
// the object lives, the way audio programs do on Windows:
// - it registers the thread with the multimedia class scheduler service
//   (MMCSS) as a "Pro Audio" task. While registered, the service runs the
//   thread in the real-time priority range for up to the share of each
//   processor that SystemResponsiveness leaves (80 % by default), so busy
//   programs at normal priority no longer delay it; and
// - it sets THREAD_PRIORITY_TIME_CRITICAL itself, the highest priority of a
//   normal-class process (15), above every normal thread and their dynamic
//   boosts (which stop at 15). That alone holds where the service is missing
//   or turned off, and under Wine, whose avrt.dll returns a handle and does
//   nothing else.
// avrt.dll (Vista and later) is loaded at run time from the system folder:
// without it only the plain priority applies.
//
// The destructor reverts the registration and puts back the priority the
// thread had before; both must happen on the thread that made the object, as
// AvRevertMmThreadCharacteristics requires. Use it only around the work that
// feeds or starts a sound: everything else stays at its normal priority.
#pragma once

#include <windows.h>

#include "Handles.h"

class AudioPriorityScope {
 public:
  // The plain priority a raised thread runs at (what GetThreadPriority reads
  // under Wine; on Windows the service may report its own level on top).
  static constexpr int kRaisedPriority = THREAD_PRIORITY_TIME_CRITICAL;

  AudioPriorityScope();
  ~AudioPriorityScope();
  AudioPriorityScope(const AudioPriorityScope&) = delete;
  AudioPriorityScope& operator=(const AudioPriorityScope&) = delete;

  // Whether the scheduler service took the thread (false without avrt.dll).
  bool Registered() const { return bool(m_task); }

 private:
  const int m_previousPriority;
  UniqueMmcssTask m_task;
};
