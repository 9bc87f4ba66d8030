// Hotkeys of the running program: keys injected as hardware input from this
// process, while a window of this process has the focus, reach Quobly's
// low-level hook; the audio library's trace shows what they played.
#include <gtest/gtest.h>

#include <algorithm>

#include "BindingFile.h"
#include "QuoblyProcess.h"

namespace {

const std::string kFirst = MediaPath("cbr.mp3");
const std::string kSecond = MediaPath("vbr.mp3");

bool StartsWith(const std::string& text, const char* prefix) {
  return text.compare(0, strlen(prefix), prefix) == 0;
}

class HotkeyTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WriteBinding(quobly.BindingFile(), "F1键", kFirst));
    ASSERT_TRUE(WriteBinding(quobly.BindingFile(), "F2键", kSecond));
    ASSERT_TRUE(quobly.Start());
    ASSERT_TRUE(other.TakeFocus());
  }
  void TearDown() override { EXPECT_EQ(quobly.Close(), 0); }

  // Waits until `count` sounds have been opened and played.
  bool WaitForPlays(size_t count) {
    return PumpUntil([&] {
      const std::vector<std::string> calls = quobly.Calls();
      return OpenedFiles(calls).size() >= count && !calls.empty() && StartsWith(calls.back(), "BASS_ChannelPlay");
    });
  }
  // Lets any late effect of earlier keys show in the trace.
  void Settle() {
    PumpUntil([] { return false; }, 300);
  }

  QuoblyProcess quobly;
  FocusWindow other;
};

TEST_F(HotkeyTest, BoundKeyPlaysItsSoundInFullAndPassesTheKeyOn) {
  PressKey(VK_F2);
  ASSERT_TRUE(WaitForPlays(1));
  const std::vector<std::string> calls = quobly.Calls();
  ASSERT_EQ(calls.size(), 5u);
  EXPECT_TRUE(StartsWith(calls[0], "BASS_Free("));
  EXPECT_TRUE(StartsWith(calls[1], "BASS_Init("));
  EXPECT_EQ(OpenedFiles(calls), std::vector<std::string>{kSecond});
  EXPECT_TRUE(StartsWith(calls[3], "BASS_ChannelSetAttribute("));
  EXPECT_NE(calls[3].find("attrib=2, value=1.000"), std::string::npos);
  EXPECT_TRUE(StartsWith(calls[4], "BASS_ChannelPlay("));
  EXPECT_NE(calls[4].find("restart=1) = 1"), std::string::npos);

  // The focused window got the key too, and keeps the focus.
  ASSERT_TRUE(PumpUntil([&] { return !other.KeysDown().empty(); }));
  EXPECT_EQ(other.KeysDown(), std::vector<UINT>{VK_F2});
  EXPECT_EQ(GetForegroundWindow(), other.Handle());
}

TEST_F(HotkeyTest, UnboundKeysAndReleasesPlayNothing) {
  PressKey('Q');
  PressKey(VK_F3);
  InjectKey(VK_F1, false);  // a lone release
  Settle();
  EXPECT_TRUE(quobly.Calls().empty());
  EXPECT_EQ(other.KeysDown(), (std::vector<UINT>{'Q', VK_F3}));
}

TEST_F(HotkeyTest, AutoRepeatRestartsTheSoundAtEveryRepeat) {
  for (int i = 0; i < 3; ++i) InjectKey(VK_F1, true);
  InjectKey(VK_F1, false);
  ASSERT_TRUE(WaitForPlays(3));
  Settle();
  EXPECT_EQ(OpenedFiles(quobly.Calls()), std::vector<std::string>(3, kFirst));
}

TEST_F(HotkeyTest, ModifiersAreNotCombinedWithTheKey) {
  InjectKey(VK_CONTROL, true);
  PressKey(VK_F1);
  InjectKey(VK_CONTROL, false);
  ASSERT_TRUE(WaitForPlays(1));
  InjectKey(VK_MENU, true);
  PressKey(VK_F2);
  InjectKey(VK_MENU, false);
  ASSERT_TRUE(WaitForPlays(2));
  Settle();
  EXPECT_EQ(OpenedFiles(quobly.Calls()), (std::vector<std::string>{kFirst, kSecond}));
}

// The panel binds Shift by its generic code; the hook sees left and right.
TEST_F(HotkeyTest, ModifierBindingPlaysFromEitherSide) {
  ASSERT_TRUE(WriteBinding(quobly.BindingFile(), "Shift键", kFirst));
  PressKey(VK_LSHIFT);
  ASSERT_TRUE(WaitForPlays(1));
  PressKey(VK_RSHIFT);
  ASSERT_TRUE(WaitForPlays(2));
}

TEST_F(HotkeyTest, SpaceStopsPlaybackAndStillReachesTheFocusedWindow) {
  PressKey(VK_F2);
  ASSERT_TRUE(WaitForPlays(1));
  PressKey(VK_SPACE);
  ASSERT_TRUE(PumpUntil([&] { return quobly.Calls().size() == 6; }));
  Settle();
  const std::vector<std::string> calls = quobly.Calls();
  ASSERT_EQ(calls.size(), 6u);
  EXPECT_TRUE(StartsWith(calls.back(), "BASS_Free("));
  ASSERT_TRUE(PumpUntil([&] { return other.KeysDown().size() == 2; }));
  EXPECT_EQ(other.KeysDown().back(), static_cast<UINT>(VK_SPACE));
}

// The file is read at every press: changes made while the program runs,
// here by another process, apply from the next press on.
TEST_F(HotkeyTest, BindingsApplyFromTheMomentTheFileChanges) {
  ASSERT_TRUE(WriteBinding(quobly.BindingFile(), "F2键", kFirst));
  PressKey(VK_F2);
  ASSERT_TRUE(WaitForPlays(1));
  EXPECT_EQ(OpenedFiles(quobly.Calls()), std::vector<std::string>{kFirst});

  ASSERT_TRUE(ClearBindings(quobly.BindingFile()));
  PressKey(VK_F2);
  PressKey(VK_F1);
  Settle();
  EXPECT_EQ(OpenedFiles(quobly.Calls()).size(), 1u);
}

}  // namespace
