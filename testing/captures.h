// Datagrams captured from real servers, kept in testing/data of the source tree.
#pragma once

#include <string>

namespace testing_support {

// The bytes of testing/data/<name>; "" (and a line on stderr) when the file is missing, which the
// expectations on its contents then report.
std::string ReadCapture(const char* name);

}  // namespace testing_support
