#pragma once

#include <array>
#include <string_view>

class QLabel;
class QRadioButton;
class QWidget;

namespace tk {
class ListBox;
class PaletteSurface;
class PictureSurface;
class TabStrip;
} // namespace tk

namespace design {

// The controls the editing handlers drive, by control index. Index 8 of the
// area lists, colour lists and colour keys is Brisa's back view. The main
// window owns them; this is only a view onto them.
struct Controls {
    std::array<tk::ListBox*, 9> areaLists{};
    std::array<tk::ListBox*, 9> colourLists{};
    std::array<tk::PictureSurface*, 9> colourKeys{};
    std::array<tk::ListBox*, 8> fabricLists{};
    std::array<tk::PaletteSurface*, 8> palettes{};
    std::array<tk::PictureSurface*, 8> drawings{};
    std::array<QLabel*, 8> fabricLabels{};
    std::array<QLabel*, 8> colourLabels{};
    QRadioButton* frontView = nullptr;
    QRadioButton* backView = nullptr;
    tk::TabStrip* tabs = nullptr;
    QWidget* window = nullptr; // carries the caption
};

// Every control's object name, the id by which tests, accessibility tools and
// scripts find it, with where the code keeps the control and what it is. The
// names are old and terse but they are the controls' public face, so they
// stay as they are. A name marked per page carries the page's index after it
// ("suitlist3"); index 8 of the area lists, colour lists and colour keys is
// Brisa's back view.
struct ControlName {
    std::string_view objectName;
    bool perPage;
    std::string_view member;
    std::string_view what;
};

inline constexpr ControlName kControlNames[] = {
    // The main window and its menus.
    {"frmMain", false, "app::MainWindow", "the main window"},
    {"tab1", false, "Controls::tabs", "the tab strip, one page per suit model"},
    {"page", true, "TabStrip::page()", "a model's page"},
    {"fileMnu", false, "MainWindow::buildMenus()", "the File menu"},
    {"newMnu", false, "MainWindow::m_menuCommands[0]", "File > New"},
    {"openMnu", false, "MainWindow::m_menuCommands[1]", "File > Open..."},
    {"saveMnu", false, "MainWindow::m_menuCommands[2]", "File > Save"},
    {"saveasMnu", false, "MainWindow::m_menuCommands[3]", "File > Save as..."},
    {"recentMnu", false, "MainWindow::m_recentMenu", "File > Open Recent"},
    {"clearRecentMnu", false, "MainWindow::showRecentFiles()", "File > Open Recent > Clear List"},
    {"printMnu", false, "MainWindow::m_sheetCommands[0]", "File > Print..."},
    {"previewMnu", false, "MainWindow::m_sheetCommands[1]", "File > Print Preview..."},
    {"exportMnu", false, "MainWindow::m_sheetCommands[2]", "File > Export Order Sheet..."},
    {"exitMnu", false, "MainWindow::m_menuCommands[4]", "File > Exit"},
    {"editMnu", false, "MainWindow::buildMenus()", "the Edit menu"},
    {"undoMnu", false, "MainWindow::m_undo", "Edit > Undo"},
    {"redoMnu", false, "MainWindow::m_redo", "Edit > Redo"},
    {"orderDetailsMnu", false, "MainWindow::m_orderDetails", "Edit > Order Details..."},
    {"copyMnu", false, "MainWindow::m_copyPicture", "Edit > Copy Picture"},
    {"viewMnu", false, "MainWindow::buildViewMenu()", "the View menu"},
    {"zoomInMnu", false, "MainWindow::m_zoomCommands[0]", "View > Zoom In"},
    {"zoomOutMnu", false, "MainWindow::m_zoomCommands[1]", "View > Zoom Out"},
    {"zoomResetMnu", false, "MainWindow::m_zoomCommands[2]", "View > Actual Size"},
    {"zoomCanvas", false, "app::ZoomCanvas", "the zoomed layout, centred in the window"},
    {"helpMnu", false, "MainWindow::buildMenus()", "the Help menu, and its User Guide command"},
    {"aboutMnu", false, "MainWindow::m_menuCommands[5]", "Help > About"},
    {"nextPageKey", false, "MainWindow::setupKeyboard()", "Ctrl+PgDown, the next model's page"},
    {"previousPageKey", false, "MainWindow::setupKeyboard()", "Ctrl+PgUp, the previous model's page"},
    {"Timer1", false, "MainWindow::newsTimer()",
     "the news ticker's timer, and the splash window's hand-over timer"},
    // The controls of each page.
    {"backPB", true, "PagePanels::drawingFrame", "the frame around the drawing"},
    {"frameEdge", false, "DrawingFrame", "the drawing frame's sunken edge"},
    {"MainPB", true, "Controls::drawings", "the suit's drawing"},
    {"Frame1", true, "PagePanels::selectionFrame", "the Selection frame"},
    {"lblfabric", true, "Controls::fabricLabels", "\"Fabric\" and the fall rate of the fabric chosen"},
    {"matlist", true, "Controls::fabricLists", "the fabric list"},
    {"colorlbl", true, "Controls::colourLabels", "the name of the palette colour under the pointer"},
    {"ol1Pb", true, "Controls::palettes", "the palette of the current fabric"},
    {"Label1", true, "PagePanels::areaHeading", "\"Suit Area\""},
    {"suitlist", true, "Controls::areaLists", "the area list"},
    {"cbbfrontPb", true, "Controls::colourKeys", "the colour key: one slot per area"},
    {"colordesc", true, "Controls::colourLists", "the colour list, the order summary"},
    {"fffrm", false, "MainWindow::buildBrisaView()", "Brisa's view options' frame"},
    {"frontopt", false, "Controls::frontView", "Brisa's Front view option"},
    {"backopt", false, "Controls::backView", "Brisa's Back view option"},
    {"Frminfo", true, "PagePanels::infoFrame", "the Suit Information panel"},
    {"txtinfo", true, "PagePanels::suitInfoText", "the suit information text"},
    {"Frmorder", true, "PagePanels::orderFrame", "the Ordering Information panel"},
    {"txtorder", true, "PagePanels::orderInfoText", "the ordering information text"},
    {"Command1", true, "PagePanels::selectionButton", "the Selection button"},
    {"Command2", true, "PagePanels::suitInfoButton", "the Suit Info button"},
    {"Command3", true, "PagePanels::orderInfoButton", "the Ordering Info button"},
    {"SSstatus0", true, "PagePanels::statusBar", "the status bar"},
    {"SSstatus1", true, "PagePanels::newsPanel", "news and hints"},
    {"SSstatus2", true, "PagePanels::modelPanel", "the model's heading"},
    // The About and splash windows.
    {"frmAbout", false, "app::AboutWindow", "the About window"},
    {"picIcon", false, "AboutWindow::iconLabel", "the program's icon"},
    {"lblTitle", false, "AboutWindow::titleLabel", "the title and the platforms"},
    {"lblVersion", false, "AboutWindow::versionLabel", "the version line"},
    {"lblDescription", false, "AboutWindow::descriptionLabel", "the rights notice and the web address"},
    {"lblDisclaimer", false, "AboutWindow::disclaimerLabel", "the colour disclaimer"},
    {"cmdOK", false, "AboutWindow::okButton", "OK"},
    {"frmSplash", false, "app::SplashWindow", "the splash window"},
};

} // namespace design
