// ExTab: a tab control. It draws a row of page headers (icon and title) and
// shows the items placed on the current page: elements through their
// visibility, native windows through ShowWindow. A click on a header makes
// its page current.
#pragma once

#include <string>
#include <vector>

#include "ExControlLogic.h"
#include "ExControl.h"
#include "ExText.h"

constexpr int kExTypeTab = 13;

enum class ExTabItemKind { kElement = 0, kWindow = 1 };

class ExTab : public ExControl {
 public:
  ExHandle Create(const ExParent& parent, const ExRectF& rect, bool visible = true);

  void SetHeaderMetrics(const ExTabMetrics& metrics);
  const ExTabMetrics& HeaderMetrics() const { return m_metrics; }
  // Appends a page with an ANSI title and an icon (image bytes, may be
  // empty); the first page becomes the current one. Returns the page count.
  int AddPage(const std::string& title, const void* icon = nullptr, size_t iconSize = 0);
  int PageCount() const { return static_cast<int>(m_pages.size()); }
  // Puts an element handle or a window handle on page `page` (from 1) and
  // re-applies the current page. A page beyond the count is left alone.
  // Returns the page count.
  int PlaceItem(int page, std::uintptr_t item, ExTabItemKind kind);
  // From 1; 0 while there are no pages.
  int CurrentPage() const { return m_current; }
  // Shows the items of `page` and hides the others; ignored out of range.
  void SetCurrentPage(int page);

 protected:
  LRESULT ClassProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint(Gdiplus::GpGraphics* graphics, const ExRectF& area) override;

 private:
  struct Item {
    std::uintptr_t handle;
    ExTabItemKind kind;
  };
  struct Page {
    std::wstring title;
    UniqueGpBitmap icon;
    std::vector<Item> items;
  };

  void ApplyPage();
  int HeaderUnder(LPARAM windowPoint) const;
  void SetHoveredHeader(int header);

  ExTabMetrics m_metrics;
  std::vector<Page> m_pages;
  int m_current = 0;
  int m_hoveredHeader = -1;
  ExText m_title{0xFFFFFFFF};
};
