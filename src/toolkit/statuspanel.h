#pragma once

#include <QLabel>

namespace tk {

// A status panel: a sunken label on one line. A text too long for the panel
// is shown cut at a word with "..." and the whole text becomes the panel's
// tool tip; text() is always the whole text.
class StatusPanel final : public QLabel {
    Q_OBJECT

public:
    StatusPanel(const QString& name, int index, const QString& accessibleName, QWidget* parent);

    // The text as shown in the given width of the panel's font.
    static QString fitted(const QString& text, const QFontMetrics& metrics, int width);
    QString shownText() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QRect textRect() const;
};

} // namespace tk
