// The audio library stand-in's call trace (QUOBLY_BASS_TRACE): one line a
// call, "<milliseconds> <call> = <result>", CRLF-ended.
#pragma once

#include <string>
#include <vector>

#include "Handles.h"

struct TracedCall {
  double timeMs = 0;  // performance-counter milliseconds
  std::string call;   // the call and its result, without the time
};

// Now on the trace's clock: the performance counter in milliseconds.
double TraceClockMs();

// The complete lines of trace text; an unfinished last line is left out.
std::vector<TracedCall> ParseTrace(const std::string& text);

// The files of the "BASS_StreamCreateFile(mem=0, file="<path>", ..." calls:
// the sounds opened, in order.
std::vector<std::string> OpenedFiles(const std::vector<std::string>& calls);
// The file of the last stream opened among the calls, "" when none was.
std::string LastOpenedFile(const std::vector<std::string>& calls);

// A trace in a file of its own. The environment variable reaches bass.dll in
// this process and programs started from it while the object lives.
class BassTrace {
 public:
  explicit BassTrace(const std::wstring& path);
  ~BassTrace();
  BassTrace(const BassTrace&) = delete;
  BassTrace& operator=(const BassTrace&) = delete;

  // Each call so far, without its time.
  std::vector<std::string> Calls() const;
  // The calls whose text starts with `prefix`.
  std::vector<std::string> CallsOf(const std::string& prefix) const;
  void Clear() const;

 private:
  std::wstring m_path;
};

// Reads a trace file as it grows, only what is new each time.
class TraceFollower {
 public:
  explicit TraceFollower(const std::wstring& path) : m_path(path) {}

  // The next complete call written since the last one; false when none is
  // there yet.
  bool Next(TracedCall& next);

 private:
  std::wstring m_path;
  UniqueFileHandle m_file;
  std::string m_pending;
};
