// A random user: the real main window, offscreen, driven by a seeded random
// sequence of user actions on all eight pages, with what a user could see
// checked after every single action. A failure names the seed and the action
// number; DESIGNER_UI_SEED and DESIGNER_UI_ACTIONS replay it exactly, and
// DESIGNER_UI_TRACE=1 lists the actions on the way.
#include "app/mainwindow.h"
#include "catalogue/catalogue.h"
#include "files/record.h"
#include "toolkit/dialogs.h"
#include "toolkit/listbox.h"
#include "toolkit/names.h"
#include "toolkit/palettesurface.h"
#include "toolkit/picturesurface.h"
#include "toolkit/tabstrip.h"

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

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <random>
#include <span>
#include <sstream>
#include <string>
#include <vector>

namespace {

// About 4 s plain and 10-15 s under the sanitizers on a loaded 2-core machine.
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
    // The File menu, by menu or key, with scripted questions and dialogs.
    FileNew,
    FileOpen,
    FileSave,
    FileSaveAs,
    // Outside the program: a file copied under another name and extension,
    // or one the user got from elsewhere.
    FileManager,
};

struct Weighted {
    Action action;
    double weight;
};

// File commands are rare and slow (a reset, a rebuild, a write): about one
// action in twenty-five.
constexpr Weighted kActions[] = {
    {Action::SwitchTab, 4},    {Action::SwitchTabByKey, 2},   {Action::ClickArea, 14},
    {Action::ClickFabric, 10}, {Action::ClickView, 3},        {Action::ClickPalette, 36},
    {Action::PaletteKeys, 8},  {Action::ClickPanelButton, 4}, {Action::Hover, 19},
    {Action::FileNew, 0.8},    {Action::FileOpen, 1.2},       {Action::FileSave, 0.8},
    {Action::FileSaveAs, 0.8}, {Action::FileManager, 0.4},
};

std::uint64_t envNumber(const char* name, std::uint64_t fallback)
{
    const QByteArray value = qgetenv(name);
    if (value.isEmpty())
        return fallback;
    return std::strtoull(value.constData(), nullptr, 10);
}

// A model's record as the file format lays it out: colour and fabric of
// every slot, the binding tape's colour last without its fabric.
QByteArray recordOf(int m, const design::ModelDesign& design)
{
    QByteArray bytes;
    const auto put = [&bytes](int word) {
        bytes += static_cast<char>(word & 0xFF);
        bytes += static_cast<char>((word >> 8) & 0xFF);
    };
    for (int slot = 0; slot < cat::slotCount(m); ++slot) {
        put(design.areaColour[static_cast<std::size_t>(slot)]);
        if (slot != cat::tapeSlot(m))
            put(design.areaFabric[static_cast<std::size_t>(slot)]);
    }
    return bytes;
}

std::int16_t wordAt(const QByteArray& bytes, int word)
{
    const auto low = static_cast<std::uint8_t>(bytes[2 * word]);
    const auto high = static_cast<std::uint8_t>(bytes[2 * word + 1]);
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(low | (high << 8)));
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// One file command as the user will answer it, planned before it runs: what
// the program must ask and show, what it must write, and how the design ends.
struct FilePlan {
    enum class Outcome { Kept, Reset, Opened };
    std::vector<std::pair<QString, int>> asked;       // prompt, style
    std::vector<std::pair<QString, QString>> dialogs; // title, proposed name
    QString written;                                  // the one file written, if any
    QByteArray record;                                // what it must start with
    Outcome outcome = Outcome::Kept;
    QString opened;
};

// Every save is synced to disk; a folder in memory, where the system has one,
// keeps the run's hundreds of saves quick.
QString folderTemplate()
{
    const QString memory = QStringLiteral("/dev/shm");
    const QString base =
        QFileInfo(memory).isDir() && QFileInfo(memory).isWritable() ? memory : QDir::tempPath();
    return base + QStringLiteral("/ui_random_test-XXXXXX");
}

const QString kInvalidExtension = QStringLiteral("Invalid extension selected.");

