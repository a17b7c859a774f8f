#include "tools/assetgen/contact_sheet.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "common/png.h"
#include "platform/sound_files.h"
#include "tools/assetgen/raster.h"
#include "tools/assetgen/frequency_picture.h"

namespace assetgen {

namespace {

constexpr std::uint32_t kSheetBackground = 0xFF202428u;
// Open space on the level sheets; see-through tile pixels show it.
constexpr std::uint32_t kSpaceRed = 5, kSpaceGreen = 6, kSpaceBlue = 10;
constexpr std::uint32_t kSpace = 0xFF000000u | (kSpaceRed << 16) | (kSpaceGreen << 8) | kSpaceBlue;

std::uint32_t Checker(int x, int y) { return ((x / 8 + y / 8) % 2) ? 0xFF5A5A5Au : 0xFF787878u; }

// Copies a picture scaled by an integer factor up (zoom > 0) or down (zoom < 0).
void Paste(common::Image& sheet, const Picture& picture, int left, int top, int zoom) {
    const common::Image& image = picture.image;
    const int width = zoom > 0 ? image.width * zoom : image.width / -zoom;
    const int height = zoom > 0 ? image.height * zoom : image.height / -zoom;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int sx = zoom > 0 ? x / zoom : x * -zoom;
            const int sy = zoom > 0 ? y / zoom : y * -zoom;
            std::uint32_t pixel = image.At(sx, sy);
            if (picture.key != 0 && pixel == picture.key) {
                pixel = Checker(x, y);
            }
            const int dx = left + x, dy = top + y;
            if (dx >= 0 && dy >= 0 && dx < sheet.width && dy < sheet.height) {
                sheet.At(dx, dy) = pixel;
            }
        }
    }
}

void Label(common::Image& sheet, Lettering& lettering, const std::string& text, int left, int top) {
    const common::Image ink = lettering.Render(FontStyle::kRegular, 11, text);
    for (int y = 0; y < ink.height; ++y) {
        for (int x = 0; x < ink.width; ++x) {
            const std::uint32_t coverage = ink.At(x, y) >> 24;
            const int dx = left + x, dy = top + y;
            if (coverage == 0 || dx < 0 || dy < 0 || dx >= sheet.width || dy >= sheet.height) continue;
            std::uint32_t& d = sheet.At(dx, dy);
            const auto blend = [&](int shift) {
                const std::uint32_t base = (d >> shift) & 0xFF;
                return ((base * (255 - coverage) + 230 * coverage) / 255) << shift;
            };
            d = 0xFF000000u | blend(16) | blend(8) | blend(0);
        }
    }
}

// The zoom that shows a picture at a readable size: small sprites enlarged, big screens halved.
int ZoomFor(const common::Image& image) {
    const int side = std::max(image.width, image.height);
    if (side <= 16) return 4;
    if (side <= 64) return 2;
    if (side >= 512) return -2;
    return 1;
}

}  // namespace

common::Image PictureSheet(const std::vector<Picture>& pictures, Lettering& lettering) {
    constexpr int kSheetWidth = 1800;
    constexpr int kGap = 12;
    constexpr int kLabel = 16;
    // Lay out in rows, left to right.
    struct Place { int x, y, zoom; };
    std::vector<Place> places;
    int x = kGap, y = kGap, rowHeight = 0;
    for (const Picture& picture : pictures) {
        const int zoom = ZoomFor(picture.image);
        const int width = zoom > 0 ? picture.image.width * zoom : picture.image.width / -zoom;
        const int height = (zoom > 0 ? picture.image.height * zoom : picture.image.height / -zoom) + kLabel;
        const int cell = std::max(width, 120);
        if (x + cell > kSheetWidth - kGap) {
            x = kGap;
            y += rowHeight + kGap;
            rowHeight = 0;
        }
        places.push_back({x, y, zoom});
        x += cell + kGap;
        rowHeight = std::max(rowHeight, height);
    }
    common::Image sheet(kSheetWidth, y + rowHeight + kGap, kSheetBackground);
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        Label(sheet, lettering, pictures[i].fileName, places[i].x, places[i].y);
        Paste(sheet, pictures[i], places[i].x, places[i].y + kLabel, places[i].zoom);
    }
    return sheet;
}

