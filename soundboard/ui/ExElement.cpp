#include "ExElement.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "ExHost.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

// Hands out element handles: the address of a heap slot that holds the
// element, valid from creation to destruction. Lookups go through the table,
// so a stale handle finds nothing instead of a dead object. Guarded because
// Post may run on worker threads.
class HandleTable {
 public:
  static HandleTable& Get() {
    static HandleTable table;
    return table;
  }

  ExHandle Register(ExElement* element) {
    auto slot = std::make_unique<ExElement*>(element);
    const auto handle = reinterpret_cast<ExHandle>(slot.get());
    std::lock_guard<std::mutex> lock(m_mutex);
    m_slots.emplace(handle, std::move(slot));
    return handle;
  }

  void Unregister(ExHandle handle) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_slots.erase(handle);
  }

  ExElement* Find(ExHandle handle) {
    if (handle == 0) return nullptr;
    std::lock_guard<std::mutex> lock(m_mutex);
    auto found = m_slots.find(handle);
    return found == m_slots.end() ? nullptr : *found->second;
  }

 private:
  std::mutex m_mutex;
  std::unordered_map<ExHandle, std::unique_ptr<ExElement*>> m_slots;
};

// A pair bound to 515 stands for the marked second press of a double click;
// a real 515 never reaches elements. A pair bound to 513 takes that press too.
bool HandlerMatches(UINT bound, UINT message, WPARAM wParam) {
  if (bound == WM_LBUTTONDBLCLK) return message == WM_LBUTTONDOWN && wParam == EXM_DBLCLK_MARK;
  return bound == message;
}

int BitmapExtent(float length) {
  return std::max(1, static_cast<int>(std::ceil(length)));
}

}  // namespace

ExElement::~ExElement() {
  if (m_self == 0) return;
  // Only reached for an element whose object ends while it is still in a
  // window: its class is gone already, so no procedure or handler may run.
  // Its children are objects of their own and are destroyed properly.
  while (FirstChild() != nullptr) FirstChild()->DestroyAll(false);
  Withdraw(true);
}

ExElement* ExElement::FromHandle(ExHandle handle) {
  return HandleTable::Get().Find(handle);
}

ExHandle ExElement::Create(HWND parent, const ExRectF& rect, const ExElementStyle& style) {
  Destroy();
  ExHost* host = ExHost::FromWindow(parent);
  if (host == nullptr) return 0;
  return CreateIn(parent, host, nullptr, rect, style);
}

ExHandle ExElement::Create(ExHandle parent, const ExRectF& rect, const ExElementStyle& style) {
  Destroy();
  ExElement* parentElement = FromHandle(parent);
  if (parentElement == nullptr || parentElement->m_host == nullptr) return 0;
  if (ExHost::FromWindow(parentElement->m_window) != parentElement->m_host) return 0;
  return CreateIn(parentElement->m_window, parentElement->m_host, parentElement, rect, style);
}

ExHandle ExElement::CreateIn(HWND window, ExHost* host, ExElement* parent, const ExRectF& rect,
                             const ExElementStyle& style) {
  m_window = window;
  m_host = host;
  m_rect = {rect.x, rect.y, std::max(0.0f, rect.width), std::max(0.0f, rect.height)};
  m_previousRect = m_rect;
  m_opacity = 255;
  m_typeCode = style.typeCode;
  m_cursor = style.cursor;
  m_visible = style.visible;
  m_interactive = style.interactive;
  m_disabled = false;
  m_redraw = true;
  m_animationPeriod = style.animationPeriod;
  if (!CreateBitmap()) {
    m_window = nullptr;
    m_host = nullptr;
    return 0;
  }
  m_self = HandleTable::Get().Register(this);
  host->Tree().Link(*this, parent);
  const ExHandle self = m_self;
  Dispatch(WM_CREATE, reinterpret_cast<WPARAM>(m_bitmap.Get()), reinterpret_cast<LPARAM>(m_graphics.Get()));
  if (FromHandle(self) != this) return 0;  // a creation handler destroyed it again
  Render();
  RedrawArea();
  return m_self;
}

