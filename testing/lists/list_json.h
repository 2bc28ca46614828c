// The server-list, buddy-list and profile files as JSON documents, read and written through the
// program's own list-file code.
#pragma once

#include <string>

#include "testing/lists/json.h"

namespace lists {

// Server-list file ("GS%03d.vexar"): an array of server objects. Members a server object leaves
// out keep the values of a fresh record (ping 9999, 5 lives, everything else empty or 0); an
// unknown member, a text longer than its field or a number outside its field's range is an error.
// Reading gives every member, with the texts and numbers as the file holds them (also those that
// loading replaces, such as the player count); a file that does not hold whole records is an error.
void WriteServerFile(const Json& servers, const std::string& path);
Json ReadServerFile(const std::string& path);

// Buddy-list file ("BL%03d.vexar"): an array of names.
void WriteBuddyFile(const Json& names, const std::string& path);
Json ReadBuddyFile(const std::string& path);

// Profile file ("gamesets.vexar"): {"last_file_number": N, "profiles": [...]}, where each profile is
// an object of profile members, or {"image": HEX} for a profile given as its stored image. Members a
// profile leaves out have the defaults of a new profile (with the classic button face 0xD4D0C8 as
// window colour). Reading gives {"count", "last_file_number"} as the file's head says, the whole
// profiles in "profiles", and "trailing_bytes" after the last whole profile.
void WriteProfileFile(const Json& document, const std::string& path);
Json ReadProfileFile(const std::string& path);

// One profile object as its bare stored image, the form the profile file holds it in.
void WriteProfileImageFile(const Json& profile, const std::string& path);

}  // namespace lists
