#include "ExEdit.h"

#include <imm.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>

#include "ExFramework.h"
#include "ExHost.h"
#include "ExPaint.h"
#include "ExPopupMenu.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

constexpr UINT kBlinkMs = 500;
constexpr float kInset = 4.0f;  // border and padding around the text
constexpr float kBarThickness = 10.0f;
constexpr ARGB kCaretColour = 0xFE000000;
constexpr ARGB kSelectedTextColour = 0xFFFFFFFF;
constexpr float kLineBreakWidth = 4.0f;  // a selected line break shows as a short block
constexpr int kWheelLines = 3;
// GDI+ string format flags: no font fallback, measure trailing spaces, no
// clipping; lines never wrap, the box scrolls instead.
constexpr INT kFormatFlags = StringFormatFlagsNoFontFallback | StringFormatFlagsMeasureTrailingSpaces |
                             StringFormatFlagsNoClip | StringFormatFlagsNoWrap;

// A large layout box for measuring one unwrapped line.
const RectF kMeasureBox(0, 0, 100000.0f, 1000.0f);

std::wstring WithCrLf(const std::wstring& text) {
  std::wstring result;
  result.reserve(text.size());
  for (wchar_t c : text) {
    if (c == L'\n') result += L'\r';
    result += c;
  }
  return result;
}

bool WriteClipboardText(HWND owner, const std::wstring& text) {
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (!memory) return false;
  void* target = GlobalLock(memory.Get());
  if (target == nullptr) return false;
  memcpy(target, text.c_str(), bytes);
  GlobalUnlock(memory.Get());
  if (!OpenClipboard(owner)) return false;
  EmptyClipboard();
  // The clipboard owns the block once SetClipboardData succeeds; the system
  // offers it as ANSI text (CF_TEXT) too.
  if (SetClipboardData(CF_UNICODETEXT, memory.Get()) != nullptr) memory.Release();
  CloseClipboard();
  return !memory;
}

std::wstring ReadClipboardText(HWND owner) {
  std::wstring text;
  if (!OpenClipboard(owner)) return text;
  HANDLE data = GetClipboardData(CF_UNICODETEXT);  // the clipboard keeps owning it
  if (data != nullptr) {
    const auto* chars = static_cast<const wchar_t*>(GlobalLock(data));
    if (chars != nullptr) {
      const size_t limit = GlobalSize(data) / sizeof(wchar_t);
      text.assign(chars, std::find(chars, chars + limit, L'\0'));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

bool ClipboardHasText() {
  return IsClipboardFormatAvailable(CF_UNICODETEXT) || IsClipboardFormatAvailable(CF_TEXT);
}

bool KeyHeld(int key) {
  return (GetKeyState(key) & 0x8000) != 0;
}

}  // namespace

ExElementStyle ExEdit::Prepare(const ExEditOptions& options) {
  Destroy();
  m_options = options;
  ExElementStyle style;
  style.typeCode = kExEditTypeCode;
  style.visible = options.visible;
  style.cursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32513));  // IDC_IBEAM
  return style;
}

ExHandle ExEdit::Create(HWND parent, const ExRectF& rect, const ExEditOptions& options) {
  const ExElementStyle style = Prepare(options);
  return Finish(ExElement::Create(parent, rect, style));
}

ExHandle ExEdit::Create(ExHandle parent, const ExRectF& rect, const ExEditOptions& options) {
  const ExElementStyle style = Prepare(options);
  return Finish(ExElement::Create(parent, rect, style));
}

ExHandle ExEdit::Finish(ExHandle handle) {
  if (handle == 0) return 0;
  m_buffer = ExTextBuffer(m_options.multiLine, m_options.mode);
  m_buffer.SetText(AnsiToWide(m_options.text));
  m_scrollBars = m_options.multiLine ? std::min(2, std::max(0, m_options.scrollBars.value_or(2))) : 0;
  BuildDrawingTools();
  m_firstLine = 0;
  m_horizontalOffset = 0;
  if (m_scrollBars >= 1) {
    m_verticalBar.Create(handle, {}, true);
    m_verticalBar.OnScroll([this](int line) {
      m_firstLine = static_cast<size_t>(line);
      Repaint();
    });
  }
  if (m_scrollBars >= 2) {
    m_horizontalBar.Create(handle, {}, false);
    m_horizontalBar.OnScroll([this](int offset) {
      m_horizontalOffset = static_cast<float>(offset);
      Repaint();
    });
  }
  LayoutScrollBars();
  Changed();
  return Handle();
}