common::Image LevelSheet(const Level& level, const std::vector<Picture>& tiles,
                         const std::vector<common::ObjectKind>& kinds, Lettering& lettering) {
    // One world pixel in eight: a tile is 32 pixels, the world 640.
    constexpr int kScale = 8;
    constexpr int kTop = 24;
    const int side = common::kWorldSize / kScale;
    common::Image sheet(side, side + kTop, kSpace);
    for (int cell = 0; cell < common::kMapBytes; ++cell) {
        const int tile = level.map[static_cast<std::size_t>(cell)];
        if (tile < 1 || tile > static_cast<int>(tiles.size())) continue;
        const Picture& picture = tiles[static_cast<std::size_t>(tile - 1)];
        const int left = (cell % common::kMapColumns) * (common::kTileSize / kScale);
        const int top = kTop + (cell / common::kMapColumns) * (common::kTileSize / kScale);
        // Each sheet pixel averages its block; see-through pixels count as black space.
        for (int y = 0; y < common::kTileSize / kScale; ++y) {
            for (int x = 0; x < common::kTileSize / kScale; ++x) {
                std::uint32_t sum[3] = {0, 0, 0};
                for (int dy = 0; dy < kScale; ++dy) {
                    for (int dx = 0; dx < kScale; ++dx) {
                        const std::uint32_t pixel = picture.image.At(x * kScale + dx, y * kScale + dy);
                        if (pixel == picture.key) {
                            sum[0] += kSpaceRed;
                            sum[1] += kSpaceGreen;
                            sum[2] += kSpaceBlue;
                            continue;
                        }
                        sum[0] += (pixel >> 16) & 0xFF;
                        sum[1] += (pixel >> 8) & 0xFF;
                        sum[2] += pixel & 0xFF;
                    }
                }
                constexpr std::uint32_t kCount = kScale * kScale;
                sheet.At(left + x, top + y) = 0xFF000000u | ((sum[0] / kCount) << 16) | ((sum[1] / kCount) << 8) | (sum[2] / kCount);
            }
        }
    }
    Canvas marks(side, side + kTop);
    for (const common::PlacedObject& object : level.objects) {
        const common::ObjectKind* kind = common::FindObjectKind(kinds, object.kind);
        const float radius = kind ? std::max(2.0f, 0.5f * std::max(kind->width, kind->height) / kScale) : 3.0f;
        const float cx = static_cast<float>((object.x + 400.0) / kScale);
        const float cy = static_cast<float>((object.y + 100.0) / kScale) + kTop;
        Colour colour = Rgb(120, 160, 255);  // rocks
        switch (object.oType) {
            case 8: colour = Rgb(255, 220, 40); break;
            case 10: colour = Rgb(255, 60, 60); break;
            case 4: colour = Rgb(255, 140, 60); break;
            case 7: colour = Rgb(120, 255, 120); break;
            case 12: colour = Rgb(255, 80, 255); break;
            default: break;
        }
        FillCircle(marks, cx, cy, std::min(radius, 2.5f), colour);
        for (int i = 0; i < 24; ++i) {
            const float a0 = i * 0.2618f, a1 = (i + 1) * 0.2618f;
            StrokeLine(marks, {cx + radius * std::cos(a0), cy + radius * std::sin(a0)},
                       {cx + radius * std::cos(a1), cy + radius * std::sin(a1)}, 1.5f, colour);
        }
        // A drift arrow, 60 frames of travel.
        if (object.oType != 4 && object.oType != 7 && object.oType != 12) {
            StrokeLine(marks, {cx, cy}, {cx + static_cast<float>(object.xSpeed * 60 / kScale),
                                         cy + static_cast<float>(object.ySpeed * 60 / kScale)}, 1.0f, colour);
        }
    }
    // The ship's start and the zone kept clear around it.
    const float sx = static_cast<float>(kShipStartX / kScale), sy = static_cast<float>(kShipStartY / kScale) + kTop;
    FillCircle(marks, sx, sy, 4, Rgb(255, 255, 255));
    for (int i = 0; i < 48; ++i) {
        const float a0 = i * 0.1309f, a1 = (i + 1) * 0.1309f, r = static_cast<float>(kStartClearance / kScale);
        StrokeLine(marks, {sx + r * std::cos(a0), sy + r * std::sin(a0)}, {sx + r * std::cos(a1), sy + r * std::sin(a1)},
                   1.0f, Rgb(255, 255, 255, 0.5f));
    }
    for (int y = 0; y < marks.height; ++y) {
        for (int x = 0; x < marks.width; ++x) {
            const Colour& c = marks.At(x, y);
            if (c.a <= 0.0f) continue;
            const std::uint32_t d = sheet.At(x, y);
            const Colour base = Rgb(static_cast<int>((d >> 16) & 0xFF), static_cast<int>((d >> 8) & 0xFF),
                                    static_cast<int>(d & 0xFF));
            sheet.At(x, y) = PackOpaque(Mix(base, c, c.a));
        }
    }
    char title[96];
    std::snprintf(title, sizeof title, "Level %d: %zu objects", level.number, level.objects.size());
    Label(sheet, lettering, title, 6, 4);
    return sheet;
}

