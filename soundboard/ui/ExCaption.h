// The caption elements of a host window that its style flags ask for: the
// window icon, the title (the window text) and the system buttons. Owned by
// the host, which creates them at attach; the host's teardown destroys them
// with the rest of the tree before Reset frees the objects. UI thread only.
#pragma once

#include <memory>

#include "ExGeometry.h"
#include "Handles.h"

class ExImage;
class ExLabel;
class ExSystemButtons;

class ExCaption {
 public:
  ExCaption();
  ~ExCaption();
  ExCaption(const ExCaption&) = delete;
  ExCaption& operator=(const ExCaption&) = delete;

  void Create(HWND window, unsigned styleFlags, int width);
  // Lays the title and buttons out again for a new window width.
  void Place(unsigned styleFlags, int width);
  // Shows the window's current text as the title.
  void UpdateTitle(HWND window);
  void Reset();

  ExImage* Icon() const { return m_icon.get(); }
  ExLabel* Title() const { return m_title.get(); }
  ExSystemButtons* Buttons() const { return m_buttons.get(); }

 private:
  std::unique_ptr<ExImage> m_icon;
  std::unique_ptr<ExLabel> m_title;
  std::unique_ptr<ExSystemButtons> m_buttons;
};
