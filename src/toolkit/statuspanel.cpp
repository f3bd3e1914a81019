#include "toolkit/statuspanel.h"

#include "toolkit/names.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace tk {

StatusPanel::StatusPanel(const QString& name, int index, const QString& accessibleName, QWidget* parent)
    : QLabel(parent)
{
    nameControl(this, name, index, accessibleName);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
}

QString StatusPanel::fitted(const QString& text, const QFontMetrics& metrics, int width)
{
    if (metrics.horizontalAdvance(text) <= width)
        return text;
    const QString dots = QStringLiteral("...");
    // Cut at the last word boundary that leaves room for the dots; a single
    // word too long for the panel is cut where it must be.
    for (qsizetype end = text.size(); end > 0; --end) {
        if (text.at(end - 1).isSpace())
            continue;
        if (end < text.size() && !text.at(end).isSpace())
            continue;
        QString candidate = text.left(end) + dots;
        if (metrics.horizontalAdvance(candidate) <= width)
            return candidate;
    }
    for (qsizetype end = text.size(); end > 0; --end) {
        QString candidate = text.left(end) + dots;
        if (metrics.horizontalAdvance(candidate) <= width)
            return candidate;
    }
    return dots;
}

QFont StatusPanel::fittingFont(const QFont& base, const QStringList& texts, int width)
{
    const auto fits = [&texts, width](const QFont& font) {
        const QFontMetricsF metrics(font);
        // A pixel to spare: glyphs drawn at another scale factor come out a
        // fraction wider or narrower than measured here.
        return std::all_of(texts.begin(), texts.end(), [&metrics, width](const QString& text) {
            return std::ceil(metrics.horizontalAdvance(text)) + 1 <= width;
        });
    };
    QFont font = base;
    if (fits(font))
        return font;
    font.setStretch(QFont::SemiCondensed); // DejaVu Sans Condensed where the face is DejaVu Sans
    if (font.pixelSize() <= 0)
        font.setPixelSize(QFontInfo(base).pixelSize());
    while (!fits(font) && font.pixelSize() > 8)
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

QRect StatusPanel::textRect() const
{
    // The same inset a framed QLabel gives its text.
    const int inset = fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2;
    return contentsRect().adjusted(inset + margin(), margin(), -inset - margin(), -margin());
}

QString StatusPanel::shownText() const
{
    return fitted(text(), fontMetrics(), textRect().width());
}

bool StatusPanel::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (shownText() != text())
            QToolTip::showText(help->globalPos(), text(), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QLabel::event(event);
}

void StatusPanel::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event); // the sunken frame
    QPainter painter(this);
    style()->drawItemText(&painter, textRect(), Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(),
                          shownText(), foregroundRole());
}

} // namespace tk
