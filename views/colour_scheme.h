// Colour schemes: the Defaults of the Game Colour Scheme dialog and the 64-byte ".vxc" file.
//
// The file holds 16 little-endian COLORREFs: slots 0-5 are entries 6-11 of a profile's scheme (the
// text colours and the main window's background), slots 6-11 entries 0-5 (the row backgrounds),
// and slots 12-15 are carried along unused: a save writes back what the last load supplied.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "catalogue/profiles.h"

namespace views {

constexpr size_t kSchemeFileSize = 64;
constexpr char kSchemeFolder[] = "Colour Schemes";

// The file image kept for the run (zero at start).
struct SchemeBuffer {
    uint8_t bytes[kSchemeFileSize] = {};
};

using SchemeColours = uint32_t[catalogue::kSchemeColours];

// Slots 0-11 from the scheme's entries; slots 12-15 stay as they are.
void SchemeToBuffer(const SchemeColours& colours, SchemeBuffer& buffer);
void BufferToScheme(const SchemeBuffer& buffer, SchemeColours& colours);

// The Defaults button's scheme (its selection bar is dark green, unlike a new profile's).
void SetDefaultScheme(SchemeColours& colours, uint32_t buttonFaceColour);

// Reads up to 64 bytes of a scheme file into the buffer; bytes the file does not reach keep their
// value. False when the file cannot be opened (the buffer is untouched).
bool ReadSchemeFile(const std::string& path, SchemeBuffer& buffer);
// Writes the 64 bytes through a temporary file that replaces the target only when complete.
bool WriteSchemeFile(const std::string& path, const SchemeBuffer& buffer);
// The path with ".vxc" appended unless it already ends so (any letter case).
std::string WithSchemeExtension(const std::string& path);

}  // namespace views
