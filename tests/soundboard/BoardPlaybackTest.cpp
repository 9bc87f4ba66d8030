// Playing from the sound buttons through the stand-in bass.dll: the calls
// made, and how the buttons follow their sounds.
#include <algorithm>

#include "AudioPriorityScope.h"
#include "BoardFixture.h"
#include "PlaybackProgress.h"
#include "audio/WaveOutWriteSpy.h"

namespace {

constexpr int kNoSoundDevice = 0;  // keeps real time, where the null sink runs ahead

class BoardPlaybackTest : public BoardTest {
 protected:
  // The stream the button's click opened (from the trace).
  DWORD OpenedStream() const {
    const std::vector<std::string> opened = trace.CallsOf("BASS_StreamCreateFile(");
    if (opened.empty()) return 0;
    return std::strtoul(opened.back().substr(opened.back().rfind('=') + 1).c_str(), nullptr, 10);
  }
  // The calls of the play handler: without the position and length polls
  // of the watches, which their own threads make in between.
  std::vector<std::string> PlayCalls() const {
    std::vector<std::string> calls = trace.Calls();
    calls.erase(std::remove_if(calls.begin(), calls.end(),
                               [](const std::string& call) {
                                 return call.rfind("BASS_ChannelGetPosition(", 0) == 0 ||
                                        call.rfind("BASS_ChannelGetLength(", 0) == 0;
                               }),
                calls.end());
    return calls;
  }
  std::vector<std::string> PollsOf(DWORD stream) const {
    return trace.CallsOf("BASS_ChannelGetPosition(handle=" + std::to_string(stream) + ",");
  }
  // Ten-second tones in the given categories' folders under `names`, played
  // in real time.
  void BuildTones(const std::vector<int>& categories, const std::vector<std::wstring>& names = {L"tone.mp3"}) {
    for (int category : categories) AddSounds(category, names, "tone-10s.mp3");
    Build();
    player->set_device(kNoSoundDevice);
  }
  // Clicks button `index` of the current page and waits until it shows
  // progress; the stream it plays.
  DWORD PlayUntilShown(int category, int index) {
    ClickButton(index);
    const DWORD stream = OpenedStream();
    EXPECT_TRUE(PumpUntil([&] { return board->Progress(category, index) >= 5; }, 3000));
    return stream;
  }
};

TEST_F(BoardPlaybackTest, ClickPlaysThroughFreeInitOpenVolumePlayOnTheChosenDevice) {
  AddSounds(1, {L"one.mp3", L"two.mp3"});
  Build();
  bool panelClosed = false;
  board->SetHandlers([&] { panelClosed = true; }, nullptr);

  ClickButton(1);
  EXPECT_TRUE(panelClosed);
  const DWORD first = OpenedStream();
  ASSERT_NE(first, 0u);
  std::vector<std::string> calls = trace.Calls();
  calls.resize(std::min<std::size_t>(calls.size(), 5));
  // The default output until a sound card is chosen; the main window for the library.
  EXPECT_EQ(calls, PlaySequence(-1, window, board->SoundPath(1, 1), first, false));

  trace.Clear();
  player->set_device(1);
  ClickButton(2);
  // The first sound's watch may have polled before the click, and during it
  // until it was joined.
  calls = PlayCalls();
  calls.erase(calls.begin(), std::find(calls.begin(), calls.end(), "BASS_Free() = 1"));
  calls.resize(std::min<std::size_t>(calls.size(), 5));
  EXPECT_EQ(calls, PlaySequence(1, window, board->SoundPath(1, 2), OpenedStream(), true));
}

// The click's thread (here as in the program, the window's) runs raised
// for the play call, which queues the first buffer, and is back at normal
// priority once the click is handled; the library's worker, which queues the
// rest, runs raised.
TEST_F(BoardPlaybackTest, OnlyThePlayCallAndTheLibrarysWorkerRunRaised) {
  AddSounds(1, {L"tone.mp3"}, "tone-10s.mp3");
  Build();  // the default output: wave-out
  ASSERT_EQ(GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_NORMAL);
  player->free();  // loads the library
  ASSERT_TRUE(WaveOutWriteSpy::Install());
  WaveOutWriteSpy::Clear();
  trace.Clear();

  ClickButton(1);
  EXPECT_EQ(GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_NORMAL);
  const std::vector<WaveOutWriteSpy::Write> writes = WaveOutWriteSpy::Taken();
  ASSERT_FALSE(writes.empty());
  EXPECT_EQ(writes.front().thread, GetCurrentThreadId());
  EXPECT_EQ(writes.front().priority, AudioPriorityScope::kRaisedPriority);

  const auto byWorker = [] {
    for (const WaveOutWriteSpy::Write& write : WaveOutWriteSpy::Taken()) {
      if (write.thread != GetCurrentThreadId()) return write;
    }
    return WaveOutWriteSpy::Write{};
  };
  ASSERT_TRUE(PumpUntil([&] { return byWorker().thread != 0; }, 3000));
  EXPECT_EQ(byWorker().priority, AudioPriorityScope::kRaisedPriority);
  // The calls keep their order.
  EXPECT_EQ(PlayCalls(), PlaySequence(-1, window, board->SoundPath(1, 1), OpenedStream(), false));
}

TEST_F(BoardPlaybackTest, SameButtonTwiceRestartsTheSoundWithOneWatch) {
  BuildTones({1});
  const DWORD first = PlayUntilShown(1, 1);

  const Stopwatch sinceRestart;
  ClickButton(1);
  const DWORD second = OpenedStream();
  ASSERT_NE(second, first);
  // The first watch was joined before the second play: it polls no more.
  const std::size_t firstPolls = PollsOf(first).size();
  EXPECT_LT(player->position(second), player->length(second) / 20);  // from the start again
  EXPECT_EQ(board->Progress(1, 1), 0);
  ASSERT_TRUE(PumpUntil([&] { return PollsOf(second).size() >= 3 && board->Progress(1, 1) > 0; }, 5000));
  EXPECT_EQ(PollsOf(first).size(), firstPolls);
  // One watch polls twice a second, at 0, 0.5, 1 s and so on: a second
  // watch would poll twice as often as the time that has passed allows.
  const long long elapsedMs = sinceRestart.ElapsedMs();
  EXPECT_LE(PollsOf(second).size(), static_cast<std::size_t>(elapsedMs / 500 + 2)) << elapsedMs << " ms";
}

TEST_F(BoardPlaybackTest, OtherCategoryStopsTheFirstSoundAndItsButtonAtOnce) {
  BuildTones({1, 2});
  const DWORD first = PlayUntilShown(1, 1);

  tab.SetCurrentPage(2);
  ClickButton(1);
  EXPECT_EQ(player->position(first), kChannelError);  // freed with the device
  EXPECT_EQ(board->Progress(1, 1), 0);
  // Nothing that the first watch posted before it stopped comes back.
  std::vector<int> firstButton;
  onProgress = [&] { firstButton.push_back(board->Progress(1, 1)); };
  ASSERT_TRUE(PumpUntil([&] { return board->Progress(2, 1) >= 5; }, 3000));
  PumpFor(600);
  EXPECT_EQ(std::count(firstButton.begin(), firstButton.end(), 0), static_cast<long>(firstButton.size()));
  EXPECT_EQ(board->Progress(1, 1), 0);
}

TEST_F(BoardPlaybackTest, TenSecondSoundAdvancesInStepsOfAboutFiveAndEndsAtZero) {
  BuildTones({3});
  std::vector<int> shown;
  onProgress = [&] {
    const int value = board->Progress(3, 1);
    if (shown.empty() || shown.back() != value) shown.push_back(value);
  };
  tab.SetCurrentPage(3);
  ClickButton(1);
  ASSERT_TRUE(PumpUntil([&] { return shown.size() > 2 && shown.back() == 0; }, 14000));

  ASSERT_GE(shown.size(), 15u);
  EXPECT_EQ(shown.back(), 0);
  EXPECT_GE(*std::max_element(shown.begin(), shown.end()), 90);
  std::vector<int> steps;
  for (std::size_t i = 1; i + 1 < shown.size(); ++i) steps.push_back(shown[i] - shown[i - 1]);
  std::sort(steps.begin(), steps.end());
  EXPECT_GT(steps.front(), 0);  // only forward
  EXPECT_NEAR(steps[steps.size() / 2], 5, 1);
  EXPECT_LE(steps.back(), 11);
}

TEST_F(BoardPlaybackTest, DeletedFileStopsTheCurrentSoundAndPlaysNothing) {
  BuildTones({1}, {L"stay.mp3", L"gone.mp3"});
  const int gone = board->SoundName(1, 1) == "gone" ? 1 : 2;
  const int stay = 3 - gone;
  const DWORD playing = PlayUntilShown(1, stay);

  ASSERT_TRUE(DeleteFileW(Wide(board->SoundPath(1, gone)).c_str()));
  trace.Clear();
  ClickButton(gone);
  EXPECT_EQ(player->position(playing), kChannelError);
  EXPECT_EQ(board->Progress(1, stay), 0);
  EXPECT_TRUE(trace.CallsOf("BASS_StreamCreateFile(").empty());
  EXPECT_TRUE(trace.CallsOf("BASS_ChannelPlay(").empty());
  PumpFor(700);
  EXPECT_EQ(board->Progress(1, gone), 0);
  EXPECT_EQ(board->Progress(1, stay), 0);
}

TEST_F(BoardPlaybackTest, StopAndTheBoardsEndStopEveryWatch) {
  BuildTones({1});
  const DWORD first = PlayUntilShown(1, 1);
  board->Stop();
  EXPECT_EQ(player->position(first), kChannelError);
  EXPECT_EQ(board->Progress(1, 1), 0);
  const std::size_t polls = PollsOf(first).size();
  PumpFor(700);
  EXPECT_EQ(PollsOf(first).size(), polls);
  EXPECT_EQ(board->Progress(1, 1), 0);

  // A hotkey's play ends the watch of the button too.
  PlayUntilShown(1, 1);
  board->PlayPath(board->SoundPath(1, 1));
  EXPECT_EQ(board->Progress(1, 1), 0);

  // The board's end joins the watch: no poll afterwards.
  const DWORD third = PlayUntilShown(1, 1);
  board.reset();
  const std::size_t lastPolls = PollsOf(third).size();
  Sleep(700);
  EXPECT_EQ(PollsOf(third).size(), lastPolls);
}

TEST_F(BoardPlaybackTest, MissingLibraryNeitherCrashesNorPlays) {
  AddSounds(1, {L"one.mp3"});
  player = std::make_unique<AudioPlayer>(Ansi(programFolder.Path()) + "bass.dll");  // not there
  Build();
  ClickButton(1);
  ClickButton(1);
  PumpFor(300);
  EXPECT_EQ(player->stream(), 0u);
  EXPECT_EQ(board->Progress(1, 1), 0);
  board->Stop();
  EXPECT_TRUE(trace.Calls().empty());
}

}  // namespace
