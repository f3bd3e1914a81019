#include "toolkit/names.h"

#include <QWidget>

namespace tk {

void nameControl(QObject* control, const QString& name, int index, const QString& accessibleName)
{
    if (index < 0) {
        nameControl(control, name, accessibleName);
        return;
    }
    nameControl(control, name + QString::number(index), accessibleName);
}

void nameControl(QObject* control, const QString& name, const QString& accessibleName)
{
    if (control == nullptr)
        return;
    control->setObjectName(name);
    if (auto* widget = qobject_cast<QWidget*>(control))
        widget->setAccessibleName(accessibleName);
}

} // namespace tk
