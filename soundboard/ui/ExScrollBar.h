// ExScrollBar: a thin scroll bar element with an arrow at each end, a track
// and a thumb, used inside edit boxes and lists. It takes presses without
// taking the focus from the control it belongs to.
#pragma once

#include <functional>

#include "ExElement.h"

class ExScrollBar : public ExElement {
 public:
  // `parent` is the control the bar scrolls; `rect` in window coordinates.
  ExHandle Create(ExHandle parent, const ExRectF& rect, bool vertical);

  // Positions run from 0 to `maximum`; `page` is how much one view shows.
  void SetRange(int maximum, int page);
  int Maximum() const { return m_maximum; }
  int Position() const { return m_position; }
  // Moves the thumb without calling the scroll handler.
  void SetPosition(int position);
  // Called with the new position whenever the user moves the bar.
  void OnScroll(std::function<void(int position)> handler) { m_onScroll = std::move(handler); }

 protected:
  LRESULT ClassProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  struct Parts {
    float trackStart, trackLength, thumbStart, thumbLength;
  };
  Parts Measure() const;
  float Along(LPARAM point) const;  // pointer position along the bar, element-relative
  void OnPress(LPARAM point);
  void OnDrag(LPARAM point);
  void ScrollTo(int position);
  void Paint();

  bool m_vertical = true;
  int m_maximum = 0;
  int m_page = 1;
  int m_position = 0;
  bool m_dragging = false;
  float m_grabOffset = 0;  // pointer distance from the thumb's start while dragging
  std::function<void(int)> m_onScroll;
};