void ExEdit::BuildDrawingTools() {
  m_format.Reset();
  GpStringFormat* typographic = nullptr;  // a shared format: cloned, never deleted
  if (GdipStringFormatGetGenericTypographic(&typographic) == Ok) GdipCloneStringFormat(typographic, m_format.Put());
  if (m_format) {
    INT flags = kFormatFlags;
    if (m_scrollBars == 2) flags |= StringFormatFlagsLineLimit;
    GdipSetStringFormatFlags(m_format.Get(), flags);
    const REAL tabStop = 1.0f;
    GdipSetStringFormatTabStops(m_format.Get(), 0, 1, &tabStop);
  }
  m_font.Reset();
  if (!m_options.fontFamily.empty()) {
    m_font = ExFramework::Get()->Fonts().MakeFont(m_options.fontFamily, m_options.fontSize, m_options.fontStyle);
  }
  GdipCreatePen1(kCaretColour, 1.0f, UnitPixel, m_caretPen.Put());
  m_selectionBrush = ExSolidBrush(m_options.textColour);
  m_textBrush = ExSolidBrush(m_options.textColour);
  m_selectedTextBrush = ExSolidBrush(kSelectedTextColour);
}

GpFont* ExEdit::Font() const {
  return m_font ? m_font.Get() : ExFramework::Get()->DefaultFont();
}

// ---- text interface ---------------------------------------------------------

std::string ExEdit::Text() const {
  return WideToAnsi(WithCrLf(m_buffer.Text()));
}

void ExEdit::SetText(const std::string& text) {
  m_buffer.SetText(AnsiToWide(text));
  m_firstLine = 0;
  m_horizontalOffset = 0;
  Changed();
}

std::string ExEdit::SelectedText() const {
  return WideToAnsi(WithCrLf(m_buffer.SelectedText()));
}

void ExEdit::InsertText(const std::string& text) {
  if (m_buffer.InsertText(AnsiToWide(text))) Changed();
}

void ExEdit::DeleteSelection() {
  if (m_buffer.DeleteSelection()) Changed();
}

void ExEdit::Select(size_t start, size_t end) {
  m_buffer.Select(start, end);
  Changed();
}

void ExEdit::SetInputMode(ExInputMode mode) {
  const bool restricted = mode != ExInputMode::kNormal;
  m_buffer.SetMode(mode);
  // A box that has the focus detaches or reattaches the IME at once.
  if (m_focused && restricted != m_inputHold.ImeDetached()) {
    if (restricted) {
      m_inputHold.DetachIme(Window());
    } else {
      m_inputHold.ReattachIme();
    }
  }
  Changed();
}

// ---- keys -------------------------------------------------------------------

LRESULT ExEdit::RunKey(WPARAM key, bool control, bool shift) {
  const bool password = m_buffer.Mode() == ExInputMode::kPassword;
  bool changed = false;
  if (control && (key == 'A' || key == 'C' || key == 'V' || key == 'X')) {
    if (password) return 0;  // a password never leaves the box, nor is it selected whole
    switch (key) {
      case 'A':
        m_buffer.SelectAll();
        changed = true;
        break;
      case 'C':
        if (m_buffer.HasSelection()) WriteClipboardText(Window(), WithCrLf(m_buffer.SelectedText()));
        break;
      case 'V': {
        const std::wstring pasted = ReadClipboardText(Window());
        changed = !pasted.empty() && m_buffer.InsertText(pasted);
        break;
      }
      default:  // 'X'
        if (m_buffer.HasSelection() && !m_buffer.ReadOnly() &&
            WriteClipboardText(Window(), WithCrLf(m_buffer.SelectedText()))) {
          changed = m_buffer.DeleteSelection();
        }
        break;
    }
  } else {
    switch (key) {
      case VK_RETURN:
        changed = m_buffer.InsertLineBreak();
        break;
      case VK_BACK:
        changed = m_buffer.Backspace();
        break;
      case VK_DELETE:
        changed = m_buffer.DeleteForward();
        break;
      case VK_HOME:
        m_buffer.MoveCaret(control ? ExCaretMove::kTextStart : ExCaretMove::kHome, shift);
        changed = true;
        break;
      case VK_END:
        m_buffer.MoveCaret(control ? ExCaretMove::kTextEnd : ExCaretMove::kEnd, shift);
        changed = true;
        break;
      case VK_LEFT:
        m_buffer.MoveCaret(ExCaretMove::kLeft, shift);
        changed = true;
        break;
      case VK_RIGHT:
        m_buffer.MoveCaret(ExCaretMove::kRight, shift);
        changed = true;
        break;
      case VK_UP:
        m_buffer.MoveCaret(ExCaretMove::kUp, shift);
        changed = true;
        break;
      case VK_DOWN:
        m_buffer.MoveCaret(ExCaretMove::kDown, shift);
        changed = true;
        break;
      case VK_SPACE:
        return 0;  // typed as a character; the host must not click the box
      default:
        return 255;
    }
  }
  if (changed) Changed();
  return 0;
}