class RandomUser {
public:
    RandomUser(app::MainWindow& window, std::uint64_t seed)
        : m_window(window)
        , m_random(seed)
        , m_dir(folderTemplate())
        , m_folder(m_dir.path())
    {
        for (const Weighted& w : kActions)
            m_weights.push_back(w.weight);
        m_pick = std::discrete_distribution<int>(m_weights.begin(), m_weights.end());
        m_window.setMessageService(&m_messages);
        m_window.setFileDialogService(&m_dialogs);
        for (int m = 0; m < cat::kModelCount; ++m) {
            const auto mi = static_cast<std::size_t>(m);
            m_pristine[mi] = c().MainPB[mi]->image();
            m_name[mi] = tk::qs(cat::kUntitled);
        }
        for (const char* name : {"newMnu", "openMnu", "saveMnu", "saveasMnu"})
            m_commands.push_back(m_window.findChild<QAction*>(QString::fromLatin1(name)));
    }

    std::string fileSummary() const
    {
        return std::to_string(m_fileActions) + " with files: " + std::to_string(m_written) + " saves, " +
               std::to_string(m_opened) + " opens (" + std::to_string(m_openedOdd) +
               " with words no palette has)";
    }
    bool ready() const
    {
        return m_dir.isValid() && std::count(m_commands.begin(), m_commands.end(), nullptr) == 0;
    }

    // Performs one action; returns what it did, for the failure message.
    std::string act()
    {
        const int page = c().tab1->currentTab();
        const auto pi = static_cast<std::size_t>(page);
        std::ostringstream did;
        m_fileWrong.clear();
        m_last = m_pick(m_random);
        switch (kActions[m_last].action) {
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
        case Action::FileNew:
        case Action::FileOpen:
        case Action::FileSave:
        case Action::FileSaveAs:
            ++m_fileActions;
            fileCommand(kActions[m_last].action, page, did);
            return did.str();
        case Action::FileManager:
            ++m_fileActions;
            fileManager(did);
            break;
        }
        // Only the file commands ask or show dialogs.
        if (!m_messages.asked.empty() || !m_dialogs.requests.empty())
            m_fileWrong += "a question or dialog appeared without a file command\n";
        m_messages.asked.clear();
        m_dialogs.requests.clear();
        return did.str();
    }

    // What a user could see that is wrong; empty when everything agrees.
    std::string check() const
    {
        std::ostringstream wrong;
        wrong << m_fileWrong;
        const int page = c().tab1->currentTab();
        const QString caption = tk::qs(cat::kAppTitle) + QStringLiteral(" [") +
                                m_name[static_cast<std::size_t>(page)] + QStringLiteral("]");
        if (m_window.windowTitle() != caption)
            wrong << "caption \"" << m_window.windowTitle().toStdString() << "\" on page " << page << "\n";
        for (int m = 0; m < cat::kModelCount; ++m)
            if (const std::string& name = m_window.state()[m].fileName;
                QString::fromStdString(name) != m_name[static_cast<std::size_t>(m)])
                wrong << "model " << m << " names file \"" << name << "\", not \""
                      << m_name[static_cast<std::size_t>(m)].toStdString() << "\"\n";

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

    // Whether slot s of model m still holds what the last Open read for it:
    // a file may hold words no palette has, and they are kept as read.
    bool asRead(int m, int slot, const design::ModelDesign& design) const
    {
        const auto mi = static_cast<std::size_t>(m);
        const auto s = static_cast<std::size_t>(slot);
        return m_hasRead[mi] && m_readColour[mi][s] == design.areaColour[s] &&
               (slot == cat::tapeSlot(m) || m_readFabric[mi][s] == design.areaFabric[s]);
    }

    // An area showing no colour: an empty line, a grey key slot and the
    // drawing as it was at start-up.
    void checkBlank(int m, int slot, const std::string& line, cat::Colour keyPixel,
                    std::ostringstream& wrong) const
    {
        if (!line.empty())
            wrong << "model " << m << " slot " << slot << " shows no colour but its line reads \"" << line
                  << "\"\n";
        if (keyPixel != cat::kLightGrey)
            wrong << "model " << m << " slot " << slot << " shows no colour but its key slot is coloured\n";
        if (slot == cat::tapeSlot(m))
            return;
        const tk::PictureSurface* drawing = c().MainPB[static_cast<std::size_t>(m)];
        const QImage& pristine = m_pristine[static_cast<std::size_t>(m)];
        if (const cat::AreaSeeds* seeds = cat::seedsOf(m, slot))
            for (const cat::SeedPoint& seed : seeds->seeds())
                if (drawing->pixel(seed.x, seed.y) != (pristine.pixel(seed.x, seed.y) & 0xFFFFFFu))
                    wrong << "model " << m << " slot " << slot << " shows no colour but seed (" << seed.x
                          << "," << seed.y << ") is painted\n";
    }

    // The colour a coloured slot shows: a cell of a palette of the model's
    // fabrics (the tape's fabric is not stored: its colour is a Tape colour).
    static const cat::PaletteColour* shownColour(int m, int slot, const design::ModelDesign& design)
    {
        const auto s = static_cast<std::size_t>(slot);
        const bool tape = slot == cat::tapeSlot(m);
        const int fabric = tape ? static_cast<int>(cat::kTape) : design.areaFabric[s];
        const std::span<const int> known = cat::kModels[m].rebuildFabrics;
        const bool usable = tape || std::find(known.begin(), known.end(), fabric) != known.end();
        return usable ? cat::paletteColour(fabric, design.areaColour[s]) : nullptr;
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
            const tk::PictureSurface* keySurface = c().cbbfrontPb[static_cast<std::size_t>(key)];
            const auto p = static_cast<std::size_t>(point);
            const cat::Colour keyPixel =
                keySurface->pixel(m_window.state().keyX[p], m_window.state().keyY[p]);
            if (design.areaColour[s] == cat::kNoColour) {
                checkBlank(m, slot, line, keyPixel, wrong);
                continue;
            }
            const bool tape = slot == cat::tapeSlot(m);
            const cat::PaletteColour* colour = shownColour(m, slot, design);
            if (colour == nullptr) {
                if (asRead(m, slot, design))
                    checkBlank(m, slot, line, keyPixel, wrong);
                else
                    wrong << "model " << m << " slot " << slot << " holds colour " << design.areaColour[s]
                          << " of fabric " << design.areaFabric[s] << ", which no palette of the model has\n";
                continue;
            }
            if (line.rfind(std::string(colour->name) + " (", 0) != 0)
                wrong << "model " << m << " slot " << slot << " is " << colour->name
                      << " but its line reads \"" << line << "\"\n";
            if (keyPixel != colour->value)
                wrong << "model " << m << " slot " << slot << " key slot does not show " << colour->name
                      << "\n";
            if (tape)
                continue; // the tape is shown in the key and the list only
            if (const cat::AreaSeeds* seeds = cat::seedsOf(m, slot))
                for (const cat::SeedPoint& seed : seeds->seeds())
                    if (drawing->pixel(seed.x, seed.y) != colour->value)
                        wrong << "model " << m << " slot " << slot << " seed (" << seed.x << "," << seed.y
                              << ") is not " << colour->name << "\n";
        }
    }