bool ExElement::CreateBitmap() {
  const bool container = m_typeCode == kExTypeContainer;
  const int width = container ? 1 : BitmapExtent(m_rect.width);
  const int height = container ? 1 : BitmapExtent(m_rect.height);
  m_graphics.Reset();
  m_bitmap.Reset();
  if (GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppPARGB, nullptr, m_bitmap.Put()) != Ok ||
      GdipGetImageGraphicsContext(m_bitmap.Get(), m_graphics.Put()) != Ok) {
    m_graphics.Reset();
    m_bitmap.Reset();
    return false;
  }
  GdipSetSmoothingMode(m_graphics.Get(), SmoothingModeAntiAlias);
  GdipSetTextRenderingHint(m_graphics.Get(), TextRenderingHintAntiAliasGridFit);
  return true;
}

void ExElement::Render() {
  Dispatch(WM_PAINT, reinterpret_cast<WPARAM>(m_bitmap.Get()), reinterpret_cast<LPARAM>(m_graphics.Get()));
}

void ExElement::Destroy() {
  if (m_self == 0) return;
  DestroyAll(true);  // the host composes nothing while it tears down
}

void ExElement::DestroyAll(bool recompose) {
  const ExHandle self = m_self;
  Dispatch(EXM_DESTROY, 0, 0);
  if (FromHandle(self) != this) return;  // a handler destroyed it already
  // Children lie within the parent's area, which is recomposed below.
  while (FirstChild() != nullptr) FirstChild()->DestroyAll(false);
  ClassProc(WM_DESTROY, 0, 0);
  Withdraw(recompose);
}

void ExElement::Withdraw(bool recompose) {
  StopTimer();
  ExHost* host = m_host;
  const ExPixelRect area = PixelBounds(m_rect);
  const bool wasShown = m_visible;
  host->Tree().Unlink(*this);
  host->Tree().Forget(*this);
  host->SetAccessKey(m_self, 0);
  HandleTable::Get().Unregister(m_self);
  m_graphics.Reset();
  m_bitmap.Reset();
  m_events.clear();
  m_tooltip.clear();
  m_tag.clear();
  m_self = 0;
  m_window = nullptr;
  m_host = nullptr;
  m_visible = false;
  if (recompose && wasShown) host->Redraw(area);
}

ExHandle ExElement::Parent() const {
  const ExElement* parent = ParentElement();
  return parent != nullptr ? parent->m_self : 0;
}

bool ExElement::SetParent(HWND window) {
  if (m_self == 0 || ExHost::FromWindow(window) != m_host) return false;
  m_host->Tree().MoveUnder(*this, nullptr);
  RedrawArea();
  return true;
}

bool ExElement::SetParent(ExHandle parent) {
  ExElement* newParent = FromHandle(parent);
  if (m_self == 0 || newParent == nullptr || newParent->m_host != m_host) return false;
  if (!m_host->Tree().MoveUnder(*this, newParent)) return false;
  RedrawArea();
  return true;
}

void ExElement::Move(std::optional<double> x, std::optional<double> y, std::optional<double> width,
                     std::optional<double> height) {
  if (m_self == 0) return;
  ExRectF rect = m_rect;
  bool changed = false;
  bool resized = false;
  auto apply = [&changed](float& stored, std::optional<double> wanted, bool* sizeFlag) {
    if (!wanted || !CoordinateChanged(stored, *wanted)) return;
    stored = static_cast<float>(*wanted);
    changed = true;
    if (sizeFlag != nullptr) *sizeFlag = true;
  };
  apply(rect.x, x, nullptr);
  apply(rect.y, y, nullptr);
  apply(rect.width, width ? std::optional<double>(std::max(0.0, *width)) : width, &resized);
  apply(rect.height, height ? std::optional<double>(std::max(0.0, *height)) : height, &resized);
  if (!changed) return;

  m_previousRect = m_rect;
  m_rect = rect;
  const ExHandle self = m_self;
  if (resized && m_typeCode != kExTypeContainer) {
    if (!CreateBitmap()) {  // keep a surface of the old size rather than none
      m_rect = m_previousRect;
      CreateBitmap();
      return;
    }
  }
  if (resized) {
    Dispatch(EXM_SIZE, static_cast<WPARAM>(BitmapExtent(m_rect.width)), BitmapExtent(m_rect.height));
    if (FromHandle(self) != this) return;
    Render();
  }
  SendMessageW(m_window, EXM_MOVED, self, m_redraw ? 1 : 0);
}

void ExElement::SetVisible(bool visible) {
  if (m_self == 0 || visible == m_visible) return;
  m_visible = visible;
  const ExHandle self = m_self;
  if (!visible) m_host->Tree().Release(*this);
  if (FromHandle(self) != this) return;  // a handler destroyed it
  Dispatch(visible ? EXM_SHOW : EXM_HIDE, 0, 0);
  RedrawArea();
}

