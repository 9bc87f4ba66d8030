// A window procedure per object: a few bytes of machine code (ExThunkCode)
// that put an object pointer where the window handle argument was and jump
// to a shared procedure. The code page is written while writable, then made
// execute-read only, so no page is ever writable and executable at once.
#pragma once

#include "Handles.h"

class ExWindowThunk {
 public:
  // `target` is called as target(object, message, wParam, lParam) with the
  // object in place of the window handle. False when no page was granted.
  bool Create(void* object, WNDPROC target);
  void Reset() { m_page.Reset(); }
  // The procedure to install with SetWindowLongPtrW(GWLP_WNDPROC); owned by
  // the thunk and valid until Reset.
  WNDPROC Procedure() const { return reinterpret_cast<WNDPROC>(m_page.Get()); }

 private:
  UniqueVirtualMemory m_page;
};
