#include "PvButton.h"

#include "PvFont.h"
#include "PvImage.h"

namespace {

constexpr int kDefaultButtonImage = 60001;

}  // namespace

int DefaultCaptionOffset() {
  return CPvFont::Instance().isSupportYaHei() ? 0 : 2;
}

CPvButton::CPvButton(const tagPvControlOptions& options) : CPvBase(options), m_nCaptionY(DefaultCaptionOffset()) {
  m_picture.imageId = kDefaultButtonImage;
  m_picture.stem = L"button";
}

CPvButton::CPvButton(const wchar_t* caption, int x, const tagPvControlOptions& options) : CPvButton(options) {
  Init(caption, x, 148, 68, 29, 8, 3, nullptr, nullptr);
}

void CPvButton::Init(const wchar_t* caption, int x, int y, int width, int height, int horizontalEdge, int frames,
                     HWND host, const wchar_t* imagePath) {
  m_picture = tagPvPicture();
  m_picture.imageId = kDefaultButtonImage;
  m_picture.horizontalEdge = horizontalEdge;
  m_picture.frames = frames;
  m_picture.stem = L"button";
  m_nState = kNormal;
  m_nVerticalEdge = 2;
  m_strCaption = caption != nullptr ? caption : L"";
  SetRect(x, y, width, height);
  m_hHostWnd = host;
  if (imagePath != nullptr && *imagePath != L'\0') {
    m_picture.imagePath = imagePath;
    m_nImageSource = kImageFromFile;
  }
  m_pfnPress = nullptr;
  m_pfnClick = nullptr;
  m_nCaptionX = 0;
  m_nCaptionY = DefaultCaptionOffset();
}

void CPvButton::Draw(HDC hdc, int x, int y) {
  if (!m_bVisible || hdc == nullptr) return;
  DrawControlPicture(hdc, m_picture, m_nImageSource, m_nStateCount, &m_nState, x, y, m_width, m_height, m_nVerticalEdge,
                     PackagePicture::kLoadOnly);
  if (!m_strCaption.empty()) {
    CPvImage::Instance().DrawString(hdc, m_hFont, m_strCaption.c_str(), x + m_nCaptionX, y + m_nCaptionY,
                                    m_width - m_nCaptionX, m_height, m_textColor, 254, true, true);
  }
}

void CPvButton::Paint(HDC hdc) {
  if (IsInsideHost()) Draw(hdc, m_x - m_offsetX, m_y - m_offsetY);
}

void CPvButton::SetState(int state) {
  m_nState = state;
  Refresh(false);
}

bool CPvButton::OnMouse(int x, int y, int action, void* context) {
  const int left = m_x - m_offsetX;
  const int top = m_y - m_offsetY;
  const bool hit = left <= x && x <= left + m_width && top <= y && y <= top + m_height;
  if (!hit) {
    // A press that ends outside is dropped, so a later release inside
    // without a press of its own fires no click.
    if (action == kMouseUp) m_bPressed = false;
    if (m_nState != kNormal) SetState(kNormal);
    return false;
  }
  if (action == kMouseDown) {
    m_bPressed = true;
    SetState(kPressed);
    if (m_pfnPress != nullptr) m_pfnPress(context);
  } else if (action == kMouseUp) {
    if (m_bPressed) {
      m_bPressed = false;
      SetState(kReleased);
      if (m_pfnClick != nullptr) m_pfnClick(context);
    }
  } else if (action == kMouseMove && m_nState != kHover) {
    SetState(kHover);
  }
  return true;
}
