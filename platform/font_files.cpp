#include "platform/font_files.h"

#include <cstdio>
#include <string>
#include <system_error>

#include "common/text.h"

namespace platform {

FontFileSearch fontFileSearch;

namespace {

// The file-name stem of the free font that stands in for a face, or empty when none does.
std::string StemForFace(std::string_view face) {
    const std::string name = common::Lower(face);
    if (name == "arial" || name == "helvetica" || name == "liberation sans") {
        return "LiberationSans";
    }
    if (name == "times new roman" || name == "liberation serif") {
        return "LiberationSerif";
    }
    if (name == "courier new" || name == "liberation mono") {
        return "LiberationMono";
    }
    return {};
}

std::filesystem::path FindInFolders(const std::string& fileName) {
    for (const std::filesystem::path& folder : fontFileSearch.folders) {
        if (folder.empty()) {
            continue;
        }
        const std::filesystem::path candidate = folder / fileName;
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error)) {
            return candidate;
        }
    }
    return {};
}

}  // namespace

std::filesystem::path FindFontFile(std::string_view face, bool bold, bool italic) {
    const std::string stem = StemForFace(face);
    if (!stem.empty()) {
        const char* style = bold ? (italic ? "-BoldItalic" : "-Bold") : (italic ? "-Italic" : "-Regular");
        std::filesystem::path found = FindInFolders(stem + style + ".ttf");
        if (!found.empty()) {
            return found;
        }
    }
    const char* dejaVuStyle = bold ? (italic ? "-BoldOblique" : "-Bold") : (italic ? "-Oblique" : "");
    std::filesystem::path fallback = FindInFolders(std::string("DejaVuSans") + dejaVuStyle + ".ttf");
    std::fprintf(stderr, "fonts: no file for \"%.*s\"%s%s; %s\n", static_cast<int>(face.size()),
                 face.data(), bold ? " bold" : "", italic ? " italic" : "",
                 fallback.empty() ? "DejaVu Sans is missing too" : "using DejaVu Sans");
    return fallback;
}

}  // namespace platform
