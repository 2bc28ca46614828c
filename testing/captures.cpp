// The source tree is found from this file's own path.
#include "testing/captures.h"

#include <cstdio>

namespace testing_support {

std::string ReadCapture(const char* name) {
    std::string path = __FILE__;
    for (int i = 0; i < 2; ++i)
        path = path.substr(0, path.find_last_of("/\\"));
#ifdef _WIN32
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;  // the Unix root as Wine shows it
#endif
    std::string bytes;
    if (FILE* f = std::fopen((path + "/testing/data/" + name).c_str(), "rb")) {
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
            bytes.append(buffer, n);
        std::fclose(f);
    }
    if (bytes.empty())
        std::fprintf(stderr, "missing capture testing/data/%s\n", name);
    return bytes;
}

}  // namespace testing_support
