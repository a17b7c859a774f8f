#include "launcher/pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <algorithm>
#include <cstring>

#include "common/app_ids.h"
#include "common/bmp.h"

namespace launcher {

namespace {

// A dark blue sky with scattered stars. The stars come from a fixed linear congruential
// sequence, so the stand-in looks the same on every start.
QImage StarField(int width, int height, std::uint32_t seed) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0.0, QColor(4, 6, 20));
    sky.setColorAt(1.0, QColor(18, 28, 64));
    painter.fillRect(image.rect(), sky);
    std::uint32_t random = seed;
    auto next = [&random] {
        random = random * 1664525u + 1013904223u;
        return random >> 8;
    };
    const int stars = width * height / 600;
    for (int i = 0; i < stars; ++i) {
        const int x = static_cast<int>(next() % static_cast<std::uint32_t>(width));
        const int y = static_cast<int>(next() % static_cast<std::uint32_t>(height));
        const int brightness = 90 + static_cast<int>(next() % 166);
        const int size = next() % 9 == 0 ? 2 : 1;
        painter.fillRect(x, y, size, size, QColor(brightness, brightness, std::min(255, brightness + 30)));
    }
    return image;
}

}  // namespace

QIcon LauncherIcon(const std::filesystem::path& dataFolder) {
    QIcon icon;
    for (const int size : common::kIconSizes) {
        const std::string side = std::to_string(size);
        const std::filesystem::path path = dataFolder / common::kIconFolder / "hicolor" /
                                           (side + "x" + side) / "apps" /
                                           (std::string(common::kLauncherAppId) + ".png");
        const QImage image(QString::fromStdString(path.string()));
        if (!image.isNull()) {
            icon.addPixmap(QPixmap::fromImage(image));
        }
    }
    return icon;
}

std::optional<QImage> LoadPicture(const std::filesystem::path& path, int width, int height,
                                  std::string* error) {
    const std::optional<common::Image> bitmap = common::LoadBmpFile(path, error);
    if (!bitmap) {
        return std::nullopt;
    }
    if (bitmap->width != width || bitmap->height != height) {
        *error = path.string() + ": " + std::to_string(bitmap->width) + " x " +
                 std::to_string(bitmap->height) + " pixels, expected " + std::to_string(width) +
                 " x " + std::to_string(height);
        return std::nullopt;
    }
    // Both hold one 0xAARRGGBB word per pixel, rows top to bottom.
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        std::memcpy(image.scanLine(y), &bitmap->pixels[static_cast<std::size_t>(y) * width],
                    static_cast<std::size_t>(width) * sizeof(std::uint32_t));
    }
    return image;
}

QImage BannerStandIn() {
    QImage image = StarField(kBannerWidth, kBannerHeight, 0x5EED1u);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    QFont title = painter.font();
    title.setPixelSize(46);
    title.setBold(true);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 6);
    painter.setFont(title);
    const QRect titleBox(0, 18, kBannerWidth, 70);
    // A soft blue glow behind the letters: the same text drawn offset in a faint colour.
    painter.setPen(QColor(70, 110, 220, 90));
    for (const QPoint offset : {QPoint(-2, 0), QPoint(2, 0), QPoint(0, -2), QPoint(0, 2)}) {
        painter.drawText(titleBox.translated(offset), Qt::AlignCenter, "STARWAKE");
    }
    painter.setPen(QColor(228, 236, 255));
    painter.drawText(titleBox, Qt::AlignCenter, "STARWAKE");

    painter.setPen(QPen(QColor(110, 140, 220), 1));
    painter.drawLine(70, 92, kBannerWidth - 70, 92);

    QFont subtitle = painter.font();
    subtitle.setPixelSize(13);
    subtitle.setBold(false);
    subtitle.setLetterSpacing(QFont::AbsoluteSpacing, 5);
    painter.setFont(subtitle);
    painter.setPen(QColor(150, 170, 225));
    painter.drawText(QRect(0, 98, kBannerWidth, 22), Qt::AlignCenter, "LAUNCHER");
    return image;
}

QImage SideStandIn() {
    QImage image = StarField(kSideWidth, kSideHeight, 0x51DEu);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // A planet rising from the lower corner, lit from the upper left.
    const QPointF centre(kSideWidth * 0.85, kSideHeight * 1.05);
    const qreal radius = kSideWidth * 0.9;
    QRadialGradient light(centre - QPointF(radius * 0.45, radius * 0.45), radius * 1.4);
    light.setColorAt(0.0, QColor(120, 150, 230));
    light.setColorAt(0.5, QColor(40, 60, 140));
    light.setColorAt(1.0, QColor(8, 12, 40));
    painter.setPen(Qt::NoPen);
    painter.setBrush(light);
    painter.drawEllipse(centre, radius, radius);
    return image;
}

}  // namespace launcher