    // --- The File menu ---------------------------------------------------

    QString extension(int m) const { return tk::qs(cat::kModels[m].defaultExtension); }

    // Save As as the user answers it: cancelled, a name typed without an
    // extension, with this model's (now and then in capitals), or with
    // another model's, which is refused and the dialog shown again. False
    // when nothing was written.
    bool planSaveAs(int m, FilePlan& plan)
    {
        const auto mi = static_cast<std::size_t>(m);
        for (;;) {
            plan.dialogs.emplace_back(QStringLiteral("Save As"), m_name[mi]);
            const int kind = number(0, 19);
            if (kind < 3) {
                m_dialogs.answers.emplace_back(std::nullopt);
                return false;
            }
            const QString base = m_folder + QStringLiteral("/d") + QString::number(number(0, 5));
            if (kind >= 16) {
                const int other = (m + number(1, cat::kModelCount - 1)) % cat::kModelCount;
                m_dialogs.answers.emplace_back(base + QLatin1Char('.') + extension(other));
                plan.asked.emplace_back(kInvalidExtension, tk::kOkExclamation);
                m_messages.answers.push_back(tk::kOk);
                continue;
            }
            const QString typed = kind < 7    ? base
                                  : kind < 15 ? base + QLatin1Char('.') + extension(m)
                                              : base + QLatin1Char('.') + extension(m).toUpper();
            m_dialogs.answers.emplace_back(typed);
            const QString path = typed == base ? base + QLatin1Char('.') + extension(m) : typed;
            plan.written = path;
            plan.record = recordOf(m, m_window.state()[m]);
            m_name[mi] = QFileInfo(path).fileName();
            m_path[mi] = path;
            return true;
        }
    }

    bool planSave(int m, FilePlan& plan)
    {
        const auto mi = static_cast<std::size_t>(m);
        if (m_name[mi] == tk::qs(cat::kUntitled))
            return planSaveAs(m, plan);
        plan.written = m_path[mi];
        plan.record = recordOf(m, m_window.state()[m]);
        return true;
    }

