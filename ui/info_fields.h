#pragma once

#include <span>

// One editable field of the info pages: the document member it shows and
// stores, the widget's object name, and the row caption. A field without a
// caption joins the row of the field before it. The widget's maximum length
// is the member's size in the catalogue, so no typed value is longer than
// the file may hold.
struct InfoFieldBinding {
  const char* Element;  // "VERGABEINFO", "AN" or "ADRESSE"
  const char* Member;
  const char* ObjectName;
  const char* Caption;
  const char* Hint;
};

// The fields in the order they are shown: the offer's fields on
// "&Vergabe-Info", then the bidder's and his address on "Auftrag&nehmer".
std::span<const InfoFieldBinding> OfferFieldBindings();
std::span<const InfoFieldBinding> BidderFieldBindings();
std::span<const InfoFieldBinding> AddressFieldBindings();

// The widget's maximum length: the catalogue's field size, or the length of
// "DD.MM.YYYY" for a date; 0 when the member is not in the catalogue.
int InfoFieldMaxLength(const InfoFieldBinding& binding);
