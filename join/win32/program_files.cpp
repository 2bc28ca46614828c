// A find-first for the program check, and the standard Open dialog to look for a program.
#include "join/win32/program_files.h"

#include <commdlg.h>

#include "base/text.h"
#include "base/win32/handles.h"

namespace join::win32 {

bool fileExists(const std::string& path) {
    WIN32_FIND_DATAA found;
    return static_cast<bool>(base::win32::FileSearch(FindFirstFileA(path.c_str(), &found)));
}

bool browseForProgram(HWND owner, const std::string& programFile, std::string& chosenPath) {
    char path[MAX_PATH] = {};
    base::CopyText(path, programFile);
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = "Program files (*.EXE)\0*.EXE\0";
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.lpstrTitle = "Find Location of Game Program..";
    dialog.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    if (!GetOpenFileNameA(&dialog))
        return false;
    chosenPath = path;
    return true;
}

}  // namespace join::win32
