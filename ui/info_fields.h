#pragma once

#include <span>

#include "document/bidder_fields.h"

// The editable fields of the info pages in the order they are shown: the
// offer's fields on "&Vergabe-Info", then the bidder's and his address on
// "Auftrag&nehmer" (the two parts of kBidderFields). The widget's maximum
// length is the member's size in the catalogue, so no typed value is longer
// than the file may hold.
std::span<const EntryField> OfferFieldBindings();
std::span<const EntryField> BidderFieldBindings();
std::span<const EntryField> AddressFieldBindings();

// The widget's maximum length: the catalogue's field size, or the length of
// "DD.MM.YYYY" for a date; 0 when the member is not in the catalogue.
int InfoFieldMaxLength(const EntryField& binding);
