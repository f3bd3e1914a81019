#pragma once

#include <QTabWidget>

namespace tk {

// A tab strip given its captions as one "|"-separated string; one page per
// caption. `switched` carries the old and the new tab.
class TabStrip : public QTabWidget {
    Q_OBJECT

public:
    TabStrip(const QString& name, const QString& accessibleName, QWidget* parent);

    // Creates one empty page per caption (replacing any earlier pages and
    // what was on them) without raising `switched`; pages via page().
    void setCaptions(const QString& captions);
    QWidget* page(int tab) const; // nullptr for no such tab
    int currentTab() const { return currentIndex(); }
    void setCurrentTab(int tab) { setCurrentIndex(tab); }

signals:
    void switched(int oldTab, int newTab);

private:
    int m_current = -1;
    bool m_building = false;
};

} // namespace tk
