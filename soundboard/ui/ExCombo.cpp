#include "ExCombo.h"

#include <algorithm>

#include "ExFramework.h"
#include "ExHost.h"
#include "ExImageLoader.h"
#include "ExListBox.h"
#include "ExPaint.h"
#include "ExPopup.h"
#include "ExPopupGeometry.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

constexpr float kArrowWidth = 20.0f;
constexpr float kEditInset = 2.0f;
constexpr float kColumnMargin = 10.0f;  // room for the list's scroll bar
constexpr ARGB kOpenFrame = 0xBE0060C0;
constexpr ARGB kArrowColour = 0xB0000000;
constexpr char kDropDownTitle[] = "Ex_LayerUI_Combox";

}  // namespace

// ---- ExComboEdit --------------------------------------------------------------

LRESULT ExComboEdit::ClassProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_combo.m_dropStyle == ExDropStyle::kPickOnly) {
    switch (message) {
      case EXM_WANTPRESS:
        return 1;
      case WM_LBUTTONDOWN:
        // The combo takes the focus, so Down and F4 open the list again.
        if (ExHost* host = m_combo.Host()) host->SetFocus(m_combo.Handle());
        return m_combo.Dispatch(message, wParam, lParam);
      case WM_MOUSEMOVE:
      case WM_LBUTTONUP:
      case WM_RBUTTONUP:
        return 0;  // no caret, selection or clipboard menu in a field the user cannot edit
      default:
        break;
    }
  }
  return ExEdit::ClassProc(message, wParam, lParam);
}

// ---- ExCombo ------------------------------------------------------------------

ExCombo::ExCombo() : m_alive(std::make_shared<bool>(true)) {}

ExCombo::~ExCombo() {
  *m_alive = false;
  if (m_dropDown != nullptr && IsWindow(m_dropDown)) DestroyWindow(m_dropDown);  // ends the nested loop
}

ExHandle ExCombo::Create(HWND parent, const ExRectF& rect, const ExComboOptions& options) {
  Destroy();
  m_items = options.items;
  m_values.assign(m_items.size(), 0);
  m_current = 0;
  m_dropStyle = options.dropStyle;
  m_textColour = options.textColour;
  m_listTextColour = options.listTextColour.value_or(options.textColour);
  m_fieldColour = options.fieldColour;
  m_frameColour = options.frameColour;
  ExElementStyle style;
  style.typeCode = kExComboTypeCode;
  style.visible = options.visible;
  const ExHandle handle = ExElement::Create(parent, rect, style);
  if (handle == 0) return 0;

  ExEditOptions field;
  field.text = options.text;
  field.textColour = options.textColour;
  field.backgroundColour = 0;
  field.borderColour = 0;
  field.fontFamily = options.fontFamily;
  field.fontSize = options.fontSize;
  field.fontStyle = options.fontStyle;
  field.mode = m_dropStyle == ExDropStyle::kPickOnly ? ExInputMode::kReadOnly : ExInputMode::kNormal;
  m_edit.Create(handle, FieldRect(), field);
  if (m_dropStyle == ExDropStyle::kPickOnly) m_edit.SetInteractive(false);  // the combo keeps the focus
  return handle;
}

int ExCombo::AddItem(const std::string& text, intptr_t value) {
  m_items.push_back(text);
  m_values.push_back(value);
  return ItemCount();
}

std::string ExCombo::ItemText(int index) const {
  return index >= 1 && index <= ItemCount() ? m_items[index - 1] : std::string();
}

intptr_t ExCombo::ItemValue(int index) const {
  return index >= 1 && index <= ItemCount() ? m_values[index - 1] : 0;
}

void ExCombo::SetCurrentIndex(int index) {
  if (index < 1 || index > ItemCount()) return;
  m_current = index;
  m_edit.SetText(m_items[index - 1]);
}

bool ExCombo::SetArrowImage(const void* bytes, size_t size) {
  m_arrowImage = ExDecodeImage(bytes, size);
  Repaint();
  return static_cast<bool>(m_arrowImage);
}

ExRectF ExCombo::FieldRect() const {
  return {Left() + kEditInset, Top() + kEditInset, std::max(0.0f, Width() - 2 * kEditInset - kArrowWidth),
          std::max(0.0f, Height() - 2 * kEditInset)};
}

ExPixelRect ExCombo::ScreenRect() const {
  RECT window = {};
  GetWindowRect(Window(), &window);
  const ExPixelRect local = PixelBounds(Rect());
  return {window.left + local.left, window.top + local.top, window.left + local.right, window.top + local.bottom};
}

