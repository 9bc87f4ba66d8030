// The edit box's text buffer driven by a stream of operations, as the box's
// key table, IME, menu and clipboard drive it: typing in every input mode,
// IME results and pastes of arbitrary UTF-16, line breaks, deleting, caret
// moves and selections, cut, copy and paste through a clipboard of the
// harness's own, mode changes and text set by the application. After every
// step the buffer must hold well-formed text that obeys its box's rules, a
// caret and selection inside it on character boundaries, and edits that did
// exactly what they said.
//
// Input: as TextBufferOperations.h describes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ExTextBuffer.h"
#include "TextBufferOperations.h"

namespace {

class OperationStream {
 public:
  OperationStream(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

  bool AtEnd() const { return m_pos >= m_size; }
  uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
  uint16_t Unit() {
    const uint8_t low = Byte();
    return static_cast<uint16_t>(low | Byte() << 8);
  }
  // A length byte, then that many UTF-16 units.
  std::wstring Text() {
    std::wstring text;
    for (uint8_t n = Byte(); n > 0 && !AtEnd(); --n) text += static_cast<wchar_t>(Unit());
    return text;
  }

 private:
  const uint8_t* m_data;
  size_t m_size;
  size_t m_pos = 0;
};

bool IsHigh(wchar_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLow(wchar_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// Pastes stop here: copying the whole text and pasting it twice doubles it in
// four steps, and the rules hold as well for a shorter text.
constexpr size_t kMaxPastedText = 2048;

void Check(bool condition) {
  if (!condition) std::abort();
}

// Surrogates come in pairs, high then low.
bool WellFormed(const std::wstring& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsHigh(text[i]) && i + 1 < text.size() && IsLow(text[i + 1])) {
      ++i;
    } else if (IsHigh(text[i]) || IsLow(text[i])) {
      return false;
    }
  }
  return true;
}

bool OnBoundary(const std::wstring& text, size_t position) {
  return position == 0 || position >= text.size() || !(IsHigh(text[position - 1]) && IsLow(text[position]));
}

size_t Count(const std::wstring& text, wchar_t c) {
  size_t count = 0;
  for (wchar_t t : text) count += t == c;
  return count;
}

void CheckShape(const ExTextBuffer& buffer) {
  const std::wstring& text = buffer.Text();
  Check(buffer.Length() == text.size());
  Check(buffer.Caret() <= text.size() && buffer.Anchor() <= text.size());
  Check(OnBoundary(text, buffer.Caret()) && OnBoundary(text, buffer.Anchor()));
  Check(buffer.SelectionStart() <= buffer.SelectionEnd());
  Check(buffer.SelectedText() == text.substr(buffer.SelectionStart(), buffer.SelectionEnd() - buffer.SelectionStart()));
  Check(WellFormed(text));
  Check(text.find(L'\r') == std::wstring::npos);
  if (!buffer.MultiLine()) Check(text.find(L'\n') == std::wstring::npos);

  // Lines tile the text, each followed by one break but the last.
  const size_t lines = buffer.LineCount();
  Check(lines == Count(text, L'\n') + 1);
  Check(buffer.LineStart(0) == 0 && buffer.LineEnd(lines - 1) == text.size());
  if (lines < 64) {
    for (size_t line = 0; line + 1 < lines; ++line) {
      Check(text[buffer.LineEnd(line)] == L'\n' && buffer.LineStart(line + 1) == buffer.LineEnd(line) + 1);
    }
  }
  const size_t caretLine = buffer.LineOf(buffer.Caret());
  Check(caretLine < lines);
  Check(buffer.LineStart(caretLine) <= buffer.Caret() && buffer.Caret() <= buffer.LineEnd(caretLine));
}

// What an insertion may bring in: what the mode accepts, never a control
// character but a tab or (multi-line) a line break.
void CheckInserted(const ExTextBuffer& buffer, const std::wstring& inserted) {
  for (wchar_t c : inserted) {
    Check(c != 127 && (c >= 28 || c == L'\t' || c == L'\n'));
    if (buffer.Mode() == ExInputMode::kInteger) Check((c >= L'0' && c <= L'9') || c == L'-');
    if (buffer.Mode() == ExInputMode::kDecimal) Check(c >= L'-' && c <= L'9');
  }
}

// The state before an editing step and what the step did to it.
struct Snapshot {
  explicit Snapshot(const ExTextBuffer& buffer)
      : text(buffer.Text()), start(buffer.SelectionStart()), end(buffer.SelectionEnd()), caret(buffer.Caret()) {}

