#include "SoundCards.h"

SoundCards::SoundCards(AudioPlayer& player) : m_player(player) {}

SoundCards::~SoundCards() = default;

void SoundCards::LoadDropButton() {}

void SoundCards::Create(HWND window, int) {
  m_window = window;
}

void SoundCards::StartEnumeration() {}

void SoundCards::OnFound(LPARAM) {}
