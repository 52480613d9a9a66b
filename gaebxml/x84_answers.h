#pragma once

#include <pugixml.hpp>
#include <string>

class KsGAEBObj;

// A price submission (X84) opened again. One that repeats the tender (every
// item with its quantity or its outline text) is read like a tender; one
// that answers by ID only, as this program's own X84 and most others do,
// carries no quantities and no texts and is entered into the tender it
// answers.

// True when every item of the file's BoQ has a Qty or an OutlineText (and
// there is at least one).
bool CarriesTender(const pugi::xml_node& gaeb);
// The same for one Item.
bool ItemCarriesTender(const pugi::xml_node& item);

// Enters the answers of the offer's LV (as read from the X84) into the
// tender's LV (as read from its X83): every position's unit price,
// components and discount, the bidder's text complements, every area's
// discounts and the VAT rate, then recomputes the tender's LV. Positions and
// areas are found by ID; when no ID of the offer occurs in the tender (the
// client's program numbered another edition anew) by their numbers, if the
// LV has the same name in both. Raises X83Error (German, naming both files by
// `offerName` and `tenderName`) when the offer belongs to another tender or
// none of its positions occurs, before anything is entered. Returns what the
// user should hear (German, "" when nothing): the positions and complements
// that could not be placed, the positions whose amount in the offer differs
// from the one computed now, and that numbers decided.
std::string EnterX84Answers(const KsGAEBObj& offerLv, KsGAEBObj& tenderLv,
                            const std::string& offerName, const std::string& tenderName);
