#include "toolkit/listbox.h"

#include "toolkit/names.h"
#include "toolkit/zoom.h"

#include <QAccessible>
#include <QApplication>
#include <QFocusEvent>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <memory>

namespace tk {

namespace {

// At a fractional scale factor (1.25, 1.5, 1.75) the viewport, rounded out
// to whole device pixels, paints over a line of the list's frame (which one
// depends on where the list lies). A strip on top of the viewport along each
// edge paints the frame there once more; at whole factors it paints nothing.
class FrameEdge final : public QWidget {
public:
    explicit FrameEdge(ListBox* list)
        : QWidget(list)
        , m_list(list)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override
    {
        const qreal ratio = devicePixelRatioF();
        if (ratio == std::floor(ratio))
            return;
        QPainter painter(this);
        painter.translate(-QPointF(pos()));
        m_list->paintFrame(painter);
    }

private:
    ListBox* m_list;
};

// The user moved the focus with the keyboard: Tab, Backtab or a shortcut.
bool byKeyboard(Qt::FocusReason reason)
{
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
           reason == Qt::ShortcutFocusReason;
}

// Paints an entry exactly as the styled delegate with Qt's common item
// painting does (the Fusion and Windows styles), but lays its text out once
// per text and font and keeps that layout: the common painting lays the text
// out three times on every paint, which made most of a palette click's cost.
// The style still paints the selection and the focus frame. Entries this
// does not cover (icons, check boxes, wrapped, cut or right-to-left text,
// other styles) are left to the styled delegate.
class EntryDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QWidget* widget = opt.widget;
        QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
        const QTextLayout* layout = commonCase(opt, style) ? lineLayout(opt) : nullptr;
        // The text's rectangle as the style lays it out: as wide as the
        // text with a margin each side, centred in the entry's height.
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
        const qreal natural = layout != nullptr ? layout->lineAt(0).naturalTextWidth() : 0;
        const QSize textSize(static_cast<int>(std::ceil(natural)) + 2 * margin,
                             layout != nullptr ? static_cast<int>(std::ceil(layout->lineAt(0).height())) : 0);
        if (layout == nullptr || textSize.width() > opt.rect.width()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        const bool showDecorationSelected = opt.showDecorationSelected;
        const QRect display = showDecorationSelected
                                  ? opt.rect
                                  : QStyle::alignedRect(opt.direction, opt.displayAlignment,
                                                        textSize.boundedTo(opt.rect.size()), opt.rect);

        painter->save();
        // Respects a clip already set, as the style does.
        painter->setClipRegion(painter->hasClipping() ? (painter->clipRegion() & opt.rect)
                                                      : QRegion(opt.rect));
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, widget);

