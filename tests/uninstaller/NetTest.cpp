#include "HttpTestServer.h"

#include <gtest/gtest.h>

#include <psapi.h>

#include <string>
#include <vector>

#include "LogTestSupport.h"
#include "ProxyRecordBuilder.h"
#include "PvNet.h"
#include "TestSupport.h"

namespace {

// Every request carries a token of its own in its query, by which the
// server's record of it is found.
class NetTest : public testing::Test {
 protected:
  std::string Url(const std::string& pathAndQuery) const {
    const char separator = pathAndQuery.find('?') == std::string::npos ? '?' : '&';
    return "http://127.0.0.1" + pathAndQuery + separator + "t=" + m_token;
  }

  // GetUrlInfo into a buffer of `size` bytes; `reply` gets its C string.
  int Fetch(const std::string& pathAndQuery, int size, std::string& reply) const {
    std::vector<char> buffer(static_cast<size_t>(size), '#');
    const int result = GetUrlInfo(Widen(Url(pathAndQuery)).c_str(), buffer.data(), size);
    reply = buffer.data();
    return result;
  }

  std::vector<RecordedRequest> Requests() const { return test_server::Requests(m_token); }

  const std::string m_token = test_server::UniqueToken();
};

TEST_F(NetTest, SendsRequestLineAndHeaderBlock) {
  std::string reply;
  ASSERT_EQ(Fetch("/reply?body=plain%20reply", 1024, reply), 1);
  EXPECT_EQ(reply, "plain reply");

  const std::vector<RecordedRequest> requests = Requests();
  ASSERT_EQ(requests.size(), 1u);
  const RecordedRequest& request = requests[0];
  EXPECT_EQ(request.listener, "origin");
  EXPECT_EQ(request.requestLine, "GET /reply?body=plain%20reply&t=" + m_token + " HTTP/1.1");
  // WinINet writes each header as "Name: value"; ours come in this order,
  // each once, and replace WinINet's own Accept, Host and User-Agent.
  const std::vector<std::string> expected = {
      "Accept: text/html,application/xml;q=0.9,application/json,*/*;q=0.8",
      "Accept-Encoding: gzip,deflate",
      "Accept-Language: zh-CN,zh;q=0.5",
      "Accept-Charset: gb2312,utf-8;q=0.7,*;q=0.7",
      "Host: 127.0.0.1",
      "User-Agent: Mozilla/5.0 (Windows NT 6.1)",
  };
  std::vector<std::string> ours;
  for (const std::string& line : request.headerLines) {
    for (const std::string name :
         {"Accept:", "Accept-Encoding:", "Accept-Language:", "Accept-Charset:", "Host:", "User-Agent:"}) {
      if (line.compare(0, name.size(), name) == 0) ours.push_back(line);
    }
  }
  EXPECT_EQ(ours, expected);
}

TEST_F(NetTest, UrlOfSchemeAndHostRequestsRoot) {
  const std::string rootRequest = "GET%20/%20HTTP/1.1";  // no token fits in "/"
  const size_t before = test_server::Requests(rootRequest).size();
  char buffer[64];
  ASSERT_EQ(GetUrlInfo(L"http://127.0.0.1", buffer, sizeof buffer), 1);
  EXPECT_STREQ(buffer, "ok");

  const std::vector<RecordedRequest> requests = test_server::Requests(rootRequest);
  ASSERT_EQ(requests.size(), before + 1);
  EXPECT_EQ(requests.back().requestLine, "GET / HTTP/1.1");
  EXPECT_EQ(requests.back().Header("Host"), "127.0.0.1");
}

TEST_F(NetTest, DecodesGzipAndDeflateRepliesInAnyCase) {
  // About 12 KB: the decoder takes several windows.
  const std::string body = [] {
    std::string text;
    for (int i = 0; i < 2000; ++i) text += "hello ";
    return text;
  }();
  for (const std::string encoding : {"gzip", "deflate", "GZIP", "Deflate"}) {
    std::string reply;
    ASSERT_EQ(Fetch("/reply?body=hello%20&repeat=2000&enc=" + encoding, 65536, reply), 1) << encoding;
    EXPECT_EQ(reply, body) << encoding;
  }
}

TEST_F(NetTest, UncompressedReplyWithZeroByteComesBackEmpty) {
  std::string reply = "unset";
  EXPECT_EQ(Fetch("/reply?body=binary%20data&zero=1", 1024, reply), 1);
  EXPECT_EQ(reply, "");
}

TEST_F(NetTest, LongReplyIsCutToTheBuffer) {
  std::string digits;
  for (int i = 0; i < 10000; ++i) digits += "0123456789";
  std::string reply;
  ASSERT_EQ(Fetch("/reply?body=0123456789&repeat=10000", 50, reply), 1);
  EXPECT_EQ(reply, digits.substr(0, 49));
  // Spans three reads of up to 16 KB; the last one is shorter.
  ASSERT_EQ(Fetch("/reply?body=0123456789&repeat=10000", 40000, reply), 1);
  EXPECT_EQ(reply, digits.substr(0, 39999));
  // A compressed reply fits whole and is cut after decoding.
  ASSERT_EQ(Fetch("/reply?body=0123456789&repeat=10000&enc=gzip", 20000, reply), 1);
  EXPECT_EQ(reply, digits.substr(0, 19999));
}

TEST_F(NetTest, ClosedPortFailsAfterThreeAttemptsAndLogs) {
  DeleteFileW(TodaysLogFilePath().c_str());
  ScopedLogSwitch logOn(L"1");
  ASSERT_TRUE(test_server::ClosePortFor(6));

  Stopwatch clock;
  std::string reply;
  EXPECT_EQ(Fetch("/reply?body=never", 1024, reply), 0);
  const long long elapsed = clock.ElapsedMs();
  // Two pauses of a second between three refused attempts; a fourth would
  // add a third pause.
  EXPECT_GE(elapsed, 1950);
  EXPECT_LT(elapsed, 2900);

  const std::string log = ReadFileBytes(TodaysLogFilePath());
  const std::string line = std::string("\t") + kNetworkErrorGbk + "InternetConnect\r\n";
  const size_t found = log.find(line);
  EXPECT_NE(found, std::string::npos) << log;
  EXPECT_EQ(log.find(line, found + 1), std::string::npos) << "logged more than once";
  DeleteFileW(TodaysLogFilePath().c_str());

  EXPECT_TRUE(WaitUntil(test_server::OriginListening, 15000)) << "the server did not listen again";
}

TEST_F(NetTest, SilentServerIsAskedThreeTimesThenFailsAndLogs) {
  DeleteFileW(TodaysLogFilePath().c_str());
  ScopedLogSwitch logOn(L"1");
  ASSERT_TRUE(test_server::StallRequestsWith(m_token));

  Stopwatch clock;
  std::string reply = "unset";
  EXPECT_EQ(Fetch("/reply?body=never", 1024, reply), 0);
  // Three waits of 3 s for the reply, a second's pause between them.
  EXPECT_GE(clock.ElapsedMs(), 10500);
  EXPECT_EQ(Requests().size(), 3u) << "a timed-out request is retried like a refused one";

  const std::string log = ReadFileBytes(TodaysLogFilePath());
  const std::string line = std::string("\t") + kNetworkErrorGbk + "HttpSendRequest\r\n";
  const size_t found = log.find(line);
  EXPECT_NE(found, std::string::npos) << log;
  EXPECT_EQ(log.find(line, found + 1), std::string::npos) << "logged more than once";
  DeleteFileW(TodaysLogFilePath().c_str());
}

// Runs net_probe from a folder of its own: GetUrlInfo with only the files
// copied there beside it.
class ProbeFolder {
 public:
  explicit ProbeFolder(const std::string& token) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    m_folder = std::wstring(temp) + L"net-probe-" + Widen(token) + L"\\";
    CreateDirectoryW(m_folder.c_str(), nullptr);
    Copy(L"net_probe.exe");
  }
  ~ProbeFolder() {
    for (const wchar_t* name : {L"net_probe.exe", L"reply.txt"}) DeleteFileW((m_folder + name).c_str());
    RemoveDirectoryW(m_folder.c_str());
  }

