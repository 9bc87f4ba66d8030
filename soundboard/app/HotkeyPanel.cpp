#include "HotkeyPanel.h"

#include <utility>

#include "AppMessages.h"
#include "BindingFile.h"
#include "KeyNames.h"
#include "SoundLibrary.h"

namespace {

constexpr int kSlideSteps = 20;  // step k moves the edge by k pixels: 210 in all
constexpr int kSlideDistance = kSlideSteps * (kSlideSteps + 1) / 2;
constexpr DWORD kSlideStepMs = 12;

constexpr float kLabelWidth = 200;
constexpr float kLabelHeight = 30;

constexpr char kNoHotkey[] = "当前热键状态：无";
constexpr char kHotkeyIs[] = "当前热键状态：";

ExLabelOptions WhiteText() {
  ExLabelOptions look;
  look.textColour = ArgbFromBgr(0xFFFFFF);
  look.lineAlignment = Gdiplus::StringAlignmentCenter;
  return look;
}

ExLabelOptions Filled(std::uint32_t colour) {
  ExLabelOptions look;
  look.backgroundFrom = colour;
  return look;
}

}  // namespace

HotkeyPanel::HotkeyPanel(std::string bindingFile) : m_bindingFile(std::move(bindingFile)) {}

HotkeyPanel::~HotkeyPanel() {
  m_stopSlide = true;
  JoinSlider();
}

void HotkeyPanel::Create(HWND window, int width, int height, ChangeHandler onChanged) {
  m_window = window;
  m_closedWidth = width;
  m_onChanged = std::move(onChanged);
  const float left = static_cast<float>(width);

  m_separator.Create(window, {left, 0, 2, static_cast<float>(height)}, "", Filled(ArgbFromBgr(0x808080)));
  m_backdrop.Create(window, {left + 2, 2, 300, static_cast<float>(height - 4)}, "",
                    Filled(ArgbFromBgr(0x000000, 200, true)));
  CreateLabels(width);

  // Read-only: the box shows the name of the key pressed in it, which the
  // panel writes itself; typed characters must not join it.
  ExEditOptions field;
  field.mode = ExInputMode::kReadOnly;
  m_keyField.Create(window, {left + 15, 200, 100, 20}, field);
  m_keyField.BindEvent(WM_KEYDOWN, [this](ExHandle, ExHandle, UINT, WPARAM key, LPARAM) -> LRESULT {
    OnKeyFieldKey(static_cast<UINT>(key));
    return 0;
  });

  ExButtonOptions hidden;
  hidden.visible = false;
  m_confirm.Create(window, {left + 125, 200, 60, 25}, "确定", hidden);
  m_confirm.BindEvent(EXM_CLICK, [this](ExHandle, ExHandle, UINT, WPARAM, LPARAM) -> LRESULT {
    OnConfirm();
    return 0;
  });
  m_clearAll.Create(window, {left + 30, 250, 80, 25}, "取消全部热键");
  m_clearAll.BindEvent(EXM_CLICK, [this](ExHandle, ExHandle, UINT, WPARAM, LPARAM) -> LRESULT {
    OnClearAll();
    return 0;
  });
}

void HotkeyPanel::CreateLabels(int width) {
  const float left = static_cast<float>(width + 10);
  ExLabelOptions titleLook = WhiteText();
  titleLook.font.size = 22;
  m_title.Create(m_window, {left, 30, kLabelWidth, kLabelHeight}, "修改热键", titleLook);
  m_sound.Create(m_window, {left, 100, kLabelWidth, kLabelHeight}, "", WhiteText());
  m_current.Create(m_window, {left, 130, kLabelWidth, kLabelHeight}, kNoHotkey, WhiteText());
  m_hint.Create(m_window, {left, 160, kLabelWidth, kLabelHeight}, "编辑框内按下需要设置的快捷键", WhiteText());
  m_status.Create(m_window, {left, 220, kLabelWidth, kLabelHeight}, "", WhiteText());
  ExLabelOptions red = WhiteText();
  red.textColour = ArgbFromBgr(0x0000FF);
  m_advice.Create(m_window, {left, 280, kLabelWidth, kLabelHeight}, "推荐使用：F1系列的快捷键。", red);
}

