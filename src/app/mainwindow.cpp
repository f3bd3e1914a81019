#include "app/mainwindow.h"

#include "app/about.h"
#include "app/print_dialogs.h"
#include "app/user_guide.h"

#include "catalogue/catalogue.h"
#include "commands/file_commands.h"
#include "design/history.h"
#include "toolkit/dialogs.h"
#include "toolkit/listbox.h"
#include "toolkit/names.h"
#include "toolkit/palettesurface.h"
#include "toolkit/picturesurface.h"
#include "toolkit/tabstrip.h"
#include "toolkit/zoom.h"

#include <QAction>
#include <QCloseEvent>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTimer>
#include <QUndoGroup>
#include <QUndoStack>
#include <QWindow>

namespace app {

namespace {

using tk::qs;

// What a hint-bearing control is, kept as a dynamic property so one event
// filter serves them all.
constexpr const char* kHintProperty = "hintKind";
enum HintKind { kHintFrame = 1, kHintLabel = 2 };

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent)
{
    tk::nameControl(this, QStringLiteral("frmMain"), qs(cat::kAppTitle));
    m_ownMessages = std::make_unique<tk::QtMessageService>(this);
    m_messages = m_ownMessages.get();
    m_ownDialogs = std::make_unique<tk::QtFileDialogService>(this);
    m_dialogs = m_ownDialogs.get();
    m_ownPrintDialogs = std::make_unique<QtPrintDialogService>(this);
    m_printDialogs = m_ownPrintDialogs.get();
    m_controls.window = this;
    // The layout is laid out for a small, classic dialog font.
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);
    state::resetToStartValues(m_state);

    buildMenus();
    m_controls.tabs = new tk::TabStrip(QStringLiteral("tab1"), QStringLiteral("Suit models"), this);
    m_controls.tabs->setCaptions(qs(cat::kTabCaptions));
    // Eight captions must fit the width of one page.
    m_controls.tabs->setUsesScrollButtons(false);
    m_controls.tabs->tabBar()->setStyleSheet(tabRowStyle(100));
    // The pages keep their layout; a larger window shows them zoomed, centred.
    m_canvas = new ZoomCanvas(m_controls.tabs, this);
    setCentralWidget(m_canvas);
    for (int m = 0; m < cat::kModelCount; ++m)
        buildPage(m);
    std::vector<QWidget*> pages;
    for (int m = 0; m < cat::kModelCount; ++m)
        pages.push_back(m_controls.tabs->page(m));
    m_layoutZoom = std::make_unique<tk::LayoutZoom>(std::move(pages));
    connect(m_canvas, &ZoomCanvas::resized, this, &MainWindow::onCanvasResized);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(20000);

    m_designer = std::make_unique<design::Designer>(m_state, m_controls);
    m_files = std::make_unique<commands::FileCommands>(m_state, *m_designer, *m_messages, *m_ownDialogs);
    connect(m_menuCommands[0], &QAction::triggered, this, [this] { m_files->onNew(); });
    connect(m_menuCommands[1], &QAction::triggered, this, [this] { m_files->onOpen(); });
    connect(m_menuCommands[2], &QAction::triggered, this, [this] { m_files->onSave(); });
    connect(m_menuCommands[3], &QAction::triggered, this, [this] { m_files->onSaveAs(); });
    for (int m = 0; m < cat::kModelCount; ++m)
        connectPage(m);
    connect(m_controls.tabs, &tk::TabStrip::switched, this,
            [this](int oldTab, int newTab) { m_designer->onTabSwitched(oldTab, newTab); });
    connect(m_controls.frontView, &QRadioButton::clicked, this, [this] { m_designer->onFrontViewChosen(); });
    connect(m_controls.backView, &QRadioButton::clicked, this, [this] { m_designer->onBackViewChosen(); });
    connect(m_timer, &QTimer::timeout, this, &MainWindow::showNextNews);
    connectHistory();
    setupKeyboard();
    setAcceptDrops(true);
    showRecentFiles();
    m_files->setFileUsedHandler([this](int, const QString& path) { rememberFile(path); });
}

