#include "platform/text_image.h"

#include <SDL.h>
#include <SDL_ttf.h>

namespace platform {

namespace {

TTF_Font* Handle(void* font) { return static_cast<TTF_Font*>(font); }

}  // namespace

std::unique_ptr<TextFont> TextFont::Open(const std::filesystem::path& file, int pointSize,
                                         std::string* error) {
    if (TTF_Init() != 0) {
        if (error) {
            *error = std::string("fonts: cannot start the font library: ") + TTF_GetError();
        }
        return nullptr;
    }
    TTF_Font* font = TTF_OpenFont(file.c_str(), pointSize);
    if (font == nullptr) {
        if (error) {
            *error = file.string() + ": cannot open font: " + TTF_GetError();
        }
        TTF_Quit();
        return nullptr;
    }
    return std::unique_ptr<TextFont>(new TextFont(font));
}

TextFont::~TextFont() {
    TTF_CloseFont(Handle(font_));
    TTF_Quit();
}

common::Image TextFont::Render(std::string_view text) const {
    if (text.empty()) {
        return {};
    }
    const std::string copy(text);
    const SDL_Color white = {255, 255, 255, 255};
    SDL_Surface* rendered = TTF_RenderUTF8_Blended(Handle(font_), copy.c_str(), white);
    if (rendered == nullptr) {
        return {};
    }
    // Blended text comes as ARGB8888; convert anyway so the layout is certain.
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(rendered);
    if (argb == nullptr) {
        return {};
    }
    common::Image image(argb->w, argb->h, 0);
    SDL_LockSurface(argb);
    for (int y = 0; y < argb->h; ++y) {
        const auto* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(argb->pixels) +
                                                          static_cast<std::ptrdiff_t>(y) * argb->pitch);
        for (int x = 0; x < argb->w; ++x) {
            image.At(x, y) = (row[x] & 0xFF000000u) | 0x00FFFFFFu;
        }
    }
    SDL_UnlockSurface(argb);
    SDL_FreeSurface(argb);
    return image;
}

int TextFont::LineHeight() const { return TTF_FontLineSkip(Handle(font_)); }
int TextFont::Ascent() const { return TTF_FontAscent(Handle(font_)); }

}  // namespace platform
