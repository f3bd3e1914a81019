#include "toolkit/groupframe.h"

#include <QPainter>
#include <QStyle>
#include <qdrawutil.h>

namespace tk {

GroupFrame::GroupFrame(const QString& caption, QWidget* parent)
    : QGroupBox(caption, parent)
{
}

int GroupFrame::borderTop() const
{
    return fontMetrics().height() / 2;
}

void GroupFrame::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const int inset = metrics.horizontalAdvance(QLatin1Char('x'));
    const QString caption = metrics.elidedText(title(), Qt::ElideRight, width() - 3 * inset);
    const QRect text(inset, 0, metrics.horizontalAdvance(caption) + inset / 2 * 2, metrics.height());

    // An etched line (styles' own group frames put it below the caption),
    // interrupted by the caption; nothing is filled, so the frame shows
    // whatever its parent paints behind it.
    if (!caption.isEmpty())
        painter.setClipRegion(QRegion(rect()) - QRegion(text));
    qDrawShadeRect(&painter, rect().adjusted(0, borderTop(), 0, 0), palette(), true, 1, 0);
    if (caption.isEmpty())
        return;
    painter.setClipping(false);
    style()->drawItemText(&painter, text, Qt::AlignCenter | Qt::TextShowMnemonic, palette(), isEnabled(),
                          caption, QPalette::WindowText);
}

} // namespace tk
