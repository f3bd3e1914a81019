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
    std::array<tk::ListBox*, 9> suitlist{};
    std::array<tk::ListBox*, 9> colordesc{};
    std::array<tk::PictureSurface*, 9> cbbfrontPb{};
    std::array<tk::ListBox*, 8> matlist{};
    std::array<tk::PaletteSurface*, 8> ol1Pb{};
    std::array<tk::PictureSurface*, 8> MainPB{};
    std::array<QLabel*, 8> lblfabric{};
    std::array<QLabel*, 8> colorlbl{};
    QRadioButton* frontopt = nullptr;
    QRadioButton* backopt = nullptr;
    tk::TabStrip* tab1 = nullptr;
    QWidget* window = nullptr; // carries the caption
};

} // namespace design
