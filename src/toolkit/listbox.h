#pragma once

#include <QHash>
#include <QListWidget>
#include <QPainter>
#include <QString>
#include <QStringList>

#include <array>

namespace tk {

// A list box whose selection event (`clicked`) runs for a user's click and,
// at once and nested inside the caller, when code selects an entry by its text
// and that changes the selection. Clearing the list raises no event.
class ListBox : public QListWidget {
    Q_OBJECT

public:
    ListBox(const QString& name, int index, const QString& accessibleName, QWidget* parent);

    int index() const { return m_index; }

    void clearEntries();
    void addEntry(const QString& text);
    // Makes the list hold exactly `texts`, as clearing it and adding them
    // would, scrolled to its start. When only texts change, the entries
    // that keep theirs are not touched and only the changed ones repainted.
    void setEntries(const QStringList& texts);
    int entryCount() const { return count(); }
    QString entry(int row) const;
    int selectedIndex() const;    // -1 when nothing is selected
    QString selectedText() const; // "" when nothing is selected

    // The first entry exactly equal to text becomes selected; the selection
    // event runs only when that changes the selection. No equal entry leaves
    // the selection as it was.
    void selectByText(const QString& text);
    // The same for the entry at `row`; a row the list does not have changes nothing.
    void selectRow(int row);

    // Uniform entry height in pixels, so that entry k lines up with slot k of
    // a colour key beside the list.
    void setEntryHeight(int pixels);
    // The zoom in percent: entries are the entry height enlarged, as the keys are.
    void setZoom(int percent);

    // Whether the list shows that it has the keyboard focus: a ring in the
    // style's highlight colour inside its frame, once the user reached it
    // with the keyboard (Tab, a shortcut) or used a key in it, until a click.
    bool showsFocus() const { return hasFocus() && m_keyboardCue; }
    // Paints the list's frame with painter, in the list's coordinates.
    void paintFrame(QPainter& painter);

signals:
    // An entry chosen by the user (a click, or the keyboard); selectByText
    // reports a change of selection as well.
    void clicked(int index);
    // The pointer moved over the list or its frame.
    void pointerMoved(int index);

protected:
    // Moves over the entries and over the list's own frame edge both count as
    // moves over the list: the frame must not pass them on to the container.
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Once an entry is chosen one stays chosen: a control-click or a click
    // below the entries does not leave the list without a selection.
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;

private:
    void onCurrentRowChanged(int row);
    QSize entrySize(const QString& text) const;
    bool rewriteEntry(int row, const QString& text);
    void placeFrameEdges();

    int m_index;
    std::array<QWidget*, 4> m_frameEdges; // top, bottom, left, right
    qreal m_frameEdgesRatio = 0;          // the scale factor they were placed for
    bool m_keyboardCue = false;
    int m_entryHeight = 0; // at zoom 100
    int m_zoom = 100;
    bool m_quiet = false;
    int m_reported = -1; // the selection the last event (or quiet change) left
    // Text widths in the list's font: measuring shapes the text, and the
    // colour list measures the same few lines on every click.
    mutable QHash<QString, int> m_advances;
};

} // namespace tk
