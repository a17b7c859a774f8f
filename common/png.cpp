#include "common/png.h"

#include <zlib.h>

#include <array>
#include <cstring>
#include <cstdlib>

#include "common/file_io.h"

namespace common {

namespace {

constexpr std::array<std::uint8_t, 8> kSignature = {137, 80, 78, 71, 13, 10, 26, 10};
constexpr int kMaxSide = 16384;

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v >> 24));
    out.push_back(static_cast<std::uint8_t>(v >> 16));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}

std::uint32_t GetU32(std::span<const std::uint8_t> b, std::size_t at) {
    return (static_cast<std::uint32_t>(b[at]) << 24) | (static_cast<std::uint32_t>(b[at + 1]) << 16) |
           (static_cast<std::uint32_t>(b[at + 2]) << 8) | b[at + 3];
}

void PutChunk(std::vector<std::uint8_t>& out, const char type[4], std::span<const std::uint8_t> data) {
    PutU32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t crcStart = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0L, out.data() + crcStart, static_cast<uInt>(out.size() - crcStart));
    PutU32(out, static_cast<std::uint32_t>(crc));
}

std::optional<Image> Fail(std::string* error, const std::string& why) {
    if (error) {
        *error = why;
    }
    return std::nullopt;
}

int Paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a);
    const int pb = std::abs(p - b);
    const int pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) {
        return a;
    }
    return pb <= pc ? b : c;
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const Image& image, bool withAlpha) {
    const int channels = withAlpha ? 4 : 3;
    const std::size_t rowBytes = static_cast<std::size_t>(image.width) * channels + 1;
    std::vector<std::uint8_t> raw(rowBytes * static_cast<std::size_t>(image.height));
    for (int y = 0; y < image.height; ++y) {
        std::uint8_t* row = raw.data() + rowBytes * static_cast<std::size_t>(y);
        row[0] = 0;  // no filter
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t p = image.At(x, y);
            std::uint8_t* px = row + 1 + static_cast<std::size_t>(x) * channels;
            px[0] = static_cast<std::uint8_t>(p >> 16);
            px[1] = static_cast<std::uint8_t>(p >> 8);
            px[2] = static_cast<std::uint8_t>(p);
            if (withAlpha) {
                px[3] = static_cast<std::uint8_t>(p >> 24);
            }
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> packed(packedSize);
    compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 6);
    packed.resize(packedSize);

    std::vector<std::uint8_t> out(kSignature.begin(), kSignature.end());
    std::vector<std::uint8_t> header;
    PutU32(header, static_cast<std::uint32_t>(image.width));
    PutU32(header, static_cast<std::uint32_t>(image.height));
    header.push_back(8);                    // bit depth
    header.push_back(withAlpha ? 6 : 2);    // colour type
    header.push_back(0);
    header.push_back(0);
    header.push_back(0);
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IDAT", packed);
    PutChunk(out, "IEND", {});
    return out;
}

bool SavePng(const std::filesystem::path& path, const Image& image, bool withAlpha,
             std::string* error) {
    return WriteFileAtomically(path, EncodePng(image, withAlpha), error);
}

std::optional<Image> DecodePng(std::span<const std::uint8_t> bytes, std::string* error) {
    if (bytes.size() < kSignature.size() || std::memcmp(bytes.data(), kSignature.data(), 8) != 0) {
        return Fail(error, "not a PNG file");
    }
    std::size_t at = 8;
    int width = 0;
    int height = 0;
    int channels = 0;
    std::vector<std::uint8_t> packed;
    bool sawHeader = false;
    while (at + 12 <= bytes.size()) {
        const std::uint32_t length = GetU32(bytes, at);
        if (length > bytes.size() - at - 12) {
            return Fail(error, "PNG chunk runs past the end of the file");
        }
        const char* type = reinterpret_cast<const char*>(bytes.data() + at + 4);
        std::span<const std::uint8_t> data = bytes.subspan(at + 8, length);
        if (std::memcmp(type, "IHDR", 4) == 0) {
            if (length != 13) {
                return Fail(error, "bad PNG header");
            }
            const std::uint32_t w = GetU32(data, 0);
            const std::uint32_t h = GetU32(data, 4);
            const int depth = data[8];
            const int colourType = data[9];
            if (w == 0 || h == 0 || w > kMaxSide || h > kMaxSide) {
                return Fail(error, "PNG size out of range");
            }
            if (depth != 8 || data[12] != 0) {
                return Fail(error, "only 8-bit non-interlaced PNG is read");
            }
            switch (colourType) {
                case 0: channels = 1; break;
                case 2: channels = 3; break;
                case 4: channels = 2; break;
                case 6: channels = 4; break;
                default: return Fail(error, "unsupported PNG colour type");
            }
            width = static_cast<int>(w);
            height = static_cast<int>(h);
            sawHeader = true;
        } else if (std::memcmp(type, "IDAT", 4) == 0) {
            packed.insert(packed.end(), data.begin(), data.end());
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            break;
        }
        at += 12 + length;
    }
    if (!sawHeader) {
        return Fail(error, "PNG without header");
    }
    const std::size_t rowBytes = static_cast<std::size_t>(width) * channels;
    std::vector<std::uint8_t> raw((rowBytes + 1) * static_cast<std::size_t>(height));
    uLongf rawSize = static_cast<uLongf>(raw.size());
    if (uncompress(raw.data(), &rawSize, packed.data(), static_cast<uLong>(packed.size())) != Z_OK ||
        rawSize != raw.size()) {
        return Fail(error, "PNG pixel data damaged");
    }
    // Undo the per-row filters in place.
    std::vector<std::uint8_t> prior(rowBytes, 0);
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = raw.data() + (rowBytes + 1) * static_cast<std::size_t>(y);
        const int filter = row[0];
        std::uint8_t* cur = row + 1;
        for (std::size_t i = 0; i < rowBytes; ++i) {
            const int left = i >= static_cast<std::size_t>(channels) ? cur[i - channels] : 0;
            const int up = prior[i];
            const int upLeft = i >= static_cast<std::size_t>(channels) ? prior[i - channels] : 0;
            int add = 0;
            switch (filter) {
                case 0: add = 0; break;
                case 1: add = left; break;
                case 2: add = up; break;
                case 3: add = (left + up) / 2; break;
                case 4: add = Paeth(left, up, upLeft); break;
                default: return Fail(error, "bad PNG row filter");
            }
            cur[i] = static_cast<std::uint8_t>(cur[i] + add);
        }
        std::memcpy(prior.data(), cur, rowBytes);
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* px = cur + static_cast<std::size_t>(x) * channels;
            std::uint32_t argb = 0;
            switch (channels) {
                case 1: argb = Argb(0xFF, px[0], px[0], px[0]); break;
                case 2: argb = Argb(px[1], px[0], px[0], px[0]); break;
                case 3: argb = Argb(0xFF, px[0], px[1], px[2]); break;
                default: argb = Argb(px[3], px[0], px[1], px[2]); break;
            }
            image.At(x, y) = argb;
        }
    }
    return image;
}

std::optional<Image> LoadPngFile(const std::filesystem::path& path, std::string* error) {
    std::string why;
    auto bytes = ReadFileBytes(path, 256u << 20, &why);
    if (!bytes) {
        return Fail(error, why);
    }
    auto image = DecodePng(*bytes, &why);
    if (!image) {
        return Fail(error, path.string() + ": " + why);
    }
    return image;
}

}  // namespace common
