#include "toolkit/statuspanel.h"

#include "toolkit/names.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

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
