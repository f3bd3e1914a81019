#include "toolkit/drawingframe.h"

#include <QChildEvent>
#include <QPaintEvent>
#include <QPainter>

namespace tk {

DrawingFrame::DrawingFrame(QWidget* parent)
    : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    m_edge = new QWidget(this);
    m_edge->setObjectName(QStringLiteral("frameEdge"));
    m_edge->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_edge->setAttribute(Qt::WA_NoSystemBackground);
    m_edge->installEventFilter(this);
}

void DrawingFrame::setAppearance(int appearance)
{
    setFrameShadow(appearance != 0 ? QFrame::Sunken : QFrame::Plain);
    m_edge->update();
}

bool DrawingFrame::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::ChildAdded:
        // A drawing added later must not cover the border.
        if (m_edge != nullptr && static_cast<QChildEvent*>(event)->child() != m_edge)
            m_edge->raise();
        break;
    case QEvent::Resize:
        if (m_edge != nullptr)
            m_edge->setGeometry(rect());
        break;
    default: break;
    }
    return QFrame::event(event);
}

bool DrawingFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edge && event->type() == QEvent::Paint) {
        // A repaint inside the border (a drawing's area) needs no border.
        const QRegion border = QRegion(rect()).subtracted(QRegion(contentsRect()));
        if (!static_cast<QPaintEvent*>(event)->region().intersects(border))
            return true;
        QPainter painter(m_edge);
        drawFrame(&painter);
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace tk