    // The save question of New and Open, asked exactly when the design has
    // changed since it was last saved; false when the command stops there.
    bool planQuestion(int m, bool open, FilePlan& plan)
    {
        const design::ModelDesign& design = m_window.state()[m];
        if (design.saved || !design.changed)
            return true;
        plan.asked.emplace_back(QStringLiteral("Do you want to save '") +
                                    m_name[static_cast<std::size_t>(m)] +
                                    (open ? QStringLiteral("'.") : QStringLiteral("'")),
                                tk::kYesNoCancelQuestion);
        static constexpr int answers[] = {tk::kYes, tk::kNo, tk::kCancel};
        const int answer = answers[number(0, 2)];
        m_messages.answers.push_back(answer);
        if (answer == tk::kCancel)
            return false;
        return answer == tk::kNo || planSave(m, plan);
    }

    // The Open dialog: cancelled, a file of another model (refused), or a
    // file with this model's extension, picked or typed without it.
    void planOpen(int m, FilePlan& plan)
    {
        plan.dialogs.emplace_back(QStringLiteral("Open File"), QString());
        QFileInfoList own;
        QFileInfoList others;
        for (const QFileInfo& file : QDir(m_folder).entryInfoList(QDir::Files, QDir::Name))
            (file.suffix().compare(extension(m), Qt::CaseInsensitive) == 0 ? own : others).push_back(file);
        const int kind = number(0, 19);
        if (kind < 3 || (own.empty() && others.empty())) {
            m_dialogs.answers.emplace_back(std::nullopt);
            return;
        }
        if (own.empty() || (kind < 6 && !others.empty())) {
            m_dialogs.answers.emplace_back(others[number(0, static_cast<int>(others.size()) - 1)].filePath());
            plan.asked.emplace_back(kInvalidExtension, tk::kOkExclamation);
            m_messages.answers.push_back(tk::kOk);
            return;
        }
        const QFileInfo& file = own[number(0, static_cast<int>(own.size()) - 1)];
        const bool typedBare = kind == 19 && file.suffix() == extension(m);
        m_dialogs.answers.emplace_back(typedBare ? file.path() + QLatin1Char('/') + file.completeBaseName()
                                                 : file.filePath());
        plan.outcome = FilePlan::Outcome::Opened;
        plan.opened = file.filePath();
    }

    void fileCommand(Action action, int page, std::ostringstream& did)
    {
        const int m = page;
        const auto mi = static_cast<std::size_t>(m);
        const design::ModelDesign before = m_window.state()[m];
        m_messages.asked.clear();
        m_dialogs.requests.clear();
        FilePlan plan;
        QAction* command = nullptr;
        switch (action) {
        case Action::FileNew:
            did << "New";
            command = m_commands[0];
            if (planQuestion(m, false, plan)) {
                plan.outcome = FilePlan::Outcome::Reset;
                m_name[mi] = tk::qs(cat::kUntitled);
            }
            break;
        case Action::FileOpen:
            did << "Open";
            command = m_commands[1];
            if (planQuestion(m, true, plan))
                planOpen(m, plan);
            break;
        case Action::FileSave:
            did << "Save";
            command = m_commands[2];
            planSave(m, plan);
            break;
        default:
            did << "Save As";
            command = m_commands[3];
            planSaveAs(m, plan);
            break;
        }
        did << " on page " << page << ", answers";
        for (int answer : m_messages.answers)
            did << ' ' << answer;
        did << ", dialogs";
        for (const std::optional<QString>& answer : m_dialogs.answers)
            did << " \"" << (answer ? QFileInfo(*answer).fileName().toStdString() : std::string("<cancel>"))
                << '"';
        if (number(0, 1) == 0) {
            did << ", by menu";
            command->trigger();
        } else {
            did << ", by key";
            QWidget* target = QApplication::focusWidget();
            QTest::keySequence(target != nullptr ? target : &m_window, command->shortcut());
        }
        checkFileCommand(m, before, plan);
        if (plan.outcome == FilePlan::Outcome::Reset ||
            (plan.outcome == FilePlan::Outcome::Opened && m_name[mi] == tk::qs(cat::kUntitled)))
            m_hasRead[mi] = false;
        m_messages.asked.clear();
        m_dialogs.requests.clear();
        m_messages.answers.clear();
        m_dialogs.answers.clear();
    }

