// The sound-card combo on a real framework window, with the system's own
// wave-out devices (the ALSA null sink gives one) and our bass.dll, whose call
// trace shows the device each play opened.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "AppMessages.h"
#include "BindingFile.h"
#include "PopupTestSupport.h"
#include "SoundCards.h"

namespace {

constexpr int kComboX = 20 + 60;
constexpr int kComboY = 320 - 40 + 12;  // in a window 320 pixels high

// The names of the system's wave-out devices, by number.
std::vector<std::string> SystemDeviceNames() {
  std::vector<std::string> names;
  const UINT count = waveOutGetNumDevs();
  for (UINT device = 0; device < count; ++device) {
    WAVEOUTCAPSA caps = {};
    if (waveOutGetDevCapsA(device, &caps, sizeof caps) == MMSYSERR_NOERROR) names.push_back(caps.szPname);
  }
  return names;
}

class SoundCardsTest : public PopupFixture {
 protected:
  void SetUp() override {
    PopupFixture::SetUp();
    traceFile = folder.Path() + L"bass-trace.txt";
    SetEnvironmentVariableW(L"QUOBLY_BASS_TRACE", traceFile.c_str());
    settingsFile = Ansi(folder.Path()) + "音效配置.ini";
    Start();
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

  // The combo as the program makes it at start, reading the stored choice.
  void Start() {
    cards.reset();
    cards = std::make_unique<SoundCards>(player, settingsFile);
    cards->LoadDropButton();
    cards->Create(window, kHeight);
  }

  void WaitForCards() {
    cards->StartEnumeration();
    ASSERT_TRUE(WaitUntil(
        [&] {
          PumpMessages();
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
  std::string settingsFile;
  std::wstring traceFile;
  AudioPlayer player;
  std::unique_ptr<SoundCards> cards;
};

TEST_F(SoundCardsTest, TheComboListsTheSystemsCardsWithTheirDevices) {
  ExCombo& combo = cards->Combo();
  EXPECT_EQ(combo.Text(), "默认系统声卡通道");
  EXPECT_EQ(combo.ItemCount(), 0);
  WaitForCards();
  const std::vector<std::string> names = SystemDeviceNames();
  ASSERT_FALSE(names.empty()) << "the test set-up gives wave-out one device";
  const std::set<std::string> distinct(names.begin(), names.end());
  EXPECT_EQ(combo.ItemCount(), 1 + static_cast<int>(distinct.size()));
  // Item 1 goes back to the default output; item 2 is the card of wave-out
  // device 0, which the library numbers 1.
  EXPECT_EQ(combo.ItemText(1), "默认系统声卡通道");
  EXPECT_EQ(combo.ItemValue(1), -1);
  EXPECT_EQ(combo.ItemText(2), names[0]);
  EXPECT_EQ(combo.ItemValue(2), 1);
  EXPECT_EQ(combo.Text(), "默认系统声卡通道");  // nothing chosen yet
}

TEST_F(SoundCardsTest, PlaysUseTheDefaultOutputUntilACardIsChosenAndThatCardAfterwards) {
  player.play_path("C:\\nothing.mp3", window);
  EXPECT_EQ(LastInitDevice(), "-1");
  WaitForCards();
  player.play_path("C:\\nothing.mp3", window);
  EXPECT_EQ(LastInitDevice(), "-1");  // the list alone chooses nothing

  PickItem(2);
  EXPECT_EQ(cards->Combo().CurrentIndex(), 2);
  player.play_path("C:\\nothing.mp3", window);
  EXPECT_EQ(LastInitDevice(), "1");

  PickItem(1);  // back to the default
  player.play_path("C:\\nothing.mp3", window);
  EXPECT_EQ(LastInitDevice(), "-1");
  EXPECT_EQ(ReadSoundCardName(settingsFile), "");
}

TEST_F(SoundCardsTest, TheChosenCardIsStoredByNameAndChosenAgainAtTheNextStart) {
  WaitForCards();
  PickItem(2);
  const std::string name = SystemDeviceNames()[0];
  EXPECT_EQ(ReadSoundCardName(settingsFile), name);

  Start();
  // Plays find it by name before the list has arrived.
  player.play_path("C:\\nothing.mp3", window);
  EXPECT_EQ(LastInitDevice(), "1");
  WaitForCards();
  EXPECT_EQ(cards->Combo().CurrentIndex(), 2);
  EXPECT_EQ(cards->Combo().Text(), name);
}

TEST_F(SoundCardsTest, AStoredCardThatIsMissingPlaysOnTheDefaultSaysSoAndStaysStored) {
  ASSERT_TRUE(WriteSoundCardName(settingsFile, "虚拟声卡 Cable"));
  Start();
  player.play_path("C:\\nothing.mp3", window);
  EXPECT_EQ(LastInitDevice(), "-1");
  WaitForCards();
  EXPECT_EQ(cards->Combo().CurrentIndex(), 1);
  EXPECT_EQ(cards->Combo().Text(), "虚拟声卡 Cable（未连接）");
  player.play_path("C:\\nothing.mp3", window);
  EXPECT_EQ(LastInitDevice(), "-1");
  EXPECT_EQ(ReadSoundCardName(settingsFile), "虚拟声卡 Cable");
}

TEST_F(SoundCardsTest, AForeignOrRepeatedFoundMessageChangesNothing) {
  PostMessageW(window, kMsgSoundCardsFound, 0, 0x1234);
  PostMessageW(window, kMsgSoundCardsFound, 0, 0);
  PumpMessages();
  EXPECT_EQ(cards->Combo().ItemCount(), 0);
  WaitForCards();
  const int count = cards->Combo().ItemCount();
  cards->StartEnumeration();  // once only
  Sleep(200);
  PumpMessages();
  EXPECT_EQ(cards->Combo().ItemCount(), count);
}

TEST_F(SoundCardsTest, TheWorkerEndsWithItsObjectEvenWhenTheWindowWentFirst) {
  SystemDeviceNames();  // the audio driver's own threads start at its first use and stay
  const int threadsBefore = LiveThreadCount();
  cards->StartEnumeration();
  DestroyWindow(window);  // its message, if posted, is never dispatched
  cards.reset();          // joins the worker and frees a result nobody took
  EXPECT_TRUE(WaitUntil([&] { return LiveThreadCount() <= threadsBefore; }));
}

}  // namespace