void MainWindow::connectHistory()
{
    design::EditHistory& history = m_designer->history();
    connect(m_undo, &QAction::triggered, this, [this] { m_designer->history().undo(); });
    connect(m_redo, &QAction::triggered, this, [this] { m_designer->history().redo(); });
    // Each model walks its own history: the current tab's.
    connect(m_controls.tabs, &tk::TabStrip::switched, this,
            [this](int, int newTab) { m_designer->history().setActiveModel(newTab); });
    // A step pushed, undone or redone, a history cleared, another tab.
    connect(&history.group(), &QUndoGroup::indexChanged, this, &MainWindow::showEditCommands);
    connect(&history.group(), &QUndoGroup::activeStackChanged, this, &MainWindow::showEditCommands);
    showEditCommands();
}

void MainWindow::showEditCommands()
{
    const design::EditHistory& history = m_designer->history();
    m_undo->setEnabled(history.canUndo());
    m_undo->setText(history.canUndo() ? QStringLiteral("&Undo ") + history.undoCaption()
                                      : QStringLiteral("&Undo"));
    m_redo->setEnabled(history.canRedo());
    m_redo->setText(history.canRedo() ? QStringLiteral("&Redo ") + history.redoCaption()
                                      : QStringLiteral("&Redo"));
}

MainWindow::~MainWindow()
{
    // The history goes before the window's own QObject: no menu update on the way.
    disconnect(&m_designer->history().group(), nullptr, this, nullptr);
}

void MainWindow::setMessageService(tk::MessageService* service)
{
    m_messages = service != nullptr ? service : m_ownMessages.get();
    m_files->setMessageService(*m_messages);
}

void MainWindow::setFileDialogService(tk::FileDialogService* service)
{
    m_dialogs = service != nullptr ? service : m_ownDialogs.get();
    m_files->setFileDialogService(*m_dialogs);
}

void MainWindow::buildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("fileMnu"));
    auto add = [this](QMenu* menu, const char* name, const QString& caption) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setEnabled(false); // start-up enables the commands
        return action;
    };
    m_menuCommands[0] = add(file, "newMnu", QStringLiteral("&New"));
    m_menuCommands[1] = add(file, "openMnu", QStringLiteral("&Open..."));
    m_recentMenu = file->addMenu(QStringLiteral("Open Recent"));
    m_recentMenu->setObjectName(QStringLiteral("recentMnu"));
    file->addSeparator();
    m_menuCommands[2] = add(file, "saveMnu", QStringLiteral("&Save"));
    m_menuCommands[3] = add(file, "saveasMnu", QStringLiteral("Save &as..."));
    file->addSeparator();
    m_menuCommands[0]->setShortcut(QKeySequence::New);
    m_menuCommands[1]->setShortcut(QKeySequence::Open);
    m_menuCommands[2]->setShortcut(QKeySequence::Save);
    // Some platforms define no Save As key; users expect Ctrl+Shift+S there too.
    const QList<QKeySequence> saveAsKeys = QKeySequence::keyBindings(QKeySequence::SaveAs);
    m_menuCommands[3]->setShortcuts(saveAsKeys.isEmpty()
                                        ? QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}
                                        : saveAsKeys);
    addOrderSheetCommands(file);
    m_menuCommands[4] = add(file, "exitMnu", QStringLiteral("E&xit"));
    m_menuCommands[4]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    // Disabled until there is a step to take back or do again.
    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("editMnu"));
    m_undo = add(edit, "undoMnu", QStringLiteral("&Undo"));
    m_redo = add(edit, "redoMnu", QStringLiteral("&Redo"));
    m_undo->setShortcuts(QKeySequence::Undo);
    m_redo->setShortcuts(QKeySequence::Redo);
    addOrderDetailsCommand(edit);
    edit->addSeparator();
    m_copyPicture = edit->addAction(QStringLiteral("Copy Picture"));
    m_copyPicture->setObjectName(QStringLiteral("copyMnu"));
    m_copyPicture->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    connect(m_copyPicture, &QAction::triggered, this, &MainWindow::copyPicture);
    buildViewMenu();
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("helpMnu"));
    // The guide's command shares its name with the menu; each is found by its type.
    QAction* guide = help->addAction(QStringLiteral("User Guide"));
    guide->setObjectName(QStringLiteral("helpMnu"));
    guide->setShortcut(QKeySequence(Qt::Key_F1));
    connect(guide, &QAction::triggered, this, &MainWindow::showUserGuide);
    help->addSeparator();
    m_menuCommands[5] = add(help, "aboutMnu", QStringLiteral("&About Orlensuits Design"));

    connect(m_menuCommands[4], &QAction::triggered, this, &MainWindow::onExit);
    connect(m_menuCommands[5], &QAction::triggered, this, &MainWindow::onAbout);
}

