// Expansion of a game's connect template and of the mIRC notification text.
//
// A template is text with $-variables ($ip, $port, $game, $time, $rconpw, $model, $name, $pw,
// $server, $folder, $spec, $ping, $hostport; names ignore case) and, for command lines, optional
// segments in brackets that stay only when a variable inside them has a value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "catalogue/catalogue.h"
#include "catalogue/records.h"
#include "join/join_details.h"

namespace join {

// The longest expansion: the result goes into 256-byte buffers with their terminator.
constexpr size_t kExpansionLimit = 255;

// Everything the variables are read from.
struct ExpansionInput {
    const catalogue::Catalogue& catalogue;
    uint32_t kind;
    const catalogue::ServerRecord& record;
    const JoinDetails& details;
    bool joinAsSpectator;
};

// Expands the template: with segments on (a game's command line) "[...]" segments are kept or
// dropped and a stray ']' is dropped; with segments off (the mIRC text) brackets are plain text.
// The result has at most kExpansionLimit characters.
//
// Text that comes from the network ($server, $folder) never splits what it lands in. It loses its
// control bytes; in the mIRC text every '|' then becomes the byte 0x7F. On a command line the
// server name is plain (no colour codes), both lose '+', ';' and quotes wherever they stand, a
// backslash cannot escape the template's closing quote, and outside quotes spaces become '_', so
// a server cannot add arguments or console commands to the game's.
std::string ExpandConnectTemplate(bool segments, const ExpansionInput& input, std::string_view text);

// The expansion copied into a 256-byte buffer, always terminated.
void ExpandConnectTemplate(bool segments,
                           const ExpansionInput& input,
                           std::string_view text,
                           char (&destination)[kExpansionLimit + 1]);

}  // namespace join
