#pragma once

#include <QFrame>
#include <QString>

class QPlainTextEdit;

namespace tk {

// A read-only multi-line text box. The text is kept here and the editor that
// shows it is made when the box is first shown: the information panels start
// hidden on every page, and making sixteen editors up front would slow the
// start-up for text most users never open.
class TextBox final : public QFrame {
    Q_OBJECT

public:
    TextBox(const QString& name, int index, const QString& accessibleName, QWidget* parent);

    void setText(const QString& text);
    QString text() const { return m_text; }

    // The editor, made now if it was not yet.
    QPlainTextEdit* editor();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QString m_text;
    QPlainTextEdit* m_editor = nullptr;
};

} // namespace tk
