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
    // The width the text may take inside the frame.
    int textWidth() const { return textRect().width(); }

    // The font in which every one of `texts` shows whole in `width`: `base`
    // when they fit, else its condensed face, else that a pixel smaller at a
    // time (down to 8 pixels).
    static QFont fittingFont(const QFont& base, const QStringList& texts, int width);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QRect textRect() const;
};

} // namespace tk
