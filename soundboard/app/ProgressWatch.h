// Follows one playing sound for its button: a worker thread reads the
// stream's position every 500 ms and posts kMsgProgress to the main window,
// where the UI thread sets the button's progress. The worker never touches
// an element.
//
// Ownership: the watch object (UI thread) owns the thread and the stop event
// and joins the thread before either goes away. The thread owns a copy of
// everything it reads except the player, which the caller keeps alive until
// Stop has returned (the board's destructor stops every watch).
#pragma once

#include <windows.h>

#include "AudioPlayer.h"
#include "Handles.h"

class ProgressWatch {
 public:
  ProgressWatch() = default;
  ~ProgressWatch() { Stop(); }
  ProgressWatch(const ProgressWatch&) = delete;
  ProgressWatch& operator=(const ProgressWatch&) = delete;

  // Ends the previous watch of this object, then watches `stream` of
  // `player` for button `index` of `category`. The worker posts the played
  // percent while the sound goes on, and a last 0 when it ends by itself:
  // at the sound's end, on an error, or once `stream` is no longer the
  // player's current one. False when no thread could be started.
  bool Start(AudioPlayer& player, DWORD stream, HWND window, int category, int index);
  // Tells the worker to end without waiting for it: it makes at most the
  // player call it is in. Stop still follows.
  void RequestStop();
  // Signals the worker and waits for it; it posts nothing more. Messages it
  // posted before no longer count (Accepts is false for them).
  void Stop();

  // The button whose progress this watch drives, 0 when none.
  int Index() const { return m_active ? m_index : 0; }
  // Whether a kMsgProgress comes from the running watch of this object.
  bool Accepts(WPARAM which, LPARAM value) const;

  // kMsgProgress parameters: wParam = category << 16 | index, lParam = the
  // watch's serial number << 16 | percent.
  static WPARAM Which(int category, int index) { return static_cast<WPARAM>(category) << 16 | (index & 0xFFFF); }
  static int CategoryOf(WPARAM which) { return static_cast<int>(HIWORD(which)); }
  static int IndexOf(WPARAM which) { return static_cast<int>(LOWORD(which)); }
  static int PercentOf(LPARAM value) { return static_cast<int>(LOWORD(value)); }

 private:
  struct Job;
  static DWORD WINAPI ThreadMain(void* parameter);

  UniqueKernelHandle m_stop{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  UniqueKernelHandle m_thread;
  bool m_active = false;
  int m_index = 0;
  WPARAM m_which = 0;
  WORD m_serial = 0;
};
