// A random user: the real main window, offscreen, driven by a seeded random
// sequence of user actions on all eight pages, with what a user could see
// checked after every single action. A failure names the seed and the action
// number; DESIGNER_UI_SEED and DESIGNER_UI_ACTIONS replay it exactly.
#include "app/mainwindow.h"
#include "catalogue/catalogue.h"
#include "toolkit/listbox.h"
#include "toolkit/names.h"
#include "toolkit/palettesurface.h"
#include "toolkit/picturesurface.h"
#include "toolkit/tabstrip.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Also under the sanitizers: about 20 s there on a loaded 2-core machine.
constexpr int kDefaultActions = 20000;

// What the random user does, and how often (relative weights).
enum class Action {
    SwitchTab,
    SwitchTabByKey,
    ClickArea,
    ClickFabric,
    ClickView,
    ClickPalette,
    PaletteKeys,
    ClickPanelButton,
    Hover,
    // The file commands join here once they exist: New, Open, Save and Save As
    // with scripted dialogs and answers (tk::MessageService and the file
    // dialog service), each with its own case in RandomUser::act().
};

struct Weighted {
    Action action;
    int weight;
};

constexpr Weighted kActions[] = {
    {Action::SwitchTab, 4},    {Action::SwitchTabByKey, 2},   {Action::ClickArea, 14},
    {Action::ClickFabric, 10}, {Action::ClickView, 3},        {Action::ClickPalette, 36},
    {Action::PaletteKeys, 8},  {Action::ClickPanelButton, 4}, {Action::Hover, 19},
};

std::uint64_t envNumber(const char* name, std::uint64_t fallback)
{
    const QByteArray value = qgetenv(name);
    if (value.isEmpty())
        return fallback;
    return std::strtoull(value.constData(), nullptr, 10);
}

class RandomUser {
public:
    RandomUser(app::MainWindow& window, std::uint64_t seed)
        : m_window(window)
        , m_random(seed)
    {
        for (const Weighted& w : kActions)
            m_weights.push_back(w.weight);
        m_pick = std::discrete_distribution<int>(m_weights.begin(), m_weights.end());
    }

    // Performs one action; returns what it did, for the failure message.
    std::string act()
    {
        const int page = c().tab1->currentTab();
        const auto pi = static_cast<std::size_t>(page);
        std::ostringstream did;
        switch (kActions[m_pick(m_random)].action) {
        case Action::SwitchTab: {
            const int tab = number(0, cat::kModelCount - 1);
            did << "click tab " << tab;
            QTabBar* bar = c().tab1->tabBar();
            click(bar, bar->tabRect(tab).center(), Qt::LeftButton);
            break;
        }
        case Action::SwitchTabByKey: {
            static constexpr Qt::Key keys[] = {Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_Tab,
                                               Qt::Key_Backtab};
            const Qt::Key key = keys[number(0, 3)];
            did << "ctrl+key " << key << " on page " << page;
            QWidget* target = QApplication::focusWidget();
            QTest::keyClick(target != nullptr ? target : &m_window, key, Qt::ControlModifier);
            break;
        }
        case Action::ClickArea: {
            tk::ListBox* list = visibleAreaList(page);
            if (list->entryCount() == 0)
                break;
            const int row = number(0, list->entryCount() - 1);
            did << "click area " << list->entry(row).toStdString() << " on page " << page;
            clickEntry(list, row);
            break;
        }
        case Action::ClickFabric: {
            tk::ListBox* list = c().matlist[pi];
            if (list->entryCount() == 0)
                break;
            const int row = number(0, list->entryCount() - 1);
            did << "click fabric " << list->entry(row).toStdString() << " on page " << page;
            clickEntry(list, row);
            break;
        }
        case Action::ClickView: {
            QRadioButton* option = number(0, 1) == 0 ? c().frontopt : c().backopt;
            did << "click " << option->objectName().toStdString() << " on page " << page;
            click(option, option->rect().center(), Qt::LeftButton);
            break;
        }
        case Action::ClickPalette: {
            tk::PictureSurface* palette = c().ol1Pb[pi];
            QPoint at;
            if (number(0, 9) < 6) { // a cell, empty cells included
                const cat::CellPos cell = cat::cellOf(number(0, 5 * cat::kPaletteColumns - 1));
                at = QPoint(cat::cellLeft(cell.column) + number(0, cat::kCellWidth),
                            cat::cellTop(cell.row) + number(0, cat::kCellHeight));
            } else { // anywhere: gaps, edges and a little beyond
                at = QPoint(number(-3, palette->width() + 2), number(-3, palette->height() + 2));
            }
            const Qt::MouseButton button = number(0, 9) == 0 ? Qt::RightButton : Qt::LeftButton;
            did << "click palette at " << at.x() << "," << at.y()
                << (button == Qt::LeftButton ? "" : " (right)") << " on page " << page;
            click(palette, at + QPoint(palette->border(), palette->border()), button);
            break;
        }
        case Action::PaletteKeys: {
            static constexpr Qt::Key keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up,     Qt::Key_Down,
                                               Qt::Key_Home, Qt::Key_End,   Qt::Key_Return, Qt::Key_Space};
            tk::PictureSurface* palette = c().ol1Pb[pi];
            if (!palette->isVisibleTo(&m_window) || covered(palette))
                break;
            palette->setFocus(Qt::TabFocusReason);
            const int presses = number(1, 4);
            did << "keys on palette of page " << page << ":";
            for (int k = 0; k < presses; ++k) {
                const Qt::Key key = keys[number(0, 7)];
                did << ' ' << key;
                QTest::keyClick(palette, key);
            }
            break;
        }
        case Action::ClickPanelButton: {
            const app::PagePanels& p = m_window.panels(page);
            QPushButton* buttons[] = {p.Command1, p.Command2, p.Command3};
            QPushButton* button = buttons[number(0, 2)];
            did << "click " << button->objectName().toStdString();
            click(button, button->rect().center(), Qt::LeftButton);
            break;
        }
        case Action::Hover: {
            const std::vector<QWidget*> hinted = hintedControls(page);
            QWidget* target =
                hinted[static_cast<std::size_t>(number(0, static_cast<int>(hinted.size()) - 1))];
            const QPoint at(number(0, std::max(target->width() - 1, 0)),
                            number(0, std::max(target->height() - 1, 0)));
            did << "move over " << target->objectName().toStdString() << " at " << at.x() << "," << at.y();
            move(target, at);
            break;
        }
        }
        return did.str();
    }

    // What a user could see that is wrong; empty when everything agrees.
    std::string check() const
    {
        std::ostringstream wrong;
        const int page = c().tab1->currentTab();
        const QString caption = tk::qs(cat::kAppTitle) + QStringLiteral(" [") +
                                QString::fromStdString(m_window.state()[page].fileName) + QStringLiteral("]");
        if (m_window.windowTitle() != caption)
            wrong << "caption \"" << m_window.windowTitle().toStdString() << "\" on page " << page << "\n";

        for (int i = 0; i <= cat::kBrisaBack; ++i) {
            const tk::ListBox* list = c().colordesc[static_cast<std::size_t>(i)];
            // A list never filled shows what a list of empty lines shows.
            if (list->entryCount() != cat::keySlots(i) && list->entryCount() != 0)
                wrong << "colour list " << i << " has " << list->entryCount() << " lines for "
                      << cat::keySlots(i) << " areas\n";
            for (int row = 0; row < list->entryCount(); ++row)
                if (const std::string line = list->entry(row).toStdString(); !namedColourFits(line))
                    wrong << "colour list " << i << " line " << row << " \"" << line
                          << "\" names no colour of its fabric\n";
        }

        for (int m = 0; m < cat::kModelCount; ++m)
            checkModel(m, wrong);
        return wrong.str();
    }

