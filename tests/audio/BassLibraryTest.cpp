// bass.dll as its users see it: loaded by name, called through the looked-up
// entry points, under Wine's wave-out (one null-sink device) and on the
// no-sound device.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "AudioMedia.h"
#include "BassLibrary.h"
#include "TestSupport.h"

namespace {

constexpr int kNoSound = 0;
constexpr int kDefault = -1;
// Two seconds and a little of 44.1 kHz stereo.
const char* const kTwoSeconds = "cbr.mp3";

class BassLibraryTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(bass.Loaded()); }

  BassLibrary bass;
};

std::string ReadText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace

TEST_F(BassLibraryTest, ExportsExactlyTheSevenEntryPointsByName) {
  auto* base = reinterpret_cast<const uint8_t*>(bass.module.Get());
  auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const auto& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + directory.VirtualAddress);
  EXPECT_EQ(exports->NumberOfNames, 7u);
  EXPECT_EQ(exports->NumberOfFunctions, 7u);
}

TEST_F(BassLibraryTest, InitAndFreePairUp) {
  EXPECT_FALSE(bass.free());
  EXPECT_TRUE(bass.init(kNoSound, 44100, 0, nullptr, nullptr));
  EXPECT_FALSE(bass.init(kNoSound, 44100, 0, nullptr, nullptr));
  EXPECT_TRUE(bass.free());
  EXPECT_FALSE(bass.free());

  ASSERT_GE(waveOutGetNumDevs(), 1u);
  EXPECT_TRUE(bass.init(kDefault, 44100, 0, nullptr, nullptr));
  EXPECT_TRUE(bass.free());
  EXPECT_TRUE(bass.init(1, 44100, 0, nullptr, nullptr));  // wave-out device 0
  EXPECT_TRUE(bass.free());
  EXPECT_FALSE(bass.init(int(waveOutGetNumDevs()) + 1, 44100, 0, nullptr, nullptr));
  EXPECT_FALSE(bass.init(-2, 44100, 0, nullptr, nullptr));
}

TEST_F(BassLibraryTest, StreamsLiveFromInitToFree) {
  const std::string path = MediaPath(kTwoSeconds);
  EXPECT_EQ(bass.Open(path.c_str()), 0u);
  ASSERT_TRUE(bass.init(kNoSound, 44100, 0, nullptr, nullptr));
  const DWORD stream = bass.Open(path.c_str());
  ASSERT_NE(stream, 0u);
  EXPECT_NE(bass.Open(path.c_str()), stream);
  EXPECT_EQ(bass.Length(stream), 78u * 1152 * 4);
  EXPECT_EQ(bass.Position(stream), 0u);
  EXPECT_EQ(bass.channelGetLength(stream, 1), BassLibrary::kError);  // only byte positions exist
  EXPECT_EQ(bass.channelGetPosition(stream, 1), BassLibrary::kError);
  ASSERT_TRUE(bass.free());

  EXPECT_EQ(bass.Length(stream), BassLibrary::kError);
  EXPECT_EQ(bass.Position(stream), BassLibrary::kError);
  EXPECT_FALSE(bass.channelPlay(stream, TRUE));
  EXPECT_FALSE(bass.channelSetAttribute(stream, BassLibrary::kVolume, 1.0f));
  EXPECT_FALSE(bass.channelPlay(0, TRUE));
}

TEST_F(BassLibraryTest, NoSoundDeviceKeepsRealTime) {
  ASSERT_TRUE(bass.init(kNoSound, 44100, 0, nullptr, nullptr));
  const DWORD stream = bass.Open(MediaPath(kTwoSeconds).c_str());
  ASSERT_NE(stream, 0u);
  const uint64_t length = bass.Length(stream);
  Stopwatch clock;
  ASSERT_TRUE(bass.channelPlay(stream, TRUE));
  Sleep(500);
  const uint64_t position = bass.Position(stream);
  const double expected = clock.ElapsedMs() * 44100.0 * 4 / 1000;
  EXPECT_NEAR(double(position), expected, 0.05 * 44100 * 4);
  EXPECT_EQ(position % 4, 0u);  // whole sample frames

  // Playing on without a restart keeps the place; a restart starts over.
  EXPECT_TRUE(bass.channelPlay(stream, FALSE));
  EXPECT_GE(bass.Position(stream), position);
  EXPECT_TRUE(bass.channelPlay(stream, TRUE));
  EXPECT_LT(bass.Position(stream), position / 2);

  EXPECT_TRUE(WaitUntil([&] { return bass.Position(stream) == length; }, 4000));
  EXPECT_GE(clock.ElapsedMs(), 500 + 2000);
  Sleep(100);
  EXPECT_EQ(bass.Position(stream), length);
}

