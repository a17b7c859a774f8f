// Fonts for text on the device: TrueType faces through SDL2_ttf, sized in points at 96 dots
// per inch as the game's platform gave them, with their glyphs rendered once into coverage
// maps and blended onto the back buffer in the text's colour and alpha.
//
// Faces: "arial" is Liberation Sans (metric-compatible); "system", the platform's bold raster
// face with a 16-pixel cell whatever size is asked, is Liberation Sans Bold sized to that
// cell. Any other face, or a missing file, falls back to another installed face with a note
// on standard error.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/rect.h"

namespace platform {

// A font handle; 0 is no font.
using FontId = std::int32_t;

// The cell height of the "system" face in pixels.
inline constexpr int kSystemFaceCell = 16;

// Opens a face; 0 when no file for it (nor a fallback) can be opened.
FontId OpenFont(std::string_view face, int pointSize, bool bold, bool italic, bool underline);
void CloseFont(FontId font);
void CloseAllFonts();

// Pixels from one line's top to the next; 0 for no font.
int FontLineHeight(FontId font);

// Draws UTF-8 text with its first line's top-left at the area's top-left, each '\n' starting a
// new line, nothing wrapped, everything clipped to the area and the screen. Device states are
// neither used nor changed; the glyphs' coverage times the colour's alpha blends the colour in.
std::int32_t DrawFontText(FontId font, std::string_view text, std::uint32_t colour, const Rect& area);

}  // namespace platform
