// ExListBox: the list inside a combo drop-down. Rows of text 19 pixels apart
// in one column, a hovered and a selected row in highlight colours, a
// vertical scroll bar when the rows do not fit, and a callback for the row
// the user picks (a click, or Enter on the selected row).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ExElement.h"
#include "ExScrollBar.h"

// The six colours, in the order the combo passes them.
struct ExListColours {
  Gdiplus::ARGB backgroundTop = 0xFEFFFFFF;
  Gdiplus::ARGB backgroundBottom = 0xFEFFFFFF;
  Gdiplus::ARGB hovered = 0xBE0060C0;
  Gdiplus::ARGB selected = 0xBE0060C0;
  Gdiplus::ARGB rowLine = 0x00FFFFFF;  // between rows
  Gdiplus::ARGB frame = 0x00000000;
};

class ExListBox : public ExElement {
 public:
  ExHandle Create(HWND window, const ExRectF& rect, const ExListColours& colours, Gdiplus::ARGB textColour);

  // One column of `width` pixels; rows are ANSI text.
  void SetColumnWidth(float width);
  void SetRows(std::vector<std::string> rows);
  int RowCount() const { return static_cast<int>(m_rows.size()); }
  // Rows count from 1; 0 = none.
  int Selected() const { return m_selected; }
  void SetSelected(int row);
  int Hovered() const { return m_hovered; }
  int FirstVisibleRow() const { return m_firstRow + 1; }
  bool Scrolls() const;
  // Scrolls so that `row` (from 1) is in view.
  void ScrollIntoView(int row);
  // Called with the picked row, from 1.
  void OnPick(std::function<void(int row)> handler) { m_onPick = std::move(handler); }

 protected:
  LRESULT ClassProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  float ViewHeight() const { return Height() - 4; }
  int RowUnder(LPARAM point) const;  // from 1, or 0
  void ScrollTo(int firstRow);
  void Pick(int row);
  void Paint();

  ExListColours m_colours;
  Gdiplus::ARGB m_textColour = 0xFF000000;
  float m_columnWidth = 0;
  std::vector<std::wstring> m_rows;
  int m_selected = 0;
  int m_hovered = 0;
  int m_firstRow = 0;  // from 0
  ExScrollBar m_scrollBar;
  std::function<void(int)> m_onPick;
};
