// Keyboard-only use: on every page Tab goes through the lists, the palette
// and the panel buttons in that order, and Ctrl+Tab or Ctrl+PgDown (Ctrl+Shift+Tab,
// Ctrl+PgUp back) goes to the next model page.
#include "app/mainwindow.h"

#include "catalogue/catalogue.h"
#include "toolkit/listbox.h"
#include "toolkit/palettesurface.h"
#include "toolkit/tabstrip.h"
#include "toolkit/textbox.h"

#include <QEvent>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>

#include <vector>

namespace app {

namespace {

// While an information panel covers the selection controls they are out of
// the Tab order: a user cannot see where the focus would be.
class CoveredWhileShown final : public QObject {
public:
    CoveredWhileShown(QWidget* cover, std::vector<QWidget*> covered)
        : QObject(cover)
        , m_covered(std::move(covered))
    {
        for (QWidget* w : m_covered)
            m_policies.push_back(w->focusPolicy());
        cover->installEventFilter(this);
        apply(!cover->isHidden());
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Sent for show() and hide() even before the window is first shown.
        if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent)
            apply(event->type() == QEvent::ShowToParent);
        return QObject::eventFilter(watched, event);
    }

private:
    void apply(bool coverShown)
    {
        for (std::size_t i = 0; i < m_covered.size(); ++i) {
            m_covered[i]->setFocusPolicy(coverShown ? Qt::NoFocus : m_policies[i]);
            if (coverShown && m_covered[i]->hasFocus())
                m_covered[i]->clearFocus();
        }
    }

    std::vector<QWidget*> m_covered;
    std::vector<Qt::FocusPolicy> m_policies;
};

} // namespace

void MainWindow::setupKeyboard()
{
    for (int m = 0; m < cat::kModelCount; ++m) {
        const auto mi = static_cast<std::size_t>(m);
        const PagePanels& p = m_panels[mi];
        // The colour list is read, not chosen from, but a screen-reader user
        // must be able to reach it.
        m_controls.colourLists[mi]->setFocusPolicy(Qt::TabFocus);
        std::vector<QWidget*> selection;
        if (m == cat::kBrisa) {
            m_controls.colourLists[cat::kBrisaBack]->setFocusPolicy(Qt::TabFocus);
            selection = {m_controls.frontView,
                         m_controls.backView,
                         m_controls.areaLists[mi],
                         m_controls.colourLists[mi],
                         m_controls.areaLists[cat::kBrisaBack],
                         m_controls.colourLists[cat::kBrisaBack]};
        } else {
            selection = {m_controls.areaLists[mi], m_controls.colourLists[mi]};
        }
        selection.push_back(m_controls.fabricLists[mi]);
        selection.push_back(m_controls.palettes[mi]);

        std::vector<QWidget*> order = selection;
        order.insert(order.end(), {p.suitInfoText, p.orderInfoText, p.selectionButton, p.suitInfoButton,
                                   p.orderInfoButton});
        for (std::size_t i = 1; i < order.size(); ++i)
            setTabOrder(order[i - 1], order[i]);

        // The ordering panel lies inside the information panel, so covering
        // by either is covering by the information panel.
        new CoveredWhileShown(p.infoFrame, selection);
        new CoveredWhileShown(p.orderFrame, {p.suitInfoText});
    }

    auto step = [this](int by) {
        const int count = cat::kModelCount;
        m_controls.tabs->setCurrentTab((m_controls.tabs->currentTab() + by + count) % count);
    };
    auto* next = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown), this);
    next->setObjectName(QStringLiteral("nextPageKey"));
    connect(next, &QShortcut::activated, this, [step] { step(1); });
    auto* previous = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp), this);
    previous->setObjectName(QStringLiteral("previousPageKey"));
    connect(previous, &QShortcut::activated, this, [step] { step(-1); });
}

} // namespace app