void ExElement::SetDisabled(bool disabled) {
  if (m_self == 0 || disabled == m_disabled) return;
  m_disabled = disabled;
  const ExHandle self = m_self;
  const bool hovered = m_host->Tree().Hovered() == self;
  m_host->Tree().Release(*this);
  if (FromHandle(self) != this) return;  // a handler destroyed it
  // The release sent the hovered element its leave; any other drops its
  // hover look all the same.
  if (!hovered) Dispatch(EXM_MOUSELEAVE, 0, 0);
  RedrawArea();
}

void ExElement::SetOpacity(int opacity) {
  if (m_self == 0) return;
  m_opacity = std::min(255, std::max(0, opacity));
  Dispatch(EXM_OPACITY, 0, m_opacity);
  RedrawArea();
}

void ExElement::SetTooltipText(std::string text, bool notify) {
  m_tooltip = std::move(text);
  if (notify && m_self != 0) m_host->Tree().RefreshTooltip(m_self);
}

bool ExElement::HasFocus() {
  if (m_self == 0) return false;
  const LRESULT answer = Dispatch(EXM_QUERYFOCUS, 0, 0);
  if (answer == 1 || answer == 0) return answer == 1;
  return m_host != nullptr && m_host->Focused() == m_self;
}

bool ExElement::FocusedByKeyboard() const {
  return m_host != nullptr && m_host->Tree().FocusedByKeyboard(m_self);
}

void ExElement::BindEvent(UINT message, ExEventHandler handler) {
  for (auto& pair : m_events) {
    if (pair.first == message) {
      pair.second = std::move(handler);
      return;
    }
  }
  m_events.emplace_back(message, std::move(handler));
}

LRESULT ExElement::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  const ExHandle self = m_self;
  const LRESULT result = ClassProc(message, wParam, lParam);
  if (self == 0 || FromHandle(self) != this) return result;
  for (const auto& pair : m_events) {
    if (!HandlerMatches(pair.first, message, wParam)) continue;
    // A copy: the handler may rebind or destroy this element.
    const ExEventHandler handler = pair.second;
    if (handler) handler(Parent(), self, message, wParam, lParam);
    break;
  }
  return result;
}

LRESULT ExElement::ClassProc(UINT message, WPARAM, LPARAM) {
  switch (message) {
    case WM_KEYDOWN:
    case EXM_WANTPRESS:
    case EXM_DRAWSDISABLED:
    case EXM_QUERYFOCUS:
      return kExUndecided;
    default:
      return 0;
  }
}

void ExElement::Repaint() {
  if (m_self == 0) return;
  Render();
  RedrawArea();
}

void ExElement::Invalidate() {
  if (m_self != 0) PostMessageW(m_window, EXM_INVALIDATE, 0, static_cast<LPARAM>(m_self));
}

void ExElement::UnlockRedraw() {
  m_redraw = true;
  RedrawArea();
}

void ExElement::RedrawArea() const {
  if (m_self != 0 && m_redraw) m_host->Redraw(PixelBounds(m_rect));
}

LRESULT ExElement::Send(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_self == 0 || ExHost::FromWindow(m_window) == nullptr) return 0;
  auto* block = new ExPostedMessage{message, wParam, lParam};  // the host deletes it
  return SendMessageW(m_window, EXM_POSTED, m_self, reinterpret_cast<LPARAM>(block));
}

bool ExElement::Post(UINT message, WPARAM wParam, LPARAM lParam) {
  const ExHandle self = m_self;
  const HWND window = m_window;
  if (self == 0) return false;
  auto* block = new ExPostedMessage{message, wParam, lParam};  // the host deletes it
  if (PostMessageW(window, EXM_POSTED, self, reinterpret_cast<LPARAM>(block))) return true;
  delete block;
  return false;
}

void ExElement::BringToFront() {
  if (m_self == 0) return;
  m_host->Tree().BringToFront(*this);
  RedrawArea();
}

void ExElement::SendToBack() {
  if (m_self == 0) return;
  m_host->Tree().SendToBack(*this);
  RedrawArea();
}

bool ExElement::StartTimer(UINT periodMs) {
  if (m_self == 0) return false;
  m_timerRunning = ::SetTimer(m_window, m_self, periodMs, nullptr) != 0;
  return m_timerRunning;
}

void ExElement::StopTimer() {
  if (m_timerRunning) ::KillTimer(m_window, m_self);
  m_timerRunning = false;
}
