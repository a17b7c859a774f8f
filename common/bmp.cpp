#include "common/bmp.h"

#include <bit>
#include <cstring>

#include "common/file_io.h"

namespace common {

namespace {

constexpr std::size_t kFileHeaderSize = 14;

std::uint32_t ReadU16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8);
}
std::uint32_t ReadU32(std::span<const std::uint8_t> b, std::size_t at) {
    return ReadU16(b, at) | (ReadU16(b, at + 2) << 16);
}
std::int32_t ReadI32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::int32_t>(ReadU32(b, at));
}

std::optional<Image> Fail(std::string* error, const std::string& why) {
    if (error) {
        *error = why;
    }
    return std::nullopt;
}

// One colour channel described by a bit mask, widened to 8 bits.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(std::uint32_t m) : mask(m) {
        if (m != 0) {
            shift = std::countr_zero(m);
            bits = std::popcount(m);
        }
    }
    std::uint32_t Extract(std::uint32_t pixel) const {
        if (bits == 0) {
            return 0;
        }
        const std::uint32_t v = (pixel & mask) >> shift;
        if (bits >= 8) {
            return v >> (bits - 8);
        }
        // Replicate the high bits so that full scale maps to 255.
        std::uint32_t out = 0;
        int filled = 0;
        while (filled < 8) {
            out = (out << bits) | v;
            filled += bits;
        }
        return out >> (filled - 8);
    }
};

}  // namespace

std::optional<Image> DecodeBmp(std::span<const std::uint8_t> bytes, std::string* error) {
    if (bytes.size() < kFileHeaderSize + 12) {
        return Fail(error, "too short for a bitmap (" + std::to_string(bytes.size()) + " bytes)");
    }
    if (bytes[0] != 'B' || bytes[1] != 'M') {
        return Fail(error, "not a bitmap (no BM signature)");
    }
    const std::uint32_t pixelOffset = ReadU32(bytes, 10);
    const std::uint32_t headerSize = ReadU32(bytes, 14);
    if (headerSize != 12 && (headerSize < 40 || headerSize > 124)) {
        return Fail(error, "unknown bitmap header size " + std::to_string(headerSize));
    }
    if (kFileHeaderSize + headerSize > bytes.size()) {
        return Fail(error, "bitmap header runs past the end of the file");
    }

    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t bitsPerPixel = 0;
    std::uint32_t compression = 0;
    std::uint32_t paletteCount = 0;
    std::size_t paletteEntrySize = 4;
    std::uint32_t masks[4] = {0, 0, 0, 0};
    std::size_t afterHeader = kFileHeaderSize + headerSize;

    if (headerSize == 12) {
        width = ReadU16(bytes, 18);
        height = ReadU16(bytes, 20);
        bitsPerPixel = ReadU16(bytes, 24);
        paletteEntrySize = 3;
    } else {
        width = ReadI32(bytes, 18);
        height = ReadI32(bytes, 22);
        bitsPerPixel = ReadU16(bytes, 28);
        compression = ReadU32(bytes, 30);
        paletteCount = ReadU32(bytes, 46);
        if (compression == 3 || compression == 6) {
            const std::size_t maskCount = compression == 6 ? 4 : 3;
            std::size_t maskAt = 54;
            if (headerSize == 40) {
                // The masks follow a plain info header.
                if (afterHeader + 4 * maskCount > bytes.size()) {
                    return Fail(error, "bit-field masks run past the end of the file");
                }
                afterHeader += 4 * maskCount;
            } else if (headerSize < 40 + 4 * maskCount) {
                return Fail(error, "bitmap header too short for its bit-field masks");
            }
            for (std::size_t m = 0; m < maskCount; ++m) {
                masks[m] = ReadU32(bytes, maskAt + 4 * m);
            }
        } else if (compression != 0) {
            return Fail(error, "compressed bitmaps are not supported (compression " +
                                   std::to_string(compression) + ")");
        }
    }

    const bool topDown = height < 0;
    if (topDown) {
        height = -height;
    }
    if (width <= 0 || height <= 0) {
        return Fail(error, "bitmap has no pixels (" + std::to_string(width) + " x " +
                               std::to_string(height) + ")");
    }
    if (width > kMaxBitmapSide || height > kMaxBitmapSide) {
        return Fail(error, "bitmap too large (" + std::to_string(width) + " x " +
                               std::to_string(height) + ")");
    }
    switch (bitsPerPixel) {
        case 1:
        case 4:
        case 8:
        case 24:
            if (compression != 0) {
                return Fail(error, "bit fields need 16 or 32 bits per pixel");
            }
            break;
        case 16:
        case 32:
            break;
        default:
            return Fail(error, "unsupported bits per pixel: " + std::to_string(bitsPerPixel));
    }

    // The palette of an indexed bitmap sits between the headers and the pixels.
    std::vector<std::uint32_t> palette;
    if (bitsPerPixel <= 8) {
        const std::uint32_t maxEntries = 1u << bitsPerPixel;
        std::uint32_t count = paletteCount == 0 ? maxEntries : paletteCount;
        if (count > maxEntries) {
            count = maxEntries;
        }
        if (afterHeader + count * paletteEntrySize > bytes.size()) {
            return Fail(error, "palette runs past the end of the file");
        }
        palette.resize(maxEntries, 0xFF000000u);
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::size_t at = afterHeader + i * paletteEntrySize;
            palette[i] = Argb(0xFF, bytes[at + 2], bytes[at + 1], bytes[at]);
        }
    }

    const std::uint64_t stride = ((static_cast<std::uint64_t>(width) * bitsPerPixel + 31) / 32) * 4;
    const std::uint64_t pixelBytes = stride * static_cast<std::uint64_t>(height);
    if (pixelOffset < kFileHeaderSize + 12 || pixelOffset > bytes.size() ||
        pixelBytes > bytes.size() - pixelOffset) {
        return Fail(error, "pixel data does not fit in the file (" + std::to_string(width) + " x " +
                               std::to_string(height) + " at " + std::to_string(bitsPerPixel) +
                               " bits needs " + std::to_string(pixelBytes) + " bytes from offset " +
                               std::to_string(pixelOffset) + ", file has " +
                               std::to_string(bytes.size()) + ")");
    }

    if (compression == 0 && bitsPerPixel == 16) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    }
    if (compression == 0 && bitsPerPixel == 32) {
        masks[0] = 0x00FF0000;
        masks[1] = 0x0000FF00;
        masks[2] = 0x000000FF;
    }
    const Channel red(masks[0]);
    const Channel green(masks[1]);
    const Channel blue(masks[2]);

    Image image(static_cast<int>(width), static_cast<int>(height));
    for (int row = 0; row < image.height; ++row) {
        const int y = topDown ? row : image.height - 1 - row;
        const std::uint8_t* src = bytes.data() + pixelOffset + stride * static_cast<std::uint64_t>(row);
        std::uint32_t* dst = &image.At(0, y);
        for (int x = 0; x < image.width; ++x) {
            std::uint32_t argb = 0xFF000000u;
            switch (bitsPerPixel) {
                case 1:
                    argb = palette[(src[x >> 3] >> (7 - (x & 7))) & 1];
                    break;
                case 4:
                    argb = palette[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15];
                    break;
                case 8:
                    argb = palette[src[x]];
                    break;
                case 24:
                    argb = Argb(0xFF, src[3 * x + 2], src[3 * x + 1], src[3 * x]);
                    break;
                case 16: {
                    const std::uint32_t p = src[2 * x] | (static_cast<std::uint32_t>(src[2 * x + 1]) << 8);
                    argb = Argb(0xFF, red.Extract(p), green.Extract(p), blue.Extract(p));
                    break;
                }
                case 32: {
                    std::uint32_t p;
                    std::memcpy(&p, src + 4 * x, 4);
                    argb = Argb(0xFF, red.Extract(p), green.Extract(p), blue.Extract(p));
                    break;
                }
                default:
                    break;
            }
            dst[x] = argb;
        }
    }
    return image;
}

