// difficulty_plot REPORT.csv OUT.png: the autopilot's levels as a picture a person reads at a
// glance: game seconds per level as a line (left scale), health lost as bars (right scale), a
// red cross under every level that was not cleared.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/png.h"
#include "tools/assetgen/lettering.h"
#include "tools/assetgen/raster.h"

namespace {

using assetgen::Canvas;
using assetgen::Colour;
using assetgen::FontStyle;
using assetgen::Point;

struct Row {
    int level = 0;
    bool cleared = false;
    double seconds = 0;
    double damage = 0;
};

constexpr int kWidth = 960;
constexpr int kHeight = 560;
constexpr float kLeft = 90, kRight = 870, kTop = 90, kBottom = 470;

const Colour kBackground = assetgen::Rgb(18, 20, 30);
const Colour kGrid = assetgen::Rgb(60, 64, 80);
const Colour kText = assetgen::Rgb(225, 228, 235);
const Colour kTime = assetgen::Rgb(90, 200, 255);
const Colour kDamage = assetgen::Rgb(255, 150, 60, 0.85f);
const Colour kFailed = assetgen::Rgb(255, 60, 60);

std::vector<Row> ReadReport(const std::string& path) {
    std::vector<Row> rows;
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);  // the header
    while (std::getline(in, line)) {
        std::stringstream fields(line);
        std::string level, cleared, seconds, damage;
        if (std::getline(fields, level, ',') && std::getline(fields, cleared, ',') &&
            std::getline(fields, seconds, ',') && std::getline(fields, damage, ',')) {
            try {
                rows.push_back({std::stoi(level), cleared == "1", std::stod(seconds), std::stod(damage)});
            } catch (const std::exception&) {
                std::fprintf(stderr, "%s: skipping the line \"%s\"\n", path.c_str(), line.c_str());
            }
        }
    }
    return rows;
}

// A scale top of 1, 2 or 5 times a power of ten at or above the largest value.
double NiceTop(double largest) {
    if (largest <= 0) return 10;
    const double power = std::pow(10.0, std::floor(std::log10(largest)));
    for (double step : {1.0, 2.0, 5.0, 10.0}) {
        if (step * power >= largest) return step * power;
    }
    return 10 * power;
}

struct Writer {
    assetgen::Lettering lettering;
    Canvas& canvas;

    // Text anchored by `align`: 0 left, 0.5 centred, 1 right edge at x; y is the top.
    void Text(const std::string& text, int size, float x, float y, float align, Colour colour,
              FontStyle style = FontStyle::kRegular) {
        const common::Image ink = lettering.Render(style, size, text);
        assetgen::DrawCoverage(canvas, ink, static_cast<int>(x - align * ink.width), static_cast<int>(y), colour);
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: difficulty_plot REPORT.csv OUT.png\n");
        return 2;
    }
    const std::vector<Row> rows = ReadReport(argv[1]);
    if (rows.empty()) {
        std::fprintf(stderr, "%s: no levels to plot\n", argv[1]);
        return 1;
    }
    int levels = 0;
    // The damage axis reaches at least a new ship's health (200), so a scratch looks like one.
    double mostSeconds = 0, mostDamage = 200;
    for (const Row& row : rows) {
        levels = std::max(levels, row.level);
        mostSeconds = std::max(mostSeconds, row.seconds);
        mostDamage = std::max(mostDamage, row.damage);
    }
    const double secondsTop = NiceTop(mostSeconds), damageTop = NiceTop(mostDamage);
    Canvas canvas(kWidth, kHeight, kBackground);
    Writer write{{}, canvas};
    const float slot = (kRight - kLeft) / static_cast<float>(levels);
    const auto xOf = [&](int level) { return kLeft + slot * (static_cast<float>(level) - 0.5f); };
    const auto yOf = [&](double value, double top) {
        return kBottom - static_cast<float>(value / top) * (kBottom - kTop);
    };