std::vector<DecodedSound> DecodeGeneratedSounds(const std::vector<DataFile>& files, std::vector<std::string>* errors) {
    std::vector<DecodedSound> sounds;
    for (const DataFile& file : files) {
        const bool wav = file.fileName.ends_with(".wav");
        if (!wav && !file.fileName.ends_with(".ogg")) continue;
        std::string why;
        auto samples = platform::DecodeSoundBytes(
            file.bytes, wav ? platform::SoundFileType::kWav : platform::SoundFileType::kOggVorbis, &why);
        if (!samples) {
            if (errors) errors->push_back(file.fileName + ": " + why);
            continue;
        }
        sounds.push_back({file.fileName, std::move(*samples)});
    }
    // Effects first, then the tunes.
    std::stable_sort(sounds.begin(), sounds.end(), [](const DecodedSound& a, const DecodedSound& b) {
        return a.fileName.ends_with(".wav") > b.fileName.ends_with(".wav");
    });
    return sounds;
}

common::Image SoundSheet(const std::vector<DecodedSound>& sounds, Lettering& lettering) {
    constexpr int kSheetWidth = 1640;
    constexpr int kGap = 12;
    constexpr int kLabel = 18;
    // Effects at a millisecond a pixel, tunes across the sheet.
    constexpr int kPixelsPerSecond = 1000;
    constexpr int kHeight = 180;
    int height = kGap;
    std::vector<int> widths;
    for (const DecodedSound& sound : sounds) {
        const double seconds = static_cast<double>(sound.samples.size() / 2) / platform::kOutputRate;
        const bool tune = sound.fileName.ends_with(".ogg");
        widths.push_back(tune ? kSheetWidth - 2 * kGap
                              : std::clamp(static_cast<int>(seconds * kPixelsPerSecond), 200, kSheetWidth - 2 * kGap));
        height += kLabel + kHeight + kGap;
    }
    common::Image sheet(kSheetWidth, height, kSheetBackground);
    int top = kGap;
    for (std::size_t i = 0; i < sounds.size(); ++i) {
        const Loudness loudness = MeasureLoudness(sounds[i].samples);
        char label[192];
        std::snprintf(label, sizeof label,
                      "%s   %.2f s   peak %.1f dBFS   RMS %.1f dBFS   loudest 400 ms %.1f dBFS   DC %+.4f   "
                      "(30 Hz - 20 kHz, lines at 100 Hz, 1 kHz, 10 kHz)",
                      sounds[i].fileName.c_str(), loudness.seconds, loudness.peakDb, loudness.rmsDb, loudness.loudestDb,
                      loudness.dcOffset);
        Label(sheet, lettering, label, kGap, top);
        const common::Image picture = Spectrogram(sounds[i].samples, widths[i], kHeight);
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) sheet.At(kGap + x, top + kLabel + y) = picture.At(x, y);
        }
        top += kLabel + kHeight + kGap;
    }
    return sheet;
}

bool WriteContactSheets(const std::filesystem::path& folder, const std::vector<Picture>& pictures,
                        const std::vector<Level>& levels, const std::vector<common::ObjectKind>& kinds,
                        const std::vector<DecodedSound>& sounds, Lettering& lettering, std::string* error) {
    std::error_code code;
    std::filesystem::create_directories(folder, code);
    if (!common::SavePng(folder / "pictures.png", PictureSheet(pictures, lettering), false, error) ||
        !common::SavePng(folder / "sounds.png", SoundSheet(sounds, lettering), false, error)) {
        return false;
    }
    std::vector<Picture> tiles;
    for (const Picture& picture : pictures) {
        if (picture.fileName.rfind("Tiles/", 0) == 0) tiles.push_back(picture);
    }
    std::sort(tiles.begin(), tiles.end(), [](const Picture& a, const Picture& b) { return a.fileName < b.fileName; });
    for (const Level& level : levels) {
        char name[32];
        std::snprintf(name, sizeof name, "level%02d.png", level.number);
        if (!common::SavePng(folder / name, LevelSheet(level, tiles, kinds, lettering), false, error)) {
            return false;
        }
    }
    return true;
}

}  // namespace assetgen

