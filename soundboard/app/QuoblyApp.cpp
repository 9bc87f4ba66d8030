#include "QuoblyApp.h"

#include "AppMessages.h"
#include "ExFramework.h"
#include "BindingFile.h"
#include "ExImageLoader.h"
#include "KeyNames.h"
#include "QuoblyResources.h"
#include "SingleInstance.h"

namespace {

constexpr char kTitle[] = "Quobly";
constexpr int kDesignLeft = 50;
constexpr int kDesignTop = 50;
constexpr int kDesignWidth = 430;
constexpr int kDesignHeight = 320;
constexpr int kTabTop = 70;
constexpr int kCategoryCount = 3;
constexpr UINT kSpaceKey = VK_SPACE;

struct CategoryPage {
  const char* title;
  int icon;
};
constexpr CategoryPage kPages[kCategoryCount] = {
    {"主持音效", IDR_TAB_HOST}, {"喊麦音效", IDR_TAB_SHOUT}, {"搞笑音效", IDR_TAB_COMIC}};

std::string ProgramFolder() {
  char path[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return FolderOf(std::string_view(path, length));
}

// The hook reports a modifier by its left or right code, while the panel's
// edit box binds it by its generic code: one name serves both.
UINT GenericKey(UINT virtualKey) {
  switch (virtualKey) {
    case VK_LSHIFT:
    case VK_RSHIFT:
      return VK_SHIFT;
    case VK_LCONTROL:
    case VK_RCONTROL:
      return VK_CONTROL;
    case VK_LMENU:
    case VK_RMENU:
      return VK_MENU;
    default:
      return virtualKey;
  }
}

ExResourceBytes Picture(int id) {
  return ExFindResourceBytes(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), L"PNG");
}

int RunMessageLoop() {
  MSG msg = {};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace

QuoblyApp::QuoblyApp()
    : m_programFolder(ProgramFolder()),
      m_bindingFile(m_programFolder + "\\音效配置.ini"),
      m_soundCards(m_player, m_bindingFile),
      m_hotkeyPanel(m_bindingFile),
      m_board(m_player) {}

QuoblyApp::~QuoblyApp() = default;

int QuoblyApp::Run() {
  int exitCode = 1;
  ExWindowOptions options;
  options.title = kTitle;
  options.centred = false;
  options.x = kDesignLeft;
  options.y = kDesignTop;
  options.width = kDesignWidth;
  options.height = kDesignHeight;
  HWND window = ExCreateWindow(options);
  if (window != nullptr && OnCreate(window)) {
    m_host.Show(kExZoomIn);
    exitCode = RunMessageLoop();
  } else if (window != nullptr) {
    DestroyWindow(window);
  }
  return exitCode;
}

bool QuoblyApp::OnCreate(HWND window) {
  m_window = window;
  RECT rect = {};
  GetWindowRect(window, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;

  m_soundCards.LoadDropButton();
  m_chrome.AddTrayIcon(window);
  m_keyboardHook.install_keyboard_hook(window);
  // A copy started without elevation may ask this one to show itself.
  ChangeWindowMessageFilterEx(window, SingleInstance::ShowRunningMessage(), MSGFLT_ALLOW, nullptr);

  const ExResourceBytes skin = Picture(IDR_SKIN);
  ExAttachOptions attach;
  attach.imageMode = ExImageMode::kStretch;
  // The skin keeps to the window's start-up size while the hotkey panel
  // widens the window.
  attach.stretchArea = ExSize{width, height};
  attach.styleFlags = 0;  // the chrome is the soundboard's own
  if (!m_host.Attach(window, skin.data, skin.size, attach)) return false;
  // Messages the workers and the hook post arrive from here on; the
  // key filter joins at the end of start-up.
  m_host.SetMessageHook([this](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return OnWindowMessage(hwnd, message, wParam, lParam);
  });

  CreateTab(width, height);
  m_soundCards.Create(window, height);
  CreateHelpLabel(height);
  m_soundCards.StartEnumeration();
  m_hotkeyPanel.Create(window, width, height, [this] { ShowHotkeys(); });

  m_board.SetHandlers([this] { m_hotkeyPanel.Close(); },
                      [this](int category, int index) {
                        m_hotkeyPanel.OpenFor(m_board.SoundName(category, index), m_board.SoundPath(category, index),
                                              m_board.Hotkey(category, index));
                      });
  for (int category = 1; category <= kCategoryCount; ++category) {
    m_board.BuildCategory(category, window, m_tab, m_programFolder);
  }
  ShowHotkeys();

  m_keyFilter = true;
  m_chrome.Create(window, width);
  return true;
}

void QuoblyApp::CreateTab(int width, int height) {
  m_tab.Create(m_window, {1, kTabTop, static_cast<float>(width), static_cast<float>(height - 60)});
  m_tab.SetHeaderMetrics({10, 10, 90, 30});
  for (const CategoryPage& page : kPages) {
    const ExResourceBytes icon = Picture(page.icon);
    m_tab.AddPage(page.title, icon.data, icon.size);
  }
}

void QuoblyApp::CreateHelpLabel(int height) {
  ExLabelOptions look;
  look.textColour = ArgbFromBgr(255);
  look.outline = ArgbFromBgr(0x000000, 200, true);
  look.lineAlignment = Gdiplus::StringAlignmentCenter;
  m_help.Create(m_window, {170, static_cast<float>(height - 35), 230, 20}, "空格键为停止，右键按钮修改快捷键。", look);
}

LRESULT QuoblyApp::OnWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_chrome.OnShellRestart(message)) return 0;
  if (message == SingleInstance::ShowRunningMessage()) {
    m_chrome.ShowMainWindow();
    return 0;
  }
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
      if (m_keyFilter) return OnKeyMessage(message, wParam);
      break;
    case kMsgHotkeyPressed:
      OnHotkey(static_cast<UINT>(wParam));
      return 0;
    case kMsgProgress:
      m_board.OnProgress(wParam, lParam);
      return 0;
    case kMsgSoundCardsFound:
      m_soundCards.OnFound(lParam);
      return 0;
    case kMsgPanelSlide:
      m_hotkeyPanel.OnSlideStep(static_cast<int>(wParam));
      return 0;
    case kMsgTrayIcon:
      m_chrome.OnTrayIcon(static_cast<UINT>(lParam));
      return 0;
    case WM_DESTROY:
      OnDestroy();
      break;
  }
  return kExUndecided;
}

