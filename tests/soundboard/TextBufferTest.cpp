// The edit box's text buffer: editing, selection, caret movement across lines
// and what each input mode lets in, typed or through an IME.
#include <gtest/gtest.h>

#include "ExTextBuffer.h"

namespace {

std::wstring Typed(ExInputMode mode, const std::wstring& keys) {
  ExTextBuffer buffer(false, mode);
  for (wchar_t key : keys) buffer.TypeCharacter(key);
  return buffer.Text();
}

TEST(TextBufferTest, DecimalModeTakesOneDotAndTheWholeRangeFromMinusToNine) {
  EXPECT_EQ(Typed(ExInputMode::kDecimal, L"1.5"), L"1.5");
  EXPECT_EQ(Typed(ExInputMode::kDecimal, L"1.5.2"), L"1.52");
  EXPECT_EQ(Typed(ExInputMode::kDecimal, L"-3/4"), L"-3/4");  // "/" lies between "." and "0"
  EXPECT_EQ(Typed(ExInputMode::kDecimal, L"a1,e+2 "), L"12");

  // Replacing the selection that holds the dot lets a new dot in.
  ExTextBuffer buffer(false, ExInputMode::kDecimal);
  buffer.SetText(L"1.5");
  buffer.Select(1, 2);
  EXPECT_TRUE(buffer.TypeCharacter(L'.'));
  EXPECT_EQ(buffer.Text(), L"1.5");
}

TEST(TextBufferTest, IntegerModeTakesDigitsAndMinusOnly) {
  EXPECT_EQ(Typed(ExInputMode::kInteger, L"-12.5/x 7"), L"-1257");
}

TEST(TextBufferTest, CharactersFrom127UpAreIgnoredTypedButInsertedThroughAnIme) {
  ExTextBuffer buffer;
  EXPECT_FALSE(buffer.TypeCharacter(L'你'));
  EXPECT_FALSE(buffer.TypeCharacter(127));
  EXPECT_FALSE(buffer.TypeCharacter(L'\t'));  // below 28
  EXPECT_FALSE(buffer.TypeCharacter(27));
  EXPECT_TRUE(buffer.TypeCharacter(28));
  EXPECT_TRUE(buffer.TypeCharacter(L'~'));
  EXPECT_EQ(buffer.Text(), std::wstring(L"\x1c~"));
  EXPECT_TRUE(buffer.InsertText(L"你好"));
  EXPECT_EQ(buffer.Text(), std::wstring(L"\x1c~你好"));
  EXPECT_EQ(buffer.Caret(), 4u);
}

TEST(TextBufferTest, InsertedTextIsFilteredByTheModeAndTheLineRule) {
  ExTextBuffer integer(false, ExInputMode::kInteger);
  EXPECT_TRUE(integer.InsertText(L"价格 -12.5元"));
  EXPECT_EQ(integer.Text(), L"-125");
  EXPECT_FALSE(integer.InsertText(L"abc"));

  ExTextBuffer decimal(false, ExInputMode::kDecimal);
  decimal.InsertText(L"3.1.4");
  EXPECT_EQ(decimal.Text(), L"3.14");

  ExTextBuffer single;
  single.InsertText(L"one\r\ntwo\nthree\x07");
  EXPECT_EQ(single.Text(), L"onetwothree");

  ExTextBuffer multi(true);
  multi.InsertText(L"one\r\ntwo\rthree");
  EXPECT_EQ(multi.Text(), L"one\ntwo\nthree");
  EXPECT_EQ(multi.LineCount(), 3u);
}

TEST(TextBufferTest, ReadOnlyAndPasswordBoxes) {
  ExTextBuffer readOnly(false, ExInputMode::kReadOnly);
  readOnly.SetText(L"fixed");  // the application may always set the text
  readOnly.SelectAll();
  EXPECT_FALSE(readOnly.TypeCharacter(L'x'));
  EXPECT_FALSE(readOnly.InsertText(L"x"));
  EXPECT_FALSE(readOnly.Backspace());
  EXPECT_FALSE(readOnly.DeleteForward());
  EXPECT_FALSE(readOnly.DeleteSelection());
  EXPECT_EQ(readOnly.Text(), L"fixed");
  EXPECT_EQ(readOnly.SelectedText(), L"fixed");  // selecting and copying still work

  // A password box takes any typed character; hiding it is the view's work.
  EXPECT_EQ(Typed(ExInputMode::kPassword, L"p4ss w.rd"), L"p4ss w.rd");
}

TEST(TextBufferTest, EditingReplacesTheSelectionAndDeletesAroundTheCaret) {
  ExTextBuffer buffer;
  buffer.SetText(L"hello world");
  EXPECT_EQ(buffer.Caret(), 11u);
  buffer.Select(6, 0);  // backwards: anchor 6, caret 0
  EXPECT_EQ(buffer.SelectionStart(), 0u);
  EXPECT_EQ(buffer.SelectionEnd(), 6u);
  EXPECT_EQ(buffer.SelectedText(), L"hello ");
  buffer.TypeCharacter(L'J');
  EXPECT_EQ(buffer.Text(), L"Jworld");
  EXPECT_EQ(buffer.Caret(), 1u);
  EXPECT_FALSE(buffer.HasSelection());

  EXPECT_TRUE(buffer.Backspace());
  EXPECT_FALSE(buffer.Backspace());  // at the start
  EXPECT_TRUE(buffer.DeleteForward());
  EXPECT_EQ(buffer.Text(), L"orld");
  buffer.SetCaret(4, false);
  EXPECT_FALSE(buffer.DeleteForward());  // at the end
  buffer.Select(1, 3);
  EXPECT_TRUE(buffer.Backspace());
  EXPECT_EQ(buffer.Text(), L"od");

  buffer.Select(50, 100);  // clamped to the text
  EXPECT_EQ(buffer.Caret(), 2u);
  EXPECT_FALSE(buffer.HasSelection());
}

TEST(TextBufferTest, CaretMovesByCharacterLineAndTextAndShiftExtends) {
  ExTextBuffer buffer(true);
  buffer.SetText(L"first line\nab\nthird");
  buffer.SetCaret(8, false);  // "first li|ne"
  buffer.MoveCaret(ExCaretMove::kDown, false);
  EXPECT_EQ(buffer.Caret(), 13u);  // clamped to the end of "ab"
  buffer.MoveCaret(ExCaretMove::kDown, true);
  EXPECT_EQ(buffer.Caret(), 16u);  // column 2 of "third"
  EXPECT_EQ(buffer.SelectedText(), L"\nth");
  buffer.MoveCaret(ExCaretMove::kDown, false);
  EXPECT_EQ(buffer.Caret(), buffer.Length());  // below the last line: the end
  buffer.MoveCaret(ExCaretMove::kHome, false);
  EXPECT_EQ(buffer.Caret(), 14u);
  buffer.MoveCaret(ExCaretMove::kLeft, false);
  EXPECT_EQ(buffer.Caret(), 13u);
  buffer.MoveCaret(ExCaretMove::kUp, false);
  EXPECT_EQ(buffer.Caret(), 2u);
  buffer.MoveCaret(ExCaretMove::kUp, false);
  EXPECT_EQ(buffer.Caret(), 0u);  // above the first line: the start
  buffer.MoveCaret(ExCaretMove::kEnd, true);
  EXPECT_EQ(buffer.SelectedText(), L"first line");
  buffer.MoveCaret(ExCaretMove::kLeft, false);  // collapses to the selection's start
  EXPECT_EQ(buffer.Caret(), 0u);
  EXPECT_FALSE(buffer.HasSelection());
  buffer.MoveCaret(ExCaretMove::kTextEnd, false);
  EXPECT_EQ(buffer.Caret(), buffer.Length());

  EXPECT_EQ(buffer.LineOf(11), 1u);
  EXPECT_EQ(buffer.LineStart(2), 14u);
  EXPECT_EQ(buffer.LineEnd(1), 13u);
  EXPECT_EQ(buffer.LineStart(9), buffer.Length());
}

// A character beyond the first plane is two UTF-16 units: the caret steps
// over it, deletion takes it whole, and half of one never enters (the fuzz
// target found a lone half set by the application).
TEST(TextBufferTest, SurrogatePairsAreNeverSplit) {
  const std::wstring smile =
      L"\xD83D"
      L"\xDE00";
  ExTextBuffer buffer(true);
  EXPECT_TRUE(buffer.InsertText(L"a" + smile + L"b"));
  buffer.MoveCaret(ExCaretMove::kLeft, false);
  EXPECT_EQ(buffer.Caret(), 3u);
  buffer.MoveCaret(ExCaretMove::kLeft, false);
  EXPECT_EQ(buffer.Caret(), 1u);
  buffer.MoveCaret(ExCaretMove::kRight, true);
  EXPECT_EQ(buffer.SelectedText(), smile);

  buffer.SetCaret(2, false);  // the middle of the pair: its start
  EXPECT_EQ(buffer.Caret(), 1u);
  buffer.Select(4, 2);
  EXPECT_EQ(buffer.SelectedText(), smile + L"b");
  buffer.SetCaret(3, false);
  EXPECT_TRUE(buffer.Backspace());
  EXPECT_EQ(buffer.Text(), L"ab");
  EXPECT_EQ(buffer.Caret(), 1u);
  buffer.InsertText(smile);
  buffer.SetCaret(1, false);
  EXPECT_TRUE(buffer.DeleteForward());
  EXPECT_EQ(buffer.Text(), L"ab");

  // Up and Down keep the column, but not inside a pair.
  buffer.SetText(L"xy\n" + smile + L"z");
  buffer.SetCaret(1, false);
  buffer.MoveCaret(ExCaretMove::kDown, false);
  EXPECT_EQ(buffer.Caret(), 3u);

  buffer.SetText(
      L"\xDE00"
      L"z"
      L"\xD83D");
  EXPECT_EQ(buffer.Text(), L"z");
  EXPECT_FALSE(buffer.InsertText(L"\xD83D"));
  EXPECT_TRUE(
      buffer.InsertText(L"\xDE00"
                        L"1"
                        L"\xD83D"
                        L"2"));
  EXPECT_EQ(buffer.Text(), L"z12");
}

TEST(TextBufferTest, LineBreaksOnlyInMultiLineBoxes) {
  ExTextBuffer single;
  EXPECT_FALSE(single.InsertLineBreak());
  ExTextBuffer multi(true);
  multi.SetText(L"ab");
  multi.SetCaret(1, false);
  EXPECT_TRUE(multi.InsertLineBreak());
  EXPECT_EQ(multi.Text(), L"a\nb");
  EXPECT_EQ(multi.LineCount(), 2u);
}

}  // namespace
