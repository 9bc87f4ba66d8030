#include "HttpTestServer.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "Handles.h"
#include "PvReport.h"
#include "TestSupport.h"

namespace {

constexpr wchar_t kParvaneKey[] = L"SOFTWARE\\Parvane";

// Each test starts and ends without a stored machine identifier.
class ReportTest : public testing::Test {
 protected:
  void SetUp() override {
    // Nothing may leave this machine: the endpoints must be the test server.
    ASSERT_EQ(std::wstring(kReportUrl), L"http://127.0.0.1/report.asp")
        << "configure PVUNINSTALL_REPORT_HOST=127.0.0.1";
    ASSERT_EQ(std::wstring(kCrashReportUrl), L"http://127.0.0.1/api.ashx");
    RegDeleteTreeW(HKEY_CURRENT_USER, kParvaneKey);
  }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kParvaneKey); }

  // Waits until `count` requests with `token` arrived.
  static std::vector<RecordedRequest> AwaitRequests(const std::string& token, size_t count, DWORD timeoutMs = 10000) {
    std::vector<RecordedRequest> requests;
    WaitUntil(
        [&] {
          requests = test_server::Requests(token);
          return requests.size() >= count;
        },
        timeoutMs);
    return requests;
  }

  static void StoreUid(const std::wstring& uid) {
    UniqueRegKey key;
    ASSERT_EQ(
        RegCreateKeyExW(HKEY_CURRENT_USER, kParvaneKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(), nullptr),
        ERROR_SUCCESS);
    RegSetValueExW(key.Get(), L"UID", 0, REG_SZ, reinterpret_cast<const BYTE*>(uid.c_str()),
                   static_cast<DWORD>((uid.size() + 1) * sizeof(wchar_t)));
  }

  // The request line's parts, or empty strings when it is not a report.
  struct Query {
    std::string path, type, value, uuid;
    long long sign = 0;
  };
  static Query ParseReport(const RecordedRequest& request) {
    static const std::regex report(
        R"(GET (/[^?]*)\?type=([^&]*)&value=([^&]*)&uuid=([^&]*)&sign=(-?[0-9]+) HTTP/1\.1)");
    std::smatch parts;
    if (!std::regex_match(request.requestLine, parts, report)) return Query();
    return Query{parts[1], parts[2], parts[3], parts[4], std::stoll(parts[5])};
  }

  const std::string m_token = test_server::UniqueToken();
};

TEST_F(ReportTest, ThreeReportKindsArriveWithTheirQueries) {
  // A stored identifier of 20 characters is sent as it is: it marks this test's reports.
  const std::string uid = "PV" + std::string(18 - std::min<size_t>(18, m_token.size()), '0') + m_token.substr(0, 18);
  StoreUid(Widen(uid));
  const auto ticks = static_cast<long long>(static_cast<int>(GetTickCount()));

  DoReport(kReportUrl, L"open", L"Tesk_Uninstall");
  DoReport(kReportUrl, L"uninstall", L"A&B 软件");
  DoReport(kCrashReportUrl, L"tk_uninstall_dump", L"");

  const std::vector<RecordedRequest> requests = AwaitRequests(uid, 3);
  ASSERT_EQ(requests.size(), 3u);
  int seen = 0;
  for (const RecordedRequest& request : requests) {
    const Query query = ParseReport(request);
    EXPECT_EQ(query.uuid, uid) << request.requestLine;
    EXPECT_NEAR(query.sign, ticks, 10000) << "sign is the tick count";
    EXPECT_EQ(request.Header("Host"), "127.0.0.1");
    if (query.type == "open") {
      EXPECT_EQ(query.path, "/report.asp");
      EXPECT_EQ(query.value, "Tesk_Uninstall");
      seen |= 1;
    } else if (query.type == "uninstall") {
      EXPECT_EQ(query.path, "/report.asp");
      EXPECT_EQ(query.value, "A%26B%20%e8%bd%af%e4%bb%b6");
      seen |= 2;
    } else if (query.type == "tk_uninstall_dump") {
      EXPECT_EQ(query.path, "/api.ashx");
      EXPECT_EQ(query.value, "");
      seen |= 4;
    }
  }
  EXPECT_EQ(seen, 7) << "one report of each kind";
}