std::optional<Image> LoadBmpFile(const std::filesystem::path& path, std::string* error) {
    // A bitmap of the largest accepted size at 32 bits, plus headers and palette.
    constexpr std::size_t kMaxFileBytes =
        static_cast<std::size_t>(kMaxBitmapSide) * kMaxBitmapSide * 4 + 4096;
    std::string why;
    auto bytes = ReadFileBytes(path, kMaxFileBytes, &why);
    if (!bytes) {
        return Fail(error, why);
    }
    auto image = DecodeBmp(*bytes, &why);
    if (!image) {
        return Fail(error, path.string() + ": " + why);
    }
    return image;
}

std::vector<std::uint8_t> EncodeBmp24(const Image& image) {
    const std::uint32_t stride = ((static_cast<std::uint32_t>(image.width) * 24 + 31) / 32) * 4;
    const std::uint32_t pixelBytes = stride * static_cast<std::uint32_t>(image.height);
    const std::uint32_t offset = kFileHeaderSize + 40;
    std::vector<std::uint8_t> out(offset + pixelBytes, 0);
    auto put16 = [&](std::size_t at, std::uint32_t v) {
        out[at] = static_cast<std::uint8_t>(v);
        out[at + 1] = static_cast<std::uint8_t>(v >> 8);
    };
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, static_cast<std::uint32_t>(out.size()));
    put32(10, offset);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(image.width));
    put32(22, static_cast<std::uint32_t>(image.height));
    put16(26, 1);
    put16(28, 24);
    put32(34, pixelBytes);
    put32(38, 2835);  // 72 dots per inch
    put32(42, 2835);
    for (int y = 0; y < image.height; ++y) {
        std::uint8_t* row = out.data() + offset + stride * static_cast<std::uint32_t>(image.height - 1 - y);
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t p = image.At(x, y);
            row[3 * x] = static_cast<std::uint8_t>(p);
            row[3 * x + 1] = static_cast<std::uint8_t>(p >> 8);
            row[3 * x + 2] = static_cast<std::uint8_t>(p >> 16);
        }
    }
    return out;
}

bool SaveBmp24(const std::filesystem::path& path, const Image& image, std::string* error) {
    return WriteFileAtomically(path, EncodeBmp24(image), error);
}

}  // namespace common
