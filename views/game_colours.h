// Colour codes of today's games. The classic games share one code table (colour_text.h); OpenArena,
// ioquake3, Urban Terror, ET: Legacy and the DarkPlaces games (Xonotic, Nexuiz) each read codes by
// their own engine's rule, and DarkPlaces adds ^xRGB colours and "^^" for a caret.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "views/colour_text.h"

namespace views {

enum class ColourDialect : uint8_t { kClassic, kOpenArena, kIoQuake3, kUrbanTerror, kEtLegacy, kDarkPlaces };

// The rule the servers of a game kind write their names in; the classic games and unknown kinds
// keep the classic table.
ColourDialect ColourDialectOf(uint32_t kind);

// A code of a non-classic dialect: how many characters it takes and the colour the text after it is
// drawn in (COLORREF; the games' white and near-white are drawn black on the lists' light rows). A
// literal caret ("^^" of DarkPlaces) is text, not a colour change.
struct GameColourCode {
    size_t length = 0;
    uint32_t colour = kColourBlack;
    bool literalCaret = false;
};
std::optional<GameColourCode> MatchGameColourCode(ColourDialect dialect, std::string_view text, size_t pos);

// The mIRC colour number (1 to 15; white is never chosen) nearest to a COLORREF.
int NearestIrcColour(uint32_t colour);

// The three routines of colour_text.h by dialect; kClassic gives exactly their results.
void DrawColourText(const TextRect& rect, GlyphPainter& painter, const char* text, ColourDialect dialect);
std::string ColourTextToIrc(std::string_view source, ColourDialect dialect);
std::string StripColourCodes(std::string_view source, ColourDialect dialect);

}  // namespace views
