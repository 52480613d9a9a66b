#pragma once

#include <QStringView>

// The maker as the contact panel and the info dialog show it.
inline constexpr QStringView kMakerName = u"Rudarur Software GmbH";
inline constexpr QStringView kMakerStreet = u"Am Werkhof 7";
inline constexpr QStringView kMakerTown = u"50667 K\u00F6ln";
inline constexpr QStringView kMakerPhone = u"0221 4710-100";
inline constexpr QStringView kMakerFax = u"0221 4710-199";
inline constexpr QStringView kMakerWebSite = u"https://www.rudarur-software.example";
inline constexpr QStringView kMakerWebSiteText = u"www.rudarur-software.example";
inline constexpr QStringView kMakerSupportMail = u"support@rudarur-software.example";
