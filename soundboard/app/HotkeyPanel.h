// The hotkey panel: it lies to the right of the main window and slides into
// view, by widening the window, when a sound button is right-clicked. Its
// edit box captures a key; "确定" binds it to the sound, "取消全部热键"
// deletes the binding file.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

class HotkeyPanel {
 public:
  // A key was bound to sound button `index` of `category`.
  using BoundHandler = std::function<void(int category, int index, const std::string& keyName)>;

  explicit HotkeyPanel(std::string bindingFile);
  ~HotkeyPanel();
  HotkeyPanel(const HotkeyPanel&) = delete;
  HotkeyPanel& operator=(const HotkeyPanel&) = delete;

  // Builds the panel from x = `width` on, for a window `width` x `height`.
  void Create(HWND window, int width, int height, BoundHandler onBound);
  // Shows the panel for one sound and slides it out.
  void OpenFor(int category, int index, const std::string& soundName, const std::string& path,
               const std::string& keyName);
  // Slides the panel shut (when it is out).
  void Close();
  // kMsgPanelSlide from the slide worker.
  void OnSlideStep(int width);

 private:
  const std::string m_bindingFile;
  HWND m_window = nullptr;
};
