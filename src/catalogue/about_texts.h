#pragma once

#include "catalogue/texts.h"

#include <string>
#include <string_view>

// The texts of the About window and the program's version.
namespace cat {

inline constexpr std::string_view kAboutCaption = "About ";
inline constexpr std::string_view kAboutPlatforms = "For Windows 95, 98 and Windows NT 4.0 and later.";
inline constexpr std::string_view kVersionWord = "Version ";
inline constexpr std::string_view kRightsNotice = "Copyright (C) 1997-2002 Orlensuits. All rights reserved.";
inline constexpr std::string_view kMakerWebAddress = "www.orlensuits.example";
inline constexpr std::string_view kDisclaimer =
    "Colours on screen are a guide only; fabric colours may differ.";
inline constexpr std::string_view kOkCaption = "OK";

// "Version 1.2.0" for version 1.2.0: the figures as plain decimals, no leading zeros.
inline std::string versionLine()
{
    return std::string(kVersionWord) + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) +
           "." + std::to_string(kVersionRevision);
}

inline std::string aboutCaption()
{
    return std::string(kAboutCaption) + std::string(kAppTitle);
}

// The title, a blank line and the platforms line.
inline std::string aboutTitle()
{
    return std::string(kAppTitle) + std::string(kLineBreak) + std::string(kLineBreak) +
           std::string(kAboutPlatforms);
}

// The rights notice, a blank line and the maker's web address.
inline std::string aboutDescription()
{
    return std::string(kRightsNotice) + std::string(kLineBreak) + std::string(kLineBreak) +
           std::string(kMakerWebAddress);
}

} // namespace cat
