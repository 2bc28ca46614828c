// The shared-memory query between vexar-driver and its hook inside the program.
#pragma once

#include <windows.h>

constexpr char kDriverQueryMessage[] = "VexarDriverQuery";
constexpr char kDriverQueryMapping[] = "VexarDriverQueryMapping";

// What the hook does for the driver; the hook sets done when it has.
enum DriverRequest : UINT {
    // When the query message (posted to the main window) is taken from the queue: result is
    // GetMenuState(main menu, item, MF_BYCOMMAND).
    kQueryMenuState = 1,
    // When the query message is taken from the queue: everything posted to the thread before it
    // has been taken and handled (or is being handled in a modal loop, which took the query).
    kQueryReached = 2,
    // When the key-up of virtual key item is taken from the queue: the key press before it has
    // been handled.
    kQueryKeyUp = 3,
};

// The refresh watch, in a mapping of its own (it runs beside other queries): the hook sets busySeen
// when the program enables the toolbar button item (TB_SETSTATE without TBSTATE_INDETERMINATE),
// however short the work that enabled it.
constexpr char kRefreshWatchMapping[] = "VexarDriverRefreshWatch";
struct RefreshWatch {
    UINT item;
    LONG busySeen;
};

struct DriverQuery {
    UINT request;
    UINT item;
    UINT result;
    LONG done;
};
