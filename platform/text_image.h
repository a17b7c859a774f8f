// One line of text rendered by SDL2_ttf into a picture: anti-aliased (blended), white, with
// the glyphs' coverage in the alpha channel, so the caller colours and places it as it likes.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "common/image.h"

namespace platform {

// An open TrueType font at one point size. Opening starts the font library; the last font
// closed stops it.
class TextFont {
public:
    // Nothing, with *error naming the file, when the file cannot be opened.
    static std::unique_ptr<TextFont> Open(const std::filesystem::path& file, int pointSize,
                                          std::string* error);
    ~TextFont();
    TextFont(const TextFont&) = delete;
    TextFont& operator=(const TextFont&) = delete;

    // The text (UTF-8) as a picture one line high: pixels 0x00FFFFFF plus coverage << 24.
    // An empty text or a rendering failure gives an empty picture.
    common::Image Render(std::string_view text) const;

    int LineHeight() const;  // pixels from one baseline to the next
    int Ascent() const;      // pixels from the top of a line to its baseline

private:
    explicit TextFont(void* font) : font_(font) {}
    void* font_;  // the library's font handle
};

}  // namespace platform
