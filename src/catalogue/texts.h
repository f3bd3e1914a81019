#pragma once

#include "catalogue/program.h"

#include <string_view>

// The fixed texts of the main window, its panels and its status bar.
namespace cat {

inline constexpr std::string_view kUntitled = "Untitled";
inline constexpr std::string_view kLineBreak = "\r\n";

inline constexpr std::string_view kFabricLabel = "Fabric";

inline constexpr std::string_view kOrderingText =
    "Order Forms can be obtained from your local dealer or direct from Orlensuits at the "
    "address below:\r\n"
    "\r\n"
    "1200 Canopy Road, Hangar 4\r\n"
    "Drop Zone City, AZ 85000\r\n"
    "USA\r\n"
    "\r\n"
    "Tel. (555) 010-4477\r\n"
    "Fax (555) 010-4478\r\n"
    "\r\n"
    "Order forms can also be downloaded from our web site at www.orlensuits.example.\r\n"
    "\r\n"
    "e-mail: sales@orlensuits.example\r\n"
    "\r\n"
    "For dealer inquiries please contact us at the above address.";

inline constexpr std::string_view kWelcome = " Welcome to Orlensuits Design.";

inline constexpr std::string_view kNews[6] = {
    " Rush service is available, 2 to 4 weeks depending on season.",
    " Suit prices are subject to change without notice.",
    " Visit our web site at www.orlensuits.example for the latest designs.",
    " Patch pants and Brisa Cargo pants now available.",
    " Please call for shipping rates outside of the continental USA.",
    " Tie dye options are available on many suits, please call for details.",
};

inline constexpr std::string_view kHintKey = " Displays current color selections.";
inline constexpr std::string_view kHintColourList = " Displays currently selected colors and Fabric codes.";
inline constexpr std::string_view kHintFabricList =
    " Click on desired Fabric, color palette will change automatically.";
inline constexpr std::string_view kHintAreaList = " Click to select desired suit area.";
inline constexpr std::string_view kHintPalette = "Click on color to fill selected suit area";
inline constexpr std::string_view kHintFrame =
    "Select Suit area and Fabric then click on Color to fill suit.";

} // namespace cat
