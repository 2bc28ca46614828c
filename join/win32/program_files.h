// Finding a game's program: does a file exist, and where is the program when it is not there.
#pragma once

#include <windows.h>

#include <string>

namespace join::win32 {

// True when a file (or anything else) matches the path.
bool fileExists(const std::string& path);
// The Open dialog "Find Location of Game Program.." for *.EXE, starting at the program's file
// name. True with the chosen full path; false when cancelled or on an error.
bool browseForProgram(HWND owner, const std::string& programFile, std::string& chosenPath);

}  // namespace join::win32