    // Grid and both scales, five steps each.
    for (int step = 0; step <= 5; ++step) {
        const float y = kBottom - (kBottom - kTop) * static_cast<float>(step) / 5.0f;
        assetgen::StrokeLine(canvas, {kLeft, y}, {kRight, y}, 1.0f, kGrid);
        write.Text(std::to_string(static_cast<int>(secondsTop * step / 5)), 12, kLeft - 8, y - 7, 1.0f, kTime);
        write.Text(std::to_string(static_cast<int>(damageTop * step / 5)), 12, kRight + 8, y - 7, 0.0f, kDamage);
    }
    // Damage as bars, behind the time line.
    for (const Row& row : rows) {
        const float x = xOf(row.level);
        assetgen::FillRect(canvas, x - slot * 0.3f, yOf(row.damage, damageTop), x + slot * 0.3f, kBottom, kDamage);
    }
    // Time as a line with a dot per level.
    std::vector<Row> sorted = rows;
    std::sort(sorted.begin(), sorted.end(), [](const Row& a, const Row& b) { return a.level < b.level; });
    for (std::size_t i = 0; i + 1 < sorted.size(); ++i) {
        assetgen::StrokeLine(canvas, {xOf(sorted[i].level), yOf(sorted[i].seconds, secondsTop)},
                             {xOf(sorted[i + 1].level), yOf(sorted[i + 1].seconds, secondsTop)}, 2.5f, kTime);
    }
    for (const Row& row : sorted) {
        assetgen::FillCircle(canvas, xOf(row.level), yOf(row.seconds, secondsTop), 4.5f, kTime);
        if (!row.cleared) {
            const float x = xOf(row.level), y = kBottom + 30;
            assetgen::StrokeLine(canvas, {x - 6, y - 6}, {x + 6, y + 6}, 2.5f, kFailed);
            assetgen::StrokeLine(canvas, {x - 6, y + 6}, {x + 6, y - 6}, 2.5f, kFailed);
        }
    }
    // Axes, level numbers and labels.
    assetgen::StrokeLine(canvas, {kLeft, kTop}, {kLeft, kBottom}, 1.5f, kText);
    assetgen::StrokeLine(canvas, {kRight, kTop}, {kRight, kBottom}, 1.5f, kText);
    assetgen::StrokeLine(canvas, {kLeft, kBottom}, {kRight, kBottom}, 1.5f, kText);
    for (int level = 1; level <= levels; ++level) {
        write.Text(std::to_string(level), 12, xOf(level), kBottom + 6, 0.5f, kText);
    }
    write.Text("level", 14, (kLeft + kRight) / 2, kBottom + 44, 0.5f, kText);
    write.Text("game seconds", 14, kLeft - 8, kTop - 26, 0.5f, kTime);
    write.Text("damage (health lost)", 14, kRight + 8, kTop - 26, 0.5f, kDamage);
    write.Text("Autopilot: time and damage by level", 20, kWidth / 2.0f, 14, 0.5f, kText, FontStyle::kBold);
    // The legend.
    const float legendY = kTop - 28;
    assetgen::StrokeLine(canvas, {330, legendY + 8}, {360, legendY + 8}, 2.5f, kTime);
    assetgen::FillCircle(canvas, 345, legendY + 8, 4.5f, kTime);
    write.Text("time to clear", 13, 368, legendY, 0.0f, kText);
    assetgen::FillRect(canvas, 480, legendY + 1, 500, legendY + 15, kDamage);
    write.Text("damage taken", 13, 508, legendY, 0.0f, kText);
    assetgen::StrokeLine(canvas, {614, legendY + 2}, {626, legendY + 14}, 2.5f, kFailed);
    assetgen::StrokeLine(canvas, {614, legendY + 14}, {626, legendY + 2}, 2.5f, kFailed);
    write.Text("not cleared", 13, 634, legendY, 0.0f, kText);

    std::string error;
    if (!common::SavePng(argv[2], assetgen::ToOpaqueImage(canvas), false, &error)) {
        std::fprintf(stderr, "%s: %s\n", argv[2], error.c_str());
        return 1;
    }
    return 0;
}
