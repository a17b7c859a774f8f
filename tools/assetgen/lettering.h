// Words for the pictures, rendered with a real font through the platform's text renderer:
// the title, menu items, HUD labels and screen headings.
#pragma once

#include <map>
#include <memory>
#include <string_view>
#include <utility>

#include "common/image.h"
#include "platform/text_image.h"

namespace assetgen {

enum class FontStyle { kRegular, kBold, kBoldItalic };

// Opens fonts on first use and keeps them; not for use from two threads at once.
class Lettering {
public:
    // The text's coverage picture (alpha = coverage), cropped to its inked pixels. Empty when no
    // font could be opened.
    common::Image Render(FontStyle style, int pointSize, std::string_view text);
    // The largest size up to maxSize whose cropped text fits in width x height.
    int FitSize(FontStyle style, std::string_view text, int maxWidth, int maxHeight, int maxSize);

private:
    platform::TextFont* Font(FontStyle style, int pointSize);
    std::map<std::pair<int, int>, std::unique_ptr<platform::TextFont>> fonts_;  // by style, size
};

// The smallest rectangle holding every pixel with coverage (an empty picture stays empty).
common::Image CropToInk(const common::Image& coverage);

}  // namespace assetgen
