#pragma once

#include "catalogue/colour.h"
#include "fill/floodfill.h"
#include "state/rebuild_plan.h"
#include "state/state.h"

#include <QImage>
#include <QRect>
#include <QRegion>

// The suit drawings painted with a design, below the widgets: what the
// designer shows after Open, and what the order sheet, the command-line tool
// and the thumbnails draw. Images are opaque 32-bit (QImage::Format_RGB32)
// with exact colours.
namespace render {

// A border fill of a 32-bit image (QImage::Format_RGB32) with `fill`,
// bounded by pure black; the alpha byte is not part of a colour. The caller
// sets the seed.
fill::FillRequest fillRequestFor(QImage& image, QRgb fill);

// Model m's drawing before any colour: its built-in bitmap, pixel for pixel.
// A null image for an index that is not a model.
QImage pristineDrawing(int m);

// Border-fills area `slot` of model m from each of its seeds, bounded by pure
// black, as a palette click paints it. An area without seeds (the binding
// tape, Brisa's two seedless back areas) paints nothing. Returns the pixels
// painted, each counted once; `painted`, when given, receives the bounds of
// each seed's region (empty when nothing was painted): an area's regions lie
// apart, and their bounds cover far fewer pixels than the area's bounds.
std::size_t paintArea(QImage& drawing, int m, int slot, cat::Colour colour, QRegion* painted = nullptr);

// Paints every repaint of a rebuild plan that goes into the drawing, in the
// plan's order, onto whatever the image holds.
void paintPlan(QImage& drawing, int m, const state::RebuildPlan& plan);

// Model m's pristine drawing with its stored design painted on it: exactly
// the designer's drawing after it opened a file holding this design.
QImage paintDesign(int m, const state::ModelDesign& design);

// The drawing enlarged by a whole number, every pixel a `factor` x `factor`
// block, as QImage::Format_RGB32: outlines stay sharp however a viewer or a
// later smooth reduction treats the picture. A factor below 2 gives the
// drawing as it is.
QImage enlarged(const QImage& drawing, int factor);
// The same for `pixels` of `from` only, into `to` (Format_RGB32, `factor`
// times the size of `from`): how a kept enlargement follows a change.
void enlarge(const QImage& from, const QRect& pixels, int factor, QImage& to);

} // namespace render