// ---- layout -----------------------------------------------------------------

float ExEdit::LineHeight() const {
  REAL height = 0;
  GdipGetFontHeight(Font(), Graphics(), &height);
  return height > 1.0f ? height : 12.0f;
}

RectF ExEdit::InnerArea() const {
  const float right = m_scrollBars >= 1 ? kBarThickness : 0.0f;
  const float bottom = m_scrollBars >= 2 ? kBarThickness : 0.0f;
  return RectF(kInset, kInset, std::max(0.0f, Width() - 2 * kInset - right),
               std::max(0.0f, Height() - 2 * kInset - bottom));
}

size_t ExEdit::VisibleLineCount() const {
  return std::max<size_t>(1, static_cast<size_t>(InnerArea().Height / LineHeight()));
}

float ExEdit::LineTop(size_t line) const {
  const RectF inner = InnerArea();
  if (!m_buffer.MultiLine()) return inner.Y + (inner.Height - LineHeight()) / 2;  // one line, centred
  return inner.Y + (static_cast<float>(line) - static_cast<float>(m_firstLine)) * LineHeight();
}

std::wstring ExEdit::DisplayLine(size_t line) const {
  const size_t start = m_buffer.LineStart(line);
  const size_t length = m_buffer.LineEnd(line) - start;
  if (m_buffer.Mode() == ExInputMode::kPassword) return std::wstring(length, m_options.passwordCharacter);
  return m_buffer.Text().substr(start, length);
}

// Distance from the line's origin to the caret place before `column`.
float ExEdit::ColumnX(const std::wstring& line, size_t column) const {
  column = std::min(column, line.size());
  if (column == 0 || !m_format) return 0;
  CharacterRange range(0, static_cast<INT>(column));
  GdipSetStringFormatMeasurableCharacterRanges(m_format.Get(), 1, &range);
  UniqueGpRegion region;
  if (GdipCreateRegion(region.Put()) != Ok) return 0;
  GpRegion* regions[] = {region.Get()};
  if (GdipMeasureCharacterRanges(Graphics(), line.c_str(), static_cast<INT>(line.size()), Font(), kMeasureBox,
                                 m_format.Get(), 1, regions) != Ok) {
    return 0;
  }
  RectF bounds;
  GdipGetRegionBounds(region.Get(), Graphics(), &bounds);
  return bounds.X + bounds.Width;
}

// The caret place nearest to x (line-relative): a binary search over the
// monotonic column positions, cutting each character at its middle.
size_t ExEdit::ColumnAt(const std::wstring& line, float x) const {
  size_t low = 0;
  size_t high = line.size();
  while (low < high) {
    const size_t middle = (low + high + 1) / 2;
    const float between = (ColumnX(line, middle - 1) + ColumnX(line, middle)) / 2;
    if (x >= between) {
      low = middle;
    } else {
      high = middle - 1;
    }
  }
  return low;
}

size_t ExEdit::PositionAt(LPARAM point) const {
  const float x = GET_X_LPARAM(point) - Left();
  const float y = GET_Y_LPARAM(point) - Top();
  size_t line = 0;
  if (m_buffer.MultiLine()) {
    const float offset = std::max(0.0f, y - InnerArea().Y) / LineHeight();
    line = std::min(m_firstLine + static_cast<size_t>(offset), m_buffer.LineCount() - 1);
    if (y < InnerArea().Y && m_firstLine > 0) line = m_firstLine - 1;  // dragging above scrolls up
  }
  const std::wstring text = DisplayLine(line);
  const float lineX = x - InnerArea().X + m_horizontalOffset;
  return m_buffer.LineStart(line) + ColumnAt(text, lineX);
}

