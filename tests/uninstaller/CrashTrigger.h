// Test builds of pvUninstall only: crashes worker threads on request, so the
// end-to-end tests see the crash handler at work in the real program.
#pragma once

// When the environment variable PVUNINSTALL_TEST_CRASH holds a count N of 1
// or more, N worker threads fault at the same moment, a second after this
// call. Otherwise nothing happens.
void ArmCrashTrigger();
