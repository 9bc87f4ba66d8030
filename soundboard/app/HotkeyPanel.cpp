#include "HotkeyPanel.h"

#include <utility>

HotkeyPanel::HotkeyPanel(std::string bindingFile) : m_bindingFile(std::move(bindingFile)) {}

HotkeyPanel::~HotkeyPanel() = default;

void HotkeyPanel::Create(HWND window, int, int, BoundHandler) {
  m_window = window;
}

void HotkeyPanel::OpenFor(int, int, const std::string&, const std::string&, const std::string&) {}

void HotkeyPanel::Close() {}

void HotkeyPanel::OnSlideStep(int) {}
