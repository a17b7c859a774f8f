// The pictures around the play field and on the screens: logo, health bar, radar, fog, the
// word sheets MenuItems.bmp and GameItems.bmp, and the 800 x 600 backgrounds Menu.bmp and
// Shop.bmp (plus the launcher's banner and side picture).
#pragma once

#include <vector>

#include "tools/assetgen/asset_set.h"
#include "tools/assetgen/lettering.h"

namespace assetgen {

// A word on a word sheet and the source rectangle (left, top, right, bottom) the game cuts it
// out by.
struct WordSlot {
    const char* word;
    int left;
    int top;
    int right;
    int bottom;
};

inline constexpr WordSlot kMenuWords[] = {{"Start Game", 0, 0, 185, 45},
                                          {"Options", 0, 60, 185, 110},
                                          {"Exit", 0, 120, 185, 165},
                                          {"High Scores", 0, 175, 250, 220}};
inline constexpr WordSlot kHudWords[] = {{"Health", 0, 10, 185, 55},
                                         {"Score", 0, 60, 185, 120},
                                         {"Money", 0, 120, 185, 175}};
// The HUD draws the score and money labels at half size 80 pixels left of the numbers, so
// those words must stay narrower than this on the sheet.
inline constexpr int kHudWordMaxWidth = 120;

std::vector<Picture> MakeHudPictures(Lettering& lettering);
std::vector<Picture> MakeScreenPictures(Lettering& lettering);

}  // namespace assetgen
