// What the Join dialog fills in and the connect template reads: names, passwords and flags.
#pragma once

#include <cstdint>

namespace join {

// The values of the last Join dialog; one instance lives for the run (the dialog overwrites it).
struct JoinDetails {
    char playerName[41] = {};
    char model[41] = {};
    char serverPassword[31] = {};
    char rconPassword[31] = {};
    // The server wants a password: its password text starts with 'T' or '1', or the game always
    // offers the password box (Return to Castle Wolfenstein).
    uint32_t passwordRequired = 0;
    // Copy the typed password(s) back into the server's record.
    uint32_t savePassword = 0;
    uint32_t saveRconPassword = 0;
    // Send the mIRC notification (stored as DIN).
    uint32_t notifyIrc = 0;
};

}  // namespace join
