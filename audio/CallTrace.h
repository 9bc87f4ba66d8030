// Optional record of every call into the library, for tests of its callers:
// when the environment variable QUOBLY_BASS_TRACE names a file, each call
// appends one line to it:
//   <milliseconds of the performance counter, 3 decimals> <call>(<arguments>) = <result>
#pragma once

// printf-style text of the call; does nothing when tracing is off.
void TraceCall(const char* format, ...) __attribute__((format(printf, 1, 2)));
