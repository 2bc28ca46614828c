// The shared-memory query between vexar-driver and its hook inside the program.
#pragma once

#include <windows.h>

constexpr char kDriverQueryMessage[] = "VexarDriverQuery";
constexpr char kDriverQueryMapping[] = "VexarDriverQueryMapping";
constexpr UINT kQueryMenuState = 1;

struct DriverQuery {
    UINT request;
    UINT item;
    UINT result;
    LONG done;
};
