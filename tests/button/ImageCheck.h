#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QString>
#include <cstdint>
#include <vector>

#include "button/RgbPixel.h"

namespace vt::test {

// The colour of pixel (x, y) as 0x00BBGGRR.
inline std::uint32_t pixelAt(const QImage& image, int x, int y) {
    return vt::button::fromQRgb(image.pixel(x, y));
}

// Keeps the image of a failed pixel test under $VT_TEST_OUTPUT so a person can look at it.
inline void saveOnFailure(const QImage& image, const QString& name) {
    if (!::testing::Test::HasFailure()) return;
    const QString dir = qEnvironmentVariable("VT_TEST_OUTPUT", QDir::tempPath() + "/vt-test-output");
    QDir().mkpath(dir);
    image.save(dir + "/" + name + ".png");
}

inline QImage blankSurface(int w, int h, std::uint32_t rgb = 0x00FF00) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(vt::button::toQRgb(rgb));
    return image;
}

// The pixels of `image` equal to `rgb`, as (x, y) pairs in row order.
inline std::vector<std::pair<int, int>> pixelsOf(const QImage& image, std::uint32_t rgb) {
    std::vector<std::pair<int, int>> found;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (pixelAt(image, x, y) == rgb) found.emplace_back(x, y);
    return found;
}

}  // namespace vt::test
