// A framework window laid out like the soundboard's main window, with every
// element class of the framework over the soundboard's skin: for looking at
// the controls (and for screenshots). Text literals are GBK, like the
// soundboard's. Closes by itself after the given number of seconds, if any.
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "ExButton.h"
#include "ExCaptionButton.h"
#include "ExFramework.h"
#include "ExHost.h"
#include "ExImage.h"
#include "ExImageButton.h"
#include "ExImageLoader.h"
#include "ExLabel.h"
#include "ExProgress.h"
#include "ExStyleFlags.h"
#include "ExTab.h"
#include "QuoblyResources.h"

namespace {

constexpr int kWidth = 430;
constexpr int kHeight = 320;
constexpr COLORREF kRed = RGB(255, 0, 0);

ExResourceBytes Picture(int id) {
  return ExFindResourceBytes(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), L"PNG");
}

struct SoundButton {
  ExProgress panel;
  ExCaptionButton caption;
};

// Everything the window shows; lives until the message loop ends.
struct Demo {
  ExHost host;
  ExLabel title;
  ExImageButton close;
  ExImageButton minimise;
  ExImageButton topmost;
  ExTab tab;
  SoundButton sounds[3][7];
  ExButton bind;
  ExButton clear;
  ExLabel help;

  bool Build(HWND window) {
    const ExResourceBytes skin = Picture(IDR_SKIN);
    ExAttachOptions attach;
    attach.imageMode = ExImageMode::kStretch;
    attach.styleFlags = 0;
    attach.dragAnywhere = true;
    if (!host.Attach(window, skin.data, skin.size, attach)) return false;

    ExLabelOptions titleLook;
    titleLook.textColour = 0xFEFFFFFF;
    titleLook.font.size = 13;
    titleLook.lineAlignment = Gdiplus::StringAlignmentCenter;
    title.Create(window, {10, 0, 200, 50}, "Quobly beta1", titleLook);

    AddTitleButton(window, close, kWidth - 45, 33, IDR_TITLE_CLOSE, 34, "关闭");
    AddTitleButton(window, minimise, kWidth - 75, 25, IDR_TITLE_MINIMISE, 26, "最小化");
    AddTitleButton(window, topmost, kWidth - 105, 25, IDR_TITLE_TOPMOST, 29, "置顶：关");
    topmost.SetOpacity(100);
    close.BindEvent(EXM_CLICK, [window](ExHandle, ExHandle, UINT, WPARAM, LPARAM) -> LRESULT {
      PostMessageW(window, WM_CLOSE, 0, 0);
      return 0;
    });

    tab.Create(window, {1, 70, kWidth, kHeight - 60});
    tab.SetHeaderMetrics({10, 10, 90, 30});
    const char* pages[] = {"主持音效", "喊麦音效", "搞笑音效"};
    const int icons[] = {IDR_TAB_HOST, IDR_TAB_SHOUT, IDR_TAB_COMIC};
    const char* names[3][7] = {{"开场", "掌声", "欢呼", "鼓点", "过场", "颁奖", "谢幕"},
                               {"喊麦一", "喊麦二", "燃起来", "嗨翻全场", "来了老弟", "节奏", "收尾"},
                               {"笑声", "尴尬", "滑稽", "boing", "叮", "啊这", "鼓掌"}};
    for (int page = 0; page < 3; ++page) {
      const ExResourceBytes icon = Picture(icons[page]);
      tab.AddPage(pages[page], icon.data, icon.size);
      for (int i = 0; i < 7; ++i) AddSound(window, page, i, names[page][i]);
    }
    sounds[0][1].panel.SetValue(35);
    sounds[0][3].panel.SetValue(100);

    ExButtonOptions buttonLook;
    buttonLook.textColour = 0xFEFFFFFF;
    buttonLook.shading = RGB(200, 30, 40);
    bind.Create(window, {20, 200, 90, 28}, "绑定", buttonLook);
    clear.Create(window, {120, 200, 90, 28}, "清空", buttonLook);
    clear.SetDisabled(true);
    tab.PlaceItem(1, bind.Handle(), ExTabItemKind::kElement);
    tab.PlaceItem(1, clear.Handle(), ExTabItemKind::kElement);

    ExLabelOptions helpLook;
    helpLook.textColour = 0xFEFF0000;
    helpLook.outline = 0xC8000000;
    helpLook.lineAlignment = Gdiplus::StringAlignmentCenter;
    help.Create(window, {170, kHeight - 35, 230, 20}, "空格键为停止，右键按钮修改快捷键。", helpLook);
    return true;
  }

  void AddTitleButton(HWND window, ExImageButton& button, int x, int width, int strip, int step, const char* tip) {
    button.Create(window, {static_cast<float>(x), 4, static_cast<float>(width), 26}, tip);
    const ExResourceBytes bytes = Picture(strip);
    button.SetImageStrip(bytes.data, bytes.size, step, 33, 26, true);
    button.SetTooltipText(tip);
  }

  void AddSound(HWND window, int page, int i, const char* name) {
    const int row = i / 5;
    const int column = i % 5;
    const float x = 20.0f + 80 * column;
    const float y = 70.0f + 40 * (row + 1);
    ExProgressOptions look;
    look.barStart = look.barEnd = look.border = 0x64FF0000;
    look.background = 0x64000000;
    SoundButton& sound = sounds[page][i];
    sound.panel.Create(window, {x, y, 70, 30}, look);
    ExButtonOptions captionLook;
    captionLook.textColour = 0xFEFFFFFF;
    sound.caption.Create(sound.panel.Handle(), {x, y, sound.panel.Width(), sound.panel.Height()}, name, captionLook);
    tab.PlaceItem(page + 1, sound.panel.Handle(), ExTabItemKind::kElement);
  }
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  if (!ExFramework::Startup()) return 1;
  const int seconds = std::atoi(commandLine);
  int exitCode = 1;
  {
    ExWindowOptions options;
    options.title = "Quobly";
    options.width = kWidth;
    options.height = kHeight;
    HWND window = ExCreateWindow(options);
    auto demo = std::make_unique<Demo>();
    if (window != nullptr && demo->Build(window)) {
      demo->host.SetMessageHook([](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
        if (message == WM_DESTROY) PostQuitMessage(0);
        return kExUndecided;
      });
      if (seconds > 0) SetTimer(nullptr, 0, static_cast<UINT>(seconds) * 1000, nullptr);
      demo->host.Show();
      MSG msg = {};
      while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == nullptr) DestroyWindow(window);
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      exitCode = static_cast<int>(msg.wParam);
    } else if (window != nullptr) {
      DestroyWindow(window);
    }
  }
  ExFramework::Shutdown();
  return exitCode;
}