float ExEdit::WidestLine() const {
  float widest = 0;
  for (size_t line = 0; line < m_buffer.LineCount(); ++line) {
    const std::wstring text = DisplayLine(line);
    widest = std::max(widest, ColumnX(text, text.size()));
  }
  return widest;
}

void ExEdit::LayoutScrollBars() {
  const ExRectF& box = Rect();
  const float bottomRoom = m_scrollBars >= 2 ? kBarThickness : 0.0f;
  if (m_scrollBars >= 1) {
    m_verticalBar.SetRect(
        {box.x + box.width - 1 - kBarThickness, box.y + 1, kBarThickness, std::max(0.0f, box.height - 2 - bottomRoom)});
  }
  if (m_scrollBars >= 2) {
    m_horizontalBar.SetRect({box.x + 1, box.y + box.height - 1 - kBarThickness,
                             std::max(0.0f, box.width - 2 - kBarThickness), kBarThickness});
  }
}

void ExEdit::UpdateScrollBars() {
  if (m_scrollBars >= 1) {
    const size_t visible = VisibleLineCount();
    const size_t lines = m_buffer.LineCount();
    m_verticalBar.SetRange(lines > visible ? static_cast<int>(lines - visible) : 0, static_cast<int>(visible));
    m_verticalBar.SetPosition(static_cast<int>(m_firstLine));
  }
  if (m_scrollBars >= 2) {
    const float inner = InnerArea().Width;
    m_horizontalBar.SetRange(static_cast<int>(std::ceil(std::max(0.0f, WidestLine() - inner))),
                             static_cast<int>(inner));
    m_horizontalBar.SetPosition(static_cast<int>(m_horizontalOffset));
  }
}

void ExEdit::EnsureCaretVisible() {
  const size_t caret = m_buffer.Caret();
  const size_t line = m_buffer.LineOf(caret);
  if (m_buffer.MultiLine()) {
    const size_t visible = VisibleLineCount();
    if (line < m_firstLine) m_firstLine = line;
    if (line >= m_firstLine + visible) m_firstLine = line - visible + 1;
  } else {
    m_firstLine = 0;
  }
  const float x = ColumnX(DisplayLine(line), caret - m_buffer.LineStart(line));
  const float width = InnerArea().Width;
  if (x < m_horizontalOffset) m_horizontalOffset = x;
  if (x > m_horizontalOffset + width - 1) m_horizontalOffset = x - width + 1;
  m_horizontalOffset = std::max(0.0f, m_horizontalOffset);
}

void ExEdit::Changed() {
  if (Handle() == 0) return;
  EnsureCaretVisible();
  UpdateScrollBars();
  m_caretShown = m_focused;  // a moved caret shows at once and blinks afresh
  if (m_focused) StartTimer(kBlinkMs);
  Repaint();
  if (m_inputHold.HasCaret()) {
    const size_t line = m_buffer.LineOf(m_buffer.Caret());
    const float x =
        InnerArea().X - m_horizontalOffset + ColumnX(DisplayLine(line), m_buffer.Caret() - m_buffer.LineStart(line));
    SetCaretPos(static_cast<int>(Left() + x), static_cast<int>(Top() + LineTop(line)));  // where an IME shows
  }
  SendMessageW(Window(), EXM_PRESENT, 0, 0);
}

// ---- focus, timer, IME --------------------------------------------------------

void ExEdit::OnSetFocus() {
  m_focused = true;
  if (!m_inputHold.HasCaret()) m_inputHold.CreateCaret(Window(), static_cast<int>(LineHeight()));
  if (m_buffer.Mode() != ExInputMode::kNormal && !m_inputHold.ImeDetached()) m_inputHold.DetachIme(Window());
  Changed();
}

void ExEdit::OnKillFocus() {
  ReleaseFocus();
  Repaint();
}

void ExEdit::ReleaseFocus() {
  m_inputHold.Release();
  m_focused = false;
  m_caretShown = false;
  m_selecting = false;
  StopTimer();
}

void ExEdit::WindowInputHold::CreateCaret(HWND window, int height) {
  if (::CreateCaret(window, nullptr, 1, height)) m_caretWindow = window;
}

