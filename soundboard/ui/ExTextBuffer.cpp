#include "ExTextBuffer.h"

#include <algorithm>

namespace {

constexpr wchar_t kFirstTypable = 28;
constexpr wchar_t kLastTypable = 126;

bool IsDigit(wchar_t c) {
  return c >= L'0' && c <= L'9';
}

bool IsHighSurrogate(wchar_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(wchar_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

bool AcceptsCharacter(ExInputMode mode, wchar_t character, bool textHasDot) {
  switch (mode) {
    case ExInputMode::kInteger:
      return IsDigit(character) || character == L'-';
    case ExInputMode::kDecimal:
      // "-" through "9": the range also holds "." and "/".
      if (character < L'-' || character > L'9') return false;
      return character != L'.' || !textHasDot;
    default:
      return true;
  }
}

}  // namespace

bool ExTextBuffer::Accepts(ExInputMode mode, wchar_t character, const std::wstring& textOutsideSelection) {
  return AcceptsCharacter(mode, character, textOutsideSelection.find(L'.') != std::wstring::npos);
}

std::wstring ExTextBuffer::Normalize(const std::wstring& text) const {
  std::wstring normalized;
  normalized.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      // A character beyond the first plane is a pair; half of one is no text.
      if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
        normalized += c;
        normalized += text[++i];
      }
      continue;
    }
    if (c != L'\r' && c != L'\n') {
      normalized += c;
      continue;
    }
    if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;  // CR LF is one break
    if (m_multiLine) normalized += L'\n';
  }
  return normalized;
}

bool ExTextBuffer::SplitsPair(size_t position) const {
  return position > 0 && position < m_text.size() && IsHighSurrogate(m_text[position - 1]) &&
         IsLowSurrogate(m_text[position]);
}

size_t ExTextBuffer::Boundary(size_t position) const {
  position = std::min(position, m_text.size());
  return SplitsPair(position) ? position - 1 : position;
}

size_t ExTextBuffer::PreviousBoundary(size_t position) const {
  return position == 0 ? 0 : Boundary(position - 1);
}

size_t ExTextBuffer::NextBoundary(size_t position) const {
  if (position >= m_text.size()) return m_text.size();
  return SplitsPair(position + 1) ? position + 2 : position + 1;
}

void ExTextBuffer::SetText(const std::wstring& text) {
  m_text = Normalize(text);
  m_caret = m_anchor = m_text.size();
}

std::wstring ExTextBuffer::SelectedText() const {
  return m_text.substr(SelectionStart(), SelectionEnd() - SelectionStart());
}

std::wstring ExTextBuffer::TextOutsideSelection() const {
  return m_text.substr(0, SelectionStart()) + m_text.substr(SelectionEnd());
}

void ExTextBuffer::Select(size_t start, size_t end) {
  m_anchor = Boundary(start);
  m_caret = Boundary(end);
}

void ExTextBuffer::SetCaret(size_t position, bool extend) {
  m_caret = Boundary(position);
  if (!extend) m_anchor = m_caret;
}

void ExTextBuffer::MoveCaret(ExCaretMove move, bool extend) {
  // Without Shift, Left and Right first collapse a selection to its edge.
  if (!extend && HasSelection() && (move == ExCaretMove::kLeft || move == ExCaretMove::kRight)) {
    SetCaret(move == ExCaretMove::kLeft ? SelectionStart() : SelectionEnd(), false);
    return;
  }
  const size_t line = LineOf(m_caret);
  size_t target = m_caret;
  switch (move) {
    case ExCaretMove::kLeft:
      target = PreviousBoundary(m_caret);
      break;
    case ExCaretMove::kRight:
      target = NextBoundary(m_caret);
      break;
    case ExCaretMove::kHome:
      target = LineStart(line);
      break;
    case ExCaretMove::kEnd:
      target = LineEnd(line);
      break;
    case ExCaretMove::kUp:
    case ExCaretMove::kDown: {
      const bool up = move == ExCaretMove::kUp;
      if (up ? line == 0 : line + 1 >= LineCount()) {
        target = up ? 0 : m_text.size();  // past the first or last line: to the text's edge
        break;
      }
      const size_t column = m_caret - LineStart(line);
      const size_t other = up ? line - 1 : line + 1;
      target = std::min(LineStart(other) + column, LineEnd(other));
      break;
    }
    case ExCaretMove::kTextStart:
      target = 0;
      break;
    case ExCaretMove::kTextEnd:
      target = m_text.size();
      break;
  }
  SetCaret(target, extend);
}

void ExTextBuffer::ReplaceSelection(const std::wstring& text) {
  const size_t start = SelectionStart();
  m_text.replace(start, SelectionEnd() - start, text);
  m_caret = m_anchor = start + text.size();
}

bool ExTextBuffer::TypeCharacter(wchar_t character) {
  if (ReadOnly() || character < kFirstTypable || character > kLastTypable) return false;
  if (!Accepts(m_mode, character, TextOutsideSelection())) return false;
  ReplaceSelection(std::wstring(1, character));
  return true;
}

bool ExTextBuffer::InsertText(const std::wstring& text) {
  if (ReadOnly()) return false;
  std::wstring accepted;
  bool hasDot = TextOutsideSelection().find(L'.') != std::wstring::npos;
  for (wchar_t c : Normalize(text)) {
    if (c == L'\t' || c == L'\n') {
      if (m_mode == ExInputMode::kInteger || m_mode == ExInputMode::kDecimal) continue;
    } else if (c < 32 || c == 127) {
      continue;  // other control characters never enter a box
    }
    if (!AcceptsCharacter(m_mode, c, hasDot)) continue;
    accepted += c;
    hasDot = hasDot || c == L'.';  // a second "." in the same paste is refused too
  }
  if (accepted.empty()) return false;
  ReplaceSelection(accepted);
  return true;
}

bool ExTextBuffer::InsertLineBreak() {
  if (!m_multiLine || ReadOnly()) return false;
  ReplaceSelection(L"\n");
  return true;
}

bool ExTextBuffer::DeleteSelection() {
  if (ReadOnly() || !HasSelection()) return false;
  ReplaceSelection(std::wstring());
  return true;
}

bool ExTextBuffer::Backspace() {
  if (ReadOnly()) return false;
  if (HasSelection()) return DeleteSelection();
  if (m_caret == 0) return false;
  const size_t start = PreviousBoundary(m_caret);
  m_text.erase(start, m_caret - start);
  m_caret = m_anchor = start;
  return true;
}

bool ExTextBuffer::DeleteForward() {
  if (ReadOnly()) return false;
  if (HasSelection()) return DeleteSelection();
  if (m_caret >= m_text.size()) return false;
  m_text.erase(m_caret, NextBoundary(m_caret) - m_caret);
  return true;
}

size_t ExTextBuffer::LineCount() const {
  return static_cast<size_t>(std::count(m_text.begin(), m_text.end(), L'\n')) + 1;
}

size_t ExTextBuffer::LineOf(size_t position) const {
  position = std::min(position, m_text.size());
  return static_cast<size_t>(std::count(m_text.begin(), m_text.begin() + static_cast<std::ptrdiff_t>(position), L'\n'));
}

size_t ExTextBuffer::LineStart(size_t line) const {
  size_t start = 0;
  for (size_t i = 0; i < line; ++i) {
    const size_t end = m_text.find(L'\n', start);
    if (end == std::wstring::npos) return m_text.size();
    start = end + 1;
  }
  return start;
}

size_t ExTextBuffer::LineEnd(size_t line) const {
  const size_t end = m_text.find(L'\n', LineStart(line));
  return end == std::wstring::npos ? m_text.size() : end;
}