  bool Copy(const wchar_t* name) {
    return CopyFileW((ExecutableFolder() + name).c_str(), (m_folder + name).c_str(), FALSE) != FALSE;
  }

  // The probe's exit code (GetUrlInfo's result) and reply, or -1.
  int Run(const std::string& url, std::string& reply) {
    const std::optional<DWORD> exitCode = RunToExit(
        m_folder + L"net_probe.exe", L"\"" + Widen(url) + L"\" 1024 \"" + m_folder + L"reply.txt\"", m_folder, 30000);
    if (!exitCode) return -1;
    reply = ReadFileBytes(m_folder + L"reply.txt");
    return static_cast<int>(*exitCode);
  }

 private:
  std::wstring m_folder;
};

// zlib is linked in: a program alone in its folder decodes compressed
// replies as well as plain ones.
TEST_F(NetTest, ProgramAloneDecodesCompressedReply) {
  ProbeFolder probe(m_token);
  std::string reply = "unset";
  EXPECT_EQ(probe.Run(Url("/reply?body=squeezed&enc=gzip"), reply), 1);
  EXPECT_EQ(reply, "squeezed");
  EXPECT_EQ(probe.Run(Url("/reply?body=plain"), reply), 1);
  EXPECT_EQ(reply, "plain");
}

SIZE_T PeakWorkingSet() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PeakWorkingSetSize;
}