void ExEdit::WindowInputHold::DetachIme(HWND window) {
  m_savedIme = ImmAssociateContext(window, nullptr);
  m_imeWindow = window;
}

void ExEdit::WindowInputHold::ReattachIme() {
  if (m_imeWindow == nullptr) return;
  ImmAssociateContext(m_imeWindow, m_savedIme);
  m_imeWindow = nullptr;
  m_savedIme = nullptr;
}

void ExEdit::WindowInputHold::Release() {
  ReattachIme();
  if (m_caretWindow != nullptr) DestroyCaret();  // the thread's caret: the one this box made
  m_caretWindow = nullptr;
}

void ExEdit::OnTimerTick() {
  m_caretShown = !m_caretShown;
  Repaint();
}

void ExEdit::OnImeComposition(LPARAM flags) {
  if ((flags & GCS_RESULTSTR) == 0) return;
  HIMC context = ImmGetContext(Window());
  if (context == nullptr) return;
  const LONG bytes = ImmGetCompositionStringA(context, GCS_RESULTSTR, nullptr, 0);
  std::string result(bytes > 0 ? static_cast<size_t>(bytes) : 0, '\0');
  if (bytes > 0) ImmGetCompositionStringA(context, GCS_RESULTSTR, &result[0], static_cast<DWORD>(bytes));
  ImmReleaseContext(Window(), context);
  if (m_buffer.InsertText(AnsiToWide(result))) Changed();
}

void ExEdit::OnContextMenu() {
  if (m_buffer.Mode() == ExInputMode::kPassword) return;
  // Menu commands reach the focused element of this window.
  if (ExHost* host = Host()) host->SetFocus(Handle());
  int count = 0;
  const ExMenuItemSpec* items = ExFramework::EditMenuItems(&count);
  ExPopupMenu menu;
  for (int i = 0; i < count; ++i) {
    if (items[i].text == nullptr) {
      menu.AddSeparator();
      continue;
    }
    bool enabled = true;
    switch (items[i].command) {
      case 'X':
        enabled = m_buffer.HasSelection() && !m_buffer.ReadOnly();
        break;
      case 'C':
        enabled = m_buffer.HasSelection();
        break;
      case 'V':
        enabled = !m_buffer.ReadOnly() && ClipboardHasText();
        break;
      default:  // 'A'
        enabled = m_buffer.Length() > 0;
        break;
    }
    menu.AddItem(std::wstring(items[i].text), items[i].command, enabled ? kExMenuEnabled : kExMenuDisabled);
  }
  menu.Popup(Window(), true);  // the chosen command comes back as WM_COMMAND
}

// ---- mouse ------------------------------------------------------------------

void ExEdit::OnMouse(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
      m_buffer.SetCaret(PositionAt(lParam), KeyHeld(VK_SHIFT));
      m_selecting = true;
      Changed();
      break;
    case WM_MOUSEMOVE:
      if (!m_selecting || (wParam & MK_LBUTTON) == 0) break;
      {
        const size_t before = m_buffer.Caret();
        m_buffer.SetCaret(PositionAt(lParam), true);
        if (m_buffer.Caret() != before) Changed();
      }
      break;
    case WM_LBUTTONUP:
      m_selecting = false;
      break;
    default:
      break;
  }
}

void ExEdit::OnWheel(short delta) {
  if (!m_buffer.MultiLine()) return;
  const size_t lines = m_buffer.LineCount();
  const size_t visible = VisibleLineCount();
  const size_t last = lines > visible ? lines - visible : 0;
  const int step = delta > 0 ? -kWheelLines : kWheelLines;
  const long long wanted = static_cast<long long>(m_firstLine) + step;
  m_firstLine = static_cast<size_t>(std::min<long long>(std::max<long long>(0, wanted), static_cast<long long>(last)));
  UpdateScrollBars();
  Repaint();
}

// ---- drawing ----------------------------------------------------------------

