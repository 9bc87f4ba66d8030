#include "ExCaption.h"

#include <algorithm>
#include <string>

#include "ExImage.h"
#include "ExLabel.h"
#include "ExStyleFlags.h"
#include "ExSystemButtons.h"

namespace {

std::wstring WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(std::max(0, GetWindowTextW(window, &text[0], length + 1))));
  return text;
}

}  // namespace

// Out of line: the elements' classes are complete only here.
ExCaption::ExCaption() = default;
ExCaption::~ExCaption() = default;

void ExCaption::Create(HWND window, unsigned styleFlags, int width) {
  const ExCaptionLayout layout = CaptionLayout(styleFlags, width);
  if (styleFlags & kExWindowIcon) {
    m_icon = std::make_unique<ExImage>();
    HICON icon = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICONSM));
    if (icon == nullptr) icon = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICON));
    m_icon->Create(window, layout.icon, icon, ExDrawMode::kFit);
  }
  if (styleFlags & kExTitleText) {
    ExLabelOptions options;
    options.textColour = 0xFAFFFFFF;
    options.lineAlignment = Gdiplus::StringAlignmentCenter;
    m_title = std::make_unique<ExLabel>();
    m_title->Create(window, layout.title, "", options);
    m_title->SetWideText(WindowText(window));
  }
  if (layout.buttonCount > 0) {
    m_buttons = std::make_unique<ExSystemButtons>();
    m_buttons->Create(window, layout.buttons, styleFlags);
  }
}

void ExCaption::Place(unsigned styleFlags, int width) {
  const ExCaptionLayout layout = CaptionLayout(styleFlags, width);
  if (m_title) m_title->SetRect(layout.title);
  if (m_buttons) {
    m_buttons->SetRect(layout.buttons);
    m_buttons->Repaint();  // maximise and restore swap glyphs
  }
}

void ExCaption::UpdateTitle(HWND window) {
  if (m_title) m_title->SetWideText(WindowText(window));
}

void ExCaption::Reset() {
  m_icon.reset();
  m_title.reset();
  m_buttons.reset();
}
