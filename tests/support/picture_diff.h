// Where two pictures differ, for pixel-exact comparisons in tests.
#pragma once

#include <QImage>
#include <QRect>

#include <string>

// "" where the pictures are the same inside `where`, else the rectangle
// holding every pixel that differs.
inline std::string differences(const QImage& expected, const QImage& got, const QRect& where)
{
    if (!expected.rect().contains(where) || !got.rect().contains(where))
        return "the pictures are too small";
    QRect differ;
    for (int y = where.top(); y <= where.bottom(); ++y)
        for (int x = where.left(); x <= where.right(); ++x)
            if (got.pixel(x, y) != expected.pixel(x, y))
                differ |= QRect(x, y, 1, 1);
    if (differ.isNull())
        return {};
    return "pixels differ in " + std::to_string(differ.x()) + "," + std::to_string(differ.y()) + " " +
           std::to_string(differ.width()) + "x" + std::to_string(differ.height());
}

// The same over whole pictures of one size.
inline std::string differences(const QImage& expected, const QImage& got)
{
    if (expected.size() != got.size())
        return "sizes differ";
    return differences(expected, got, got.rect());
}
