// The keyboard hook in this process: keys typed by another thread as
// hardware input reach the hook's own thread, which posts them to a window
// of this thread.
#include <gtest/gtest.h>

#include <thread>

#include "AppMessages.h"
#include "AudioPriorityScope.h"
#include "KeyboardHook.h"
#include "QuoblyProcess.h"

namespace {

// Like the soundboard, it puts its thread back to normal priority once it
// has taken a key (the hook raised the thread for it).
LRESULT CALLBACK RecordingProcedure(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kMsgHotkeyPressed) {
    reinterpret_cast<std::vector<UINT>*>(GetWindowLongPtrW(wnd, GWLP_USERDATA))->push_back(static_cast<UINT>(wParam));
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
  }
  return DefWindowProcW(wnd, message, wParam, lParam);
}

// Notes the priority of the window's thread as each key arrives, then puts
// it back to normal.
LRESULT CALLBACK PriorityRecordingProcedure(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kMsgHotkeyPressed) {
    reinterpret_cast<std::vector<int>*>(GetWindowLongPtrW(wnd, GWLP_USERDATA))
        ->push_back(GetThreadPriority(GetCurrentThread()));
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
  }
  return DefWindowProcW(wnd, message, wParam, lParam);
}

class KeyboardHookTest : public testing::Test {
 protected:
  // Types the events on another thread and waits until the hooks saw them.
  void Type(const std::vector<std::pair<WORD, bool>>& events) {
    std::thread typist([&events] {
      for (const auto& event : events) InjectKey(event.first, event.second);
    });
    // The window gets the keys only while this thread takes messages.
    PumpUntil([] { return false; }, 300);
    typist.join();
    PumpUntil([] { return false; }, 100);
  }

  std::vector<UINT> posted;
  UniqueWindow window = CreateMessageWindow(L"KeyboardHookTestWindow", RecordingProcedure, &posted);
};

TEST_F(KeyboardHookTest, PostsEveryPressAndRepeatButNoRelease) {
  KeyboardHook hook;
  hook.install_keyboard_hook(window.Get());
  ASSERT_TRUE(hook.installed());
  Type({{'A', true}, {'A', false}, {VK_F2, true}, {VK_F2, true}, {VK_F2, false}});
  EXPECT_EQ(posted, (std::vector<UINT>{'A', VK_F2, VK_F2}));
}

// On Windows a press with Alt held carries the Alt-down flag, and injected
// input the injected flag: together more than a test of the flags by value
// (below 35) lets through. Wine sets neither; the press must count anyway.
TEST_F(KeyboardHookTest, PressesWithAltHeldCountWhateverOtherFlagsTheyCarry) {
  KeyboardHook hook;
  hook.install_keyboard_hook(window.Get());
  Type({{VK_MENU, true}, {VK_F1, true}, {VK_F1, false}, {VK_MENU, false}});
  ASSERT_EQ(posted.size(), 2u);
  EXPECT_EQ(posted[1], static_cast<UINT>(VK_F1));
}

TEST_F(KeyboardHookTest, OneHookServesTheProcessAndARemovedHookPostsNothing) {
  KeyboardHook first;
  KeyboardHook second;
  first.install_keyboard_hook(window.Get());
  second.install_keyboard_hook(window.Get());
  EXPECT_TRUE(first.installed());
  EXPECT_FALSE(second.installed());
  first.install_keyboard_hook(window.Get());  // again: still the one hook
  Type({{'B', true}, {'B', false}});
  EXPECT_EQ(posted, std::vector<UINT>{'B'});

  first.remove_keyboard_hook();
  first.remove_keyboard_hook();
  EXPECT_FALSE(first.installed());
  Type({{'C', true}, {'C', false}});
  EXPECT_EQ(posted.size(), 1u);

  {
    KeyboardHook third;
    third.install_keyboard_hook(window.Get());
    ASSERT_TRUE(third.installed());
  }  // removed as it goes
  second.install_keyboard_hook(window.Get());
  EXPECT_TRUE(second.installed());
  Type({{'D', true}, {'D', false}});
  EXPECT_EQ(posted, (std::vector<UINT>{'B', 'D'}));
}

// The hook's thread runs raised for as long as it exists, and raises the
// window's thread for every key it posts, so that the key's play call comes
// before busy programs.
TEST_F(KeyboardHookTest, HookThreadRunsRaisedAndRaisesTheWindowsThreadForEachKey) {
  std::vector<int> priorities;
  UniqueWindow target = CreateMessageWindow(L"KeyboardHookPriorityWindow", PriorityRecordingProcedure, &priorities);
  KeyboardHook hook;
  hook.install_keyboard_hook(target.Get());
  ASSERT_TRUE(hook.installed());
  UniqueKernelHandle hookThread(OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, hook.thread_id()));
  ASSERT_TRUE(hookThread);
  EXPECT_EQ(GetThreadPriority(hookThread.Get()), AudioPriorityScope::kRaisedPriority);
  EXPECT_EQ(GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_NORMAL);

  // Twice: the window's thread went back to normal after the first key.
  Type({{VK_F2, true}, {VK_F2, false}, {VK_F3, true}, {VK_F3, false}});
  const int raised = AudioPriorityScope::kRaisedPriority;
  EXPECT_EQ(priorities, (std::vector<int>{raised, raised}));
  EXPECT_EQ(GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_NORMAL);

  // Without a hook, keys raise nothing.
  hook.remove_keyboard_hook();
  Type({{VK_F2, true}, {VK_F2, false}});
  EXPECT_EQ(priorities.size(), 2u);
  EXPECT_EQ(GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_NORMAL);
}

}  // namespace
