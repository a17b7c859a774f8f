#include "tools/assetgen/lettering.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/font_files.h"

namespace assetgen {

common::Image CropToInk(const common::Image& coverage) {
    int left = coverage.width, right = -1, top = coverage.height, bottom = -1;
    for (int y = 0; y < coverage.height; ++y) {
        for (int x = 0; x < coverage.width; ++x) {
            if ((coverage.At(x, y) >> 24) != 0) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0) {
        return {};
    }
    common::Image cropped(right - left + 1, bottom - top + 1, 0);
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            cropped.At(x - left, y - top) = coverage.At(x, y);
        }
    }
    return cropped;
}

platform::TextFont* Lettering::Font(FontStyle style, int pointSize) {
    const auto key = std::make_pair(static_cast<int>(style), pointSize);
    auto found = fonts_.find(key);
    if (found != fonts_.end()) {
        return found->second.get();
    }
    const bool bold = style != FontStyle::kRegular;
    const bool italic = style == FontStyle::kBoldItalic;
    const std::filesystem::path file = platform::FindFontFile("arial", bold, italic);
    std::string error;
    std::unique_ptr<platform::TextFont> font;
    if (!file.empty()) {
        font = platform::TextFont::Open(file, pointSize, &error);
    }
    if (!font) {
        std::fprintf(stderr, "assetgen: no font for lettering%s%s\n", error.empty() ? "" : ": ",
                     error.c_str());
    }
    return fonts_.emplace(key, std::move(font)).first->second.get();
}

common::Image Lettering::Render(FontStyle style, int pointSize, std::string_view text) {
    platform::TextFont* font = Font(style, pointSize);
    if (font == nullptr) {
        return {};
    }
    return CropToInk(font->Render(text));
}

int Lettering::FitSize(FontStyle style, std::string_view text, int maxWidth, int maxHeight,
                       int maxSize) {
    for (int size = maxSize; size > 6; --size) {
        const common::Image ink = Render(style, size, text);
        if (ink.width <= maxWidth && ink.height <= maxHeight) {
            return size;
        }
    }
    return 6;
}

}  // namespace assetgen
