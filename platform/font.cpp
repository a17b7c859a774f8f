#include "platform/font.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/text.h"
#include "platform/device.h"
#include "platform/font_files.h"
#include "platform/raster.h"

namespace platform {

namespace {

constexpr unsigned kDpi = 96;

struct Glyph {
    bool rendered = false;
    int advance = 0;  // pixels the pen moves on
    int offsetX = 0;  // where the coverage map starts, from the pen
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> coverage;  // width * height, rows top to bottom
};

struct Font {
    TTF_Font* handle = nullptr;
    int lineHeight = 0;
    std::array<Glyph, 128> ascii;                 // rendered when the font opens
    std::unordered_map<std::uint32_t, Glyph> other;  // rendered on first use

    ~Font() {
        if (handle != nullptr) {
            TTF_CloseFont(handle);
            TTF_Quit();
        }
    }
};

std::vector<std::unique_ptr<Font>> fonts;  // index = FontId - 1

Font* Find(FontId id) {
    if (id <= 0 || static_cast<std::size_t>(id) > fonts.size()) {
        return nullptr;
    }
    return fonts[static_cast<std::size_t>(id - 1)].get();
}

Glyph RenderGlyph(TTF_Font* handle, std::uint32_t codepoint) {
    Glyph glyph;
    glyph.rendered = true;
    int minX = 0, maxX = 0, minY = 0, maxY = 0, advance = 0;
    if (TTF_GlyphMetrics32(handle, codepoint, &minX, &maxX, &minY, &maxY, &advance) != 0) {
        return glyph;
    }
    glyph.advance = advance;
    const SDL_Color white = {255, 255, 255, 255};
    SDL_Surface* rendered = TTF_RenderGlyph32_Blended(handle, codepoint, white);
    if (rendered == nullptr) {
        return glyph;
    }
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(rendered);
    if (argb == nullptr) {
        return glyph;
    }
    // The library starts a glyph that reaches left of its pen position at the picture's edge.
    glyph.offsetX = std::min(minX, 0);
    glyph.width = argb->w;
    glyph.height = argb->h;
    glyph.coverage.resize(static_cast<std::size_t>(argb->w) * static_cast<std::size_t>(argb->h));
    SDL_LockSurface(argb);
    for (int y = 0; y < argb->h; ++y) {
        const auto* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(argb->pixels) +
                                                          static_cast<std::ptrdiff_t>(y) * argb->pitch);
        for (int x = 0; x < argb->w; ++x) {
            glyph.coverage[static_cast<std::size_t>(y) * argb->w + x] = static_cast<std::uint8_t>(row[x] >> 24);
        }
    }
    SDL_UnlockSurface(argb);
    SDL_FreeSurface(argb);
    return glyph;
}

const Glyph& GlyphFor(Font& font, std::uint32_t codepoint) {
    if (codepoint < font.ascii.size()) {
        Glyph& glyph = font.ascii[codepoint];
        if (!glyph.rendered) {
            glyph = RenderGlyph(font.handle, codepoint);
        }
        return glyph;
    }
    auto found = font.other.find(codepoint);
    if (found == font.other.end()) {
        found = font.other.emplace(codepoint, RenderGlyph(font.handle, codepoint)).first;
    }
    return found->second;
}

// The next code point of UTF-8 text; a byte that starts no valid sequence stands for itself.
std::uint32_t NextCodepoint(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const int extra = lead >= 0xF0 && lead < 0xF5   ? 3
                      : lead >= 0xE0 && lead < 0xF0 ? 2
                      : lead >= 0xC2 && lead < 0xE0 ? 1
                                                    : 0;
    if (extra == 0 || at + static_cast<std::size_t>(extra) >= text.size()) {
        ++at;
        return lead;
    }
    std::uint32_t codepoint = lead & (0x3Fu >> extra);
    for (int i = 1; i <= extra; ++i) {
        const auto next = static_cast<unsigned char>(text[at + static_cast<std::size_t>(i)]);
        if ((next & 0xC0) != 0x80) {
            ++at;
            return lead;
        }
        codepoint = (codepoint << 6) | (next & 0x3F);
    }
    at += static_cast<std::size_t>(extra) + 1;
    return codepoint;
}

TTF_Font* OpenFile(const std::filesystem::path& file, int pointSize, unsigned dpi) {
    if (file.empty() || TTF_Init() != 0) {
        return nullptr;
    }
    TTF_Font* handle = TTF_OpenFontDPI(file.c_str(), pointSize, dpi, dpi);
    if (handle == nullptr) {
        std::fprintf(stderr, "fonts: %s: %s\n", file.c_str(), TTF_GetError());
        TTF_Quit();
    }
    return handle;
}

// The system face: the largest pixel size of Liberation Sans Bold whose cell fits 16 pixels.
TTF_Font* OpenSystemFace(bool italic) {
    const std::filesystem::path file = FindFontFile("arial", true, italic);
    TTF_Font* handle = OpenFile(file, kSystemFaceCell, 72);
    if (handle == nullptr) {
        return nullptr;
    }
    for (int pixels = kSystemFaceCell; pixels > 4; --pixels) {
        if (TTF_SetFontSizeDPI(handle, pixels, 72, 72) == 0 && TTF_FontHeight(handle) <= kSystemFaceCell) {
            break;
        }
    }
    return handle;
}

}  // namespace

