#include "BassTrace.h"

#include <windows.h>

#include <cstdlib>

#include "TestFiles.h"

namespace {

// Takes the complete lines off the front of `text`.
std::vector<TracedCall> TakeLines(std::string& text) {
  std::vector<TracedCall> calls;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    const std::string line = text.substr(start, end - start);
    const std::size_t space = line.find(' ');
    if (space == std::string::npos) continue;
    calls.push_back({std::atof(line.c_str()), line.substr(space + 1)});
  }
  text.erase(0, start);
  return calls;
}

}  // namespace

double TraceClockMs() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return double(counter.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

std::vector<TracedCall> ParseTrace(const std::string& text) {
  std::string rest = text;
  return TakeLines(rest);
}

std::vector<std::string> OpenedFiles(const std::vector<std::string>& calls) {
  std::vector<std::string> paths;
  const std::string prefix = "BASS_StreamCreateFile(mem=0, file=\"";
  for (const std::string& call : calls) {
    if (call.compare(0, prefix.size(), prefix) == 0) {
      paths.push_back(call.substr(prefix.size(), call.find('"', prefix.size()) - prefix.size()));
    }
  }
  return paths;
}

std::string LastOpenedFile(const std::vector<std::string>& calls) {
  const std::vector<std::string> opened = OpenedFiles(calls);
  return opened.empty() ? std::string() : opened.back();
}

BassTrace::BassTrace(const std::wstring& path) : m_path(path) {
  SetEnvironmentVariableW(L"QUOBLY_BASS_TRACE", m_path.c_str());
}

BassTrace::~BassTrace() {
  SetEnvironmentVariableW(L"QUOBLY_BASS_TRACE", nullptr);
}

std::vector<std::string> BassTrace::Calls() const {
  std::vector<std::string> calls;
  for (TracedCall& traced : ParseTrace(ReadFileBytes(m_path))) calls.push_back(std::move(traced.call));
  return calls;
}

std::vector<std::string> BassTrace::CallsOf(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& call : Calls()) {
    if (call.compare(0, prefix.size(), prefix) == 0) found.push_back(call);
  }
  return found;
}

void BassTrace::Clear() const {
  DeleteFileW(m_path.c_str());
}

bool TraceFollower::Next(TracedCall& next) {
  if (!m_file) {
    m_file.Reset(CreateFileW(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, 0, nullptr));
    if (!m_file) return false;
  }
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(m_file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0) m_pending.append(buffer, read);
  // One line at a time: the caller may stop at any call.
  const std::size_t end = m_pending.find("\r\n");
  if (end == std::string::npos) return false;
  std::string line = m_pending.substr(0, end + 2);
  m_pending.erase(0, end + 2);
  std::vector<TracedCall> calls = TakeLines(line);
  if (calls.empty()) return Next(next);
  next = std::move(calls.front());
  return true;
}
