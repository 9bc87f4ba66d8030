#include "HttpTestServer.h"

#include <ws2tcpip.h>

#include <cctype>
#include <cstdlib>
#include <sstream>

#include "TestSupport.h"

namespace {

struct SocketTraits {
  using Handle = SOCKET;
  static Handle Invalid() { return INVALID_SOCKET; }
  static void Close(Handle handle) { closesocket(handle); }
};
using UniqueSocket = UniqueHandle<SocketTraits>;

void StartWinsock() {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  (void)started;
}

UniqueSocket ConnectToOrigin() {
  StartWinsock();
  UniqueSocket socket(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  if (!socket) return socket;
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_port = htons(80);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(socket.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) socket.Reset();
  return socket;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

std::string RecordedRequest::Header(const std::string& name) const {
  for (const std::string& line : headerLines) {
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos || Lower(line.substr(0, colon)) != Lower(name)) continue;
    const std::size_t value = line.find_first_not_of(' ', colon + 1);
    return value == std::string::npos ? std::string() : line.substr(value);
  }
  return std::string();
}

namespace test_server {

std::string Get(const std::string& pathAndQuery) {
  UniqueSocket socket = ConnectToOrigin();
  if (!socket) return std::string();
  const std::string request = "GET " + pathAndQuery + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
  send(socket.Get(), request.data(), static_cast<int>(request.size()), 0);
  std::string reply;
  char chunk[4096];
  for (int got; (got = recv(socket.Get(), chunk, sizeof chunk, 0)) > 0;) reply.append(chunk, static_cast<size_t>(got));
  const std::size_t body = reply.find("\r\n\r\n");
  return body == std::string::npos ? std::string() : reply.substr(body + 4);
}

std::vector<RecordedRequest> Requests(const std::string& token) {
  std::vector<RecordedRequest> requests;
  for (const std::string& line : SplitLines(Get("/control/requests?token=" + token))) {
    if (line.rfind("== ", 0) == 0) {
      requests.push_back(RecordedRequest{line.substr(3), std::string(), {}});
    } else if (!requests.empty() && !line.empty()) {
      RecordedRequest& request = requests.back();
      if (request.requestLine.empty()) {
        request.requestLine = line;
      } else {
        request.headerLines.push_back(line);
      }
    }
  }
  return requests;
}

bool OriginListening() {
  return static_cast<bool>(ConnectToOrigin());
}

bool ClosePortFor(int seconds) {
  Get("/control/close-port?seconds=" + std::to_string(seconds));
  return WaitUntil([] { return !OriginListening(); }, 5000);
}

bool StallRequestsWith(const std::string& token) {
  return Get("/control/stall?token=" + token) == "stalling";
}

int ProxyPort() {
  return std::atoi(Get("/control/proxy-port").c_str());
}

std::string UniqueToken() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  // Short enough to serve as a report kind (29 characters at most).
  std::ostringstream token;
  token << 't' << GetCurrentProcessId() << '_' << now.QuadPart % 10000000000;
  return token.str();
}

}  // namespace test_server
