// Designs as stored words, odd ones among them, and what an order sheet's
// table must say for them: shared by the renderer's tests and the window's.
#pragma once

#include "catalogue/catalogue.h"
#include "state/state.h"

#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <random>

// Stored words for model m: mostly real colours of fabrics the model uses,
// some areas without colour, and with `odd` words no colour has: a colour
// beyond its palette, a negative one, a fabric the model does not use.
inline state::ModelDesign storedWords(int m, std::mt19937& random, bool odd)
{
    state::ModelDesign d;
    const auto fabrics = cat::kModels[m].rebuildFabrics;
    for (int s = 0; s < cat::slotCount(m); ++s) {
        const auto i = static_cast<std::size_t>(s);
        const int fabric = s == cat::tapeSlot(m) ? cat::kTape : fabrics[random() % fabrics.size()];
        const auto colours = static_cast<int>(cat::kFabrics[fabric].palette.size());
        d.areaFabric[i] = static_cast<std::int16_t>(fabric);
        d.areaColour[i] = static_cast<std::int16_t>(random() % colours);
        switch (random() % 9) {
        case 0: d.areaColour[i] = cat::kNoColour; break;
        case 1:
            if (odd)
                d.areaColour[i] = static_cast<std::int16_t>(colours + random() % 60);
            break;
        case 2:
            if (odd)
                d.areaColour[i] = static_cast<std::int16_t>(-1 - static_cast<int>(random() % 300));
            break;
        case 3:
            if (odd && s != cat::tapeSlot(m)) {
                constexpr std::int16_t kForeign[] = {cat::kTape, 8, -2, 99, 32767};
                d.areaFabric[i] = kForeign[random() % std::size(kForeign)];
            }
            break;
        default: break;
        }
    }
    return d;
}

// What the table of a sheet must say for one area, from the colour list's
// line: "Royal Blue (P)" reads Royal Blue, Polycotton, P; an empty line reads
// "not coloured".
inline QRegularExpression expectedRow(const QString& area, const QString& line)
{
    QString pattern = QStringLiteral("^\\s*") + QRegularExpression::escape(area) + QStringLiteral("\\s{2,}");
    const QRegularExpressionMatch parts = QRegularExpression(QStringLiteral("^(.+) \\((.?)\\)$")).match(line);
    if (line.isEmpty()) {
        pattern += QStringLiteral("not coloured\\s*$");
    } else if (parts.hasMatch()) {
        QString fabric;
        for (const cat::Fabric& f : cat::kFabrics)
            if (parts.captured(2) == QChar::fromLatin1(f.letter))
                fabric = QString::fromLatin1(f.name.data(), static_cast<qsizetype>(f.name.size()));
        pattern += QRegularExpression::escape(parts.captured(1)) + QStringLiteral("\\s{2,}") +
                   QRegularExpression::escape(fabric) + QStringLiteral("\\s{2,}") +
                   QRegularExpression::escape(parts.captured(2)) + QStringLiteral("\\s*$");
    } else {
        pattern = QStringLiteral("<a colour-list line the test cannot read: %1>").arg(line);
    }
    return QRegularExpression(pattern);
}

// Checks that a sheet's text holds, in the order of the area list (Brisa:
// under "Front view", then "Back view"), one row per area saying what the
// colour list's `lines` of model m say, one line per slot.
inline void expectRowsLikeTheColourList(const QString& text, int m, const QStringList& lines)
{
    ASSERT_EQ(lines.size(), cat::slotCount(m));
    const QStringList textLines = text.split(QLatin1Char('\n'));
    const auto front = static_cast<int>(cat::kModels[m].areas.size());
    qsizetype at = 0;
    for (int s = 0; s < cat::slotCount(m); ++s) {
        if (m == cat::kBrisa && (s == 0 || s == front)) {
            const QString heading = s == 0 ? QStringLiteral("Front view") : QStringLiteral("Back view");
            while (at < textLines.size() && textLines[at].trimmed() != heading)
                ++at;
            ASSERT_LT(at, textLines.size()) << heading.toStdString();
        }
        const auto i = static_cast<std::size_t>(s);
        const cat::AreaDefault& area = s < front
                                           ? cat::kModels[m].areas[i]
                                           : cat::kModels[m].backAreas[i - static_cast<std::size_t>(front)];
        const QRegularExpression row = expectedRow(QString::fromLatin1(area.name.data()), lines[s]);
        while (at < textLines.size() && !row.match(textLines[at]).hasMatch())
            ++at;
        ASSERT_LT(at, textLines.size())
            << "slot " << s << ": no row like " << row.pattern().toStdString() << " in order in\n"
            << text.toStdString();
        ++at;
    }
}