void MainWindow::connectPage(int m)
{
    const auto mi = static_cast<std::size_t>(m);
    design::Designer* d = m_designer.get();
    auto connectAreaList = [this, d](int index) {
        tk::ListBox* list = m_controls.areaLists[static_cast<std::size_t>(index)];
        connect(list, &tk::ListBox::clicked, this, [d](int i) { d->onAreaChosen(i); });
        connect(list, &tk::ListBox::pointerMoved, this, [this](int i) { showHint(i, cat::kHintAreaList); });
        tk::ListBox* colours = m_controls.colourLists[static_cast<std::size_t>(index)];
        connect(colours, &tk::ListBox::pointerMoved, this,
                [this](int i) { showHint(i, cat::kHintColourList); });
        tk::PictureSurface* key = m_controls.colourKeys[static_cast<std::size_t>(index)];
        connect(key, &tk::PictureSurface::pointerMoved, this, [this](int i) { showHint(i, cat::kHintKey); });
    };
    connectAreaList(m);
    if (m == cat::kBrisa)
        connectAreaList(cat::kBrisaBack);

    tk::PictureSurface* drawing = m_controls.drawings[mi];
    connect(drawing, &tk::PictureSurface::leftReleased, this,
            [d](int i, QPointF at) { d->onDrawingReleased(i, tk::PictureSurface::pixelAt(at)); });
    connect(drawing, &tk::PictureSurface::pointerMoved, this,
            [d](int i, QPointF at) { d->onDrawingHover(i, tk::PictureSurface::pixelAt(at)); });
    connect(m_controls.fabricLists[mi], &tk::ListBox::clicked, this, [d](int i) { d->onFabricChosen(i); });
    connect(m_controls.fabricLists[mi], &tk::ListBox::pointerMoved, this,
            [this](int i) { showHint(i, cat::kHintFabricList); });
    // The pointer and the keyboard's focus cell reach the same handlers.
    tk::PaletteSurface* palette = m_controls.palettes[mi];
    connect(palette, &tk::PictureSurface::pointerMoved, this,
            [this](int i) { showHint(i, cat::kHintPalette); });
    connect(palette, &tk::PaletteSurface::cellPointed, this, [this, d](int i, int column, int row) {
        showHint(i, cat::kHintPalette);
        d->pointPaletteCell(i, {column, row});
    });
    connect(palette, &tk::PaletteSurface::cellApplied, this, [d](int i, int column, int row) {
        d->applyPaletteCell(i, {column, row});
    });

    const PagePanels& p = m_panels[mi];
    connect(p.selectionButton, &QPushButton::clicked, this, [this, m] { showSelectionPanel(m); });
    connect(p.suitInfoButton, &QPushButton::clicked, this, [this, m] { showSuitInfoPanel(m); });
    connect(p.orderInfoButton, &QPushButton::clicked, this, [this, m] { showOrderInfoPanel(m); });
    p.selectionFrame->setProperty(kHintProperty, kHintFrame);
    p.selectionFrame->setProperty("controlIndex", m);
    p.selectionFrame->setMouseTracking(true);
    p.selectionFrame->installEventFilter(this);
    m_controls.colourLabels[mi]->setProperty(kHintProperty, kHintLabel);
    m_controls.colourLabels[mi]->setProperty("controlIndex", m);
    m_controls.colourLabels[mi]->setMouseTracking(true);
    m_controls.colourLabels[mi]->installEventFilter(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Expose && m_placePending &&
        watched == static_cast<QObject*>(windowHandle()) && windowHandle()->isExposed()) {
        // Exposed means mapped: a reparenting window manager has put its frame
        // around the window by now, so the outer size counts the decorations.
        m_placePending = false;
        placeOnScreen();
    }
    if (event->type() == QEvent::MouseMove) {
        // Hints come only from the control under the pointer. A move the label
        // or a frame child does not take is handed on to the frame with the
        // position mapped into it; the frame's hint is for its free space.
        const int kind = watched->property(kHintProperty).toInt();
        const int index = watched->property("controlIndex").toInt();
        auto* move = static_cast<QMouseEvent*>(event);
        if (kind == kHintFrame) {
            auto* frame = static_cast<QWidget*>(watched);
            if (frame->childAt(move->position().toPoint()) == nullptr) {
                showHint(index, cat::kHintFrame);
                m_controls.colourLabels[static_cast<std::size_t>(index)]->clear();
            }
            return true;
        }
        if (kind == kHintLabel) {
            m_controls.colourLabels[static_cast<std::size_t>(index)]->clear();
            move->accept();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::showHint(int index, std::string_view hint)
{
    const int page = index == cat::kBrisaBack ? cat::kBrisa : index;
    if (cat::isModelIndex(page))
        m_panels[static_cast<std::size_t>(page)].newsPanel->setText(qs(hint));
}

void MainWindow::showSelectionPanel(int index)
{
    PagePanels& p = m_panels[static_cast<std::size_t>(index)];
    p.infoFrame->hide();
    p.orderFrame->hide();
    p.selectionButton->setEnabled(false);
    p.suitInfoButton->setEnabled(true);
    p.suitInfoButton->setFocus();
    p.orderInfoButton->setEnabled(true);
}

void MainWindow::showSuitInfoPanel(int index)
{
    PagePanels& p = m_panels[static_cast<std::size_t>(index)];
    p.orderFrame->hide();
    p.infoFrame->show();
    p.selectionButton->setEnabled(true);
    p.suitInfoButton->setEnabled(false);
    p.orderInfoButton->setEnabled(true);
    p.orderInfoButton->setFocus();
}

void MainWindow::showOrderInfoPanel(int index)
{
    PagePanels& p = m_panels[static_cast<std::size_t>(index)];
    p.infoFrame->show();
    p.orderFrame->show();
    p.selectionButton->setEnabled(true);
    p.selectionButton->setFocus();
    p.suitInfoButton->setEnabled(true);
    p.orderInfoButton->setEnabled(false);
}

void MainWindow::showNextNews()
{
    m_newsIndex = m_newsIndex + 1 > 5 ? 0 : m_newsIndex + 1;
    const int page = m_controls.tabs->currentTab();
    if (cat::isModelIndex(page))
        m_panels[static_cast<std::size_t>(page)].newsPanel->setText(
            qs(cat::kNews[static_cast<std::size_t>(m_newsIndex)]));
}

void MainWindow::onAbout()
{
    AboutWindow about(this);
    about.startUp();
    about.exec();
}

void MainWindow::showUserGuide()
{
    if (m_guide == nullptr)
        m_guide = new UserGuide(this);
    m_guide->show();
    m_guide->raise();
    m_guide->activateWindow();
}

void MainWindow::onExit()
{
    close(); // closeEvent asks the unload question
}

bool MainWindow::mayClose()
{
    bool anyChanged = false;
    for (const state::ModelDesign& model : m_state.models)
        anyChanged = anyChanged || model.changed;
    if (!anyChanged)
        return true;
    // No is the default: an Enter pressed by habit keeps the designs.
    return m_messages->ask(QStringLiteral("Do you wish to exit without saving suit(s). "), tk::kYesNoQuestion,
                           tk::kNo) == tk::kYes;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (mayClose()) {
        savePreferences(true);
        event->accept();
    } else
        event->ignore();
}

} // namespace app