    // What the command asked, wrote and left, against the plan.
    void checkFileCommand(int m, const design::ModelDesign& before, const FilePlan& plan)
    {
        const auto mi = static_cast<std::size_t>(m);
        std::ostringstream wrong;
        if (!m_messages.answers.empty() || !m_dialogs.answers.empty())
            wrong << m_messages.answers.size() << " answers and " << m_dialogs.answers.size()
                  << " dialog answers were never asked for\n";
        const auto asked = m_messages.asked.size();
        for (std::size_t i = 0; i < std::max(asked, plan.asked.size()); ++i) {
            const std::string got = i < asked ? m_messages.asked[i].prompt.toStdString() + " /" +
                                                    std::to_string(m_messages.asked[i].style)
                                              : "<nothing>";
            const std::string want = i < plan.asked.size() ? plan.asked[i].first.toStdString() + " /" +
                                                                 std::to_string(plan.asked[i].second)
                                                           : "<nothing>";
            if (got != want)
                wrong << "message " << i << " is \"" << got << "\", not \"" << want << "\"\n";
        }
        const auto shown = m_dialogs.requests.size();
        for (std::size_t i = 0; i < std::max(shown, plan.dialogs.size()); ++i) {
            const std::string got = i < shown ? m_dialogs.requests[i].title.toStdString() + " proposing \"" +
                                                    m_dialogs.requests[i].proposedName.toStdString() + "\""
                                              : "<nothing>";
            const std::string want = i < plan.dialogs.size()
                                         ? plan.dialogs[i].first.toStdString() + " proposing \"" +
                                               plan.dialogs[i].second.toStdString() + "\""
                                         : "<nothing>";
            if (got != want)
                wrong << "dialog " << i << " is " << got << ", not " << want << "\n";
        }
        m_written += plan.written.isEmpty() ? 0 : 1;
        if (!plan.written.isEmpty() && fileBytes(plan.written).left(plan.record.size()) != plan.record)
            wrong << "the file " << QFileInfo(plan.written).fileName().toStdString()
                  << " does not start with the design's record\n";

        design::ModelDesign& design = m_window.state()[m];
        const auto sameDesign = [&](const design::ModelDesign& other) {
            for (int slot = 0; slot < cat::slotCount(m); ++slot) {
                const auto s = static_cast<std::size_t>(slot);
                if (design.areaColour[s] != other.areaColour[s] ||
                    design.areaFabric[s] != other.areaFabric[s])
                    wrong << "slot " << slot << " holds " << design.areaColour[s] << "/"
                          << design.areaFabric[s] << ", not " << other.areaColour[s] << "/"
                          << other.areaFabric[s] << "\n";
            }
        };
        const bool wrote = !plan.written.isEmpty();
        bool cleanFlags = wrote;
        design::ModelDesign expected = before;
        switch (plan.outcome) {
        case FilePlan::Outcome::Kept: sameDesign(before); break;
        case FilePlan::Outcome::Reset:
            expected.areaColour.fill(cat::kNoColour);
            expected.areaFabric.fill(cat::kNoColour);
            sameDesign(expected);
            cleanFlags = true;
            if (c().MainPB[mi]->image() != m_pristine[mi])
                wrong << "the drawing after New is not the clean drawing\n";
            break;
        case FilePlan::Outcome::Opened: {
            const QByteArray bytes = fileBytes(plan.opened);
            expected.areaColour.fill(cat::kNoColour);
            expected.areaFabric.fill(cat::kNoColour);
            cleanFlags = true;
            // A file shorter than the record is refused, and the model is left as New left it.
            if (bytes.size() < files::recordBytes(m)) {
                m_name[mi] = tk::qs(cat::kUntitled);
                sameDesign(expected);
                break;
            }
            int word = 0;
            for (int slot = 0; slot < cat::slotCount(m); ++slot) {
                const auto s = static_cast<std::size_t>(slot);
                expected.areaColour[s] = wordAt(bytes, word++);
                if (slot != cat::tapeSlot(m))
                    expected.areaFabric[s] = wordAt(bytes, word++);
            }
            sameDesign(expected);
            ++m_opened;
            for (int slot = 0; slot < cat::slotCount(m); ++slot)
                if (expected.areaColour[static_cast<std::size_t>(slot)] != cat::kNoColour &&
                    shownColour(m, slot, expected) == nullptr) {
                    ++m_openedOdd;
                    break;
                }
            m_readColour[mi] = expected.areaColour;
            m_readFabric[mi] = expected.areaFabric;
            m_hasRead[mi] = true;
            m_name[mi] = QFileInfo(plan.opened).fileName();
            m_path[mi] = plan.opened;
            break;
        }
        }
        if (cleanFlags && (!design.saved || design.changed))
            wrong << "saved " << design.saved << ", changed " << design.changed << " after the command\n";
        if (!cleanFlags && (design.saved != before.saved || design.changed != before.changed))
            wrong << "the flags changed though nothing was saved, reset or opened\n";
        if (m_name[mi] != tk::qs(cat::kUntitled) && QString::fromStdString(design.filePath) != m_path[mi])
            wrong << "model " << m << " keeps the path " << design.filePath << "\n";
        m_fileWrong += wrong.str();
    }

