// The rows of the Server Properties dialog: in information mode the status keys of a server's
// reply, without the keys that belong to its players.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rcon {

struct PropertyRow {
    std::string property;
    std::string value;
    bool readOnly = false;
};

// The key/value pairs of a status reply kept by "Display Server Information": from the first byte
// for Unreal Tournament and Command & Conquer Renegade, from byte 20 for Medal of Honor and byte 19
// for the other games (where a backslash must stand), up to a line feed. Half-Life lists nothing.
// Player keys ("player_", "frags_", "ping_", ...) are left out; a key or value of 256 characters
// or more is not shown (a long value leaves its row empty).
std::vector<PropertyRow> InformationRows(uint32_t kind, std::string_view reply);

// The rows of a "cvarlist" reply. Half-Life: "name : value ," lines. Quake III engines: flag
// columns, the name, and the value in double quotes; a row is read-only when its flags hold 'R'.
// The name is the last word before the value, so both the older table (seven flag columns) and
// today's (nine) are read; an empty line ends the list. DarkPlaces: 'name is "value" ["default"]'
// lines (the value may hold double quotes itself). Source: "name : value : flags : description"
// lines; its commands (value "cmd") are left out.
std::vector<PropertyRow> CvarRows(uint32_t kind, std::string_view reply);

// The maps of a map list: lines holding ".bsp" without their last four characters and without a
// leading "(fs) " (nor the "PENDING:" and spaces that today's Source builds put before it).
std::vector<std::string> MapListEntries(std::string_view text);

// The maps of a DarkPlaces "ls maps/*.bsp" listing (several a line): "maps/NAME.bsp" gives NAME.
std::vector<std::string> DarkPlacesMapEntries(std::string_view text);

// The command "Change" sends: the property (at most 23 characters) and the value in double quotes,
// so that a value with spaces is set whole; double quotes and control characters of the value are
// left out (they would end the quoted value or the command).
std::string ChangeCvarCommand(std::string_view property, std::string_view value);

// What "Open URL" hands the shell for a value, "" when nothing: the values come from the server,
// so only web pages are opened, as the server list's web site is (views::WebAddressToOpen): an
// "http://" or "https://" address, or one starting with "www." with "http://" put before it.
std::string UrlToOpen(std::string_view value);

// "Copy All": every row as "property value" and CR LF, at most 8191 characters in all.
std::string CopyAllText(const std::vector<PropertyRow>& rows);

}  // namespace rcon
