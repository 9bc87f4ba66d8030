#include "ExTab.h"

#include <windowsx.h>

#include "ExFramework.h"
#include "ExImageLoader.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

constexpr ARGB kCurrentHeader = 0x8CD42A30;  // translucent red
constexpr ARGB kHoveredHeader = 0x1EFFFFFF;
constexpr ARGB kCurrentTitle = 0xFEFFFFFF;
constexpr ARGB kOtherTitle = 0xA0FFFFFF;
constexpr ARGB kAccent = 0xE6E0393E;
constexpr ARGB kSeparator = 0x28FFFFFF;

}  // namespace

ExHandle ExTab::Create(const ExParent& parent, const ExRectF& rect, bool visible) {
  Destroy();
  m_pages.clear();
  m_current = 0;
  m_hoveredHeader = -1;
  m_title.Format().SetAlignment(StringAlignmentNear);
  m_title.Format().SetLineAlignment(StringAlignmentCenter);
  m_title.Format().SetTrimming(StringTrimmingEllipsisCharacter);
  ExElementStyle style;
  style.typeCode = kExTypeTab;
  style.visible = visible;
  style.interactive = false;
  return ExElement::Create(parent, rect, style);
}

void ExTab::SetHeaderMetrics(const ExTabMetrics& metrics) {
  m_metrics = metrics;
  Repaint();
}

int ExTab::AddPage(const std::string& title, const void* icon, size_t iconSize) {
  m_pages.push_back({AnsiToWide(title), ExDecodeImage(icon, iconSize), {}});
  if (m_current == 0) m_current = 1;
  Repaint();
  return PageCount();
}

int ExTab::PlaceItem(int page, std::uintptr_t item, ExTabItemKind kind) {
  if (page < 1 || page > PageCount() || item == 0) return PageCount();
  m_pages[page - 1].items.push_back({item, kind});
  ApplyPage();
  return PageCount();
}

void ExTab::SetCurrentPage(int page) {
  if (page < 1 || page > PageCount()) return;
  m_current = page;
  ApplyPage();
}

void ExTab::ApplyPage() {
  for (int i = 1; i <= PageCount(); ++i) {
    const bool shown = i == m_current;
    // A copy: showing an element may run handlers that place more items.
    const std::vector<Item> items = m_pages[i - 1].items;
    for (const Item& item : items) {
      if (item.kind == ExTabItemKind::kWindow) {
        HWND window = reinterpret_cast<HWND>(item.handle);
        if (IsWindow(window)) ShowWindow(window, shown ? SW_SHOW : SW_HIDE);
      } else if (ExElement* element = FromHandle(item.handle)) {
        element->SetVisible(shown);
      }
    }
  }
  Repaint();
}

int ExTab::HeaderUnder(LPARAM windowPoint) const {
  return TabHeaderAt(m_metrics, PageCount(), GET_X_LPARAM(windowPoint) - Left(), GET_Y_LPARAM(windowPoint) - Top());
}

void ExTab::SetHoveredHeader(int header) {
  if (header == m_hoveredHeader) return;
  m_hoveredHeader = header;
  Repaint();
}

LRESULT ExTab::ClassProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEMOVE:
      SetHoveredHeader(HeaderUnder(lParam));
      break;
    case EXM_MOUSELEAVE:
      SetHoveredHeader(-1);
      break;
    case EXM_WANTPRESS:
      // A press on a header belongs to the tab; elsewhere it may drag the window.
      return m_hoveredHeader >= 0 ? 1 : kExUndecided;
    case WM_LBUTTONDOWN: {
      const int header = HeaderUnder(lParam);
      if (header >= 0 && header + 1 != m_current) SetCurrentPage(header + 1);
      break;
    }
    default:
      break;
  }
  return ExControl::ClassProc(message, wParam, lParam);
}

void ExTab::Paint(GpGraphics* graphics, const ExRectF& area) {
  if (PageCount() == 0) return;
  const ExRectF row = TabHeaderRect(m_metrics, 0);
  ExFillRect(graphics, {0, row.y + row.height, area.width, 1}, kSeparator);
  for (int index = 0; index < PageCount(); ++index) {
    const ExRectF header = TabHeaderRect(m_metrics, index);
    const bool current = index + 1 == m_current;
    const ExRectF face{header.x + 2, header.y + 1, header.width - 4, header.height - 1};
    if (current || index == m_hoveredHeader) {
      UniqueGpPath shape = ExRoundedPath({face.x, face.y, face.width, face.height + 6}, 5);
      GdipSetClipRect(graphics, face.x, face.y, face.width, face.height, CombineModeReplace);
      ExFillGradient(graphics, face, shape.Get(), current ? kCurrentHeader : kHoveredHeader,
                     current ? (kCurrentHeader & 0x00FFFFFF) | 0x50000000 : 0x08FFFFFF, true);
      GdipResetClip(graphics);
    }
    if (current) ExFillRect(graphics, {face.x, header.y + header.height - 2, face.width, 2}, kAccent);
    float textLeft = face.x + 6;
    const Page& page = m_pages[index];
    if (page.icon) {
      UINT width = 0;
      UINT height = 0;
      GdipGetImageWidth(page.icon.Get(), &width);
      GdipGetImageHeight(page.icon.Get(), &height);
      const float top = header.y + (header.height - height) / 2;
      GdipDrawImageRect(graphics, page.icon.Get(), textLeft, top, static_cast<REAL>(width), static_cast<REAL>(height));
      textLeft += width + 4;
    }
    m_title.SetColour(current ? kCurrentTitle : kOtherTitle);
    m_title.SetText(page.title);
    m_title.Draw(graphics, {textLeft, header.y, face.x + face.width - textLeft, header.height});
  }
}
