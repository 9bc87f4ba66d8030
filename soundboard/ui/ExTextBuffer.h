// The text of an edit box with its caret and selection, and the rules of what
// each input mode lets in. UTF-16 text, positions counted in UTF-16 units,
// lines separated by "\n". A character beyond the first plane (a surrogate
// pair) is one character: the caret never stands inside it and deleting takes
// it whole; half of a pair never enters. No Windows headers: tested and
// fuzzed directly.
#pragma once

#include <cstddef>
#include <string>

// Input modes of an edit box; the values are the framework's mode numbers.
enum class ExInputMode { kNormal = 0, kReadOnly = 1, kPassword = 2, kInteger = 3, kDecimal = 4 };

// Caret movements of the key table.
enum class ExCaretMove { kLeft, kRight, kHome, kEnd, kUp, kDown, kTextStart, kTextEnd };

class ExTextBuffer {
 public:
  explicit ExTextBuffer(bool multiLine = false, ExInputMode mode = ExInputMode::kNormal)
      : m_multiLine(multiLine), m_mode(mode) {}

  const std::wstring& Text() const { return m_text; }
  size_t Length() const { return m_text.size(); }
  // Replaces everything (line breaks and halves of pairs as for insertion, no mode filter:
  // the application sets what it likes) and puts the caret at the end.
  void SetText(const std::wstring& text);

  bool MultiLine() const { return m_multiLine; }
  ExInputMode Mode() const { return m_mode; }
  void SetMode(ExInputMode mode) { m_mode = mode; }
  bool ReadOnly() const { return m_mode == ExInputMode::kReadOnly; }

  size_t Caret() const { return m_caret; }
  size_t Anchor() const { return m_anchor; }
  size_t SelectionStart() const { return m_caret < m_anchor ? m_caret : m_anchor; }
  size_t SelectionEnd() const { return m_caret < m_anchor ? m_anchor : m_caret; }
  bool HasSelection() const { return m_caret != m_anchor; }
  std::wstring SelectedText() const;
  // Anchor at `start`, caret at `end`; both clamped to the text (and off the
  // middle of a pair, to its start).
  void Select(size_t start, size_t end);
  void SelectAll() { Select(0, m_text.size()); }
  // Places the caret; with `extend` the anchor stays, else it follows.
  void SetCaret(size_t position, bool extend);
  void MoveCaret(ExCaretMove move, bool extend);

  // A character typed on the keyboard: only codes 28 to 126 count, and only
  // those the mode accepts. Replaces the selection; false when refused.
  bool TypeCharacter(wchar_t character);
  // An IME result or pasted text: any characters, filtered by the mode (the
  // number modes keep what they would accept typed, single-line boxes drop
  // line breaks). Replaces the selection; false when nothing was inserted.
  bool InsertText(const std::wstring& text);
  // A line break at the caret; multi-line boxes only.
  bool InsertLineBreak();
  bool DeleteSelection();
  bool Backspace();
  bool DeleteForward();

  // Lines: indexes from 0; a line's end excludes its "\n".
  size_t LineCount() const;
  size_t LineOf(size_t position) const;
  size_t LineStart(size_t line) const;
  size_t LineEnd(size_t line) const;

  // Whether `character` typed into a box of `mode` holding `text` (outside
  // the part about to be replaced) is accepted.
  static bool Accepts(ExInputMode mode, wchar_t character, const std::wstring& textOutsideSelection);

 private:
  std::wstring TextOutsideSelection() const;
  void ReplaceSelection(const std::wstring& text);
  // Line breaks folded (CR LF, CR and LF; dropped in single-line boxes) and
  // unpaired surrogates dropped.
  std::wstring Normalize(const std::wstring& text) const;
  bool SplitsPair(size_t position) const;
  // The position clamped to the text and moved off the middle of a pair.
  size_t Boundary(size_t position) const;
  size_t PreviousBoundary(size_t position) const;
  size_t NextBoundary(size_t position) const;

  std::wstring m_text;
  size_t m_caret = 0;
  size_t m_anchor = 0;
  bool m_multiLine;
  ExInputMode m_mode;
};
