#pragma once

#include <string_view>

// The model information texts: a heading in capitals, an empty line, then the
// paragraphs, lines joined by CR LF as the text boxes expect.
namespace cat {

#define CAT_CRLF "\r\n"

inline constexpr std::string_view kInfoOrlensuit =
    "THE ORLENSUIT" CAT_CRLF CAT_CRLF
    "Our classic freefly and belly suit. The body, legs and arms are cut from durable "
    "CottonFelt, or from Polycotton, Acrylic or Heavy Cotton for a slower or faster fall, "
    "with a relaxed fit that leaves room over jeans or a sweater. Padded front and back "
    "grips on the arms and legs give a sure hold for relative work, and every edge is "
    "finished in binding tape of your colour.";

inline constexpr std::string_view kInfoVantor =
    "THE VANTOR SUIT" CAT_CRLF CAT_CRLF
    "A close-fitting suit for formation skydiving. The body front and legs are CottonFelt "
    "or Polycotton, the back panel and forearms stretch Spandex for freedom of movement, "
    "and the sides can be set off in a colour of their own. Front and back grips on arms "
    "and legs, booties, a two-way zip and a binding tape trim come as standard.";

// Both Kiro models share their paragraph, as do both Delma models.
#define CAT_KIRO_PARAGRAPH                                                                                   \
    "The Kiro Special is a fast, fitted suit for relative work. Its body front and legs are "                \
    "cut from CottonFelt, Nylon or Polycotton, the back and forearms from Spandex so the "                   \
    "suit moves with you, and padded front and back grips sit where your team mates reach "                  \
    "for them. Cut separately for men and for women, with booties and a binding tape trim."

inline constexpr std::string_view kInfoKiroMale =
    "THE MALE KIRO SPECIAL" CAT_CRLF CAT_CRLF CAT_KIRO_PARAGRAPH;
inline constexpr std::string_view kInfoKiroFemale =
    "THE FEMALE KIRO SPECIAL" CAT_CRLF CAT_CRLF CAT_KIRO_PARAGRAPH;

#define CAT_DELMA_PARAGRAPH                                                                                  \
    "The Delma is our wing suit for big-way and canopy-friendly flying. The front, back and "                \
    "arms are CottonFelt, the legs and side panels Spandex, and the wings between arm and body are "         \
    "ZeroP Canopy fabric that keeps its shape in the air. Wing zips let you fold the wings "                 \
    "away for the ride up. Cut separately for men and for women."

inline constexpr std::string_view kInfoDelmaMale =
    "THE MALE DELMA SUIT" CAT_CRLF CAT_CRLF CAT_DELMA_PARAGRAPH;
inline constexpr std::string_view kInfoDelmaFemale =
    "THE FEMALE DELMA SUIT" CAT_CRLF CAT_CRLF CAT_DELMA_PARAGRAPH;

inline constexpr std::string_view kInfoBrisa =
    "THE BRISA SUIT" CAT_CRLF CAT_CRLF
    "The Brisa is made of split panels: every part of the suit has a left and a right half, "
    "front and back, and each half can take its own colour, so the suit can be as quiet or "
    "as loud as you like. All panels are Polycotton as standard, with Acrylic or CottonFelt "
    "on request." CAT_CRLF CAT_CRLF
    "A loose freefly cut with stretch inserts at the knees and elbows, reinforced seat and "
    "knees, and Brisa Cargo pants with two leg pockets on request.";

inline constexpr std::string_view kInfoLumen =
    "THE LUMEN SUIT" CAT_CRLF CAT_CRLF
    "The Lumen is a tracking suit with small arm wings between arm and body. The front, "
    "legs and sides are CottonFelt or Polycotton, the back and forearms Spandex." CAT_CRLF CAT_CRLF
    "The front of the wings is light Nylon and the back of the wings CottonFelt or "
    "Polycotton, so the wings fill quickly and stay quiet in freefall." CAT_CRLF CAT_CRLF
    "Every Lumen has padded grips, booties, a leg-strap zip and a binding tape trim in the "
    "colour of your choice.";

#undef CAT_KIRO_PARAGRAPH
#undef CAT_DELMA_PARAGRAPH
#undef CAT_CRLF

} // namespace cat