#include "tools/assetgen/meshes_x.h"

namespace assetgen {

common::Image MeshPreview(const Mesh& mesh, const common::Image& texture, float angleX, float angleY) {
    constexpr int kSide = 256;
    common::Image image(kSide, kSide, 0xFF101418u);
    std::vector<float> depth(static_cast<std::size_t>(kSide * kSide), -1e9f);
    float radius = 0.0f;
    for (const Vec3& p : mesh.positions) radius = std::max(radius, std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z));
    const float scale = 110.0f / std::max(radius, 1e-3f);
    std::vector<Vec3> turned;
    for (const Vec3& p : mesh.positions) {
        const float y1 = p.y * std::cos(angleX) - p.z * std::sin(angleX);
        const float z1 = p.y * std::sin(angleX) + p.z * std::cos(angleX);
        const float x2 = p.x * std::cos(angleY) + z1 * std::sin(angleY);
        const float z2 = -p.x * std::sin(angleY) + z1 * std::cos(angleY);
        turned.push_back({x2, y1, z2});
    }
    for (const auto& face : mesh.faces) {
        const Vec3 a = turned[face[0]], b = turned[face[1]], c = turned[face[2]];
        Vec3 n{(b.y - a.y) * (c.z - a.z) - (b.z - a.z) * (c.y - a.y), (b.z - a.z) * (c.x - a.x) - (b.x - a.x) * (c.z - a.z),
               (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x)};
        const float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
        if (length <= 0.0f) continue;
        const float light = 0.5f + 0.5f * std::max(0.0f, (-0.5f * n.x + 0.6f * n.y + 0.62f * n.z) / length);
        const float ax = kSide / 2 + a.x * scale, ay = kSide / 2 - a.y * scale;
        const float bx = kSide / 2 + b.x * scale, by = kSide / 2 - b.y * scale;
        const float cx = kSide / 2 + c.x * scale, cy = kSide / 2 - c.y * scale;
        const float area = (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
        if (std::fabs(area) < 1e-6f) continue;
        const int x0 = std::max(0, static_cast<int>(std::min({ax, bx, cx}))), x1 = std::min(kSide - 1, static_cast<int>(std::max({ax, bx, cx})) + 1);
        const int y0 = std::max(0, static_cast<int>(std::min({ay, by, cy}))), y1 = std::min(kSide - 1, static_cast<int>(std::max({ay, by, cy})) + 1);
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                const float px = x + 0.5f, py = y + 0.5f;
                const float wa = ((bx - px) * (cy - py) - (by - py) * (cx - px)) / area;
                const float wb = ((cx - px) * (ay - py) - (cy - py) * (ax - px)) / area;
                const float wc = 1.0f - wa - wb;
                if (wa < 0 || wb < 0 || wc < 0) continue;
                const float z = wa * a.z + wb * b.z + wc * c.z;
                float& d = depth[static_cast<std::size_t>(y * kSide + x)];
                if (z <= d) continue;
                d = z;
                const float u = wa * mesh.uvs[face[0]][0] + wb * mesh.uvs[face[1]][0] + wc * mesh.uvs[face[2]][0];
                const float v = wa * mesh.uvs[face[0]][1] + wb * mesh.uvs[face[1]][1] + wc * mesh.uvs[face[2]][1];
                std::uint32_t texel = 0xFFC0C0C0u;
                if (!texture.Empty()) {
                    const int tx = std::clamp(static_cast<int>(u * texture.width), 0, texture.width - 1);
                    const int ty = std::clamp(static_cast<int>(v * texture.height), 0, texture.height - 1);
                    texel = texture.At(tx, ty);
                }
                const auto channel = [&](int shift) {
                    return static_cast<std::uint32_t>(std::min(255.0f, ((texel >> shift) & 0xFF) * light)) << shift;
                };
                image.At(x, y) = 0xFF000000u | channel(16) | channel(8) | channel(0);
            }
        }
    }
    return image;
}

}  // namespace assetgen
