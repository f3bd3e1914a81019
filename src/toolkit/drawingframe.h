#pragma once

#include <QFrame>

namespace tk {

// The frame around a model drawing. A drawing may be as large as the frame
// itself, so the frame's border is painted once more on top of its children:
// the border stays unbroken whatever the size of the drawing inside, and the
// frame looks the same on every page. The part of a drawing under the border
// is hidden; the drawing's own pixels are untouched.
class DrawingFrame final : public QFrame {
    Q_OBJECT

public:
    explicit DrawingFrame(QWidget* parent);

    // 1 draws the border sunken (3-D), 0 flat; the geometry does not change.
    void setAppearance(int appearance);
    int appearance() const { return frameShadow() == QFrame::Sunken ? 1 : 0; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_edge = nullptr; // transparent to the mouse, always the topmost child
};

} // namespace tk
