#include "SoundCards.h"

#include <system_error>
#include <utility>

#include "AppMessages.h"
#include "BindingFile.h"
#include "SoundLibrary.h"
#include "QuoblyResources.h"

namespace {

constexpr char kComboText[] = "默认系统声卡通道";
// After the stored card's name while no device has it; the default plays.
constexpr char kMissingMark[] = "（未连接）";
constexpr float kComboLeft = 20;
constexpr float kComboBottomGap = 40;  // from the window's bottom edge to the combo's top
constexpr float kComboWidth = 140;
constexpr float kComboHeight = 25;
// White text needs a dark field over the skin; the open list is white, so its
// rows are black.
constexpr Gdiplus::ARGB kFieldColour = 0x8C000000;
constexpr Gdiplus::ARGB kFrameColour = 0x38FFFFFF;

}  // namespace

SoundCards::SoundCards(AudioPlayer& player, std::string settingsFile)
    : m_player(player), m_settingsFile(std::move(settingsFile)), m_chosenName(ReadSoundCardName(m_settingsFile)) {
  // Plays look the card up by name: it plays there as soon as it is present,
  // before the list has arrived.
  m_player.set_card(m_chosenName);
}

SoundCards::~SoundCards() {
  if (m_worker.joinable()) m_worker.join();
}

void SoundCards::LoadDropButton() {
  m_dropButton = ExFindResourceBytes(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_DROP_BUTTON), L"PNG");
  if (m_combo.Handle() != 0) m_combo.SetArrowImage(m_dropButton.data, m_dropButton.size);
}

void SoundCards::Create(HWND window, int height) {
  m_window = window;
  ExComboOptions options;
  options.text = kComboText;
  options.textColour = ArgbFromBgr(0xFFFFFF);
  options.fieldColour = kFieldColour;
  options.frameColour = kFrameColour;
  options.listTextColour = ArgbFromBgr(0x000000);
  const ExRectF place{kComboLeft, static_cast<float>(height) - kComboBottomGap, kComboWidth, kComboHeight};
  if (m_combo.Create(window, place, options) == 0) return;
  if (m_dropButton.data != nullptr) m_combo.SetArrowImage(m_dropButton.data, m_dropButton.size);
  m_combo.OnSelectionChanged([this](int index) { OnSelectionChanged(index); });
}

void SoundCards::StartEnumeration() {
  if (m_worker.joinable() || m_window == nullptr) return;
  const HWND window = m_window;
  try {
    m_worker = std::thread([this, window] {
      auto found = std::make_unique<CardList>(ListSoundCards(AudioPlayer::WaveOutNames()));
      const LPARAM result = reinterpret_cast<LPARAM>(found.get());
      {
        std::lock_guard<std::mutex> lock(m_foundLock);
        m_found = std::move(found);
      }
      PostMessageW(window, kMsgSoundCardsFound, 0, result);
    });
  } catch (const std::system_error&) {
    // No thread: the combo stays empty and plays keep the default output.
  }
}

void SoundCards::OnFound(LPARAM result) {
  std::unique_ptr<CardList> found;
  {
    std::lock_guard<std::mutex> lock(m_foundLock);
    // Only our worker's own result counts: the message may come from anyone.
    if (!m_found || reinterpret_cast<LPARAM>(m_found.get()) != result) return;
    found = std::move(m_found);
  }
  m_cards = std::move(*found);
  if (m_combo.Handle() == 0) return;
  m_combo.AddItem(kComboText, kDefaultOutputDevice);
  for (const SoundCard& card : m_cards) m_combo.AddItem(card.name, card.device);
  if (m_chosenName.empty()) return;  // nothing chosen yet
  const StoredCardPlace place = PlaceStoredCard(m_cards, m_chosenName);
  m_combo.SetCurrentIndex(place.item);
  if (place.missing) m_combo.ShowText(m_chosenName + kMissingMark);
}

void SoundCards::OnSelectionChanged(int index) {
  m_chosenName = CardNameForItem(m_cards, index);
  m_player.set_card(m_chosenName);
  WriteSoundCardName(m_settingsFile, m_chosenName);
}
