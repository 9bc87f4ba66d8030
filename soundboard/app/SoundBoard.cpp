#include "SoundBoard.h"

SoundBoard::SoundBoard(AudioPlayer& player) : m_player(player) {}

SoundBoard::~SoundBoard() = default;

void SoundBoard::SetHandlers(std::function<void()>, RightPressHandler) {}

void SoundBoard::BuildCategory(int, HWND window, ExTab&, const std::string&, const Bindings&) {
  m_window = window;
}

void SoundBoard::PlayPath(const std::string& path) {
  m_player.play_path(path.c_str(), m_window);
}

void SoundBoard::Stop() {
  m_player.stop();
}

std::string SoundBoard::SoundName(int, int) const {
  return {};
}

std::string SoundBoard::SoundPath(int, int) const {
  return {};
}

std::string SoundBoard::Hotkey(int, int) const {
  return {};
}

void SoundBoard::SetHotkey(int, int, const std::string&) {}

void SoundBoard::OnProgress(WPARAM, LPARAM) {}
