#pragma once

#include <QGroupBox>

namespace tk {

// A frame with a caption, drawn the classic way: the caption sits on the top
// border line at the left, so a control placed just below the caption stays
// clear of the border. Children are placed freely; the frame has no layout.
class GroupFrame final : public QGroupBox {
    Q_OBJECT

public:
    GroupFrame(const QString& caption, QWidget* parent);

    // Where the top border line runs, in the frame's own pixels.
    int borderTop() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace tk
