#include "game/graphics/fonts.h"

#include "game/graphics/meshes.h"

namespace graphics {

FontState fonts;

std::int32_t CreateFont(std::string_view, std::int32_t, bool, bool, bool) { return -1; }

void DrawText(std::string_view, std::int32_t, std::uint32_t, const platform::Rect&) {}

void ReleaseFonts() { fonts.fontPool.resize(1); }

void ClearFontPool() { fonts.fontPool.resize(1); }

void CreateGameFonts() {
    fonts.fontSmall = CreateFont("system", 14, true, false, false);
    fonts.fontLarge = CreateFont("arial", 26, true, true, false);
    fonts.fontMedium = CreateFont("arial", 18, true, true, false);
}

void RecreateFonts() {
    CreateGameFonts();
    InitGeometry();
}

}  // namespace graphics
