// The sound-card combo on a real framework window, with the system's own
// wave-out devices (the ALSA null sink gives one) and our bass.dll, whose call
// trace shows the device each play opened.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <memory>
#include <string>
#include <vector>

#include "AppMessages.h"
#include "PopupTestSupport.h"
#include "SoundCards.h"

namespace {

constexpr int kComboX = 20 + 60;
constexpr int kComboY = 320 - 40 + 12;  // in a window 320 pixels high

// What the cards should be, asked of wave-out the same way.
std::vector<SoundCard> SystemCards() {
  std::vector<std::string> names;
  for (UINT device = 0; device < kWaveOutDevicesAsked; ++device) {
    WAVEOUTCAPSA caps = {};
    waveOutGetDevCapsA(device, &caps, sizeof caps);
    names.push_back(NameFromField(caps.szPname, sizeof caps.szPname));
  }
  return ListSoundCards(names);
}

class SoundCardsTest : public PopupFixture {
 protected:
  void SetUp() override {
    PopupFixture::SetUp();
    traceFile = folder.Path() + L"bass-trace.txt";
    SetEnvironmentVariableW(L"QUOBLY_BASS_TRACE", traceFile.c_str());
    cards = std::make_unique<SoundCards>(player);
    cards->LoadDropButton();
    cards->Create(window, kHeight);
    host.SetMessageHook([this](HWND, UINT message, WPARAM, LPARAM lParam) -> LRESULT {
      if (message != kMsgSoundCardsFound) return kExUndecided;
      cards->OnFound(lParam);
      return 0;
    });
  }
  void TearDown() override {
    host.SetMessageHook(nullptr);
    cards.reset();
    player.stop();
    SetEnvironmentVariableW(L"QUOBLY_BASS_TRACE", nullptr);
    PopupFixture::TearDown();
  }

  void WaitForCards() {
    cards->StartEnumeration();
    ASSERT_TRUE(WaitUntil(
        [&] {
          Pump();
          return !cards->Cards().empty();
        },
        10000));
  }

  // The device argument of the last BASS_Init in the trace, or "none".
  std::string LastInitDevice() const {
    const std::string trace = ReadFileBytes(traceFile);
    const size_t at = trace.rfind("BASS_Init(device=");
    if (at == std::string::npos) return "none";
    const size_t start = at + 17;
    return trace.substr(start, trace.find(',', start) - start);
  }

  void PickItem(int index) {
    PopupSteps steps;
    steps
        .Then([&] {
          HWND list = FindDropDown();
          ASSERT_NE(list, nullptr);
          ClickAt(list, 40, 1 + 19 * (index - 1) + 9);
        })
        .Start();
    ClickAt(window, kComboX, kComboY);
    steps.Stop();
    EXPECT_FALSE(steps.ForcedClose());
  }

  TempFolder folder;
  std::wstring traceFile;
  AudioPlayer player;
  std::unique_ptr<SoundCards> cards;
};

TEST_F(SoundCardsTest, TheComboListsTheSystemsCardsWithTheirDevices) {
  ExCombo& combo = cards->Combo();
  EXPECT_EQ(combo.Text(), "默认系统声卡通道");
  EXPECT_EQ(combo.ItemCount(), 0);
  WaitForCards();
  const std::vector<SoundCard> expected = SystemCards();
  ASSERT_FALSE(expected.empty()) << "the test set-up gives wave-out one device";
  ASSERT_EQ(combo.ItemCount(), static_cast<int>(expected.size()));
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(combo.ItemText(static_cast<int>(i) + 1), expected[i].name);
    EXPECT_EQ(combo.ItemValue(static_cast<int>(i) + 1), expected[i].device);
  }
  EXPECT_EQ(combo.Text(), "默认系统声卡通道");  // nothing chosen yet
}

TEST_F(SoundCardsTest, PlaysUseTheDefaultOutputUntilACardIsChosenAndThatCardAfterwards) {
  player.play_path("C:\\nothing.mp3", window);
  EXPECT_EQ(LastInitDevice(), "-1");
  WaitForCards();
  player.play_path("C:\\nothing.mp3", window);
  EXPECT_EQ(LastInitDevice(), "-1");  // the list alone chooses nothing

  PickItem(1);
  EXPECT_EQ(cards->Combo().CurrentIndex(), 1);
  EXPECT_EQ(player.device(), SystemCards()[0].device);
  player.play_path("C:\\nothing.mp3", window);
  EXPECT_EQ(LastInitDevice(), std::to_string(SystemCards()[0].device));
}

TEST_F(SoundCardsTest, AForeignOrRepeatedFoundMessageChangesNothing) {
  PostMessageW(window, kMsgSoundCardsFound, 0, 0x1234);
  PostMessageW(window, kMsgSoundCardsFound, 0, 0);
  Pump();
  EXPECT_EQ(cards->Combo().ItemCount(), 0);
  WaitForCards();
  const int count = cards->Combo().ItemCount();
  cards->StartEnumeration();  // once only
  Sleep(200);
  Pump();
  EXPECT_EQ(cards->Combo().ItemCount(), count);
}

TEST_F(SoundCardsTest, TheWorkerEndsWithItsObjectEvenWhenTheWindowWentFirst) {
  SystemCards();  // the audio driver's own threads start at its first use and stay
  const int threadsBefore = LiveThreadCount();
  cards->StartEnumeration();
  DestroyWindow(window);  // its message, if posted, is never dispatched
  cards.reset();          // joins the worker and frees a result nobody took
  EXPECT_TRUE(WaitUntil([&] { return LiveThreadCount() <= threadsBefore; }));
}

}  // namespace
