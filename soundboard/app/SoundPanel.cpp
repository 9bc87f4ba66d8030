#include "SoundPanel.h"

#include "ExFramework.h"

namespace {

constexpr Gdiplus::ARGB kBadgeColour = 0xE6FFD24A;  // a warm yellow, apart from the white caption
constexpr Gdiplus::ARGB kBadgeOutline = 0x96000000;
constexpr float kBadgeFontSize = 9.0f;
constexpr float kBadgeHeight = 11.0f;
constexpr float kBadgeInset = 5.0f;  // clear of the rounded corner
// Every hotkey name ends in "键" (key); the corner shows the rest.
constexpr wchar_t kKeySuffix = L'\x952e';

constexpr char kNameSeparator[] = "、";

std::wstring BadgeText(const std::vector<std::string>& keyNames) {
  std::wstring badge;
  for (const std::string& keyName : keyNames) {
    std::wstring text = AnsiToWide(keyName);
    if (text.size() > 1 && text.back() == kKeySuffix) text.pop_back();
    if (!badge.empty()) badge += L' ';
    badge += text;
  }
  return badge;
}

std::string JoinedNames(const std::vector<std::string>& keyNames) {
  std::string joined;
  for (const std::string& keyName : keyNames) {
    if (!joined.empty()) joined += kNameSeparator;
    joined += keyName;
  }
  return joined;
}

}  // namespace

SoundPanel::SoundPanel() : m_badge(kBadgeColour) {
  // Settings only: the format itself is made when first drawn.
  m_badge.Format().SetAlignment(Gdiplus::StringAlignmentFar);
  m_badge.Format().SetLineAlignment(Gdiplus::StringAlignmentNear);
  m_badge.Format().SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
}

void SoundPanel::SetHotkeys(const std::vector<std::string>& keyNames) {
  if (!m_badgeFontMade) {
    // Made here, not at construction: panels may be built before GDI+ starts.
    m_badge.SetFont({std::string(), kBadgeFontSize, -1});
    m_badgeFontMade = true;
  }
  SetTag(JoinedNames(keyNames));
  m_badge.SetText(BadgeText(keyNames));
  Repaint();
}

void SoundPanel::Paint(Gdiplus::GpGraphics* graphics, const ExRectF& area) {
  ExProgress::Paint(graphics, area);
  if (m_badge.Text().empty()) return;
  const ExRectF corner{area.x + kBadgeInset, area.y + 1, area.width - 2 * kBadgeInset, kBadgeHeight};
  m_badge.Draw(graphics, corner, kBadgeOutline);
}
