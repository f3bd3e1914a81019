// A random user: the real main window, offscreen, driven by a seeded random
// sequence of user actions on all eight pages, with what a user could see
// checked after every single action. A failure names the seed and the action
// number; DESIGNER_UI_SEED and DESIGNER_UI_ACTIONS replay it exactly, and
// DESIGNER_UI_TRACE=1 lists the actions on the way.
#include "app/mainwindow.h"
#include "catalogue/catalogue.h"
#include "design/history.h"
#include "files/record.h"
#include "render/drawing.h"
#include "toolkit/dialogs.h"
#include "toolkit/listbox.h"
#include "toolkit/names.h"
#include "toolkit/palettesurface.h"
#include "toolkit/picturesurface.h"
#include "toolkit/tabstrip.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <span>
#include <sstream>
#include <string>

namespace {

// About 4 s plain and 10-15 s under the sanitizers on a loaded 2-core machine.
constexpr int kDefaultActions = 20000;

std::uint64_t envNumber(const char* name, std::uint64_t fallback)
{
    const QByteArray value = qgetenv(name);
    return value.isEmpty() ? fallback : std::strtoull(value.constData(), nullptr, 10);
}

// A model's record as the file format lays it out: colour and fabric of
// every slot, the binding tape's colour last without its fabric.
QByteArray recordOf(int m, const state::ModelDesign& design)
{
    QByteArray bytes;
    const auto put = [&bytes](int word) {
        bytes += static_cast<char>(word & 0xFF);
        bytes += static_cast<char>((word >> 8) & 0xFF);
    };
    for (int slot = 0; slot < cat::slotCount(m); ++slot) {
        put(design.areaColour[slot]);
        if (slot != cat::tapeSlot(m))
            put(design.areaFabric[slot]);
    }
    return bytes;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every save is synced to disk; a folder in memory, where the system has one,
// keeps the run's hundreds of saves quick.
QString folderTemplate()
{
    const QFileInfo memory(QStringLiteral("/dev/shm"));
    const QString base = memory.isDir() && memory.isWritable() ? memory.filePath() : QDir::tempPath();
    return base + QStringLiteral("/ui_random_test-XXXXXX");
}

QString question(const QString& prompt, int style)
{
    return prompt + QStringLiteral(" /") + QString::number(style);
}

// One file command as the user will answer it, planned before it runs: what
// the program must ask and show, what it must write, and how the design ends.
struct FilePlan {
    QStringList asked;   // question(prompt, style)
    QStringList dialogs; // title and proposed name
    QString written;     // the one file written, if any
    bool reset = false;  // by New
    QString opened;      // the file Open reads, if any
};

class RandomUser {
public:
    using Step = void (RandomUser::*)(int page);
    struct Weighted {
        const char* what;
        double weight;
        Step step;
    };
    static const std::array<Weighted, 19> kActions;

    RandomUser(app::MainWindow& window, std::uint64_t seed)
        : m_window(window)
        , m_random(seed)
        // The distribution asks for weight k at k + 0.5.
        , m_pick(kActions.size(), 0, kActions.size(),
                 [](double k) { return kActions[std::size_t(k)].weight; })
        , m_dir(folderTemplate())
        , m_folder(m_dir.path())
    {
        m_window.setMessageService(&m_messages);
        m_window.setFileDialogService(&m_dialogs);
        for (const tk::PictureSurface* drawing : c().drawings)
            m_pristine << drawing->image();
        for (const char* name : {"newMnu", "openMnu", "saveMnu", "saveasMnu", "undoMnu", "redoMnu"})
            m_commands.append(m_window.findChild<QAction*>(QString::fromLatin1(name)));
        for (int m = 0; m < cat::kModelCount; ++m)
            noteHistoryStart(m);
    }

    bool ready() const { return m_dir.isValid() && !m_commands.contains(nullptr); }
    int saves = 0; // done by the file commands, for the summary
    int opens = 0;

    // Performs one action; returns what it did, for the failure message.
    std::string act()
    {
        const int page = c().tabs->currentTab();
        const Weighted& action = kActions[static_cast<std::size_t>(m_pick(m_random))];
        m_did.str({});
        m_did << action.what << " on page " << page << ":";
        m_fileWrong.clear();
        m_seenWrong.clear();
        m_editWrong.clear();
        (this->*action.step)(page);
        followHistory(page);
        // Only the file commands ask or show dialogs, and they take their answers.
        if (!m_messages.asked.empty() || !m_dialogs.requests.empty())
            m_fileWrong += "a question or dialog appeared without a file command\n";
        m_messages.asked.clear();
        m_dialogs.requests.clear();
        return m_did.str();
    }

    // What a user could see that is wrong; empty when everything agrees.
    std::string check() const
    {
        std::ostringstream wrong;
        wrong << m_fileWrong << m_seenWrong << m_editWrong;
        const int page = c().tabs->currentTab();
        checkEditMenu(wrong);
        const QString caption =
            tk::qs(cat::kAppTitle) + QStringLiteral(" [") + m_name[page] + QStringLiteral("]");
        if (m_window.windowTitle() != caption)
            wrong << "caption \"" << m_window.windowTitle().toStdString() << "\" on page " << page << "\n";
        for (int i = 0; i <= cat::kBrisaBack; ++i) {
            const tk::ListBox* list = c().colourLists[i];
            // A list never filled shows what a list of empty lines shows.
            if (list->entryCount() != cat::keySlots(i) && list->entryCount() != 0)
                wrong << "colour list " << i << " has " << list->entryCount() << " lines for "
                      << cat::keySlots(i) << " areas\n";
            for (int row = 0; row < list->entryCount(); ++row)
                if (const std::string line = list->entry(row).toStdString(); !namedColourFits(line))
                    wrong << "colour list " << i << " line \"" << line
                          << "\" names no colour of its fabric\n";
        }
        for (int m = 0; m < cat::kModelCount; ++m)
            checkModel(m, wrong);
        return wrong.str();
    }

private:
    const design::Controls& c() const { return m_window.controls(); }
    int number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
    template <typename List> auto pick(const List& list) { return list[number(0, int(list.size()) - 1)]; }
    QWidget* focused() { return QApplication::focusWidget() ? QApplication::focusWidget() : &m_window; }

    // --- The actions -----------------------------------------------------

    void switchTab(int)
    {
        click(c().tabs->tabBar(), c().tabs->tabBar()->tabRect(number(0, cat::kModelCount - 1)).center());
    }

    void switchTabByKey(int)
    {
        const Qt::Key key = pick(std::array{Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_Tab, Qt::Key_Backtab});
        m_did << ' ' << key;
        QTest::keyClick(focused(), key, Qt::ControlModifier);
    }

    void clickArea(int page)
    {
        const bool back = page == cat::kBrisa && !c().areaLists[cat::kBrisa]->isVisibleTo(&m_window);
        clickEntry(c().areaLists[back ? cat::kBrisaBack : page]);
    }

    void clickFabric(int page) { clickEntry(c().fabricLists[page]); }

    void clickEntry(tk::ListBox* list)
    {
        if (list->entryCount() > 0)
            click(list->viewport(),
                  list->visualItemRect(list->item(number(0, list->entryCount() - 1))).center());
    }

    void clickView(int)
    {
        QRadioButton* option = number(0, 1) == 0 ? c().frontView : c().backView;
        click(option, option->rect().center());
    }

    void clickPalette(int page)
    {
        tk::PictureSurface* palette = c().palettes[page];
        QPoint at(number(-3, palette->width() + 2), number(-3, palette->height() + 2)); // gaps, edges, beyond
        if (number(0, 9) < 6) { // a cell, empty cells included
            const cat::CellPos cell = cat::cellOf(number(0, 5 * cat::kPaletteColumns - 1));
            at = QPoint(cat::cellLeft(cell.column) + number(0, cat::kCellWidth) + palette->border(),
                        cat::cellTop(cell.row) + number(0, cat::kCellHeight) + palette->border());
        }
        const Qt::MouseButton button = number(0, 9) == 0 ? Qt::RightButton : Qt::LeftButton;
        const std::optional<CellAim> aim =
            button == Qt::LeftButton ? aimAtPoint(page, at) : std::optional<CellAim>();
        click(palette, at, button);
        if (aim)
            checkApplied(*aim);
    }

    void paletteKeys(int page)
    {
        tk::PaletteSurface* palette = c().palettes[page];
        QPoint centre = palette->rect().center();
        if (hitAt(palette, centre) != palette)
            return;
        palette->setFocus(Qt::TabFocusReason);
        for (int k = number(1, 4); k > 0; --k) {
            const Qt::Key key = pick(std::array{Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down,
                                                Qt::Key_Home, Qt::Key_End, Qt::Key_Return, Qt::Key_Space});
            m_did << ' ' << key;
            const bool applies = key == Qt::Key_Return || key == Qt::Key_Space;
            const std::optional<CellAim> aim = applies && palette->focusCell() >= 0
                                                   ? aimAt(page, palette->focusCell())
                                                   : std::optional<CellAim>();
            QTest::keyClick(palette, key);
            if (aim)
                checkApplied(*aim);
        }
    }

    void clickPanelButton(int page)
    {
        const app::PagePanels& p = m_window.panels(page);
        QPushButton* button = pick(std::array{p.selectionButton, p.suitInfoButton, p.orderInfoButton});
        click(button, button->rect().center());
    }

    // A move over a control with a hint, on Brisa now and then over its back.
    void hover(int page)
    {
        const int k = page == cat::kBrisa && number(0, 1) == 0 ? cat::kBrisaBack : page;
        QWidget* target = pick(std::array<QWidget*, 7>{
            c().fabricLists[page]->viewport(), c().palettes[page], c().colourLabels[page],
            m_window.panels(page).selectionFrame, c().areaLists[k]->viewport(),
            c().colourLists[k]->viewport(), c().colourKeys[k]});
        QPoint at(number(0, std::max(target->width() - 1, 0)), number(0, std::max(target->height() - 1, 0)));
        if (QWidget* hit = hitAt(target, at)) {
            QMouseEvent event(QEvent::MouseMove, at, hit->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                              Qt::NoModifier);
            QApplication::sendEvent(hit, &event);
        }
    }

    // Whatever the user really hits at a point of the target: the topmost
    // visible widget there, which may cover the target; the point becomes its
    // own, and what was hit joins the action's description.
    QWidget* hitAt(QWidget* target, QPoint& at)
    {
        if (!target->isVisibleTo(&m_window))
            return nullptr;
        const QPoint inWindow = target->mapTo(&m_window, at);
        QWidget* hit = m_window.childAt(inWindow);
        if (hit != nullptr)
            at = hit->mapFrom(&m_window, inWindow);
        QWidget* named = hit; // a list's viewport or a frame's inside: its control's name
        while (named != nullptr && (named->objectName().isEmpty() || named->objectName().startsWith("qt_")))
            named = named->parentWidget();
        m_did << ' ' << (named != nullptr ? named->objectName().toStdString() : "nothing") << " at " << at.x()
              << "," << at.y();
        return hit;
    }

    void click(QWidget* target, QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        if (QWidget* hit = hitAt(target, at))
            QTest::mouseClick(hit, button, {}, at);
        m_did << (button == Qt::LeftButton ? "" : " (right)");
    }

    // --- What a palette click applies ----------------------------------------

    // The cell a click or Enter aims at, as the user sees it just before: the
    // colour drawn there (read from the palette's pixels, at the swatch's
    // centre, which the marker never covers) and the design before.
    struct CellAim {
        int page = 0;
        int cell = 0;
        bool coloured = false; // a colour of the palette shown, not an empty place
        cat::Colour colour = 0;
        QByteArray record;
        bool changed = false;
    };

    CellAim aimAt(int page, int cell) const
    {
        const tk::PaletteSurface* palette = c().palettes[page];
        const cat::CellPos pos = cat::cellOf(cell);
        const state::ModelDesign& design = m_window.state()[page];
        return {page,
                cell,
                cell < palette->cellNames().size(),
                palette->pixel(cat::cellLeft(pos.column) + cat::kCellWidth / 2,
                               cat::cellTop(pos.row) + cat::kCellHeight / 2),
                recordOf(page, design),
                design.changed};
    }

    // A click that reaches the palette itself (no panel covers it) inside
    // both click ranges of a cell; a click in a gap keeps the column or row
    // it had, so it aims at no cell of its own and is not checked here.
    std::optional<CellAim> aimAtPoint(int page, QPoint at) const
    {
        tk::PaletteSurface* palette = c().palettes[page];
        if (!palette->isVisibleTo(&m_window) || m_window.childAt(palette->mapTo(&m_window, at)) != palette)
            return std::nullopt;
        const int column = cat::columnAt(static_cast<float>(at.x() - palette->border()));
        const int row = cat::rowAt(static_cast<float>(at.y() - palette->border()));
        if (column < 0 || row < 0)
            return std::nullopt;
        return aimAt(page, cat::cellIndex(column, row));
    }

    // The colour drawn in the cell is the one applied: the selected area's key
    // slot, its drawing and its colour-list line show it, and the line names a
    // colour of that value in the fabric the fabric list shows. An empty place
    // applies nothing.
    void checkApplied(const CellAim& aim)
    {
        const int m = aim.page;
        const state::ModelDesign& design = m_window.state()[m];
        std::ostringstream wrong;
        const std::string at =
            "the click on cell " + std::to_string(aim.cell) + " of palette " + std::to_string(m);
        if (!aim.coloured) {
            if (recordOf(m, design) != aim.record || design.changed != aim.changed)
                wrong << at << ", an empty place, changed the design\n";
            m_seenWrong += wrong.str();
            return;
        }
        const bool back = m == cat::kBrisa && !c().areaLists[cat::kBrisa]->isVisibleTo(&m_window);
        const int key = back ? cat::kBrisaBack : m;
        const int point = c().areaLists[key]->selectedIndex();
        if (point < 0)
            return; // no area to apply it to
        const int slot = point + (back ? cat::kBackOffset : 0);
        char drawn[16];
        std::snprintf(drawn, sizeof drawn, "#%06x", static_cast<unsigned>(aim.colour));

        const tk::ListBox* lines = c().colourLists[key];
        const std::string line =
            point < lines->entryCount() ? lines->entry(point).toStdString() : "<missing>";
        const std::size_t open = line.rfind(" (");
        const char code = open != std::string::npos && line.size() == open + 4 ? line[open + 2] : '?';
        bool named = false;
        for (const cat::Fabric& fabric : cat::kFabrics)
            for (const cat::PaletteColour& colour : fabric.palette)
                named = named || (fabric.letter == code && colour.value == aim.colour &&
                                  colour.name == line.substr(0, open));
        if (!named)
            wrong << at << " (drawn " << drawn << ") left the line \"" << line << "\"\n";
        // An opened file may give the area a fabric its list does not offer;
        // the list then cannot show it. Otherwise the list shows the fabric.
        const tk::ListBox* fabrics = c().fabricLists[m];
        bool offered = false;
        for (int row = 0; row < fabrics->entryCount(); ++row)
            offered = offered || fabrics->entry(row).front().toLatin1() == code;
        if (offered && !fabrics->selectedText().startsWith(QLatin1Char(code)))
            wrong << at << " gave the code " << code << " while the fabric list shows \""
                  << fabrics->selectedText().toStdString() << "\"\n";
        if (c().colourKeys[key]->pixel(m_window.state().keyX[point], m_window.state().keyY[point]) !=
            aim.colour)
            wrong << at << " (drawn " << drawn << ") left another colour in key slot " << point << "\n";
        if (const cat::AreaSeeds* seeds = cat::seedsOf(m, slot); seeds != nullptr && slot != cat::tapeSlot(m))
            for (const cat::SeedPoint& seed : seeds->seeds())
                if (c().drawings[m]->pixel(seed.x, seed.y) != aim.colour)
                    wrong << at << " (drawn " << drawn << ") painted seed (" << seed.x << "," << seed.y
                          << ") otherwise\n";
        m_seenWrong += wrong.str();
    }

    // --- A page as the user left it -----------------------------------------

    // What a user can see of a page: every named control, shown or hidden,
    // enabled or not, its text, entries, selection and pixels; on screen the
    // palette as painted, focus ring included; and where the focus is.
    QStringList lookOf(int page, bool onScreen) const
    {
        QStringList look;
        QWidget* root = c().tabs->page(page);
        for (QWidget* w : root->findChildren<QWidget*>()) {
            if (w->objectName().isEmpty() || w->objectName().startsWith(QStringLiteral("qt_")))
                continue;
            QString seen = w->objectName() + (w->isVisibleTo(root) ? " shown" : " hidden") +
                           (w->isEnabled() ? "" : " disabled");
            if (const auto* label = qobject_cast<QLabel*>(w))
                seen += " \"" + label->text() + "\"";
            if (const auto* button = qobject_cast<QAbstractButton*>(w);
                button != nullptr && button->isChecked())
                seen += " checked";
            if (const auto* list = qobject_cast<tk::ListBox*>(w)) {
                for (int row = 0; row < list->entryCount(); ++row)
                    seen += " \"" + list->entry(row) + "\"";
                seen += " selected " + QString::number(list->selectedIndex());
            }
            if (const auto* picture = qobject_cast<tk::PictureSurface*>(w)) {
                const bool painted = onScreen && qobject_cast<const tk::PaletteSurface*>(w) != nullptr;
                const QImage pixels = painted ? w->grab().toImage() : picture->image();
                seen += " pixels " + QString::number(qHashBits(pixels.constBits(), pixels.sizeInBytes()), 16);
            }
            look << seen;
        }
        if (onScreen)
            look << QStringLiteral("focus on ") +
                        (QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : "nothing");
        return look;
    }

    static std::string differences(const QStringList& before, const QStringList& after)
    {
        std::string said;
        for (int k = 0; k < std::max(before.size(), after.size()); ++k)
            if (before.value(k) != after.value(k))
                said += "  was: " + before.value(k).toStdString() +
                        "\n  now: " + after.value(k).toStdString() + "\n";
        return said;
    }

    // Away from the page and back: to another tab and back by the tab strip
    // or the keyboard, or another window active for a while. Neither page
    // changes on the way.
    void leaveAndReturn(int page)
    {
        const QStringList before = lookOf(page, true);
        const int way = number(0, 2);
        if (way == 2) {
            m_did << " another window is active for a while";
            QApplication::setActiveWindow(nullptr);
            QApplication::setActiveWindow(&m_window);
        } else {
            const int other = way == 0 ? (page + number(1, cat::kModelCount - 1)) % cat::kModelCount
                                       : (page + 1) % cat::kModelCount;
            const QStringList otherBefore = lookOf(other, false);
            m_did << " to page " << other << (way == 0 ? " by the tab strip" : " by Ctrl+PgDown, Ctrl+PgUp");
            if (way == 0)
                click(c().tabs->tabBar(), c().tabs->tabBar()->tabRect(other).center());
            else
                QTest::keyClick(focused(), Qt::Key_PageDown, Qt::ControlModifier);
            // The page keys work where the focus is inside the tab strip.
            if (c().tabs->currentTab() == other) {
                if (const std::string changed = differences(otherBefore, lookOf(other, false));
                    !changed.empty())
                    m_seenWrong +=
                        "page " + std::to_string(other) + " changed when it was shown:\n" + changed;
                if (way == 0)
                    click(c().tabs->tabBar(), c().tabs->tabBar()->tabRect(page).center());
                else
                    QTest::keyClick(focused(), Qt::Key_PageUp, Qt::ControlModifier);
            }
        }
        if (c().tabs->currentTab() != page) {
            m_seenWrong += "the way back to page " + std::to_string(page) + " did not get there\n";
            return;
        }
        if (const std::string changed = differences(before, lookOf(page, true)); !changed.empty())
            m_seenWrong += "page " + std::to_string(page) + " is not as it was left:\n" + changed;
    }

    // --- What the user sees ------------------------------------------------

    // "Royal Blue (P)": the fabric of code P has a colour named Royal Blue.
    static bool namedColourFits(const std::string& line)
    {
        if (line.empty())
            return true;
        const std::size_t open = line.rfind(" (");
        if (open == std::string::npos || line.size() != open + 4 || line.back() != ')')
            return false;
        for (const cat::Fabric& fabric : cat::kFabrics)
            for (const cat::PaletteColour& colour : fabric.palette)
                if (fabric.letter == line[open + 2] && colour.name == line.substr(0, open))
                    return true;
        return false;
    }

    // The colour a slot shows: a cell of a palette of the model's fabrics (the
    // tape's fabric is not stored: its colour is a Tape colour), or none.
    static const cat::PaletteColour* shownColour(int m, int slot, const state::ModelDesign& design)
    {
        const bool tape = slot == cat::tapeSlot(m);
        const int fabric = tape ? static_cast<int>(cat::kTape) : design.areaFabric[slot];
        const std::span<const int> known = cat::kModels[m].rebuildFabrics;
        const bool usable = tape || std::find(known.begin(), known.end(), fabric) != known.end();
        return usable ? cat::paletteColour(fabric, design.areaColour[slot]) : nullptr;
    }

    // Every slot's line, key slot and drawing seeds show its colour; a slot
    // showing none has an empty line, a grey key slot and the start-up drawing.
    void checkModel(int m, std::ostringstream& wrong) const
    {
        const state::ModelDesign& design = m_window.state()[m];
        const std::optional<state::ModelDesign>& read = m_read[m];
        if (QString::fromStdString(design.fileName) != m_name[m])
            wrong << "model " << m << " names file \"" << design.fileName << "\"\n";
        for (int slot = 0; slot < cat::slotCount(m); ++slot) {
            const bool back = m == cat::kBrisa && slot >= cat::kBackOffset;
            const int key = back ? cat::kBrisaBack : m;
            const int point = back ? slot - cat::kBackOffset : slot;
            const tk::ListBox* list = c().colourLists[key];
            const std::string line = list->entryCount() == 0      ? std::string()
                                     : point < list->entryCount() ? list->entry(point).toStdString()
                                                                  : std::string("<missing>");
            const cat::Colour keyPixel =
                c().colourKeys[key]->pixel(m_window.state().keyX[point], m_window.state().keyY[point]);
            const cat::PaletteColour* colour = shownColour(m, slot, design);
            const std::string at = "model " + std::to_string(m) + " slot " + std::to_string(slot);
            const std::string name = colour != nullptr ? std::string(colour->name) : "no colour";
            // A file may hold words no palette has; they are kept as read, and show no colour.
            const bool asRead =
                read && read->areaColour[slot] == design.areaColour[slot] &&
                (slot == cat::tapeSlot(m) || read->areaFabric[slot] == design.areaFabric[slot]);
            if (colour == nullptr && design.areaColour[slot] != cat::kNoColour && !asRead)
                wrong << at << " holds colour " << design.areaColour[slot] << " of fabric "
                      << design.areaFabric[slot] << ", which no palette of the model has\n";
            if (colour != nullptr ? line.rfind(name + " (", 0) != 0 : !line.empty())
                wrong << at << " shows " << name << " but its line reads \"" << line << "\"\n";
            if (keyPixel != (colour != nullptr ? colour->value : cat::kLightGrey))
                wrong << at << " key slot does not show " << name << "\n";
            const cat::AreaSeeds* seeds = cat::seedsOf(m, slot);
            if (slot == cat::tapeSlot(m) || seeds == nullptr)
                continue; // the tape is shown in the key and the list only
            for (const cat::SeedPoint& seed : seeds->seeds()) {
                const cat::Colour want =
                    colour != nullptr ? colour->value : (m_pristine[m].pixel(seed.x, seed.y) & 0xFFFFFFu);
                if (c().drawings[m]->pixel(seed.x, seed.y) != want)
                    wrong << at << " seed (" << seed.x << "," << seed.y << ") does not show " << name << "\n";
            }
        }
    }

    // --- The File menu, by menu or key, with scripted answers ---------------

    QString extension(int m) const { return tk::qs(cat::kModels[m].defaultExtension); }

    void fileNew(int page) { fileCommand(0, page); }
    void fileOpen(int page) { fileCommand(1, page); }
    void fileSave(int page) { fileCommand(2, page); }
    void fileSaveAs(int page) { fileCommand(3, page); }

    // The refusal of a file of another model's extension, answered OK.
    void planRefusal(FilePlan& plan)
    {
        plan.asked << question(QStringLiteral("Invalid extension selected."), tk::kOkExclamation);
        m_messages.answers.push_back(tk::kOk);
    }

    // Save (straight to the model's file once it has one) or Save As as the
    // user answers it: cancelled, a name typed without an extension, with this
    // model's (now and then in capitals), or with another model's, which is
    // refused and the dialog shown again.
    void planSave(int m, bool as, FilePlan& plan)
    {
        if (!as && m_name[m] != tk::qs(cat::kUntitled)) {
            plan.written = m_path[m];
            return;
        }
        plan.dialogs << QStringLiteral("Save As proposing ") + m_name[m];
        const int kind = number(0, 19);
        const QString base = m_folder + QStringLiteral("/d") + QString::number(number(0, 5));
        if (kind < 3) {
            m_dialogs.answers.emplace_back(std::nullopt);
        } else if (kind >= 16) {
            const int other = (m + number(1, cat::kModelCount - 1)) % cat::kModelCount;
            m_dialogs.answers.emplace_back(base + QLatin1Char('.') + extension(other));
            planRefusal(plan);
            planSave(m, true, plan);
        } else {
            const QString typed = kind < 7    ? base
                                  : kind < 15 ? base + QLatin1Char('.') + extension(m)
                                              : base + QLatin1Char('.') + extension(m).toUpper();
            m_dialogs.answers.emplace_back(typed);
            m_path[m] = plan.written = typed == base ? base + QLatin1Char('.') + extension(m) : typed;
            m_name[m] = QFileInfo(m_path[m]).fileName();
        }
    }

    // The save question of New and Open, asked exactly when the design has
    // changed since it was last saved; false when the command stops there.
    bool planQuestion(int m, bool open, FilePlan& plan)
    {
        const state::ModelDesign& design = m_window.state()[m];
        if (design.saved || !design.changed)
            return true;
        plan.asked << question(QStringLiteral("Do you want to save '") + m_name[m] +
                                   (open ? QStringLiteral("'.") : QStringLiteral("'")),
                               tk::kYesNoCancelQuestion);
        const int answer = pick(std::array{tk::kYes, tk::kNo, tk::kCancel});
        m_messages.answers.push_back(answer);
        if (answer == tk::kYes)
            planSave(m, false, plan);
        // A cancelled Save As cancels the command.
        return answer == tk::kNo || (answer == tk::kYes && !plan.written.isEmpty());
    }

    // The Open dialog: cancelled, a file of another model (refused), or a
    // file with this model's extension, picked or typed without it.
    void planOpen(int m, FilePlan& plan)
    {
        plan.dialogs << QStringLiteral("Open File proposing ");
        QFileInfoList own;
        QFileInfoList others;
        for (const QFileInfo& file : QDir(m_folder).entryInfoList(QDir::Files, QDir::Name))
            (file.suffix().compare(extension(m), Qt::CaseInsensitive) == 0 ? own : others).push_back(file);
        const int kind = number(0, 19);
        if (kind < 3 || (own.empty() && others.empty())) {
            m_dialogs.answers.emplace_back(std::nullopt);
        } else if (own.empty() || (kind < 6 && !others.empty())) {
            m_dialogs.answers.emplace_back(pick(others).filePath());
            planRefusal(plan);
        } else {
            const QFileInfo file = pick(own);
            const bool typedBare = kind == 19 && file.suffix() == extension(m);
            m_dialogs.answers.emplace_back(
                typedBare ? file.path() + QLatin1Char('/') + file.completeBaseName() : file.filePath());
            const int needed = files::recordBytes(m);
            // The save the question asked for may write this very file first.
            const bool savedFirst = !plan.written.isEmpty() &&
                                    QFileInfo(plan.written).absoluteFilePath() == file.absoluteFilePath();
            const qint64 size = savedFirst ? std::max<qint64>(file.size(), needed) : file.size();
            if (size >= needed) {
                plan.opened = file.filePath();
            } else { // refused and said; nothing changes
                const QString why =
                    size == 0
                        ? QStringLiteral("the file is empty")
                        : QStringLiteral("the file is too short for a design of this suit (%1 of %2 bytes)")
                              .arg(size)
                              .arg(needed);
                plan.asked << question(QStringLiteral("Could not open '%1' in %2: %3.")
                                           .arg(file.fileName(), file.absolutePath(), why),
                                       tk::kOkExclamation);
            }
        }
    }

    // One command, planned, run, and checked against the plan: what it
    // asked and showed, what it wrote, and the design it left.
    void fileCommand(int which, int m)
    {
        const state::ModelDesign before = m_window.state()[m];
        FilePlan plan;
        if (which == 0 && planQuestion(m, false, plan)) {
            plan.reset = true;
            m_name[m] = tk::qs(cat::kUntitled);
        }
        if (which == 1 && planQuestion(m, true, plan))
            planOpen(m, plan);
        if (which >= 2)
            planSave(m, which == 3, plan);
        QAction* command = m_commands[which];
        const bool byMenu = number(0, 1) == 0;
        m_did << (byMenu ? " by menu" : " by key");
        if (byMenu)
            command->trigger();
        else
            QTest::keySequence(focused(), command->shortcut());

        std::ostringstream wrong;
        QStringList shown;
        for (const tk::ScriptedMessageService::Asked& asked : m_messages.asked)
            shown << question(asked.prompt, asked.style);
        for (const tk::FileDialogRequest& request : m_dialogs.requests)
            shown << request.title + QStringLiteral(" proposing ") + request.proposedName;
        if (shown != plan.asked + plan.dialogs)
            wrong << "asked and showed \"" << shown.join(" | ").toStdString() << "\", not \""
                  << (plan.asked + plan.dialogs).join(" | ").toStdString() << "\"\n";
        const QByteArray saved = recordOf(m, before);
        if (!plan.written.isEmpty() && fileBytes(plan.written).left(saved.size()) != saved)
            wrong << "the file " << plan.written.toStdString()
                  << " does not start with the design's record\n";
        saves += plan.written.isEmpty() ? 0 : 1;

        // The design: kept (also when the file chosen is too short, refused),
        // reset by New, or read from the opened file.
        const state::ModelDesign& design = m_window.state()[m];
        state::ModelDesign blank = before;
        blank.areaColour.fill(cat::kNoColour);
        blank.areaFabric.fill(cat::kNoColour);
        const bool kept = !plan.reset && plan.opened.isEmpty();
        QByteArray want = recordOf(m, kept ? before : blank);
        if (!kept)
            m_read[m].reset();
        if (plan.reset && c().drawings[m]->image() != m_pristine[m])
            wrong << "the drawing after New is not the clean drawing\n";
        if (!plan.opened.isEmpty()) {
            const QByteArray bytes = fileBytes(plan.opened);
            m_name[m] = tk::qs(cat::kUntitled);
            if (bytes.size() >= files::recordBytes(m)) {
                want = bytes.left(files::recordBytes(m));
                m_read[m] = design;
                m_name[m] = QFileInfo(plan.opened).fileName();
                m_path[m] = plan.opened;
                ++opens;
            }
        }
        if (const QByteArray now = recordOf(m, design); now != want)
            wrong << "the design's record is " << now.toHex(' ').toStdString() << ", not "
                  << want.toHex(' ').toStdString() << "\n";
        const bool clean = !plan.written.isEmpty() || !kept;
        if (clean ? !design.saved || design.changed
                  : design.saved != before.saved || design.changed != before.changed)
            wrong << "saved " << design.saved << ", changed " << design.changed << " after the command\n";
        if (m_name[m] != tk::qs(cat::kUntitled) && QString::fromStdString(design.filePath) != m_path[m])
            wrong << "model " << m << " keeps the path " << design.filePath << "\n";
        m_fileWrong += wrong.str();
        m_messages.answers.clear();
        m_dialogs.answers.clear();
        m_messages.asked.clear();
        m_dialogs.requests.clear();
    }

    // Outside the program: a saved file copied under a name with any model's
    // extension, or a file of any bytes from elsewhere.
    void fileManager(int)
    {
        const QString target = m_folder + QStringLiteral("/d") + QString::number(number(0, 5)) +
                               QLatin1Char('.') + extension(number(0, cat::kModelCount - 1));
        QByteArray bytes(number(0, 2 * files::kMaxRecordBytes), '\0');
        for (char& byte : bytes)
            byte = static_cast<char>(number(0, 255));
        const QFileInfoList present = QDir(m_folder).entryInfoList(QDir::Files, QDir::Name);
        if (!present.empty() && number(0, 4) != 0) {
            const QFileInfo source = pick(present);
            m_did << " a copy of " << source.fileName().toStdString();
            bytes = fileBytes(source.filePath());
        }
        m_did << " as " << QFileInfo(target).fileName().toStdString();
        QFile file(target);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            m_fileWrong += "could not write " + target.toStdString() + "\n";
    }

    // --- The drawing and the Edit menu ----------------------------------------

    const QUndoStack* stackOf(int m) const { return m_window.designer().history().undoStack(m); }

    // The area a click at a drawing pixel picks, found with the border fill
    // itself: the first area in list order whose seeds' fill reaches it.
    int firstAreaAt(int m, QPoint pixel) const
    {
        if (!m_pristine[m].valid(pixel))
            return -1;
        for (int slot = 0; slot < cat::slotCount(m); ++slot) {
            QImage copy = m_pristine[m];
            if (render::paintArea(copy, m, slot, cat::rgb(18, 52, 86)) > 0 &&
                copy.pixel(pixel) != m_pristine[m].pixel(pixel))
                return slot;
        }
        return -1;
    }

    // A click on the drawing, mostly on a seed of an area: it chooses the
    // area in its list (on Brisa in its view) or, off every area or with
    // another button, changes nothing.
    void clickDrawing(int page)
    {
        tk::PictureSurface* drawing = c().drawings[page];
        QPoint pixel(number(-2, drawing->drawableWidth() + 1), number(-2, drawing->drawableHeight() + 1));
        if (const cat::AreaSeeds* seeds = cat::seedsOf(page, number(0, cat::slotCount(page) - 1));
            seeds != nullptr && seeds->count > 0 && number(0, 9) < 7) {
            const cat::SeedPoint seed = seeds->seeds()[static_cast<std::size_t>(number(0, seeds->count - 1))];
            pixel = QPoint(seed.x, seed.y);
        }
        const auto chosen = [this, page] {
            const bool front = page != cat::kBrisa || c().frontView->isChecked();
            return std::pair(front, c().areaLists[front ? page : cat::kBrisaBack]->selectedText());
        };
        auto want = chosen();
        const bool left = number(0, 9) != 0;
        const int slot = left ? firstAreaAt(page, pixel) : -1;
        if (slot >= 0) {
            const bool front = slot < static_cast<int>(cat::kModels[page].areas.size());
            const QString name = QString::fromStdString(design::areaLabel(page, slot));
            want = std::pair(front, page == cat::kBrisa ? name.section(' ', 1) : name);
        }
        click(drawing, pixel + QPoint(drawing->border(), drawing->border()),
              left ? Qt::LeftButton : Qt::RightButton);
        if (chosen() != want)
            m_editWrong += "the click chose " + chosen().second.toStdString() + ", not " +
                           want.second.toStdString() + (want.first ? "" : " (back)") + "\n";
    }

    void undoStep(int page) { editCommand(4, page); }
    void redoStep(int page) { editCommand(5, page); }

    // Undo (4) or Redo (5) by menu or key: one step when there is one, and
    // the model then shows exactly what a rebuild of its design shows.
    void editCommand(int which, int page)
    {
        QAction* command = m_commands[which];
        const QUndoStack* stack = stackOf(page);
        const int index = stack->index();
        const bool can = which == 4 ? stack->canUndo() : stack->canRedo();
        const bool byMenu = number(0, 1) == 0;
        m_did << (byMenu ? " by menu" : " by key") << " at step " << index << " of " << stack->count();
        if (byMenu)
            command->trigger();
        else
            QTest::keySequence(focused(), command->shortcut());
        if (stack->index() != index + (can ? (which == 4 ? -1 : 1) : 0))
            m_editWrong += "the history went from step " + std::to_string(index) + " to " +
                           std::to_string(stack->index()) + "\n";
        checkRebuilt(page);
    }

    // Undo until there is nothing left: the design the history started from,
    // the clean drawing when that was an empty design.
    void undoEverything(int page)
    {
        for (int guard = 0; m_commands[4]->isEnabled() && guard < 100000; ++guard)
            m_commands[4]->trigger();
        m_did << " " << stackOf(page)->count() << " steps";
        const state::ModelDesign& design = m_window.state()[page];
        if (recordOf(page, design) != m_start[page].record)
            m_editWrong += "undoing everything does not give back the design the history started from\n";
        if (c().drawings[page]->image() != m_start[page].drawing)
            m_editWrong += "undoing everything does not give back the drawing the history started from\n";
        state::ModelDesign blank;
        blank.areaColour.fill(cat::kNoColour);
        blank.areaFabric.fill(cat::kNoColour);
        if (m_start[page].record == recordOf(page, blank) && c().drawings[page]->image() != m_pristine[page])
            m_editWrong += "undoing every step of an empty design leaves colour in the drawing\n";
        checkRebuilt(page);
    }

    // A drawing that differs from the rebuild of its design, or flags that do
    // not follow the history.
    void checkRebuilt(int m)
    {
        const state::ModelDesign& design = m_window.state()[m];
        if (c().drawings[m]->image() != render::paintDesign(m, design))
            m_editWrong += "model " + std::to_string(m) + "'s drawing is not the rebuild of its design\n";
        const std::pair<bool, bool> want =
            stackOf(m)->isClean() ? m_cleanFlags[m] : std::pair<bool, bool>(false, true);
        if (std::pair(design.saved, design.changed) != want)
            m_editWrong += "saved " + std::to_string(design.saved) + ", changed " +
                           std::to_string(design.changed) + " after a step undone or redone\n";
    }

    // Where a history starts (start-up, New, Open: no steps yet) and what its
    // clean state's flags are (those, or the last Save's).
    void noteHistoryStart(int m)
    {
        const state::ModelDesign& design = m_window.state()[m];
        if (stackOf(m)->count() == 0)
            m_start[m] = {recordOf(m, design), c().drawings[m]->image()};
    }

    void followHistory(int page)
    {
        noteHistoryStart(page);
        const state::ModelDesign& design = m_window.state()[page];
        // Start-up's clean state is unsaved; New, Open and Save leave one that
        // is saved, and every later clean state is saved too.
        if (stackOf(page)->isClean() && design.saved && !design.changed)
            m_cleanFlags[page] = {true, false};
    }

    void checkEditMenu(std::ostringstream& wrong) const
    {
        const QUndoStack* stack = stackOf(c().tabs->currentTab());
        if (m_commands[4]->isEnabled() != stack->canUndo() || m_commands[5]->isEnabled() != stack->canRedo())
            wrong << "the Edit menu does not follow the current model's history\n";
    }

    struct HistoryStart {
        QByteArray record;
        QImage drawing;
    };
    std::array<HistoryStart, cat::kModelCount> m_start{};
    std::array<std::pair<bool, bool>, cat::kModelCount> m_cleanFlags{};
    std::string m_editWrong;

    app::MainWindow& m_window;
    std::mt19937_64 m_random;
    std::discrete_distribution<int> m_pick;
    // The file commands' world: one folder for the whole run, so Open reads
    // back what was saved (or copied) earlier.
    QTemporaryDir m_dir;
    QString m_folder;
    tk::ScriptedMessageService m_messages;
    tk::ScriptedFileDialogService m_dialogs;
    QList<QAction*> m_commands;
    // What the user expects each model's file to be, its clean drawing, and
    // the design the last Open read into it.
    QStringList m_name = QStringList(cat::kModelCount, tk::qs(cat::kUntitled));
    QStringList m_path = QStringList(cat::kModelCount);
    QList<QImage> m_pristine;
    std::array<std::optional<state::ModelDesign>, cat::kModelCount> m_read;
    std::string m_fileWrong;
    std::string m_seenWrong;  // what the palette-click and page-return checks found
    std::ostringstream m_did; // what the current action did
};

// What the random user does, and how often. File commands are rare and slow
// (a reset, a rebuild, a write): about one action in twenty-five.
const std::array<RandomUser::Weighted, 19> RandomUser::kActions = {{
    {"click tab", 4, &RandomUser::switchTab},
    {"ctrl+key", 2, &RandomUser::switchTabByKey},
    {"leave and return", 2, &RandomUser::leaveAndReturn},
    {"click area", 14, &RandomUser::clickArea},
    {"click fabric", 10, &RandomUser::clickFabric},
    {"click view", 3, &RandomUser::clickView},
    {"click palette at", 36, &RandomUser::clickPalette},
    {"keys on palette", 8, &RandomUser::paletteKeys},
    {"click panel button", 4, &RandomUser::clickPanelButton},
    {"move over", 19, &RandomUser::hover},
    {"New", 0.8, &RandomUser::fileNew},
    {"Open", 1.2, &RandomUser::fileOpen},
    {"Save", 0.8, &RandomUser::fileSave},
    {"Save As", 0.8, &RandomUser::fileSaveAs},
    // Outside the program: copies under other names and extensions, and files from elsewhere.
    {"file manager writes", 0.4, &RandomUser::fileManager},
    // The drawing, and the Edit menu.
    {"click drawing at", 4, &RandomUser::clickDrawing},
    {"Undo", 3, &RandomUser::undoStep},
    {"Redo", 2, &RandomUser::redoStep},
    {"Undo everything", 0.1, &RandomUser::undoEverything},
}};

TEST(RandomUser, EveryActionLeavesWhatTheUserSeesConsistent)
{
    const auto now = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    const std::uint64_t seed = envNumber("DESIGNER_UI_SEED", now);
    const int actions = static_cast<int>(envNumber("DESIGNER_UI_ACTIONS", kDefaultActions));
    const bool trace = envNumber("DESIGNER_UI_TRACE", 0) != 0; // prints every action
    std::cout << "Random user: seed " << seed << ", " << actions << " actions" << std::endl;

    app::MainWindow window;
    window.startUp();
    QApplication::setActiveWindow(&window); // keys go where a user's keys would
    RandomUser user(window, seed);
    ASSERT_TRUE(user.ready());
    ASSERT_EQ(user.check(), "") << "at start-up";

    const auto start = std::chrono::steady_clock::now();
    for (int n = 1; n <= actions; ++n) {
        const std::string did = user.act();
        if (trace)
            std::cout << n << ": " << did << std::endl;
        // Let queued work (painting, deferred layout) run as it would between a user's actions.
        if (n % 64 == 0)
            QCoreApplication::processEvents();
        ASSERT_EQ(user.check(), "") << "seed " << seed << ", action " << n << ": " << did
                                    << "\nreplay with DESIGNER_UI_SEED=" << seed
                                    << " DESIGNER_UI_ACTIONS=<action number>";
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << "Random user: " << actions << " actions (" << user.saves << " saves, " << user.opens
              << " opens) in " << seconds << " s" << std::endl;
}

} // namespace