    // Outside the program: a saved file copied under a name with any model's
    // extension, or a file of any bytes from elsewhere.
    void fileManager(std::ostringstream& did)
    {
        const QString target = m_folder + QStringLiteral("/d") + QString::number(number(0, 5)) +
                               QLatin1Char('.') + extension(number(0, cat::kModelCount - 1));
        const QFileInfoList present = QDir(m_folder).entryInfoList(QDir::Files, QDir::Name);
        if (present.empty() || number(0, 4) == 0) {
            QByteArray bytes(number(0, 2 * files::kMaxRecordBytes), '\0');
            for (char& byte : bytes)
                byte = static_cast<char>(number(0, 255));
            did << "write " << bytes.size() << " bytes of anything as "
                << QFileInfo(target).fileName().toStdString();
            QFile file(target);
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
                m_fileWrong += "could not write " + target.toStdString() + "\n";
            return;
        }
        const QFileInfo& source = present[number(0, static_cast<int>(present.size()) - 1)];
        did << "copy " << source.fileName().toStdString() << " as "
            << QFileInfo(target).fileName().toStdString();
        if (source.filePath() == target)
            return;
        QFile::remove(target);
        if (!QFile::copy(source.filePath(), target))
            m_fileWrong += "could not copy " + source.filePath().toStdString() + "\n";
    }

    app::MainWindow& m_window;
    std::mt19937_64 m_random;
    std::vector<double> m_weights;
    std::discrete_distribution<int> m_pick;
    int m_last = 0;
    int m_fileActions = 0;
    int m_written = 0;
    int m_opened = 0;
    int m_openedOdd = 0;

    // The file commands' world: one folder for the whole run, so Open reads
    // back what was saved (or copied) earlier.
    QTemporaryDir m_dir;
    QString m_folder;
    tk::ScriptedMessageService m_messages;
    tk::ScriptedFileDialogService m_dialogs;
    std::vector<QAction*> m_commands;
    // What the user expects each model's file to be, and its clean drawing.
    std::array<QString, cat::kModelCount> m_name;
    std::array<QString, cat::kModelCount> m_path;
    std::array<QImage, cat::kModelCount> m_pristine;
    // The words the last Open read into each model.
    std::array<bool, cat::kModelCount> m_hasRead{};
    std::array<std::array<std::int16_t, cat::kMaxSlots>, cat::kModelCount> m_readColour{};
    std::array<std::array<std::int16_t, cat::kMaxSlots>, cat::kModelCount> m_readFabric{};
    std::string m_fileWrong;
};

TEST(RandomUser, EveryActionLeavesWhatTheUserSeesConsistent)
{
    const std::uint64_t seed =
        envNumber("DESIGNER_UI_SEED",
                  static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    const int actions = static_cast<int>(envNumber("DESIGNER_UI_ACTIONS", kDefaultActions));
    const std::string replay =
        "replay with DESIGNER_UI_SEED=" + std::to_string(seed) + " DESIGNER_UI_ACTIONS=<action number>";
    const bool trace = envNumber("DESIGNER_UI_TRACE", 0) != 0; // prints every action
    std::cout << "Random user: seed " << seed << ", " << actions << " actions" << std::endl;

    app::MainWindow window;
    window.formLoad();
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
        const std::string wrong = user.check();
        ASSERT_EQ(wrong, "") << "seed " << seed << ", action " << n << ": " << did << "\n" << replay;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    int painted = 0;
    for (const design::ModelDesign& model : window.state().models)
        for (std::int16_t colour : model.areaColour)
            painted += colour != cat::kNoColour ? 1 : 0;
    std::cout << "Random user: " << actions << " actions (" << user.fileSummary() << ") in " << seconds
              << " s; " << painted << " areas coloured at the end" << std::endl;
}

} // namespace
