#include "ExTooltip.h"

#include <commctrl.h>

bool ExTooltip::Create(HWND host) {
  m_host = host;
  // No owner: the host destroys it at teardown.
  m_window.Reset(CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0, 0, 0,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
  if (!m_window) return false;
  SetWindowPos(m_window.Get(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
  SendMessageW(m_window.Get(), TTM_SETMAXTIPWIDTH, 0, 1024);
  return true;
}

void ExTooltip::Reset() {
  m_window.Reset();
  m_host = nullptr;
}

void ExTooltip::Hide() {
  if (!m_window) return;
  TOOLINFOA tool = {};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = m_host;
  SendMessageA(m_window.Get(), TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void ExTooltip::Show(const ExPixelRect& place, const std::string& text) {
  Hide();
  if (!m_window || text.empty()) return;
  TOOLINFOA tool = {};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = m_host;
  tool.rect = {place.left, place.top, place.right, place.bottom};
  std::string copy = text;  // the control copies it; the field is not const
  tool.lpszText = &copy[0];
  SendMessageA(m_window.Get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageA(m_window.Get(), TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageA(m_window.Get(), TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}
