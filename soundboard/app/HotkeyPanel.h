// The hotkey panel: it lies to the right of the main window and slides into
// view, by widening the window, when a sound button is right-clicked. Its
// edit box captures a key; "确定" binds it to the sound (the path the sound
// label's tag holds), "取消全部热键" clears every binding.
//
// Everything runs on the UI thread except the slide worker, which only
// sleeps and posts kMsgPanelSlide with the next window width; the panel owns
// that thread and joins it before it goes.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "ExButton.h"
#include "ExEdit.h"
#include "ExLabel.h"

class HotkeyPanel {
 public:
  // The binding file changed: a key was bound, or every binding cleared.
  using ChangeHandler = std::function<void()>;

  explicit HotkeyPanel(std::string bindingFile);
  ~HotkeyPanel();
  HotkeyPanel(const HotkeyPanel&) = delete;
  HotkeyPanel& operator=(const HotkeyPanel&) = delete;

  // Builds the panel from x = `width` on, for a window `width` x `height`
  // (its closed size); open, the window is 210 pixels wider.
  void Create(HWND window, int width, int height, ChangeHandler onChanged);
  // Shows the panel for one sound, with the keys that play it now (their
  // names; "" for none), and slides it out.
  void OpenFor(const std::string& soundName, const std::string& path, const std::string& keyNames);
  // Slides the panel shut (when it is out).
  void Close();
  // kMsgPanelSlide from the slide worker.
  void OnSlideStep(int width);

  // True when `focused` is the key field, which takes every key: a binding
  // is made by pressing the key there.
  bool HasKeyField(ExHandle focused) const { return focused != 0 && focused == m_keyField.Handle(); }
  // A key pressed in the key field, also one that arrives as a system key
  // (F10, a key with Alt held).
  void OnKeyFieldKey(UINT key);

  // The key the edit box holds for binding (0 = none).
  UINT CapturedKey() const { return m_capturedKey; }

 private:
  enum class Slide { kNone, kOpen, kClose };

  void CreateLabels(int width);
  void OnClearAll();
  void OnConfirm();
  // Forgets what the panel showed for the sound it was opened for before.
  void Reset();

  // A slide asked for while another runs waits for it, so the two never
  // fight over the width; the last one asked for wins.
  void RequestSlide(Slide slide);
  void StartSlide(Slide slide);
  void JoinSlider();
  int WindowWidth() const;

  const std::string m_bindingFile;
  HWND m_window = nullptr;
  int m_closedWidth = 0;
  ChangeHandler m_onChanged;

  ExLabel m_separator;
  ExLabel m_backdrop;
  ExLabel m_title;
  ExLabel m_sound;  // its tag holds the selected sound's path
  ExLabel m_current;
  ExLabel m_hint;
  ExLabel m_status;
  ExLabel m_advice;
  ExEdit m_keyField;
  ExButton m_confirm;
  ExButton m_clearAll;

  UINT m_capturedKey = 0;

  // The width the running slide ends at (0 when none runs) and the slide
  // waiting for it; both UI thread only.
  int m_slideTarget = 0;
  Slide m_pendingSlide = Slide::kNone;
  // The worker reads only m_stopSlide, which outlives it.
  std::thread m_slider;
  std::atomic<bool> m_stopSlide{false};
};
