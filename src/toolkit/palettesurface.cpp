#include "toolkit/palettesurface.h"

#include "catalogue/palette_geometry.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include <algorithm>

#include <map>
#include <optional>

namespace tk {

namespace {

// One palette cell as a screen reader sees it: a list item named by its colour.
class PaletteCellAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    PaletteCellAccessible(PaletteSurface* palette, int cell)
        : m_palette(palette)
        , m_cell(cell)
    {
    }

    bool isValid() const override { return m_palette != nullptr && m_cell < m_palette->cellNames().size(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override
    {
        return m_palette != nullptr ? m_palette->window()->windowHandle() : nullptr;
    }
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>>
    relations(QAccessible::Relation /*match*/) const override
    {
        return {};
    }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override { return nullptr; }
    QAccessibleInterface* parent() const override
    {
        return m_palette != nullptr ? QAccessible::queryAccessibleInterface(m_palette) : nullptr;
    }
    QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface* /*child*/) const override { return -1; }

    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        if (t == QAccessible::Name)
            return m_palette->cellNames().at(m_cell);
        if (t == QAccessible::Description) {
            const cat::CellPos cell = cat::cellOf(m_cell);
            return QStringLiteral("Column %1, row %2").arg(cell.column + 1).arg(cell.row + 1);
        }
        return {};
    }
    void setText(QAccessible::Text /*t*/, const QString& /*text*/) override {}
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect r = m_palette->cellRect(m_cell);
        return {m_palette->mapToGlobal(r.topLeft()), r.size()};
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.focusable = true;
        s.selectable = true;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        s.invisible = !m_palette->isVisible();
        s.focused = m_palette->hasFocus() && m_palette->focusCell() == m_cell;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override
    {
        if (name == pressAction() && isValid())
            m_palette->activateCell(m_cell);
    }
    QStringList keyBindingsForAction(const QString& /*name*/) const override { return {}; }

private:
    QPointer<PaletteSurface> m_palette;
    int m_cell;
};

// The palette as a list of its cells.
class PaletteAccessible final : public QAccessibleWidget {
public:
    explicit PaletteAccessible(PaletteSurface* palette)
        : QAccessibleWidget(palette, QAccessible::List)
    {
    }
    ~PaletteAccessible() override
    {
        for (const auto& [cell, id] : m_cells)
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return static_cast<int>(palette()->cellNames().size()); }
    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        auto found = m_cells.find(index);
        if (found == m_cells.end()) {
            auto* cell = new PaletteCellAccessible(palette(), index);
            found = m_cells.emplace(index, QAccessible::registerAccessibleInterface(cell)).first;
        }
        return QAccessible::accessibleInterface(found->second);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (const auto& [cell, id] : m_cells)
            if (QAccessible::accessibleInterface(id) == child)
                return cell < childCount() ? cell : -1;
        return -1;
    }
    QAccessibleInterface* focusChild() const override
    {
        return palette()->hasFocus() ? child(palette()->focusCell()) : nullptr;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QPoint local = palette()->mapFromGlobal(QPoint(x, y));
        for (int cell = 0; cell < childCount(); ++cell)
            if (palette()->cellRect(cell).contains(local))
                return child(cell);
        return nullptr;
    }

private:
    PaletteSurface* palette() const { return static_cast<PaletteSurface*>(widget()); }

    mutable std::map<int, QAccessible::Id> m_cells;
};

QAccessibleInterface* paletteAccessibleFactory(const QString& /*className*/, QObject* object)
{
    if (auto* palette = qobject_cast<PaletteSurface*>(object))
        return new PaletteAccessible(palette);
    return nullptr;
}

} // namespace

