#include "SoundCategory.h"

#include <algorithm>

namespace {

constexpr std::uint32_t kRed = 0x0000FF;  // blue-green-red
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr int kSoundAlpha = 100;
constexpr float kButtonWidth = 70;
constexpr float kButtonHeight = 30;

// Handles the messages waiting in the queue when input is among them, so the
// window stays responsive during a long scan. A quit request met here is
// posted again for the message loop; false then, and the caller handles no
// more messages during this scan.
bool HandleWaitingInput() {
  if (HIWORD(GetQueueStatus(QS_INPUT)) == 0) return true;
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

std::vector<std::string> ListSounds(const std::string& folder) {
  std::vector<std::string> files;
  WIN32_FIND_DATAA found = {};
  const UniqueFindHandle listing(FindFirstFileA((folder + "*.mp3").c_str(), &found));
  if (!listing) return files;
  bool handlingInput = true;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.push_back(folder + found.cFileName);
    if (handlingInput) handlingInput = HandleWaitingInput();
  } while (FindNextFileA(listing.Get(), &found));
  return files;
}

ExProgressOptions PanelLook() {
  ExProgressOptions look;
  look.barStart = look.barEnd = look.border = ArgbFromBgr(kRed, kSoundAlpha, true);
  look.background = ArgbFromBgr(kBlack, kSoundAlpha, true);
  return look;
}

}  // namespace

void SoundCategory::Build(HWND window, ExTab& tab, int page, const std::string& folder, ButtonHandler onClick,
                          ButtonHandler onRightPress) {
  m_onClick = std::move(onClick);
  m_onRightPress = std::move(onRightPress);
  m_files = ListSounds(folder);
  if (!IsWindow(window)) return;
  const int slots = static_cast<int>(std::min<std::size_t>(m_files.size(), kButtonSlots));
  for (int index = 1; index <= slots; ++index) BuildButton(index, window, tab, page);
}

void SoundCategory::BuildButton(int index, HWND window, ExTab& tab, int page) {
  SoundButton& button = m_buttons[index - 1];
  const std::string& path = m_files[index - 1];
  const std::string name = FileNameWithoutExtension(path);
  // Slots past the shown rows keep their sound, hotkey and handlers, but no element.
  const ButtonPlace place = PlaceButton(index, static_cast<int>(tab.Top()));
  if (place.visible) {
    const float x = static_cast<float>(place.x);
    const float y = static_cast<float>(place.y);
    button.panel.Create(window, {x, y, kButtonWidth, kButtonHeight}, PanelLook());
    ExButtonOptions captionLook;
    captionLook.textColour = ArgbFromBgr(kWhite);
    button.caption.Create(button.panel.Handle(), {x, y, button.panel.Width(), button.panel.Height()}, name,
                          captionLook);
  } else {
    button.caption.SetText(name);
  }
  button.caption.SetTag(path);
  button.caption.BindEvent(EXM_CLICK, [this](ExHandle, ExHandle caption, UINT, WPARAM, LPARAM) -> LRESULT {
    m_onClick(caption);
    return 0;
  });
  button.caption.BindEvent(WM_RBUTTONDOWN, [this](ExHandle, ExHandle caption, UINT, WPARAM, LPARAM) -> LRESULT {
    m_onRightPress(caption);
    return 0;
  });
  if (place.visible) tab.PlaceItem(page, button.panel.Handle(), ExTabItemKind::kElement);
}

int SoundCategory::IndexOf(ExHandle caption) const {
  if (caption == 0) return 0;
  for (int index = 1; index <= kButtonSlots; ++index) {
    if (m_buttons[index - 1].caption.Handle() == caption) return index;
  }
  return 0;
}

SoundCategory::SoundButton* SoundCategory::Slot(int index) {
  return index >= 1 && index <= static_cast<int>(std::min<std::size_t>(m_files.size(), kButtonSlots))
             ? &m_buttons[index - 1]
             : nullptr;
}

const SoundCategory::SoundButton* SoundCategory::Slot(int index) const {
  return const_cast<SoundCategory*>(this)->Slot(index);
}

std::string SoundCategory::Name(int index) const {
  const SoundButton* button = Slot(index);
  return button != nullptr ? button->caption.Text() : std::string();
}

std::string SoundCategory::Path(int index) const {
  const SoundButton* button = Slot(index);
  return button != nullptr ? button->caption.Tag() : std::string();
}

std::string SoundCategory::Hotkey(int index) const {
  const SoundButton* button = Slot(index);
  return button != nullptr ? button->panel.Tag() : std::string();
}

void SoundCategory::ShowHotkeys(const std::vector<BoundKey>& bound) {
  const int slots = static_cast<int>(std::min<std::size_t>(m_files.size(), kButtonSlots));
  for (int index = 1; index <= slots; ++index) {
    m_buttons[index - 1].panel.SetHotkeys(KeysPlaying(bound, m_files[index - 1]));
  }
}

int SoundCategory::Progress(int index) const {
  const SoundButton* button = Slot(index);
  return button != nullptr ? button->panel.Value() : 0;
}

void SoundCategory::SetProgress(int index, int percent) {
  if (SoundButton* button = Slot(index)) button->panel.SetValue(percent);
}
