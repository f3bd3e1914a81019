#pragma once

#include <QString>

#include <string_view>

class QWidget;
class QObject;

namespace tk {

// Gives a control its object name (its name, plus its index when it belongs to
// a set: "suitlist8", "ol1Pb3") and a readable accessible name, so tests and
// screen readers find it. A negative index means the control is not in a set.
// Only widgets carry an accessible name; other objects get the object name.
void nameControl(QObject* control, const QString& name, int index, const QString& accessibleName);
void nameControl(QObject* control, const QString& name, const QString& accessibleName);

// The catalogue's texts as Qt strings.
inline QString qs(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Twips of the design layout to pixels (15 twips a pixel), rounded.
constexpr int px(int twips)
{
    return (twips * 2 + (twips >= 0 ? 15 : -15)) / 30;
}

} // namespace tk
