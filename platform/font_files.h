// Finding a TrueType file on this machine for a face name the game asks for ("arial",
// "system") in a given style. Faces map to the metric-compatible free fonts Debian ships
// (fonts-liberation2 or fonts-liberation); anything else, or a missing file, falls back to
// DejaVu Sans (fonts-dejavu-core) with a note on standard error.
#pragma once

#include <filesystem>
#include <string_view>

namespace platform {

struct FontFileSearch {
    // Folders searched in order; tests replace them.
    std::filesystem::path folders[4] = {"/usr/share/fonts/truetype/liberation2",
                                        "/usr/share/fonts/truetype/liberation",
                                        "/usr/share/fonts/truetype/dejavu",
                                        "/usr/share/fonts/TTF"};
};
extern FontFileSearch fontFileSearch;

// The file for face in the style, or an empty path when not even the fallback exists.
// Face names are compared without regard to case.
std::filesystem::path FindFontFile(std::string_view face, bool bold, bool italic);

}  // namespace platform