PaletteSurface::PaletteSurface(const QString& name, int index, const QString& accessibleName, QWidget* parent)
    : PictureSurface(name, index, accessibleName, parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(paletteAccessibleFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setFocusPolicy(Qt::StrongFocus);
}

void PaletteSurface::setCellNames(const QStringList& names)
{
    m_names = names;
    m_focus = std::clamp(m_focus, 0, std::max(static_cast<int>(m_names.size()) - 1, 0));
    update();
}

namespace {

// A cell's swatch in layout pixels, border included.
QRect layoutCellRect(int cell, int border)
{
    const cat::CellPos pos = cat::cellOf(cell);
    return {border + cat::cellLeft(pos.column), border + cat::cellTop(pos.row), cat::kCellWidth,
            cat::kCellHeight};
}

} // namespace

QRect PaletteSurface::cellRect(int cell) const
{
    return toWidget(layoutCellRect(cell, border()));
}

void PaletteSurface::moveFocusCell(int cell)
{
    if (m_names.isEmpty())
        return;
    m_focus = std::clamp(cell, 0, static_cast<int>(m_names.size()) - 1);
    update();
    reportFocusCell();
}

void PaletteSurface::reportFocusCell()
{
    emit cellPointed(index(), m_focus % cat::kPaletteColumns, m_focus / cat::kPaletteColumns);
    if (hasFocus()) {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(m_focus);
        QAccessible::updateAccessibility(&event);
    }
}

void PaletteSurface::activateCell(int cell)
{
    if (cell < 0 || cell >= m_names.size())
        return;
    m_focus = cell;
    update();
    emit cellApplied(index(), cell % cat::kPaletteColumns, cell / cat::kPaletteColumns);
}

void PaletteSurface::keyPressEvent(QKeyEvent* event)
{
    const int count = static_cast<int>(m_names.size());
    if (count == 0 ||
        (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0) {
        PictureSurface::keyPressEvent(event);
        return;
    }
    const int column = m_focus % cat::kPaletteColumns;
    const int lastRow = (count - 1) / cat::kPaletteColumns;
    int next = m_focus;
    switch (event->key()) {
    case Qt::Key_Left: next = column > 0 ? m_focus - 1 : m_focus; break;
    case Qt::Key_Right: next = column < cat::kPaletteColumns - 1 ? m_focus + 1 : m_focus; break;
    case Qt::Key_Up: next = m_focus - cat::kPaletteColumns; break;
    // From the row above a short last row, Down goes to its last cell.
    case Qt::Key_Down:
        next = m_focus / cat::kPaletteColumns < lastRow ? m_focus + cat::kPaletteColumns : m_focus;
        break;
    case Qt::Key_Home: next = 0; break;
    case Qt::Key_End: next = count - 1; break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        m_keyboardCue = true;
        activateCell(m_focus);
        return;
    default: PictureSurface::keyPressEvent(event); return;
    }
    m_keyboardCue = true;
    update();
    if (next >= 0 && next != m_focus)
        moveFocusCell(next);
}

namespace {

// The user moved the focus with the keyboard: Tab, Backtab or a shortcut.
bool byKeyboard(Qt::FocusReason reason)
{
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
           reason == Qt::ShortcutFocusReason;
}

} // namespace

void PaletteSurface::focusInEvent(QFocusEvent* event)
{
    PictureSurface::focusInEvent(event);
    update();
    // Reached by the keyboard: ring and name the focus cell as hovering it
    // would. Focus given back (a page shown again, the window activated, a
    // popup closed) restores the look the palette had, and says nothing.
    if (byKeyboard(event->reason())) {
        m_keyboardCue = true;
        if (!m_names.isEmpty())
            reportFocusCell();
    } else if (event->reason() == Qt::MouseFocusReason) {
        m_keyboardCue = false;
    }
}

void PaletteSurface::focusOutEvent(QFocusEvent* event)
{
    PictureSurface::focusOutEvent(event);
    // Left for another control the user chose; a focus taken away for a
    // while (another page, window or popup) comes back as it went. Hiding a
    // page passes its focus on as if by Tab, so that counts only while the
    // palette is still shown.
    if (isVisible() && (byKeyboard(event->reason()) || event->reason() == Qt::MouseFocusReason))
        m_keyboardCue = false;
    update();
}

void PaletteSurface::mousePressEvent(QMouseEvent* event)
{
    // The pointer is in use: no ring until the keyboard is used again.
    if (showsRing())
        update();
    m_keyboardCue = false;
    PictureSurface::mousePressEvent(event);
}

namespace {

// The palette cell under a widget event's position, by the click ranges.
std::optional<cat::PaletteHit> hitOf(const PaletteSurface& palette, const QMouseEvent& event)
{
    const QPointF at = palette.toLayout(event.position()) - QPointF(palette.border(), palette.border());
    return cat::paletteHitAt(static_cast<float>(at.x()), static_cast<float>(at.y()));
}

} // namespace

void PaletteSurface::mouseMoveEvent(QMouseEvent* event)
{
    PictureSurface::mouseMoveEvent(event);
    if (const std::optional<cat::PaletteHit> hit = hitOf(*this, *event))
        emit cellPointed(index(), hit->column, hit->row);
}

void PaletteSurface::mouseReleaseEvent(QMouseEvent* event)
{
    const std::optional<cat::PaletteHit> hit = hitOf(*this, *event);
    // A clicked cell becomes the focus cell, so the keyboard goes on from there.
    if (hit && hit->column >= 0 && hit->row >= 0 && cat::cellIndex(hit->column, hit->row) < m_names.size()) {
        const int cell = cat::cellIndex(hit->column, hit->row);
        // Only a ring shown moves with it; the cell's marker is the
        // picture's own change.
        if (showsRing() && m_focus != cell)
            update();
        m_focus = cell;
    }
    PictureSurface::mouseReleaseEvent(event);
    if (hit && event->button() == Qt::LeftButton)
        emit cellApplied(index(), hit->column, hit->row);
}

void PaletteSurface::paintEvent(QPaintEvent* event)
{
    PictureSurface::paintEvent(event);
    if (!showsRing())
        return;
    // The ring fills the 2-pixel gap around the swatch, in the style's focus
    // colour; the marker lies on the swatch, so both stay visible together.
    QPainter painter(this);
    scaleToLayout(painter);
    const QRect swatch = layoutCellRect(m_focus, border());
    const QColor ring = palette().color(QPalette::Highlight);
    const QRect outer = swatch.adjusted(-2, -2, 2, 2);
    painter.fillRect(QRect(outer.left(), outer.top(), outer.width(), 2), ring);
    painter.fillRect(QRect(outer.left(), outer.bottom() - 1, outer.width(), 2), ring);
    painter.fillRect(QRect(outer.left(), outer.top(), 2, outer.height()), ring);
    painter.fillRect(QRect(outer.right() - 1, outer.top(), 2, outer.height()), ring);
}

} // namespace tk
