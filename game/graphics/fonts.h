// Fonts and text: a small pool of fonts addressed by index, the three game fonts, text drawn
// into a rectangle, and the game's colours written as hexadecimal text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/font.h"
#include "platform/rect.h"

namespace graphics {

struct FontSlot {
    platform::FontId font = 0;  // platform font handle; 0 for none
    bool InUse = false;
};

struct FontState {
    std::vector<FontSlot> fontPool = std::vector<FontSlot>(1);  // slot 0 never used
    std::int32_t fontSmall = -1;   // "system" 14 bold
    std::int32_t fontLarge = -1;   // "arial" 26 bold italic
    std::int32_t fontMedium = -1;  // "arial" 18 bold italic
};
extern FontState fonts;

// The colour "&H" + alpha + colour read as hexadecimal: 0xAARRGGBB for two alpha digits and
// six colour digits (upper or lower case). An empty alpha leaves alpha 0. Throws
// std::invalid_argument for text that is not one to eight hexadecimal digits in all.
std::uint32_t HexColour(std::string_view alpha, std::string_view colour);

// Makes a font (size in points) in the first free slot; its index, or -1 on failure.
std::int32_t CreateFont(std::string_view face, std::int32_t size, bool bold, bool italic,
                        bool underline);
// Draws text at the rectangle's top-left, clipped to it, one line per '\n', nothing wrapped;
// nothing for an index of -1 or less or an empty slot. Changes no device state.
void DrawText(std::string_view text, std::int32_t fontIndex, std::uint32_t colour,
              const platform::Rect& area);
// A text's rectangle, from the text's top-left corner. The game loop's texts reach to (1200, 800),
// past the screen's edges, so that nothing it draws is cut; the menu screens' reach to the
// screen's own corner (800, 600), which cuts a name too long for the screen.
constexpr platform::Rect TextRect(std::int32_t left, std::int32_t top) { return {left, top, 1200, 800}; }
constexpr platform::Rect ScreenTextRect(std::int32_t left, std::int32_t top) { return {left, top, 800, 600}; }

// Drops every font and cuts the pool back to slot 0.
void ReleaseFonts();
void ClearFontPool();
// The three game fonts, in their order.
void CreateGameFonts();
// The three fonts and the meshes again, after a device reset.
void RecreateFonts();

// Packs red, green, blue and alpha (0 .. 255 each) into 0xAARRGGBB.
constexpr std::uint32_t ColorRGBA(std::uint32_t r, std::uint32_t g, std::uint32_t b, std::uint32_t a) {
    return (a << 24) | (r << 16) | (g << 8) | b;
}

// The text colours the game uses most.
inline constexpr std::uint32_t kOpaqueWhite = ColorRGBA(255, 255, 255, 255);
inline constexpr std::uint32_t kOpaqueGreen = ColorRGBA(0, 255, 0, 255);
inline constexpr std::uint32_t kOpaqueRed = ColorRGBA(255, 0, 0, 255);

}  // namespace graphics