        QPalette::ColorGroup group =
            (opt.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
        if (group == QPalette::Normal && !(opt.state & QStyle::State_Active))
            group = QPalette::Inactive;
        painter->setPen(opt.palette.color(
            group, (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text));
        const QRect textRect = display.adjusted(margin, 0, -margin, 0);
        const int lineHeight = static_cast<int>(std::ceil(layout->boundingRect().height()));
        const QRect lines = QStyle::alignedRect(Qt::LayoutDirectionAuto, opt.displayAlignment,
                                                QSize(textRect.width(), lineHeight), textRect);
        layout->draw(painter, QPointF(textRect.x(), lines.top()));

        if (opt.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(opt);
            focus.rect = display;
            focus.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
            const QPalette::ColorGroup focusGroup =
                (opt.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
            focus.backgroundColor = opt.palette.color(
                focusGroup, (opt.state & QStyle::State_Selected) ? QPalette::Highlight : QPalette::Window);
            style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
        }
        painter->restore();
    }

private:
    // What the common item painting draws as one left-aligned line of plain
    // text in a style that uses it.
    static bool commonCase(const QStyleOptionViewItem& opt, const QStyle* style)
    {
        if (style->inherits("QStyleSheetStyle") || qobject_cast<const QProxyStyle*>(style) != nullptr)
            return false;
        const QString name = style->name();
        if (name.compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0 &&
            name.compare(QLatin1String("windows"), Qt::CaseInsensitive) != 0)
            return false;
        const QStyleOptionViewItem::ViewItemFeatures ignored =
            QStyleOptionViewItem::Alternate | QStyleOptionViewItem::HasDisplay;
        return (opt.features & ~ignored) == QStyleOptionViewItem::None &&
               (opt.features & QStyleOptionViewItem::HasDisplay) && opt.direction == Qt::LeftToRight &&
               opt.decorationPosition == QStyleOptionViewItem::Left &&
               (opt.displayAlignment & Qt::AlignHorizontal_Mask) == Qt::AlignLeft &&
               !(opt.state & QStyle::State_Editing) && opt.backgroundBrush.style() == Qt::NoBrush &&
               !opt.text.contains(QLatin1Char('\n')) && !opt.text.contains(QChar::LineSeparator);
    }

    // The text laid out as one line in the entry's font, kept by its text
    // until the font changes: a list shows few texts again and again (the
    // colour list's lines come from the palettes' names), so a line rewritten
    // to a text it showed before is not laid out again.
    const QTextLayout* lineLayout(const QStyleOptionViewItem& opt) const
    {
        if (opt.font != m_font) {
            m_layouts.clear();
            m_font = opt.font;
        }
        if (const auto kept = m_layouts.constFind(opt.text); kept != m_layouts.cend())
            return kept->get();
        if (m_layouts.size() >= kMostKept)
            m_layouts.clear();
        auto layout = std::make_shared<QTextLayout>(opt.text, opt.font);
        QTextOption textOption;
        textOption.setWrapMode(QTextOption::ManualWrap);
        textOption.setTextDirection(opt.direction);
        textOption.setAlignment(QStyle::visualAlignment(opt.direction, opt.displayAlignment));
        layout->setTextOption(textOption);
        layout->setCacheEnabled(true);
        layout->beginLayout();
        QTextLine first = layout->createLine();
        if (first.isValid()) {
            // Left-aligned, a line's width does not move its text.
            first.setLineWidth(kUnbounded);
            first.setPosition(QPointF(0, 0));
        }
        layout->endLayout();
        if (layout->lineCount() != 1)
            layout.reset();
        return m_layouts.insert(opt.text, std::move(layout))->get();
    }

    static constexpr qreal kUnbounded = 1e6;
    static constexpr qsizetype kMostKept = 512;

    mutable QFont m_font;
    mutable QHash<QString, std::shared_ptr<QTextLayout>> m_layouts;
};

} // namespace

ListBox::ListBox(const QString& name, int index, const QString& accessibleName, QWidget* parent)
    : QListWidget(parent)
    , m_index(index)
    , m_frameEdges{new FrameEdge(this), new FrameEdge(this), new FrameEdge(this), new FrameEdge(this)}
{
    nameControl(this, name, index, accessibleName);
    setItemDelegate(new EntryDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    // A click moves the current row before it changes the selection, and
    // adding the first entry moves the current row without selecting it, so
    // both signals lead to one check of the selection itself.
    connect(this, &QListWidget::currentRowChanged, this, &ListBox::onCurrentRowChanged);
    connect(this, &QListWidget::itemSelectionChanged, this, [this] { onCurrentRowChanged(currentRow()); });
}

void ListBox::onCurrentRowChanged(int /*row*/)
{
    const int now = selectedIndex();
    if (now == m_reported)
        return;
    m_reported = now;
    if (!m_quiet && now >= 0)
        emit clicked(m_index);
}

void ListBox::clearEntries()
{
    m_quiet = true;
    clear();
    m_reported = -1;
    m_quiet = false;
}

QSize ListBox::entrySize(const QString& text) const
{
    if (m_entryHeight <= 0)
        return {};
    // The view stretches entries to its width; the text width only feeds the
    // horizontal scroll range.
    auto advance = m_advances.constFind(text);
    if (advance == m_advances.cend())
        advance = m_advances.insert(text, fontMetrics().horizontalAdvance(text));
    return {*advance + 2 * frameWidth(), zoomed(m_entryHeight, m_zoom)};
}

void ListBox::addEntry(const QString& text)
{
    m_quiet = true;
    auto* item = new QListWidgetItem(text);
    item->setSizeHint(entrySize(text));
    addItem(item);
    m_quiet = false;
}

void ListBox::setEntries(const QStringList& texts)
{
    // A list with a selection loses it when refilled; so does this one.
    if (texts.size() != count() || selectedIndex() >= 0) {
        clearEntries();
        for (const QString& text : texts)
            addEntry(text);
        return;
    }
    for (int row = 0; row < count(); ++row) {
        if (!rewriteEntry(row, texts[row])) {
            m_quiet = true;
            item(row)->setText(texts[row]);
            item(row)->setSizeHint(entrySize(texts[row]));
            m_quiet = false;
        }
    }
    // Refilling leaves the list scrolled to its start.
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
}

// The view answers any change of an entry by laying every entry out again and
// repainting the whole list. With uniform entry sizes the layout follows the
// last entry's size alone, so another entry's text is rewritten unseen by the
// view, and only its rectangle is repainted and reported to screen readers.
// Returns false where the view must see the change (nothing was done then).
bool ListBox::rewriteEntry(int row, const QString& text)
{
    QListWidgetItem* it = item(row);
    if (it->text() == text)
        return true;
    if (!uniformItemSizes() || row == count() - 1)
        return false;
    {
        const QSignalBlocker unseen(model());
        it->setText(text);
        it->setSizeHint(entrySize(text));
    }
    viewport()->update(visualItemRect(it));
    if (QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent changed(this, QAccessibleTableModelChangeEvent::DataChanged);
        changed.setFirstRow(row);
        changed.setLastRow(row);
        changed.setFirstColumn(0);
        changed.setLastColumn(0);
        QAccessible::updateAccessibility(&changed);
    }
    return true;
}

QString ListBox::entry(int row) const
{
    const QListWidgetItem* it = item(row);
    return it != nullptr ? it->text() : QString();
}

int ListBox::selectedIndex() const
{
    const QModelIndexList rows = selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

QString ListBox::selectedText() const
{
    return entry(selectedIndex());
}

void ListBox::selectByText(const QString& text)
{
    for (int row = 0; row < count(); ++row) {
        if (item(row)->text() == text) {
            selectRow(row);
            return;
        }
    }
}

void ListBox::selectRow(int row)
{
    if (row < 0 || row >= count() || row == selectedIndex())
        return;
    setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    scrollToItem(item(row));
}

void ListBox::setEntryHeight(int pixels)
{
    m_entryHeight = std::max(pixels, 0);
    setUniformItemSizes(m_entryHeight > 0);
    setSpacing(0);
    for (int row = 0; row < count(); ++row)
        item(row)->setSizeHint(entrySize(item(row)->text()));
}

void ListBox::setZoom(int percent)
{
    if (percent <= 0 || percent == m_zoom)
        return;
    m_zoom = percent;
    m_advances.clear(); // the font changes with the zoom
    setEntryHeight(m_entryHeight);
}

QItemSelectionModel::SelectionFlags ListBox::selectionCommand(const QModelIndex& index,
                                                              const QEvent* event) const
{
    const QItemSelectionModel::SelectionFlags flags = QListWidget::selectionCommand(index, event);
    if (selectionMode() == QAbstractItemView::NoSelection)
        return flags;
    if (!index.isValid())
        return QItemSelectionModel::NoUpdate;
    if (flags & (QItemSelectionModel::Toggle | QItemSelectionModel::Deselect))
        return QItemSelectionModel::ClearAndSelect;
    return flags;
}

bool ListBox::event(QEvent* event)
{
    // The scroll area ignores moves on its frame, which would hand them to the
    // parent; here they are the list's own.
    if (event->type() == QEvent::MouseMove) {
        emit pointerMoved(m_index);
        event->accept();
        return true;
    }
    return QListWidget::event(event);
}

void ListBox::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        m_advances.clear();
    QListWidget::changeEvent(event);
}

void ListBox::mouseMoveEvent(QMouseEvent* event)
{
    emit pointerMoved(m_index);
    QListWidget::mouseMoveEvent(event);
}

void ListBox::paintFrame(QPainter& painter)
{
    drawFrame(&painter);
}

void ListBox::resizeEvent(QResizeEvent* event)
{
    QListWidget::resizeEvent(event);
    placeFrameEdges();
}

void ListBox::placeFrameEdges()
{
    // The strips lie over the entries' ends: shown, every entry repainted
    // repaints them and the frame beneath. They paint nothing at a whole
    // scale factor, so there they are hidden.
    m_frameEdgesRatio = devicePixelRatioF();
    const bool needed = m_frameEdgesRatio != std::floor(m_frameEdgesRatio);
    const int edge = frameWidth() + 1;
    m_frameEdges[0]->setGeometry(0, 0, width(), edge);
    m_frameEdges[1]->setGeometry(0, height() - edge, width(), edge);
    m_frameEdges[2]->setGeometry(0, 0, edge, height());
    m_frameEdges[3]->setGeometry(width() - edge, 0, edge, height());
    for (QWidget* strip : m_frameEdges) {
        strip->setVisible(needed);
        strip->raise();
    }
}

void ListBox::focusInEvent(QFocusEvent* event)
{
    QListWidget::focusInEvent(event);
    // Focus given back (a page shown again, the window activated) keeps the
    // look the list had.
    if (byKeyboard(event->reason()))
        m_keyboardCue = true;
    else if (event->reason() == Qt::MouseFocusReason)
        m_keyboardCue = false;
    viewport()->update();
}

void ListBox::focusOutEvent(QFocusEvent* event)
{
    QListWidget::focusOutEvent(event);
    if (isVisible() && (byKeyboard(event->reason()) || event->reason() == Qt::MouseFocusReason))
        m_keyboardCue = false;
    viewport()->update();
}

void ListBox::mousePressEvent(QMouseEvent* event)
{
    if (m_keyboardCue) {
        m_keyboardCue = false;
        viewport()->update();
    }
    QListWidget::mousePressEvent(event);
}

void ListBox::keyPressEvent(QKeyEvent* event)
{
    if (!m_keyboardCue && hasFocus()) {
        m_keyboardCue = true;
        viewport()->update();
    }
    QListWidget::keyPressEvent(event);
}

void ListBox::paintEvent(QPaintEvent* event)
{
    // A new screen or scale factor repaints the whole window.
    if (devicePixelRatioF() != m_frameEdgesRatio)
        placeFrameEdges();
    QListWidget::paintEvent(event);
    if (!showsFocus())
        return;
    // Two pixels inside the frame, in the colour the palette rings its
    // focus cell with.
    QPainter painter(viewport());
    const QRect inside = viewport()->rect();
    const QColor ring = palette().color(QPalette::Highlight);
    painter.fillRect(QRect(inside.left(), inside.top(), inside.width(), 2), ring);
    painter.fillRect(QRect(inside.left(), inside.bottom() - 1, inside.width(), 2), ring);
    painter.fillRect(QRect(inside.left(), inside.top(), 2, inside.height()), ring);
    painter.fillRect(QRect(inside.right() - 1, inside.top(), 2, inside.height()), ring);
}

} // namespace tk