TEST_F(BassLibraryTest, WaveOutPlaysToTheEndAndFreeStopsAtOnce) {
  ASSERT_TRUE(bass.init(kDefault, 44100, 0, nullptr, nullptr));
  const DWORD stream = bass.Open(MediaPath(kTwoSeconds).c_str());
  ASSERT_NE(stream, 0u);
  const uint64_t length = bass.Length(stream);
  ASSERT_TRUE(bass.channelPlay(stream, TRUE));
  uint64_t last = 0;
  EXPECT_TRUE(WaitUntil(
      [&] {
        const uint64_t position = bass.Position(stream);
        EXPECT_GE(position, last);
        last = position;
        return position == length;
      },
      5000));

  // An ended stream plays again from its start.
  ASSERT_TRUE(bass.channelPlay(stream, FALSE));
  EXPECT_LT(bass.Position(stream), length / 2);
  EXPECT_TRUE(WaitUntil([&] { return bass.Position(stream) == length; }, 5000));

  // Played again, then freed in the middle: every stream is gone at once.
  const DWORD longer = bass.Open(MediaPath("tone-10s.mp3").c_str());
  ASSERT_TRUE(bass.channelPlay(longer, TRUE));
  ASSERT_TRUE(bass.channelPlay(stream, TRUE));
  Sleep(100);
  EXPECT_LT(bass.Position(longer), bass.Length(longer));
  EXPECT_TRUE(bass.free());
  EXPECT_EQ(bass.Position(longer), BassLibrary::kError);
}

TEST_F(BassLibraryTest, DamagedFilesNeverHang) {
  ASSERT_TRUE(bass.init(kDefault, 44100, 0, nullptr, nullptr));
  for (const char* name : {"noise.mp3", "wave.mp3", "tag-only.mp3", "empty.mp3", "missing.mp3"}) {
    EXPECT_EQ(bass.Open(MediaPath(name).c_str()), 0u) << name;
  }
  EXPECT_EQ(bass.streamCreateFile(FALSE, nullptr, 0, 0, 0), 0u);
  EXPECT_EQ(bass.Open(MediaPath("").c_str()), 0u);  // a folder

  // Streams of damaged files end early, and their position still reaches their length.
  for (const char* name : {"truncated.mp3", "garbage-inside.mp3"}) {
    const DWORD stream = bass.Open(MediaPath(name).c_str());
    ASSERT_NE(stream, 0u) << name;
    ASSERT_TRUE(bass.channelPlay(stream, TRUE));
    EXPECT_TRUE(WaitUntil([&] { return bass.Position(stream) == bass.Length(stream); }, 5000)) << name;
  }
}

TEST_F(BassLibraryTest, OpensMemoryStretchesAndUnicodeNames) {
  ASSERT_TRUE(bass.init(kNoSound, 44100, 0, nullptr, nullptr));
  const std::string path = MediaPath(kTwoSeconds);
  const std::string bytes = ReadText(path);
  const uint64_t length = bass.Length(bass.Open(path.c_str()));

  const DWORD memory = bass.streamCreateFile(TRUE, bytes.data(), 0, bytes.size(), 0);
  ASSERT_NE(memory, 0u);
  EXPECT_EQ(bass.Length(memory), length);
  EXPECT_EQ(bass.streamCreateFile(TRUE, bytes.data(), 0, 0, 0), 0u);
  // The offset applies to files only.
  EXPECT_EQ(bass.Length(bass.streamCreateFile(TRUE, bytes.data(), 12345, bytes.size(), 0)), length);

  // A stretch of the file: the first 15000 bytes hold fewer frames.
  const DWORD stretch = bass.streamCreateFile(FALSE, path.c_str(), 0, 15000, 0);
  ASSERT_NE(stretch, 0u);
  EXPECT_LT(bass.Length(stretch), length);
  EXPECT_EQ(bass.streamCreateFile(FALSE, path.c_str(), bytes.size(), 0, 0), 0u);

  // Chinese names, in the ANSI code page and in UTF-16.
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  const std::wstring wide = std::wstring(folder) + L"\u6d4b\u8bd5\u58f0\u97f3.mp3";
  std::wstring widePath(path.begin(), path.end());
  ASSERT_TRUE(CopyFileW(widePath.c_str(), wide.c_str(), FALSE));
  const std::string ansi = Ansi(wide);
  EXPECT_EQ(bass.Length(bass.streamCreateFile(FALSE, wide.c_str(), 0, 0, BassLibrary::kUnicode)), length);
  EXPECT_EQ(bass.Length(bass.Open(ansi.c_str())), length);
  // Open streams do not keep the file from being deleted.
  EXPECT_TRUE(DeleteFileW(wide.c_str()));
}