void HotkeyPanel::OpenFor(const std::string& soundName, const std::string& path, const std::string& keyNames) {
  m_sound.SetText("修改按钮：" + soundName);
  m_sound.SetTag(path);
  m_current.SetText(keyNames.empty() ? std::string(kNoHotkey) : kHotkeyIs + keyNames);
  Reset();
  RequestSlide(Slide::kOpen);
}

void HotkeyPanel::Close() {
  RequestSlide(Slide::kClose);
}

// ---- the panel's controls ----------------------------------------------------

void HotkeyPanel::Reset() {
  m_capturedKey = 0;
  m_keyField.SetText("");
  m_status.SetText("");
  m_confirm.SetVisible(false);
}

void HotkeyPanel::OnClearAll() {
  const bool cleared = ClearBindings(m_bindingFile);
  m_status.SetText(cleared ? "取消全部热键成功。" : "取消全部热键失败。");
  if (cleared) m_current.SetText(kNoHotkey);
  if (m_onChanged) m_onChanged();
}

void HotkeyPanel::OnConfirm() {
  if (m_capturedKey == 0 || m_sound.Tag().empty()) return;
  const std::string keyName = HotkeyName(m_capturedKey);
  // The button would claim a binding that no key plays.
  if (!WriteBinding(m_bindingFile, keyName, m_sound.Tag())) {
    m_status.SetText("热键保存失败。");
    return;
  }
  if (m_onChanged) m_onChanged();
  Close();
}

void HotkeyPanel::OnKeyFieldKey(UINT key) {
  if (key == VK_SPACE) {
    m_status.SetText("此代码为停止播放快捷键。");
    m_capturedKey = 0;
    return;
  }
  const std::string keyName = HotkeyName(key);
  if (keyName.empty()) return;  // a key without a name cannot be stored
  m_keyField.SetText(keyName);
  m_status.SetText("您可以注册这个热键。");
  m_capturedKey = key;
  m_confirm.SetVisible(true);
}

// ---- sliding -----------------------------------------------------------------

void HotkeyPanel::RequestSlide(Slide slide) {
  if (m_window == nullptr) return;
  if (m_slideTarget != 0) {
    m_pendingSlide = slide;
    return;
  }
  StartSlide(slide);
}

void HotkeyPanel::StartSlide(Slide slide) {
  const bool open = slide == Slide::kOpen;
  const int from = open ? m_closedWidth : m_closedWidth + kSlideDistance;
  if (WindowWidth() != from) return;  // already there, or moved by someone else
  JoinSlider();
  const int direction = open ? 1 : -1;
  m_slideTarget = from + direction * kSlideDistance;
  m_stopSlide = false;
  m_slider = std::thread([window = m_window, from, direction, stop = &m_stopSlide] {
    int width = from;
    for (int k = 1; k <= kSlideSteps && !*stop; ++k) {
      width += direction * k;
      PostMessageW(window, kMsgPanelSlide, static_cast<WPARAM>(width), 0);
      if (k < kSlideSteps) Sleep(kSlideStepMs);
    }
  });
}

void HotkeyPanel::OnSlideStep(int width) {
  if (m_slideTarget == 0) return;
  // Laying out a new width can take longer than a step lasts: go straight to
  // the newest width queued, so the slide keeps its pace.
  MSG newer;
  while (PeekMessageW(&newer, m_window, kMsgPanelSlide, kMsgPanelSlide, PM_REMOVE)) {
    width = static_cast<int>(newer.wParam);
  }
  RECT rect = {};
  GetWindowRect(m_window, &rect);
  SetWindowPos(m_window, nullptr, 0, 0, width, rect.bottom - rect.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (width != m_slideTarget) return;
  m_slideTarget = 0;
  JoinSlider();
  const Slide pending = std::exchange(m_pendingSlide, Slide::kNone);
  if (pending != Slide::kNone) StartSlide(pending);
}

void HotkeyPanel::JoinSlider() {
  if (m_slider.joinable()) m_slider.join();
}

int HotkeyPanel::WindowWidth() const {
  RECT rect = {};
  GetWindowRect(m_window, &rect);
  return rect.right - rect.left;
}