TEST_F(NetTest, GzipBombIsCutOffAtTheBuffer) {
  // About 2 MB of gzip that inflates to 2 GiB of "a".
  constexpr int kSize = 4 << 20;
  std::vector<char> buffer(kSize, '#');
  const SIZE_T peakBefore = PeakWorkingSet();
  ASSERT_GT(peakBefore, 0u);

  ASSERT_EQ(GetUrlInfo(Widen(Url("/reply?bomb=2048")).c_str(), buffer.data(), kSize), 1);
  const std::string reply = buffer.data();
  EXPECT_EQ(reply.size(), size_t{kSize - 1});
  EXPECT_EQ(reply.find_first_not_of('a'), std::string::npos);
  EXPECT_LT(PeakWorkingSet() - peakBefore, SIZE_T{64} << 20);
}

// Writes "proxy.dat" beside the program for the test and removes it after.
class ProxyTest : public NetTest {
 protected:
  void TearDown() override {
    DeleteFileW(ProxyFile().c_str());
    CPvNet::Instance().LoadProxyConfig();
  }

  static std::wstring ProxyFile() { return ExecutableFolder() + L"proxy.dat"; }

  // Points the record at the test server's proxy and rereads it.
  static void UseProxyRecord(uint32_t flag) {
    const int port = test_server::ProxyPort();
    ASSERT_GT(port, 0);
    const std::string portText = std::to_string(port);
    ProxyRecordBuilder record;
    record.Flag(flag)
        .Text(ProxyRecordBuilder::kHost, u"127.0.0.1")
        .Text(ProxyRecordBuilder::kPort, std::u16string(portText.begin(), portText.end()))
        .Text(ProxyRecordBuilder::kUserName, u"proxy-user")
        .Text(ProxyRecordBuilder::kPassword, u"proxy-pass");
    UniqueFileHandle file(CreateFileW(ProxyFile().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(
        WriteFile(file.Get(), record.Bytes().data(), static_cast<DWORD>(record.Bytes().size()), &written, nullptr));
    file.Reset();
    CPvNet::Instance().LoadProxyConfig();
  }
};

TEST_F(ProxyTest, FlagZeroIsIgnored) {
  UseProxyRecord(0);
  std::string reply;
  ASSERT_EQ(Fetch("/reply?body=direct", 1024, reply), 1);
  EXPECT_EQ(reply, "direct");
  const std::vector<RecordedRequest> requests = Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].listener, "origin");
}

// The record's login is never sent: a proxy that asks for none passes the
// request on.
TEST_F(ProxyTest, FlagOneGoesThroughProxyWithoutLogin) {
  UseProxyRecord(1);
  std::string reply;
  ASSERT_EQ(Fetch("/reply?body=via%20proxy", 1024, reply), 1);
  EXPECT_EQ(reply, "via proxy");

  const std::vector<RecordedRequest> requests = Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].listener, "proxy");
  EXPECT_EQ(requests[0].requestLine.rfind("GET http://127.0.0.1", 0), 0u) << requests[0].requestLine;
  EXPECT_EQ(requests[0].Header("Proxy-Authorization"), "");
  EXPECT_EQ(requests[0].Header("Host"), "127.0.0.1");
}

// A server or proxy that asks for a login (Negotiate, NTLM or Basic) gets
// its challenge taken as the reply: no second request with the record's
// login, the account's or any other. The cookie it sets is never sent back.
// One process a case: Wine's WinINet keeps a connection to 127.0.0.1:80 for
// later requests even when they are meant for the proxy.
class LoginChallengeTest : public ProxyTest {
 protected:
  void ExpectNoLoginAnswered(uint32_t proxyFlag, const std::string& listener) {
    ASSERT_NO_FATAL_FAILURE(UseProxyRecord(proxyFlag));
    std::string reply;
    EXPECT_EQ(Fetch("/login/" + listener, 1024, reply), 1);
    EXPECT_EQ(reply, "login");
    EXPECT_EQ(Fetch("/reply?after=login", 1024, reply), 1);

    const std::vector<RecordedRequest> requests = Requests();
    ASSERT_EQ(requests.size(), 2u) << "the challenge was answered";
    for (const RecordedRequest& request : requests) {
      EXPECT_EQ(request.listener, listener) << request.requestLine;
      EXPECT_EQ(request.Header("Authorization"), "") << request.requestLine;
      EXPECT_EQ(request.Header("Proxy-Authorization"), "") << request.requestLine;
      EXPECT_EQ(request.Header("Cookie"), "") << request.requestLine;
    }
  }
};

TEST_F(LoginChallengeTest, ServerGetsNoLoginNorCookie) {
  ExpectNoLoginAnswered(0, "origin");
}

TEST_F(LoginChallengeTest, ProxyGetsNoLoginNorCookie) {
  ExpectNoLoginAnswered(1, "proxy");
}

}  // namespace
