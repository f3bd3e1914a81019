#pragma once

#include "catalogue/colour.h"
#include "catalogue/palette_geometry.h"
#include "design/controls.h"
#include "state/state.h"

#include <QPoint>
#include <QString>

#include <array>
#include <memory>

namespace render {
class AreaMap;
}

namespace design {

class EditHistory;

// The editing behaviour of all eight model pages: area, fabric and view
// choice, palette drawing, colour application, area fill and repaint, and the
// model switch. It works on the shared design state and the page controls; the
// main window routes the controls' events to the handlers below.
//
// Handler names follow their control and event; a control index of 8 (Brisa's
// back view) is treated as page 6.
class Designer final {
public:
    Designer(state::DesignState& state, const Controls& controls);
    ~Designer();
    Designer(const Designer&) = delete;
    Designer& operator=(const Designer&) = delete;

    // Area, fabric and view choice.
    void onAreaChosen(int index);
    void onFabricChosen(int index);
    void onFrontViewChosen();
    void onBackViewChosen();

    // Palettes: draw the current fabric's cells (no cells for Tape), or the
    // Tape palette; both leave the model without a taken colour.
    void drawFabricPalette(int m);
    void drawTapePalette(int m);

    // A palette cell applied (a click, or Enter on the keyboard's focus
    // cell): its colour goes to the chosen area. A column or row of -1 keeps
    // the one the palette had.
    void applyPaletteCell(int m, cat::PaletteHit hit);
    // A palette cell pointed at (the pointer, or the keyboard's focus cell):
    // its colour's name is shown.
    void pointPaletteCell(int m, cat::PaletteHit hit);

    // The drawing: releasing the left button on an area chooses it as a click
    // on its list entry does (Brisa first shows the area's view); pointing at
    // an area names it and its colour in a tooltip, with the pointing hand.
    // Pixels are drawing pixels; (-1, -1) is none.
    void onDrawingReleased(int m, QPoint pixel);
    void onDrawingHover(int m, QPoint pixel);
    // The area slot owning drawing pixel (x, y) of model m, or -1.
    int areaAt(int m, int x, int y);
    // "Legs - Royal Blue (P)", or only the area when it has no colour.
    QString areaTip(int m, int slot) const;

    // Undo and redo of colour applications, one history per model.
    EditHistory& history() { return *m_history; }

    // Area fill and repaint.
    void fillKeySlot(int key, cat::Colour colour, int x, int y);
    void rebuild(int m);
    void rewriteColourList(int m);
    // The accessible descriptions of model m's colour key(s) and drawing:
    // every area with its colour, as the colour list names it.
    void describeColours(int m);
    // Shows slot `slot` of model m, its drawing regions, key slot and colour
    // list line, as a rebuild of the design as it stands would show it.
    void showSlot(int m, int slot);

    // Fills every page at start-up, step by step in a fixed order: the
    // lists, the cleared pictures, the pristine drawings, the first area and
    // start fabric of every model (their choices run as a user's would,
    // drawing the palettes), the colour keys' slots and fill points.
    void startPages();
    // The model whose page is shown, and showing model m's page.
    int currentModel() const;
    void showModel(int m);
    // Model m's page as New leaves it: the pristine drawing, grey colour-key
    // slots, empty colour lists, the first area and the start fabric chosen
    // (their choices run as a user's would). The design is already reset.
    void showNewDesign(int m);
    // Model m's page for the design just read: rebuilt, then the front view,
    // the first area and its fabric chosen.
    void showOpenedDesign(int m);
    // The colour name under the pointer, gone.
    void clearColourName(int m);

    // Model switch: the caption and the new model's current fabric.
    void onTabSwitched(int oldTab, int newTab);
    // The caption for the current model's file name.
    void showCaption(int m);

    // Whether Brisa's front view is the one shown.
    bool frontViewShown() const;

private:
    // Brisa's lists and key for the back view, or for the front view.
    void showBrisaView(bool back);
    // Paints an area into the drawing and shows what changed.
    void paintSeeds(int m, int slot, cat::Colour colour);
    const render::AreaMap& areaMap(int m);

    state::DesignState& m_state;
    Controls m_controls;
    std::unique_ptr<EditHistory> m_history;
    std::array<std::unique_ptr<render::AreaMap>, cat::kModelCount> m_areaMaps; // made on first use
};

} // namespace design
