#include "toolkit/textbox.h"

#include "toolkit/names.h"

#include <QPlainTextEdit>

namespace tk {

TextBox::TextBox(const QString& name, int index, const QString& accessibleName, QWidget* parent)
    : QFrame(parent)
{
    nameControl(this, name, index, accessibleName);
}

void TextBox::setText(const QString& text)
{
    m_text = text;
    if (m_editor != nullptr)
        m_editor->setPlainText(text);
}

QPlainTextEdit* TextBox::editor()
{
    if (m_editor == nullptr) {
        m_editor = new QPlainTextEdit(this);
        m_editor->setObjectName(objectName() + QStringLiteral("Editor"));
        m_editor->setAccessibleName(accessibleName());
        m_editor->setReadOnly(true);
        m_editor->setGeometry(rect());
        m_editor->setPlainText(m_text);
        m_editor->show();
    }
    return m_editor;
}

void TextBox::showEvent(QShowEvent* event)
{
    editor();
    QFrame::showEvent(event);
}

void TextBox::resizeEvent(QResizeEvent* event)
{
    if (m_editor != nullptr)
        m_editor->setGeometry(rect());
    QFrame::resizeEvent(event);
}

} // namespace tk