FontId OpenFont(std::string_view face, int pointSize, bool bold, bool italic, bool underline) {
    if (pointSize <= 0 || pointSize > 500) {
        return 0;
    }
    TTF_Font* handle = nullptr;
    if (common::Lower(face) == "system") {
        handle = OpenSystemFace(italic);
    } else {
        handle = OpenFile(FindFontFile(face, bold, italic), pointSize, kDpi);
    }
    if (handle == nullptr) {
        // The face's file is there but unreadable: any installed face is better than none.
        std::fprintf(stderr, "fonts: \"%.*s\" cannot be opened; trying the fallback face\n",
                     static_cast<int>(face.size()), face.data());
        handle = OpenFile(FindFontFile("", bold, italic), pointSize, kDpi);
        if (handle == nullptr) {
            return 0;
        }
    }
    if (underline) {
        TTF_SetFontStyle(handle, TTF_STYLE_UNDERLINE);
    }
    auto font = std::make_unique<Font>();
    font->handle = handle;
    // Lines follow each other at the cell height, as the platform's text drawing spaces them
    // (no external leading).
    font->lineHeight = TTF_FontHeight(handle);
    for (std::uint32_t c = 32; c < 127; ++c) {
        font->ascii[c] = RenderGlyph(handle, c);
    }
    for (std::size_t i = 0; i < fonts.size(); ++i) {
        if (!fonts[i]) {
            fonts[i] = std::move(font);
            return static_cast<FontId>(i + 1);
        }
    }
    fonts.push_back(std::move(font));
    return static_cast<FontId>(fonts.size());
}

void CloseFont(FontId id) {
    if (Find(id) != nullptr) {
        fonts[static_cast<std::size_t>(id - 1)].reset();
    }
}

void CloseAllFonts() { fonts.clear(); }

int FontLineHeight(FontId id) {
    const Font* font = Find(id);
    return font ? font->lineHeight : 0;
}

std::int32_t DrawFontText(FontId id, std::string_view text, std::uint32_t colour, const Rect& area) {
    Font* font = Find(id);
    if (font == nullptr || !device.created ||
        device.backBuffer.size() != static_cast<std::size_t>(kScreenWidth) * kScreenHeight) {
        return kErrInvalidCall;
    }
    Rect clip;
    if (!IntersectRect(&clip, area, Rect{0, 0, kScreenWidth, kScreenHeight})) {
        return kOk;
    }
    const std::uint32_t alpha = colour >> 24;
    std::int64_t penX = area.left, lineTop = area.top;
    for (std::size_t at = 0; at < text.size();) {
        const std::uint32_t c = NextCodepoint(text, at);
        if (c == '\n') {
            penX = area.left;
            lineTop += font->lineHeight;
            continue;
        }
        if (c < 32 || lineTop >= clip.bottom) {
            continue;
        }
        const Glyph& glyph = GlyphFor(*font, c);
        const std::int64_t left = penX + glyph.offsetX;
        penX += glyph.advance;
        const std::int64_t x0 = std::max<std::int64_t>(left, clip.left);
        const std::int64_t x1 = std::min<std::int64_t>(left + glyph.width, clip.right);
        const std::int64_t y0 = std::max<std::int64_t>(lineTop, clip.top);
        const std::int64_t y1 = std::min<std::int64_t>(lineTop + glyph.height, clip.bottom);
        for (std::int64_t y = y0; y < y1; ++y) {
            const std::uint8_t* cover =
                glyph.coverage.data() + static_cast<std::size_t>(y - lineTop) * static_cast<std::size_t>(glyph.width);
            std::uint16_t* row = device.backBuffer.data() + y * kScreenWidth;
            for (std::int64_t x = x0; x < x1; ++x) {
                const std::uint32_t a = raster::Scale(cover[x - left], alpha);
                if (a == 0) {
                    continue;
                }
                const std::uint32_t src = (a << 24) | (colour & 0x00FFFFFFu);
                row[x] = ToR5G6B5(
                    raster::BlendPixel(src, FromR5G6B5(row[x]), kBlendSrcAlpha, kBlendInvSrcAlpha));
            }
        }
    }
    return kOk;
}

}  // namespace platform
