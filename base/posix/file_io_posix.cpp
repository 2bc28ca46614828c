// POSIX parts of the file helpers: fsync and rename(2), which replaces atomically.
#include <unistd.h>

#include <cstdio>

#include "base/file_io.h"

namespace base {

const char kPathSeparator = '/';

bool FlushToDisk(std::FILE* file) {
    return fsync(fileno(file)) == 0;
}

bool ReplaceFileWith(const std::string& target, const std::string& replacement) {
    return std::rename(replacement.c_str(), target.c_str()) == 0;
}

}  // namespace base