private:
    const design::Controls& c() const { return m_window.controls(); }

    int number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

    tk::ListBox* visibleAreaList(int page) const
    {
        if (page == cat::kBrisa && !c().suitlist[cat::kBrisa]->isVisibleTo(&m_window))
            return c().suitlist[cat::kBrisaBack];
        return c().suitlist[static_cast<std::size_t>(page)];
    }

    std::vector<QWidget*> hintedControls(int page) const
    {
        const auto pi = static_cast<std::size_t>(page);
        std::vector<QWidget*> all = {c().matlist[pi]->viewport(),
                                     c().ol1Pb[pi],
                                     c().colorlbl[pi],
                                     m_window.panels(page).Frame1,
                                     c().suitlist[pi]->viewport(),
                                     c().colordesc[pi]->viewport(),
                                     c().cbbfrontPb[pi]};
        if (page == cat::kBrisa) {
            all.push_back(c().suitlist[cat::kBrisaBack]->viewport());
            all.push_back(c().colordesc[cat::kBrisaBack]->viewport());
            all.push_back(c().cbbfrontPb[cat::kBrisaBack]);
        }
        return all;
    }

    // Whatever the user really hits at a point of the target: the topmost
    // visible widget there, which may cover the target.
    QWidget* hitAt(QWidget* target, QPoint local, QPoint& hitLocal) const
    {
        if (!target->isVisibleTo(&m_window))
            return nullptr;
        const QPoint inWindow = target->mapTo(&m_window, local);
        QWidget* hit = m_window.childAt(inWindow);
        if (hit != nullptr)
            hitLocal = hit->mapFrom(&m_window, inWindow);
        return hit;
    }

    bool covered(QWidget* target) const
    {
        QPoint unused;
        return hitAt(target, target->rect().center(), unused) != target;
    }

    void click(QWidget* target, QPoint local, Qt::MouseButton button)
    {
        QPoint at;
        if (QWidget* hit = hitAt(target, local, at))
            QTest::mouseClick(hit, button, {}, at);
    }

    void clickEntry(tk::ListBox* list, int row)
    {
        const QRect r = list->visualItemRect(list->item(row));
        click(list->viewport(), r.center(), Qt::LeftButton);
    }

    void move(QWidget* target, QPoint local)
    {
        QPoint at;
        QWidget* hit = hitAt(target, local, at);
        if (hit == nullptr)
            return;
        QMouseEvent event(QEvent::MouseMove, at, hit->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(hit, &event);
    }

    // "Royal Blue (P)": the fabric of code P has a colour named Royal Blue.
    static bool namedColourFits(const std::string& line)
    {
        if (line.empty())
            return true;
        const std::size_t open = line.rfind(" (");
        if (open == std::string::npos || line.size() != open + 4 || line.back() != ')')
            return false;
        const char code = line[open + 2];
        const std::string name = line.substr(0, open);
        for (const cat::Fabric& fabric : cat::kFabrics) {
            if (fabric.letter != code)
                continue;
            for (const cat::PaletteColour& colour : fabric.palette)
                if (colour.name == name)
                    return true;
        }
        return false;
    }

    void checkModel(int m, std::ostringstream& wrong) const
    {
        const design::ModelDesign& design = m_window.state()[m];
        const tk::PictureSurface* drawing = c().MainPB[static_cast<std::size_t>(m)];
        for (int slot = 0; slot < cat::slotCount(m); ++slot) {
            const auto s = static_cast<std::size_t>(slot);
            const bool back = m == cat::kBrisa && slot >= cat::kBackOffset;
            const int key = back ? cat::kBrisaBack : m;
            const int point = back ? slot - cat::kBackOffset : slot;
            const tk::ListBox* list = c().colordesc[static_cast<std::size_t>(key)];
            const std::string line = list->entryCount() == 0      ? std::string()
                                     : point < list->entryCount() ? list->entry(point).toStdString()
                                                                  : std::string("<missing>");
            if (design.areaColour[s] == cat::kNoColour) {
                if (!line.empty())
                    wrong << "model " << m << " slot " << slot << " has no colour but its line reads \""
                          << line << "\"\n";
                continue;
            }
            const cat::PaletteColour* colour = cat::paletteColour(design.areaFabric[s], design.areaColour[s]);
            if (colour == nullptr) {
                wrong << "model " << m << " slot " << slot << " holds colour " << design.areaColour[s]
                      << " of fabric " << design.areaFabric[s] << ", which no palette has\n";
                continue;
            }
            if (line.rfind(std::string(colour->name) + " (", 0) != 0)
                wrong << "model " << m << " slot " << slot << " is " << colour->name
                      << " but its line reads \"" << line << "\"\n";
            const tk::PictureSurface* keySurface = c().cbbfrontPb[static_cast<std::size_t>(key)];
            const auto p = static_cast<std::size_t>(point);
            if (keySurface->pixel(m_window.state().keyX[p], m_window.state().keyY[p]) != colour->value)
                wrong << "model " << m << " slot " << slot << " key slot does not show " << colour->name
                      << "\n";
            if (slot == cat::tapeSlot(m))
                continue; // the tape is shown in the key and the list only
            if (const cat::AreaSeeds* seeds = cat::seedsOf(m, slot))
                for (const cat::SeedPoint& seed : seeds->seeds())
                    if (drawing->pixel(seed.x, seed.y) != colour->value)
                        wrong << "model " << m << " slot " << slot << " seed (" << seed.x << "," << seed.y
                              << ") is not " << colour->name << "\n";
        }
    }

    app::MainWindow& m_window;
    std::mt19937_64 m_random;
    std::vector<int> m_weights;
    std::discrete_distribution<int> m_pick;
};

