// A native protocol fixture of the build tree, started from a Win32 test (Wine starts Unix programs
// too) on a free TCP port of 127.0.0.1.
#pragma once

#include <cstdint>
#include <string>

namespace testing_support {

// Starts testing/fixtures/NAME of the native build beside this build tree with `--port PORT` and the
// arguments (it should be told to end by itself: --lifetime-ms), and waits until it takes TCP
// connections. The port, or 0 when it did not start. Windows Sockets must be started.
uint16_t StartNativeTcpFixture(const std::string& name, const std::string& arguments);

}  // namespace testing_support
