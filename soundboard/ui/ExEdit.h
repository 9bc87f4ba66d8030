// ExEdit: the framework's text-entry element. Single or multi-line, with a
// blinking caret, mouse and keyboard selection, the clipboard through Ctrl+A,
// C, V, X and a right-click menu, IME result strings, input modes (read-only,
// password, integer, decimal) and scroll bars for multi-line boxes.
//
// The text lives in an ExTextBuffer (UTF-16); the element's interface speaks
// the soundboard's ANSI text. Calls belong to the UI thread.
#pragma once

#include <optional>
#include <string>

#include "ExElement.h"
#include "ExScrollBar.h"
#include "ExTextBuffer.h"

constexpr int kExEditTypeCode = 9;

// Creation options; the defaults make the framework's usual box.
struct ExEditOptions {
  std::string text;  // ANSI
  Gdiplus::ARGB textColour = 0xE6000000;
  Gdiplus::ARGB backgroundColour = 0xA0FFFFFF;
  Gdiplus::ARGB borderColour = 0x50000000;
  std::wstring fontFamily;  // empty: the framework's default font
  float fontSize = 12.0f;   // pixels
  int fontStyle = 0;        // Gdiplus::FontStyle bits
  wchar_t passwordCharacter = L'*';
  ExInputMode mode = ExInputMode::kNormal;
  bool multiLine = false;
  // 0 none, 1 vertical, 2 vertical and horizontal; multi-line boxes only.
  std::optional<int> scrollBars;  // default: 2 for multi-line boxes
  bool visible = true;
};

class ExEdit : public ExElement {
 public:
  ExEdit() = default;

  ExHandle Create(HWND parent, const ExRectF& rect, const ExEditOptions& options = {});
  ExHandle Create(ExHandle parent, const ExRectF& rect, const ExEditOptions& options = {});

  // Text in ANSI; multi-line text comes back with CR LF line breaks.
  std::string Text() const;
  void SetText(const std::string& text);
  std::string SelectedText() const;
  // Inserts at the caret in place of the selection, filtered by the mode.
  void InsertText(const std::string& text);
  void DeleteSelection();
  // Positions in characters of the UTF-16 text; the caret goes to `end`.
  void Select(size_t start, size_t end);
  ExInputMode InputMode() const { return m_buffer.Mode(); }
  void SetInputMode(ExInputMode mode);
  const ExTextBuffer& Buffer() const { return m_buffer; }
  // The first line shown and the horizontal offset in pixels.
  size_t FirstVisibleLine() const { return m_firstLine; }
  float HorizontalOffset() const { return m_horizontalOffset; }
  bool CaretShown() const { return m_caretShown; }

  // Runs one entry of the key table as with Ctrl held when `control` is set
  // (menu commands are the key codes of Ctrl+X, C, V and A). 0 when the key
  // did something or is consumed, 255 when it has no action.
  LRESULT RunKey(WPARAM key, bool control, bool shift);

 protected:
  LRESULT ClassProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  ExElementStyle Prepare(const ExEditOptions& options);
  ExHandle Finish(ExHandle handle);
  void BuildDrawingTools();
  Gdiplus::GpFont* Font() const;
  float LineHeight() const;
  Gdiplus::RectF InnerArea() const;
  size_t VisibleLineCount() const;
  std::wstring DisplayLine(size_t line) const;
  float ColumnX(const std::wstring& line, size_t column) const;
  size_t ColumnAt(const std::wstring& line, float x) const;
  float LineTop(size_t line) const;
  size_t PositionAt(LPARAM point) const;
  float WidestLine() const;

  void OnSetFocus();
  void OnKillFocus();
  // Gives back the IME context, the system caret and the blink timer.
  void ReleaseFocus();
  void OnTimerTick();
  void OnImeComposition(LPARAM flags);
  void OnContextMenu();
  void OnMouse(UINT message, WPARAM wParam, LPARAM lParam);
  void OnWheel(short delta);
  void LayoutScrollBars();
  void UpdateScrollBars();
  void EnsureCaretVisible();
  // After every change of text, caret or selection.
  void Changed();
  void Paint();
  void PaintLine(size_t line, const Gdiplus::RectF& inner, float lineHeight);
  void PaintCaret(const Gdiplus::RectF& inner, float lineHeight);

  ExTextBuffer m_buffer;
  ExEditOptions m_options;
  UniqueGpStringFormat m_format;
  UniqueGpFont m_font;  // empty when the default font is used
  UniqueGpPen m_caretPen;
  UniqueGpBrush m_selectionBrush;
  UniqueGpBrush m_textBrush;
  UniqueGpBrush m_selectedTextBrush;
  int m_scrollBars = 0;
  ExScrollBar m_verticalBar;
  ExScrollBar m_horizontalBar;
  // What a focused box takes from its window: the thread's system caret
  // and, in the restricted modes, the window's IME context. Given back when
  // the focus goes, or by the destructor when the box dies focused.
  class WindowInputHold {
   public:
    WindowInputHold() = default;
    WindowInputHold(const WindowInputHold&) = delete;
    WindowInputHold& operator=(const WindowInputHold&) = delete;
    ~WindowInputHold() { Release(); }
    bool HasCaret() const { return m_caretWindow != nullptr; }
    void CreateCaret(HWND window, int height);
    bool ImeDetached() const { return m_imeWindow != nullptr; }
    void DetachIme(HWND window);
    void ReattachIme();
    void Release();

   private:
    HWND m_caretWindow = nullptr;
    HWND m_imeWindow = nullptr;
    HIMC m_savedIme = nullptr;  // the window's input context while detached
  };

  bool m_focused = false;
  bool m_caretShown = false;
  WindowInputHold m_inputHold;
  bool m_selecting = false;  // a left press is extending the selection
  size_t m_firstLine = 0;
  float m_horizontalOffset = 0;
};
