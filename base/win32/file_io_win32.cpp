// Win32 parts of the file helpers: FlushFileBuffers and MoveFileExA with replacement.
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "base/file_io.h"

namespace base {

const char kPathSeparator = '\\';

bool FlushToDisk(std::FILE* file) {
    HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    return h != INVALID_HANDLE_VALUE && FlushFileBuffers(h);
}

bool ReplaceFileWith(const std::string& target, const std::string& replacement) {
    return MoveFileExA(replacement.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace base
