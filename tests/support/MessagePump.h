// Running this thread's messages while a test waits, so that its windows
// paint, take input and get their timers.
#pragma once

#include <windows.h>

#include <functional>

// Handles every message queued for this thread, then returns.
void PumpMessages();

// Handles this thread's messages until `done` holds, or false after
// TestTimeout(timeoutMs). Sleeps only until the next message arrives.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);