  std::wstring text;
  size_t start;
  size_t end;
  size_t caret;
};

// A step that reported a change replaced the selection (or, with none, a
// neighbouring character) by what it inserted; one that reported none left
// the text alone. The caret ends behind the insertion, with no selection.
// Enter breaks a line of a multi-line box in every mode.
void CheckEdit(const ExTextBuffer& buffer, const Snapshot& before, bool changed, bool enter) {
  if (!changed) {
    Check(buffer.Text() == before.text);
    return;
  }
  Check(!buffer.ReadOnly());
  Check(!buffer.HasSelection());
  const std::wstring& text = buffer.Text();
  size_t start = before.start;
  size_t end = before.end;
  if (start == end) {
    // Backspace or Delete without a selection: one whole character.
    if (text.size() < before.text.size()) {
      if (buffer.Caret() < before.caret) start = buffer.Caret();
      end = start + (before.text.size() - text.size());
      Check(end - start == 1 || (end - start == 2 && IsHigh(before.text[start]) && IsLow(before.text[start + 1])));
    }
  }
  Check(text.size() + (end - start) >= before.text.size());
  const size_t insertedLength = text.size() + (end - start) - before.text.size();
  Check(text.compare(0, start, before.text, 0, start) == 0);
  Check(text.compare(start + insertedLength, std::wstring::npos, before.text, end, std::wstring::npos) == 0);
  Check(buffer.Caret() == start + insertedLength);
  if (enter) {
    Check(text.compare(start, insertedLength, L"\n") == 0);
  } else {
    CheckInserted(buffer, text.substr(start, insertedLength));
  }
  if (buffer.Mode() == ExInputMode::kDecimal) {
    const size_t dotsBefore = Count(before.text, L'.');
    Check(Count(text, L'.') <= (dotsBefore > 1 ? dotsBefore : 1));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  OperationStream in(data, size);
  const uint8_t setUp = in.Byte();
  ExTextBuffer buffer((setUp & 1) != 0, static_cast<ExInputMode>((setUp >> 1) % 5));
  std::wstring clipboard;

  while (!in.AtEnd()) {
    const Snapshot before(buffer);
    const bool password = buffer.Mode() == ExInputMode::kPassword;
    bool changed = false;
    bool edit = true;  // the step may only change the text as an edit does
    const uint8_t operation = in.Byte() % kOperationCount;
    switch (operation) {
      case kType: {
        const wchar_t typed = static_cast<wchar_t>(in.Byte());
        changed = buffer.TypeCharacter(typed);
        Check(!changed || (typed >= 28 && typed <= 126));
        break;
      }
      case kInsertText:
        changed = buffer.InsertText(in.Text());
        break;
      case kLineBreak:
        changed = buffer.InsertLineBreak();
        Check(!changed || buffer.MultiLine());
        break;
      case kBackspace:
        changed = buffer.Backspace();
        break;
      case kDeleteForward:
        changed = buffer.DeleteForward();
        break;
      case kDeleteSelection:
        changed = buffer.DeleteSelection();
        Check(changed == (before.start != before.end && !buffer.ReadOnly()));
        break;
      case kCut:
        // As the box's Ctrl+X: only with a selection, never read-only or in
        // password mode.
        if (!password && buffer.HasSelection() && !buffer.ReadOnly()) {
          clipboard = buffer.SelectedText();
          changed = buffer.DeleteSelection();
          Check(changed);
        }
        break;
      case kCopy:
        if (!password && buffer.HasSelection()) clipboard = buffer.SelectedText();
        break;
      case kPaste:
        if (!password && !clipboard.empty() && buffer.Length() + clipboard.size() <= kMaxPastedText) {
          changed = buffer.InsertText(clipboard);
        }
        break;
      case kSelect: {
        const size_t anchor = in.Unit();
        buffer.Select(anchor, in.Unit());
        break;
      }
      case kSetCaret: {
        const size_t position = in.Unit();
        buffer.SetCaret(position, (in.Byte() & 1) != 0);
        break;
      }
      case kMoveCaret: {
        const uint8_t move = in.Byte();
        buffer.MoveCaret(static_cast<ExCaretMove>(move % 8), (move & 8) != 0);
        break;
      }
      case kSelectAll:
        buffer.SelectAll();
        Check(buffer.SelectionStart() == 0 && buffer.SelectionEnd() == buffer.Length());
        break;
      case kSetMode:
        buffer.SetMode(static_cast<ExInputMode>(in.Byte() % 5));
        break;
      case kSetText:
        buffer.SetText(in.Text());
        Check(buffer.Caret() == buffer.Length() && !buffer.HasSelection());
        edit = false;
        break;
    }
    if (edit) CheckEdit(buffer, before, changed, operation == kLineBreak);
    CheckShape(buffer);
  }
  return 0;
}
