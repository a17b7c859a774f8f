#include "game/graphics/fonts.h"

#include <stdexcept>

#include "game/graphics/meshes.h"

namespace graphics {

FontState fonts;

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

const FontSlot* SlotAt(std::int32_t index) {
    if (index < 1 || static_cast<std::size_t>(index) >= fonts.fontPool.size()) {
        return nullptr;
    }
    return &fonts.fontPool[static_cast<std::size_t>(index)];
}

}  // namespace

std::uint32_t HexColour(std::string_view alpha, std::string_view colour) {
    const std::size_t digits = alpha.size() + colour.size();
    if (digits == 0 || digits > 8) {
        throw std::invalid_argument("not a colour: \"&H" + std::string(alpha) + std::string(colour) + "\"");
    }
    std::uint32_t value = 0;
    for (const std::string_view part : {alpha, colour}) {
        for (const char c : part) {
            const int digit = HexDigit(c);
            if (digit < 0) {
                throw std::invalid_argument("not a colour: \"&H" + std::string(alpha) + std::string(colour) + "\"");
            }
            value = (value << 4) | static_cast<std::uint32_t>(digit);
        }
    }
    return value;
}

std::int32_t CreateFont(std::string_view face, std::int32_t size, bool bold, bool italic, bool underline) {
    auto& pool = fonts.fontPool;
    std::size_t slot = 1;
    while (slot < pool.size() && pool[slot].InUse) {
        ++slot;
    }
    if (slot == pool.size()) {
        pool.emplace_back();
    }
    const platform::FontId font = platform::OpenFont(face, size, bold, italic, underline);
    if (font == 0) {
        return -1;
    }
    pool[slot].font = font;
    pool[slot].InUse = true;
    return static_cast<std::int32_t>(slot);
}

void DrawText(std::string_view text, std::int32_t fontIndex, std::uint32_t colour, const platform::Rect& area) {
    const FontSlot* slot = SlotAt(fontIndex);
    if (slot == nullptr || !slot->InUse) {
        return;
    }
    platform::DrawFontText(slot->font, text, colour, area);
}

void ReleaseFonts() {
    for (std::size_t i = 1; i < fonts.fontPool.size(); ++i) {
        platform::CloseFont(fonts.fontPool[i].font);
    }
    fonts.fontPool.assign(1, FontSlot{});
}

void ClearFontPool() { ReleaseFonts(); }

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
