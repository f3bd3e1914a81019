#include "toolkit/tabstrip.h"

#include "toolkit/names.h"

#include <QStringList>

namespace tk {

TabStrip::TabStrip(const QString& name, const QString& accessibleName, QWidget* parent)
    : QTabWidget(parent)
{
    nameControl(this, name, accessibleName);
    connect(this, &QTabWidget::currentChanged, this, [this](int now) {
        const int old = m_current;
        m_current = now;
        if (!m_building && old != now)
            emit switched(old, now);
    });
}

void TabStrip::setCaptions(const QString& captions)
{
    m_building = true;
    while (count() > 0) {
        QWidget* old = widget(0);
        removeTab(0);
        delete old;
    }
    const QStringList parts = captions.isEmpty() ? QStringList() : captions.split(QLatin1Char('|'));
    for (int tab = 0; tab < parts.size(); ++tab) {
        auto* page = new QWidget;
        nameControl(page, QStringLiteral("page"), tab, parts[tab]);
        addTab(page, parts[tab]);
    }
    m_current = currentIndex();
    m_building = false;
}

QWidget* TabStrip::page(int tab) const
{
    return widget(tab);
}

} // namespace tk