TEST_F(ReportTest, ReportsInARowCarryTheStoredUuid) {
  DoReport(kReportUrl, Widen(m_token).c_str(), L"first");
  ASSERT_EQ(AwaitRequests(m_token, 1).size(), 1u);
  DoReport(kReportUrl, Widen(m_token).c_str(), L"second");
  const std::vector<RecordedRequest> requests = AwaitRequests(m_token, 2);
  ASSERT_EQ(requests.size(), 2u);

  const Query first = ParseReport(requests[0]);
  const Query second = ParseReport(requests[1]);
  EXPECT_EQ(first.value, "first");
  EXPECT_EQ(second.value, "second");
  EXPECT_EQ(first.uuid.size(), 20u);
  EXPECT_EQ(first.uuid, second.uuid);
  wchar_t stored[64] = {};
  DWORD bytes = sizeof stored - sizeof(wchar_t);
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, kParvaneKey, L"UID", RRF_RT_REG_SZ, nullptr, stored, &bytes),
            ERROR_SUCCESS);
  EXPECT_EQ(Widen(first.uuid), stored);
}

TEST_F(ReportTest, KindOf30CharactersSendsNothing) {
  const std::string kind30 = m_token + std::string(30 - m_token.size(), 'x');
  const std::string kind29 = m_token + std::string(29 - m_token.size(), 'y');
  DoReport(kReportUrl, Widen(kind30).c_str(), L"dropped");
  DoReport(kReportUrl, Widen(kind29).c_str(), L"sent");
  DoReport(kReportUrl, nullptr, L"dropped");
  DoReport(nullptr, Widen(kind29).c_str(), L"dropped");

  ASSERT_EQ(AwaitRequests(m_token, 1).size(), 1u);
  Sleep(500);  // time for a wrongly sent report to arrive too
  const std::vector<RecordedRequest> requests = test_server::Requests(m_token);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(ParseReport(requests[0]).type, kind29);
  EXPECT_EQ(ParseReport(requests[0]).value, "sent");
}

TEST_F(ReportTest, ValueOf100CharactersIsSentEmpty) {
  DoReport(kReportUrl, Widen(m_token + "a").c_str(), std::wstring(100, L'v').c_str());
  DoReport(kReportUrl, Widen(m_token + "b").c_str(), std::wstring(99, L'v').c_str());
  // 99 characters that encode to nine times as many: far more than the
  // value's field holds.
  DoReport(kReportUrl, Widen(m_token + "c").c_str(), std::wstring(99, L'软').c_str());

  std::string encoded;
  for (int i = 0; i < 99; ++i) encoded += "%e8%bd%af";
  const std::vector<RecordedRequest> requests = AwaitRequests(m_token, 3);
  ASSERT_EQ(requests.size(), 3u);
  for (const RecordedRequest& request : requests) {
    const Query query = ParseReport(request);
    const std::string expected = query.type == m_token + "a"   ? ""
                                 : query.type == m_token + "b" ? std::string(99, 'v')
                                                               : encoded;
    EXPECT_EQ(query.value, expected) << query.type;
  }
}

// A build with no report host has empty endpoints: it starts no report and
// makes no machine identifier. A report thread once started is either still
// running or has stored the identifier already.
TEST_F(ReportTest, EmptyEndpointStartsNoReportAndStoresNoMachineId) {
  const int threads = LiveThreadCount();
  DoReport(L"", L"open", L"Tesk_Uninstall");
  DoReport(L"", L"tk_uninstall_dump", L"");
  EXPECT_EQ(LiveThreadCount(), threads);
  wchar_t stored[64] = {};
  DWORD bytes = sizeof stored - sizeof(wchar_t);
  EXPECT_NE(RegGetValueW(HKEY_CURRENT_USER, kParvaneKey, L"UID", RRF_RT_REG_SZ, nullptr, stored, &bytes),
            ERROR_SUCCESS);
}

TEST_F(ReportTest, ReturnsAtOnceWhenServerNeverAnswers) {
  Stopwatch clock;
  DoReport(L"http://127.0.0.1/hang/report.asp", Widen(m_token).c_str(), L"waiting");
  EXPECT_LT(clock.ElapsedMs(), 500);
  // The request arrived; its reply never comes while the test runs.
  EXPECT_EQ(AwaitRequests(m_token, 1).size(), 1u);
}

TEST_F(ReportTest, ServerThatAcceptsAndStaysSilentGetsThreeAttempts) {
  ASSERT_TRUE(test_server::StallRequestsWith(m_token));
  DoReport(kReportUrl, Widen(m_token).c_str(), L"silent");
  // Three waits of 3 s for the reply with a second between them: about 11 s.
  const std::vector<RecordedRequest> requests = AwaitRequests(m_token, 3, 40000);
  ASSERT_EQ(requests.size(), 3u);
  for (const RecordedRequest& request : requests) EXPECT_EQ(ParseReport(request).type, m_token);
  // A fourth attempt would come 4 s after the third.
  Sleep(6000);
  EXPECT_EQ(test_server::Requests(m_token).size(), 3u);
}

}  // namespace
