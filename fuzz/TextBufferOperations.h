// The operation stream of the text buffer's fuzz target, shared with the seed
// maker that writes its seeds. One byte of set-up (bit 0 multi-line, the rest
// the input mode, modulo 5), then operations: an opcode byte (modulo the
// count) and its arguments. Text is a length byte and that many UTF-16 units,
// little-endian; positions are one unit.
#pragma once

#include <cstdint>

enum TextBufferOperation : uint8_t {
  kType,             // the character byte
  kInsertText,       // text: an IME result
  kLineBreak,        // Enter
  kBackspace,        //
  kDeleteForward,    // Delete
  kDeleteSelection,  //
  kSelect,           // anchor, caret
  kSetCaret,         // position, a byte whose bit 0 extends the selection
  kMoveCaret,        // a byte: the move (modulo 8) and 8 to extend
  kSelectAll,        //
  kCut,              // into the harness's clipboard
  kCopy,             //
  kPaste,            //
  kSetMode,          // the mode byte, modulo 5
  kSetText,          // text, set by the application
  kOperationCount
};