TEST(RandomUser, EveryActionLeavesWhatTheUserSeesConsistent)
{
    const std::uint64_t seed =
        envNumber("DESIGNER_UI_SEED",
                  static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    const int actions = static_cast<int>(envNumber("DESIGNER_UI_ACTIONS", kDefaultActions));
    const std::string replay =
        "replay with DESIGNER_UI_SEED=" + std::to_string(seed) + " DESIGNER_UI_ACTIONS=<action number>";
    std::cout << "Random user: seed " << seed << ", " << actions << " actions" << std::endl;

    app::MainWindow window;
    window.formLoad();
    QApplication::setActiveWindow(&window); // keys go where a user's keys would
    RandomUser user(window, seed);
    ASSERT_EQ(user.check(), "") << "at start-up";

    const auto start = std::chrono::steady_clock::now();
    for (int n = 1; n <= actions; ++n) {
        const std::string did = user.act();
        // Let queued work (painting, deferred layout) run as it would between a user's actions.
        if (n % 64 == 0)
            QCoreApplication::processEvents();
        const std::string wrong = user.check();
        ASSERT_EQ(wrong, "") << "seed " << seed << ", action " << n << ": " << did << "\n" << replay;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    int painted = 0;
    for (const design::ModelDesign& model : window.state().models)
        for (std::int16_t colour : model.areaColour)
            painted += colour != cat::kNoColour ? 1 : 0;
    std::cout << "Random user: " << actions << " actions in " << seconds << " s; " << painted
              << " areas coloured at the end" << std::endl;
}

} // namespace
