#include "WindowChrome.h"

WindowChrome::~WindowChrome() {
  RemoveTrayIcon();
}

void WindowChrome::AddTrayIcon(HWND window) {
  m_window = window;
}

void WindowChrome::RemoveTrayIcon() {}

void WindowChrome::Create(HWND, int) {}

void WindowChrome::OnTrayIcon(UINT) {}
