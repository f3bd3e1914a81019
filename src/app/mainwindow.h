#pragma once

#include "app/zoom.h"
#include "design/controls.h"
#include "design/designer.h"
#include "state/state.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <array>
#include <memory>

class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QFont;
class QPushButton;
class QTimer;
class QPoint;
class QRect;
class QSize;

namespace commands {
class FileCommands;
}

namespace render {
struct OrderSheet;
}

namespace tk {
class MessageService;
class FileDialogService;
class DrawingFrame;
class PictureSurface;
class TextBox;
class LayoutZoom;
} // namespace tk

namespace app {

class PrintDialogService;
class Preferences;

// The controls of one model page that belong to the application shell (the
// editing controls are in design::Controls).
struct PagePanels {
    tk::DrawingFrame* drawingFrame = nullptr; // the frame around the drawing: nothing is drawn on it
    QGroupBox* selectionFrame = nullptr;
    QLabel* areaHeading = nullptr;
    QGroupBox* infoFrame = nullptr;
    tk::TextBox* suitInfoText = nullptr;
    QGroupBox* orderFrame = nullptr;
    tk::TextBox* orderInfoText = nullptr;
    QPushButton* selectionButton = nullptr;
    QPushButton* suitInfoButton = nullptr;
    QPushButton* orderInfoButton = nullptr;
    QFrame* statusBar = nullptr;
    QLabel* newsPanel = nullptr;
    QLabel* modelPanel = nullptr;
};

// Where the main window goes: centred on the screen by its outer (decorated)
// size; a window wider than the screen goes to 48 twips above and left of the
// screen's top-left corner instead.
QPoint startPosition(const QSize& frame, const QRect& screen);

// Where a window's frame goes to lie inside an area: moved left and up as
// far as needed, never beyond the area's top-left corner.
QPoint keptInside(const QRect& frame, const QRect& area);

// The folder the first Open or Save As dialog starts in: the program's own
// folder where the user may write into it and it is no system folder (a
// build or an unpacked copy run in place), else the user's documents folder
// (made by the first dialog that opens there, not here), else the home folder.
QString firstDialogFolder(const QString& programFolder);

// Every text the news and hint panel shows: the welcome, the news messages
// and the hints.
QStringList statusTexts();

// The panel buttons are narrow for their captions in most fonts: the largest
// font, condensed if need be, in which every caption keeps its padding.
QFont captionFont(const std::array<QPushButton*, 3>& buttons);

// The tab row's look at a zoom.
QString tabRowStyle(int percent);

// The designer's main window: a menu bar and one tab page per suit model.
// Construction builds the pages; startUp() runs the start-up that fills them
// and shows the window.
class MainWindow final : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up: fills every page from the catalogue, draws drawings, palettes
    // and colour keys, puts the design state into its start values, shows the
    // window. Runs once.
    void startUp();

    // The splash window that start-up closes as its last step.
    void setSplash(QWidget* splash) { m_splash = splash; }

    // Test seams: scripted questions and dialogs instead of Qt's own.
    void setMessageService(tk::MessageService* service);
    void setFileDialogService(tk::FileDialogService* service);
    void setPrintDialogService(PrintDialogService* service);

    design::Designer& designer() { return *m_designer; }
    commands::FileCommands& fileCommands() { return *m_files; }
    state::DesignState& state() { return m_state; }
    const design::Controls& controls() const { return m_controls; }
    const PagePanels& panels(int m) const { return m_panels[static_cast<std::size_t>(m)]; }
    QTimer* newsTimer() const { return m_timer; }

    // Panel buttons, news ticker and hints.
    void showSelectionPanel(int index);
    void showSuitInfoPanel(int index);
    void showOrderInfoPanel(int index);
    void showNextNews();

    // Help > About: the About window, modal. File > Exit: closes the window
    // through its unload question.
    void onAbout();
    void onExit();

    // File > Print..., Print Preview... and Export Order Sheet... (PDF, or
    // PNG by the chosen extension): the order sheet of the current model's
    // design as it stands (mainwindow_print.cpp).
    void onPrint();
    void onPrintPreview();
    void onExportSheet();
    render::OrderSheet currentOrderSheet() const;

    // Edit > Order Details...: the current model's order details in a
    // window-modal dialog; OK applies them as one step of that model's
    // history (mainwindow_order.cpp).
    void onOrderDetails();