void ExEdit::PaintLine(size_t line, const RectF& inner, float lineHeight) {
  GpGraphics* graphics = Graphics();
  const std::wstring text = DisplayLine(line);
  const float x = inner.X - m_horizontalOffset;
  const float y = LineTop(line);
  const RectF layout(x, y, kMeasureBox.Width, lineHeight);
  GdipDrawString(graphics, text.c_str(), static_cast<INT>(text.size()), Font(), &layout, m_format.Get(),
                 m_textBrush.Get());
  if (!m_focused || !m_buffer.HasSelection()) return;  // the selection shows only while focused
  const size_t start = m_buffer.LineStart(line);
  const size_t end = m_buffer.LineEnd(line);
  const size_t from = std::max(m_buffer.SelectionStart(), start);
  const size_t to = std::min(m_buffer.SelectionEnd(), end);
  const bool breakSelected = m_buffer.SelectionEnd() > end && m_buffer.SelectionStart() <= end;
  if (from > to || (from == to && !breakSelected)) return;
  const float left = x + ColumnX(text, from - start);
  const float right = x + ColumnX(text, to - start) + (breakSelected ? kLineBreakWidth : 0.0f);
  GdipFillRectangle(graphics, m_selectionBrush.Get(), left, y, right - left, lineHeight);
  // The selected characters again, in the contrasting colour, within the block.
  GdipSetClipRect(graphics, left, y, right - left, lineHeight, CombineModeIntersect);
  GdipDrawString(graphics, text.c_str(), static_cast<INT>(text.size()), Font(), &layout, m_format.Get(),
                 m_selectedTextBrush.Get());
  GdipSetClipRect(graphics, inner.X, inner.Y, inner.Width, inner.Height, CombineModeReplace);
}

void ExEdit::PaintCaret(const RectF& inner, float lineHeight) {
  if (!m_focused || !m_caretShown) return;
  const size_t caret = m_buffer.Caret();
  const size_t line = m_buffer.LineOf(caret);
  const float x =
      std::floor(inner.X - m_horizontalOffset + ColumnX(DisplayLine(line), caret - m_buffer.LineStart(line))) + 0.5f;
  const float y = LineTop(line);
  GdipDrawLine(Graphics(), m_caretPen.Get(), x, y, x, y + lineHeight);
}

void ExEdit::Paint() {
  GpGraphics* graphics = Graphics();
  if (graphics == nullptr || !m_format) return;
  GdipResetClip(graphics);
  GdipGraphicsClear(graphics, 0);
  ExFillRect(graphics, {0, 0, Width(), Height()}, m_options.backgroundColour);
  ExFrame(graphics, {0, 0, Width(), Height()}, 0, m_options.borderColour);
  const RectF inner = InnerArea();
  const float lineHeight = LineHeight();
  GdipSetClipRect(graphics, inner.X, inner.Y, inner.Width, inner.Height, CombineModeReplace);
  const size_t lines = m_buffer.LineCount();
  const size_t last = m_buffer.MultiLine() ? std::min(lines, m_firstLine + VisibleLineCount() + 1) : 1;
  for (size_t line = m_buffer.MultiLine() ? m_firstLine : 0; line < last; ++line) PaintLine(line, inner, lineHeight);
  PaintCaret(inner, lineHeight);
  GdipResetClip(graphics);
}

// ---- the class procedure ----------------------------------------------------

LRESULT ExEdit::ClassProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case EXM_SETFOCUS:
      OnSetFocus();
      return 0;
    case EXM_KILLFOCUS:
      OnKillFocus();
      return 0;
    case WM_TIMER:
      OnTimerTick();
      return 0;
    case WM_CHAR:
      if (m_buffer.TypeCharacter(static_cast<wchar_t>(wParam))) Changed();
      return 0;
    case WM_IME_COMPOSITION:
      OnImeComposition(lParam);
      return 0;
    case WM_KEYDOWN:
      return RunKey(wParam, KeyHeld(VK_CONTROL), KeyHeld(VK_SHIFT));
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case 'X':
        case 'C':
        case 'V':
        case 'A':
          return RunKey(LOWORD(wParam), true, false);
        default:
          return 0;
      }
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
      OnMouse(message, wParam, lParam);
      return 0;
    case WM_MOUSEWHEEL:
      OnWheel(GET_WHEEL_DELTA_WPARAM(wParam));
      return 0;
    case WM_RBUTTONUP:
      OnContextMenu();
      return 0;
    case EXM_SIZE:
    case EXM_MOVED:
      LayoutScrollBars();
      if (message == EXM_SIZE) UpdateScrollBars();
      return 0;
    case WM_DESTROY:
      if (m_focused) ReleaseFocus();
      return 0;
    default:
      return ExElement::ClassProc(message, wParam, lParam);
  }
}
