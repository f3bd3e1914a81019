#pragma once

#include "toolkit/picturesurface.h"

#include <QStringList>

namespace tk {

// A colour palette: a picture surface whose cells (the palette grid: 7
// columns of 14 x 14 swatches at a pitch of 16) can be reached without a
// mouse. It takes the keyboard focus; the arrow keys, Home and End move a
// focus cell, drawn as a ring in the gap around the swatch so that it never
// hides the selection marker drawn on the swatch itself; Enter or Space
// applies the focus cell. The ring and the cell's name appear only while the
// keyboard is in use: when the focus arrives by Tab, Backtab or a shortcut, or
// a key moves or applies the cell; a mouse press hides the ring, and focus
// given back (a page shown again, the window activated, a popup closed)
// leaves it as it was.
//
// The palette reports cells, not positions: the pointer over a cell and the
// keyboard's focus cell are both "pointed at", a left click on a cell and
// Enter or Space on the focus cell both "applied". Pointer positions become
// cells by the palette's click ranges (cat::paletteHitAt).
//
// Screen readers see the palette as a list whose items are the cells shown,
// named by their colour names.
class PaletteSurface final : public PictureSurface {
    Q_OBJECT

public:
    PaletteSurface(const QString& name, int index, const QString& accessibleName, QWidget* parent);

    // The names of the cells shown, in cell order; their count bounds the
    // focus cell (none shown: no focus cell).
    void setCellNames(const QStringList& names);
    const QStringList& cellNames() const { return m_names; }

    int focusCell() const { return m_names.isEmpty() ? -1 : m_focus; }
    // Moves the focus cell (clamped to the cells shown) and reports it.
    void moveFocusCell(int cell);
    // Applies a cell as Enter or Space would.
    void activateCell(int cell);

    // A cell's swatch in widget coordinates.
    QRect cellRect(int cell) const;

signals:
    // A column or row of -1: the pointer is between cells, and that
    // coordinate keeps the cell it had.
    void cellPointed(int index, int column, int row);
    void cellApplied(int index, int column, int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void reportFocusCell();
    bool showsRing() const { return hasFocus() && m_keyboardCue && !m_names.isEmpty(); }

    QStringList m_names;
    int m_focus = 0;
    // The keyboard brought the focus or moved the cell: the ring shows while
    // the palette has the focus.
    bool m_keyboardCue = false;
};

} // namespace tk