    // The zoom in percent, one of kZoomSteps (mainwindow_zoom.cpp). Before
    // start-up it is the zoom the window opens at; later it resizes the
    // window as View > Zoom In and Zoom Out do, but to any size.
    void setZoom(int percent);
    int zoom() const { return m_zoomPercent; }
    const ZoomGeometry& zoomGeometry() const { return m_zoomGeometry; }
    // The layout's sizes, as start-up will find them: known before start-up.
    ZoomGeometry layoutGeometry() const;

    // What is remembered between runs: dialog folder, recent files, window
    // position (mainwindow_files.cpp). Set before start-up; without it
    // nothing is read or kept.
    void setPreferences(Preferences* preferences);
    // File > Open Recent: newest first.
    const QStringList& recentFiles() const { return m_recent; }
    // Opens a recent file on its model's tab; one gone since is said and
    // dropped from the list.
    void openRecent(const QString& path);
    void clearRecentFiles();
    // Files dropped on the window or handed over by a second start: each on
    // its model's tab, as files named on the command line.
    void openFiles(const QStringList& paths);
    // A second start without files: the window comes to the front.
    void comeToFront();
    // Edit > Copy Picture: the current model's drawing, both views, at 100 %.
    void copyPicture();
    // Help > User Guide: the guide in a window of its own.
    void showUserGuide();

signals:
    void zoomChanged(int percent);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildViewMenu();
    void showRecentFiles(); // refills File > Open Recent
    void rememberFile(const QString& path);
    // The window's position is kept only when the window closes: until then
    // the window manager may still be placing it.
    void savePreferences(bool withPosition = false);
    // A zoom command's `withinScreen` refuses a step whose window would not
    // fit the screen's available area.
    void zoomTo(int percent, bool withinScreen);
    void applyZoom(int percent);
    void onCanvasResized(const QSize& size);
    QRect availableArea() const;
    // Brisa's view options read as one line with "Suit Area" at any zoom.
    void alignViewOptions();
    void connectHistory();
    // The Edit menu's commands: enabled, and captioned with the step, when there is one.
    void showEditCommands();
    void addOrderSheetCommands(QMenu* file);
    void addOrderDetailsCommand(QMenu* edit);
    void buildPage(int m);
    void buildBrisaView(int m);
    void connectPage(int m);
    void setupKeyboard(); // tab order and tab-strip keys (mainwindow_keyboard.cpp)
    void showHint(int index, std::string_view hint);
    void placeOnScreen();
    bool mayClose(); // true when the window may close

    state::DesignState m_state;
    design::Controls m_controls;
    std::array<PagePanels, 8> m_panels{};
    std::unique_ptr<design::Designer> m_designer;
    std::unique_ptr<tk::MessageService> m_ownMessages;
    tk::MessageService* m_messages = nullptr;
    std::unique_ptr<tk::FileDialogService> m_ownDialogs;
    tk::FileDialogService* m_dialogs = nullptr;
    std::unique_ptr<PrintDialogService> m_ownPrintDialogs;
    PrintDialogService* m_printDialogs = nullptr;
    std::unique_ptr<commands::FileCommands> m_files;
    QTimer* m_timer = nullptr;
    QPointer<QWidget> m_splash;
    std::array<QAction*, 6> m_menuCommands{};
    QAction* m_undo = nullptr;
    QAction* m_redo = nullptr;
    std::array<QAction*, 3> m_sheetCommands{}; // Print, Print Preview, Export Order Sheet
    Preferences* m_preferences = nullptr;
    QStringList m_recent;
    QMenu* m_recentMenu = nullptr;
    QAction* m_copyPicture = nullptr;
    QPointer<QWidget> m_guide;
    ZoomCanvas* m_canvas = nullptr;
    std::unique_ptr<tk::LayoutZoom> m_layoutZoom;
    ZoomGeometry m_zoomGeometry;
    std::array<QAction*, 3> m_zoomCommands{}; // Zoom In, Zoom Out, Actual Size
    int m_zoomPercent = 100;
    bool m_applyingZoom = false; // a zoom command resizes the window
    QAction* m_orderDetails = nullptr;
    int m_newsIndex = 0;
    bool m_loaded = false;
    bool m_placePending = false; // until the window manager has decorated the window
};

} // namespace app
