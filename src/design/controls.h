#pragma once

#include <array>

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

} // namespace design