void ExCombo::DropDown() {
  if (m_open || Handle() == 0) return;
  const std::shared_ptr<bool> alive = m_alive;
  m_open = true;
  Repaint();
  // A press that opened the list must not keep the mouse captured by the
  // owner window: the list's own clicks would go there.
  if (GetCapture() == Window()) ReleaseCapture();
  if (m_onBeforeOpen) m_onBeforeOpen();
  if (!*alive) return;
  if (Handle() == 0) {
    m_open = false;
    return;
  }

  const ExPixelRect combo = ScreenRect();
  const ExPixelRect place = DropDownPlacement(combo, DropDownHeight(ItemCount()),
                                              ExWorkArea({combo.left, combo.top, combo.right, combo.bottom}));
  int picked = 0;
  {
    // On this frame, not in the object: the combo may be destroyed while the
    // loop runs, and these must live until the window is gone.
    ExHost host;
    ExListBox list;
    HWND popup = ExOpenPopupWindow(host, ExPopupKind::kDropDown, kDropDownTitle, Window(), place);
    const float width = static_cast<float>(place.Width());
    const float height = static_cast<float>(place.Height());
    if (popup != nullptr && list.Create(popup, {1, 1, width - 2, height - 2}, ExListColours{}, m_listTextColour) != 0) {
      list.SetColumnWidth(width - kColumnMargin);
      list.SetRows(m_items);
      const std::string shown = m_edit.Text();
      const auto match = std::find(m_items.begin(), m_items.end(), shown);
      if (match != m_items.end()) {
        const int row = static_cast<int>(match - m_items.begin()) + 1;
        list.SetSelected(row);
        list.ScrollIntoView(row);
      }
      list.OnPick([&picked, popup](int row) {
        picked = row;
        PostMessageW(popup, WM_CLOSE, 0, 0);
      });
      m_dropDown = popup;
      ShowWindow(popup, SW_SHOWNORMAL);
      SetForegroundWindow(popup);
      host.SetFocus(list.Handle());
      ExRunPopupLoop(popup);
    } else if (popup != nullptr) {
      DestroyWindow(popup);
    }
  }
  if (!*alive) return;
  m_dropDown = nullptr;
  m_open = false;
  if (Handle() == 0) return;  // destroyed with its window while the list was open
  Repaint();
  if (m_onAfterClose) m_onAfterClose();
  if (!*alive || Handle() == 0 || picked < 1 || picked > ItemCount()) return;
  SetCurrentIndex(picked);
  if (m_onSelectionChanged) m_onSelectionChanged(picked);
}

void ExCombo::Paint() {
  GpGraphics* graphics = Graphics();
  if (graphics == nullptr) return;
  GdipGraphicsClear(graphics, 0);
  const float width = Width();
  const float height = Height();
  ExFillRect(graphics, {0, 0, width, height}, m_fieldColour);
  ExFrame(graphics, {0, 0, width, height}, 0, m_open ? kOpenFrame : m_frameColour);
  const float arrowLeft = width - kArrowWidth;
  if (m_arrowImage) {
    UINT imageWidth = 0;
    UINT imageHeight = 0;
    GdipGetImageWidth(m_arrowImage.Get(), &imageWidth);
    GdipGetImageHeight(m_arrowImage.Get(), &imageHeight);
    const float frameWidth = imageWidth / 2.0f;
    GdipDrawImageRectRect(graphics, m_arrowImage.Get(), arrowLeft, 0, kArrowWidth, height, m_open ? frameWidth : 0, 0,
                          frameWidth, static_cast<REAL>(imageHeight), UnitPixel, nullptr, nullptr, nullptr);
    return;
  }
  const float middleX = arrowLeft + kArrowWidth / 2;
  const float middleY = height / 2;
  const PointF arrow[] = {{middleX - 4, middleY - 2}, {middleX + 4, middleY - 2}, {middleX, middleY + 3}};
  ExFillPolygon(graphics, m_open ? kOpenFrame : kArrowColour, arrow, 3);
}

LRESULT ExCombo::ClassProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_LBUTTONDOWN:
      DropDown();
      return 0;
    case WM_KEYDOWN:
      if (wParam != VK_DOWN && wParam != VK_F4) return kExUndecided;
      DropDown();
      return 0;
    case EXM_MOVED:
      if (m_edit.Handle() != 0) m_edit.SetRect(FieldRect());
      return 0;
    case WM_DESTROY:
      if (m_dropDown != nullptr && IsWindow(m_dropDown)) DestroyWindow(m_dropDown);
      return 0;
    default:
      return ExElement::ClassProc(message, wParam, lParam);
  }
}
