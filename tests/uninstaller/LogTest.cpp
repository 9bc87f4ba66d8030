#include <gtest/gtest.h>

#include <string>

#include "LogTestSupport.h"
#include "PvLog.h"

namespace {

SYSTEMTIME LocalTime(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
  SYSTEMTIME time = {};
  time.wYear = year;
  time.wMonth = month;
  time.wDay = day;
  time.wHour = hour;
  time.wMinute = minute;
  time.wSecond = second;
  return time;
}

// Each test starts and ends without log files of the days it writes.
class LogTest : public testing::Test {
 protected:
  void SetUp() override { RemoveLogs(); }
  void TearDown() override { RemoveLogs(); }

  void RemoveLogs() {
    for (const SYSTEMTIME& day : {kMorning, kBeforeMidnight, kAfterMidnight}) DeleteFileW(LogFilePath(day).c_str());
    DeleteFileW(TodaysLogFilePath().c_str());
  }

  const SYSTEMTIME kMorning = LocalTime(2024, 3, 7, 9, 5, 3);
  const SYSTEMTIME kBeforeMidnight = LocalTime(2024, 12, 31, 23, 59, 59);
  const SYSTEMTIME kAfterMidnight = LocalTime(2025, 1, 1, 0, 0, 0);
};

TEST_F(LogTest, SwitchOneAppendsDatedLinesInAnsiCodePage) {
  ScopedLogSwitch on(L"1");
  CPvLog::Instance().WriteLog(L"第一行", kMorning);
  CPvLog::Instance().WriteLog(L"second line", kMorning);
  // Named without leading zeros, dated with them; GBK, CR LF, no header.
  EXPECT_EQ(ReadFileBytes(ExecutableFolder() + L"PV-2024-3-7.log"),
            "2024-03-07 09:05:03\t\xb5\xda\xd2\xbb\xd0\xd0\r\n"
            "2024-03-07 09:05:03\tsecond line\r\n");
}

TEST_F(LogTest, FreeFunctionWritesTodaysFile) {
  ScopedLogSwitch on(L"1");
  SYSTEMTIME before;
  GetLocalTime(&before);
  WriteLog(L"now");
  SYSTEMTIME after;
  GetLocalTime(&after);
  // Around midnight the line may land in either day's file.
  std::string line = ReadFileBytes(LogFilePath(before));
  if (before.wDay != after.wDay) line += ReadFileBytes(LogFilePath(after));
  ASSERT_EQ(line.size(), std::string("2024-03-07 09:05:03\tnow\r\n").size()) << line;
  EXPECT_EQ(line.substr(19), "\tnow\r\n");
  EXPECT_EQ(line.substr(0, 5), std::to_string(before.wYear) + "-");
  DeleteFileW(LogFilePath(before).c_str());
  DeleteFileW(LogFilePath(after).c_str());
}

TEST_F(LogTest, LinesAroundMidnightGoToTwoFiles) {
  ScopedLogSwitch on(L"1");
  CPvLog::Instance().WriteLog(L"old year", kBeforeMidnight);
  CPvLog::Instance().WriteLog(L"new year", kAfterMidnight);
  EXPECT_EQ(ReadFileBytes(LogFilePath(kBeforeMidnight)), "2024-12-31 23:59:59\told year\r\n");
  EXPECT_EQ(ReadFileBytes(LogFilePath(kAfterMidnight)), "2025-01-01 00:00:00\tnew year\r\n");
}

TEST_F(LogTest, OnlyExactlyOneSwitchesLoggingOn) {
  for (const wchar_t* value : {L"1 ", L"true", L"01", L""}) {
    ScopedLogSwitch notOn(value);
    CPvLog::Instance().WriteLog(L"dropped", kMorning);
    EXPECT_EQ(GetFileAttributesW(LogFilePath(kMorning).c_str()), INVALID_FILE_ATTRIBUTES)
        << "switch \"" << value << "\"";
  }
  CPvLog::Instance().WriteLog(L"dropped without switch", kMorning);
  EXPECT_EQ(GetFileAttributesW(LogFilePath(kMorning).c_str()), INVALID_FILE_ATTRIBUTES);
}

// Users may write the program folder: a log name made a second name of
// another file is never written through, and the day goes unlogged.
TEST_F(LogTest, HardLinkedLogFileIsLeftAlone) {
  ScopedLogSwitch on(L"1");
  TempFolder elsewhere;
  const std::wstring target = elsewhere.Write(L"system.ini", "[kept]\r\n");
  ASSERT_TRUE(CreateHardLinkW(LogFilePath(kMorning).c_str(), target.c_str(), nullptr)) << GetLastError();

  CPvLog::Instance().WriteLog(L"dropped", kMorning);
  EXPECT_EQ(ReadFileBytes(target), "[kept]\r\n");
  DeleteFileW(LogFilePath(kMorning).c_str());  // the link alone

  CPvLog::Instance().WriteLog(L"logged", kMorning);
  EXPECT_EQ(ReadFileBytes(LogFilePath(kMorning)), "2024-03-07 09:05:03\tlogged\r\n");
  EXPECT_EQ(ReadFileBytes(target), "[kept]\r\n");
}

TEST_F(LogTest, SwitchIsReadOnEveryCall) {
  {
    ScopedLogSwitch on(L"1");
    CPvLog::Instance().WriteLog(L"kept", kMorning);
  }
  CPvLog::Instance().WriteLog(L"dropped", kMorning);
  EXPECT_EQ(ReadFileBytes(LogFilePath(kMorning)), "2024-03-07 09:05:03\tkept\r\n");
}

}  // namespace
