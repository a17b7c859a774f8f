#include "common/level_files.h"

#include <array>
#include <charconv>
#include <cmath>

#include "common/number_text.h"
#include "common/rounding.h"
#include "common/text.h"

namespace common {

namespace {

// The file's lines: each ends at CR LF (a lone LF is accepted too); a last line without a line
// end still counts, and the line end after the last line does not start an empty line.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        std::string_view line;
        if (end == std::string_view::npos) {
            line = text.substr(at);
            at = text.size();
        } else {
            line = text.substr(at, end - at);
            at = end + 1;
        }
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
    }
    return lines;
}

// Fields split at every comma, nothing trimmed: " a" is a different name from "a".
std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t at = 0;
    while (true) {
        const std::size_t comma = line.find(',', at);
        if (comma == std::string_view::npos) {
            fields.push_back(line.substr(at));
            return fields;
        }
        fields.push_back(line.substr(at, comma - at));
        at = comma + 1;
    }
}

std::string Where(std::string_view fileName, int line) {
    return std::string(fileName) + ": line " + std::to_string(line) + ": ";
}

// A numeric field as the loader converts it; names the field when it is not a number.
bool ReadNumber(std::string_view field, const char* what, double* value, std::string* problem) {
    const auto number = ParseNumber(field);
    if (!number || !std::isfinite(*number)) {
        *problem = std::string(what) + " \"" + std::string(field) + "\" is not a number";
        return false;
    }
    *value = *number;
    return true;
}

template <typename T>
bool ReadWhole(std::string_view field, const char* what, T* value, std::string* problem) {
    double number = 0.0;
    if (!ReadNumber(field, what, &number, problem)) {
        return false;
    }
    if (!FitsAfterRounding<T>(number)) {
        *problem = std::string(what) + " \"" + std::string(field) + "\" is out of range";
        return false;
    }
    *value = ClampRound<T>(number);
    return true;
}

void AppendNumber(std::string* out, double value) {
    std::array<char, 64> buffer{};
    const auto [end, ec] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed);
    if (ec != std::errc()) {
        out->append("0");
        return;
    }
    out->append(buffer.data(), end);
}

}  // namespace

std::string LevelMapFileName(int level) { return "maps/Level" + std::to_string(level) + ".map"; }
std::string LevelObjectsFileName(int level) { return "maps/Level" + std::to_string(level) + ".dat"; }
std::string TileFileName(int tile) { return "Tiles/Tile" + TwoDigits(tile) + ".bmp"; }

ObjectKindsReadResult ParseObjectKinds(std::string_view text, std::string_view fileName) {
    ObjectKindsReadResult result;
    const std::vector<std::string_view> lines = SplitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int lineNumber = static_cast<int>(i) + 1;
        const std::vector<std::string_view> fields = SplitFields(lines[i]);
        if (fields.size() < 3) {
            result.diagnostics.push_back(
                {lineNumber, Where(fileName, lineNumber) + "needs a name, a width and a height"});
            continue;
        }
        ObjectKind kind;
        kind.name = std::string(fields[0]);
        kind.refNum = lineNumber;
        std::string problem;
        if (!ReadWhole(fields[1], "width", &kind.width, &problem) ||
            !ReadWhole(fields[2], "height", &kind.height, &problem)) {
            result.diagnostics.push_back({lineNumber, Where(fileName, lineNumber) + problem});
            continue;
        }
        if (FindObjectKind(result.kinds, kind.name) != nullptr) {
            result.diagnostics.push_back({lineNumber, Where(fileName, lineNumber) + "kind \"" +
                                                          kind.name + "\" is defined again"});
            continue;
        }
        result.kinds.push_back(std::move(kind));
    }
    return result;
}

PlacedObjectsReadResult ParsePlacedObjects(std::string_view text, std::string_view fileName) {
    PlacedObjectsReadResult result;
    const std::vector<std::string_view> lines = SplitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int lineNumber = static_cast<int>(i) + 1;
        const std::vector<std::string_view> fields = SplitFields(lines[i]);
        if (fields.size() < 7) {
            result.diagnostics.push_back(
                {lineNumber, Where(fileName, lineNumber) +
                                 "needs kind, x, y, xSpeed, ySpeed, oType and health"});
            continue;
        }
        PlacedObject object;
        object.kind = std::string(fields[0]);
        std::string problem;
        const bool ok = ReadNumber(fields[1], "x", &object.x, &problem) &&
                        ReadNumber(fields[2], "y", &object.y, &problem) &&
                        ReadNumber(fields[3], "xSpeed", &object.xSpeed, &problem) &&
                        ReadNumber(fields[4], "ySpeed", &object.ySpeed, &problem) &&
                        ReadWhole(fields[5], "oType", &object.oType, &problem) &&
                        ReadWhole(fields[6], "health", &object.health, &problem);
        if (!ok) {
            result.diagnostics.push_back({lineNumber, Where(fileName, lineNumber) + problem});
            continue;
        }
        result.objects.push_back(std::move(object));
    }
    return result;
}

const ObjectKind* FindObjectKind(std::span<const ObjectKind> kinds, std::string_view name) {
    for (const ObjectKind& kind : kinds) {
        if (EqualsIgnoringCase(kind.name, name)) {
            return &kind;
        }
    }
    return nullptr;
}

BoxCorner PlacedObjectCorner(const PlacedObject& object, const ObjectKind& kind) {
    // The sums are taken in floating point with a true halving, then rounded once.
    return {RoundToLong(object.x + 400.0 - kind.width / 2.0),
            RoundToLong(object.y + 300.0 - kind.height / 2.0 - 200.0)};
}

std::string FormatObjectKinds(std::span<const ObjectKind> kinds) {
    std::string out;
    for (const ObjectKind& kind : kinds) {
        out += kind.name;
        out += ',';
        out += std::to_string(kind.width);
        out += ',';
        out += std::to_string(kind.height);
        out += "\r\n";
    }
    return out;
}

std::string FormatPlacedObjects(std::span<const PlacedObject> objects) {
    std::string out;
    for (const PlacedObject& object : objects) {
        out += object.kind;
        for (double value : {object.x, object.y, object.xSpeed, object.ySpeed}) {
            out += ',';
            AppendNumber(&out, value);
        }
        out += ',';
        out += std::to_string(object.oType);
        out += ',';
        out += std::to_string(object.health);
        out += "\r\n";
    }
    return out;
}

std::vector<std::string> CheckLevelMap(std::span<const std::uint8_t> bytes, std::uintmax_t fileBytes,
                                       std::string_view fileName) {
    std::vector<std::string> problems;
    if (fileBytes != static_cast<std::uintmax_t>(kMapBytes)) {
        problems.push_back(std::string(fileName) + ": " + std::to_string(fileBytes) +
                           " bytes, a full map has " + std::to_string(kMapBytes));
    }
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] > kTileKinds) {
            problems.push_back(std::string(fileName) + ": row " + std::to_string(i / kMapColumns) +
                               " column " + std::to_string(i % kMapColumns) + ": tile " +
                               std::to_string(bytes[i]) + " has no bitmap");
        }
    }
    return problems;
}

}  // namespace common