TEST_F(BassLibraryTest, VolumeIsTheOnlyAttribute) {
  ASSERT_TRUE(bass.init(kNoSound, 44100, 0, nullptr, nullptr));
  const DWORD stream = bass.Open(MediaPath(kTwoSeconds).c_str());
  EXPECT_TRUE(bass.channelSetAttribute(stream, BassLibrary::kVolume, 1.0f));
  EXPECT_TRUE(bass.channelSetAttribute(stream, BassLibrary::kVolume, 0.0f));
  EXPECT_TRUE(bass.channelSetAttribute(stream, BassLibrary::kVolume, 1.5f));
  EXPECT_FALSE(bass.channelSetAttribute(stream, BassLibrary::kVolume, -0.5f));
  EXPECT_FALSE(bass.channelSetAttribute(stream, BassLibrary::kVolume, std::nanf("")));
  EXPECT_FALSE(bass.channelSetAttribute(stream, 1, 1.0f));
}

TEST_F(BassLibraryTest, TracesEachCallAsOneLine) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  const std::string trace = std::string(folder) + "bass-trace-test.txt";
  DeleteFileA(trace.c_str());
  ASSERT_TRUE(SetEnvironmentVariableA("QUOBLY_BASS_TRACE", trace.c_str()));
  const std::string path = MediaPath(kTwoSeconds);
  bass.init(kNoSound, 44100, 0, reinterpret_cast<HWND>(0x1234), nullptr);
  const DWORD stream = bass.Open(path.c_str());
  bass.channelSetAttribute(stream, BassLibrary::kVolume, 1.0f);
  bass.channelPlay(stream, TRUE);
  bass.Length(stream);
  bass.free();
  bass.Position(stream);
  SetEnvironmentVariableA("QUOBLY_BASS_TRACE", nullptr);
  bass.init(kNoSound, 44100, 0, nullptr, nullptr);  // no longer traced

  std::istringstream lines(ReadText(trace));
  std::vector<std::string> calls;
  double lastTime = 0;
  for (std::string line; std::getline(lines, line);) {
    ASSERT_EQ(line.back(), '\r');
    const size_t space = line.find(' ');
    const double time = std::stod(line.substr(0, space));
    EXPECT_GE(time, lastTime);
    lastTime = time;
    calls.push_back(line.substr(space + 1, line.size() - space - 2));
  }
  const std::string handle = std::to_string(stream);
  const std::vector<std::string> expected = {
      "BASS_Init(device=0, freq=44100, flags=0, win=0x00001234, dsguid=0x00000000) = 1",
      "BASS_StreamCreateFile(mem=0, file=\"" + path + "\", offset=0, length=0, flags=0) = " + handle,
      "BASS_ChannelSetAttribute(handle=" + handle + ", attrib=2, value=1.000) = 1",
      "BASS_ChannelPlay(handle=" + handle + ", restart=1) = 1",
      "BASS_ChannelGetLength(handle=" + handle + ", mode=0) = " + std::to_string(78 * 1152 * 4),
      "BASS_Free() = 1",
      "BASS_ChannelGetPosition(handle=" + handle + ", mode=0) = -1",
  };
  EXPECT_EQ(calls, expected);
  DeleteFileA(trace.c_str());
}

TEST(BassLibraryUnload, UnloadsOnceItsWorkerHasEnded) {
  {
    BassLibrary bass;
    ASSERT_TRUE(bass.Loaded());
    ASSERT_TRUE(bass.init(kDefault, 44100, 0, nullptr, nullptr));
    ASSERT_TRUE(bass.channelPlay(bass.Open(MediaPath("tone-10s.mp3").c_str()), TRUE));
    Sleep(100);
  }  // freed and unloaded while the worker still runs
  EXPECT_TRUE(GetModuleHandleA("bass.dll"));
  EXPECT_TRUE(WaitUntil([] { return GetModuleHandleA("bass.dll") == nullptr; }, 5000));
}
