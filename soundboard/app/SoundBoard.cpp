#include "SoundBoard.h"

namespace {

// Appended to the program folder, in category order.
constexpr const char* kFolderNames[SoundBoard::kCategoryCount] = {"\\主持音效", "\\喊麦音效", "\\搞笑音效"};

}  // namespace

SoundBoard::SoundBoard(AudioPlayer& player) : m_player(player) {}

SoundBoard::~SoundBoard() {
  EndWatches();
}

void SoundBoard::SetHandlers(std::function<void()> onPlay, RightPressHandler onRightPress) {
  m_onPlay = std::move(onPlay);
  m_onRightPress = std::move(onRightPress);
}

void SoundBoard::BuildCategory(int category, HWND window, ExTab& tab, const std::string& programFolder) {
  if (category < 1 || category > kCategoryCount || m_categories[category - 1]) return;
  m_window = window;
  auto& sounds = m_categories[category - 1];
  sounds = std::make_unique<SoundCategory>();
  sounds->Build(
      window, tab, category, CategoryFolder(programFolder, kFolderNames[category - 1]),
      [this, category](ExHandle caption) { OnClick(category, caption); },
      [this, category](ExHandle caption) { OnRightPress(category, caption); });
}

void SoundBoard::OnClick(int category, ExHandle caption) {
  SoundCategory* sounds = Category(category);
  const int index = sounds->IndexOf(caption);
  if (index != 0) {
    // Ends every watch, so the button the last click drove, in whatever
    // category, is set back to 0 at once.
    PlayPath(sounds->Path(index));
    sounds->Watch().Start(m_player, m_player.stream(), m_window, category, index);
  }
  // Closing the hotkey panel starts an animation: it waits until the sound
  // has started.
  if (m_onPlay) m_onPlay();
}

void SoundBoard::OnRightPress(int category, ExHandle caption) {
  const int index = Category(category)->IndexOf(caption);
  if (index != 0 && m_onRightPress) m_onRightPress(category, index);
}

void SoundBoard::PlayPath(const std::string& path) {
  // Only what the sound needs comes before its play call. The watches are
  // told to end, so that none takes the library's lock between the calls;
  // waiting for their threads, which run at normal priority, and repainting
  // their buttons both wait until the first buffer is queued.
  for (const auto& sounds : m_categories) {
    if (sounds) sounds->Watch().RequestStop();
  }
  m_player.play_path(path.c_str(), m_window);
  EndWatches();
}

void SoundBoard::Stop() {
  EndWatches();
  m_player.stop();
}

void SoundBoard::EndWatches() {
  for (const auto& sounds : m_categories) {
    if (!sounds) continue;
    const int index = sounds->Watch().Index();
    sounds->Watch().Stop();
    if (index != 0) sounds->SetProgress(index, 0);
  }
}

SoundCategory* SoundBoard::Category(int category) const {
  return category >= 1 && category <= kCategoryCount ? m_categories[category - 1].get() : nullptr;
}

std::string SoundBoard::SoundName(int category, int index) const {
  const SoundCategory* sounds = Category(category);
  return sounds != nullptr ? sounds->Name(index) : std::string();
}

std::string SoundBoard::SoundPath(int category, int index) const {
  const SoundCategory* sounds = Category(category);
  return sounds != nullptr ? sounds->Path(index) : std::string();
}

std::string SoundBoard::Hotkey(int category, int index) const {
  const SoundCategory* sounds = Category(category);
  return sounds != nullptr ? sounds->Hotkey(index) : std::string();
}

void SoundBoard::ShowHotkeys(const std::vector<BoundKey>& bound) {
  for (const auto& sounds : m_categories) {
    if (sounds) sounds->ShowHotkeys(bound);
  }
}

int SoundBoard::Progress(int category, int index) const {
  const SoundCategory* sounds = Category(category);
  return sounds != nullptr ? sounds->Progress(index) : 0;
}

void SoundBoard::OnProgress(WPARAM which, LPARAM value) {
  SoundCategory* sounds = Category(ProgressWatch::CategoryOf(which));
  if (sounds == nullptr || !sounds->Watch().Accepts(which, value)) return;
  sounds->SetProgress(ProgressWatch::IndexOf(which), ProgressWatch::PercentOf(value));
}
