// The self-deletion batch file: written where no other user can change it
// before it runs, and run by the system's own command interpreter.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "Handles.h"

// `text` in the console's (OEM) code page, the one the command interpreter
// reads a batch in; nothing when a character has no exact counterpart there
// (a best fit could turn a full-width quote into a real one).
std::optional<std::string> ToOemCodePage(const std::wstring& text);

// A name no one can guess: "pvUninstall-" and 16 random hex digits ".bat";
// empty when the system has no random numbers to give.
std::wstring RandomBatchName();

// Creates a new batch file in `folder` (ending with a backslash) under a name
// from `nextName`, never reusing a file that exists (one planted there makes
// another name be tried), readable and writable by administrators, the system
// and its owner only, and not shared for writing. On success `path` is set.
UniqueFileHandle CreateBatchFile(const std::wstring& folder, std::wstring (*nextName)(), std::wstring& path);

// CreateBatchFile, then writes `bytes` whole and closes the file. Returns its
// path, or empty when it could not be written whole (nothing is left then).
std::wstring WriteBatchFile(const std::wstring& folder, const std::string& bytes, std::wstring (*nextName)());

// Runs the batch hidden through `systemFolder`'s cmd.exe, with AutoRun
// commands and delayed expansion off, in the batch's own folder.
bool StartBatch(const std::wstring& systemFolder, const std::wstring& batch);