LRESULT QuoblyApp::OnKeyMessage(UINT message, WPARAM wParam) {
  const auto virtualKey = static_cast<UINT>(wParam);
  if (m_hotkeyPanel.HasKeyField(m_host.Focused())) {
    if (message == WM_KEYDOWN) return kExUndecided;  // the host hands it to the field
    // F10 and keys with Alt held arrive as system keys. Taken here, they
    // reach the field and never start the window menu's keyboard mode.
    if (message == WM_SYSKEYDOWN) m_hotkeyPanel.OnKeyFieldKey(virtualKey);
    return 0;
  }
  // Space stops playback, at its first press and at every repeat; a bound
  // key plays its sound. Either way the hook has acted on the key already.
  if (message == WM_KEYDOWN && (virtualKey == kSpaceKey || !BoundSound(virtualKey).empty())) return 0;
  return kExUndecided;
}

void QuoblyApp::OnHotkey(UINT virtualKey) {
  // The hook raised this thread before posting the key, so that it got here
  // ahead of busy programs. The binding is read still raised; the play call
  // raises itself; everything else (stopping, the board's repaint) runs at
  // normal priority.
  const std::string path = BoundSound(virtualKey);
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
  if (virtualKey == kSpaceKey) {
    m_board.Stop();
  } else if (!path.empty()) {
    m_board.PlayPath(path);
  }
}

std::string QuoblyApp::BoundSound(UINT virtualKey) const {
  if (virtualKey == kSpaceKey) return std::string();
  return ReadBinding(m_bindingFile, HotkeyName(GenericKey(virtualKey)));
}

void QuoblyApp::ShowHotkeys() {
  std::vector<BoundKey> bound;
  for (const unsigned key : PlayableKeys()) {
    std::string path = BoundSound(key);
    if (!path.empty()) bound.push_back({HotkeyName(key), std::move(path)});
  }
  m_board.ShowHotkeys(bound);
}

void QuoblyApp::OnDestroy() {
  m_keyboardHook.remove_keyboard_hook();
  m_chrome.RemoveTrayIcon();
  PostQuitMessage(0);
}
