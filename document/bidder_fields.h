#pragma once

#include <array>
#include <string_view>

// A field of the offer that the bidder types on the info pages: the element
// that holds it ("VERGABEINFO", the bidder "AN" or his "ADRESSE"), the
// member, the object name of its edit field in the window, and the caption
// the window and the print give it. A field without a caption joins the row
// of the field before it.
struct EntryField {
  const char* Element;
  const char* Member;
  const char* ObjectName;
  const char* Caption;
  const char* Hint;
};

// The bidder's own data, in the order the window shows it: four fields of
// the bidder, then eleven of his address. The settings keep one value per
// member, the offer document takes and gives them in this order.
inline constexpr std::array<EntryField, 15> kBidderFields = {{
    {"AN", "DVNR", "eDVNr", "DV Nummer", nullptr},
    {"AN", "VERGNR", "eVergNr", "Vergabenummer", nullptr},
    {"AN", "ARTSTAAT", "eArtStaat", "Staat", nullptr},
    {"AN", "NAMESTAAT", "eNameStaat", nullptr, "internationales Kfz-Kennzeichen"},
    {"ADRESSE", "NAME1", "eName1", "Name 1", nullptr},
    {"ADRESSE", "NAME2", "eName2", "Name 2", nullptr},
    {"ADRESSE", "ANSPRPARTNER", "eAnsprPartner", "Ansprechpartner", nullptr},
    {"ADRESSE", "STRASSE", "eStrasse", "Strasse",
     "Stra\xDF"
     "e und Hausnummer oder \"Postfach\" und -Nr"},
    {"ADRESSE", "PLZ", "ePLZ", "PLZ / Ort", nullptr},
    {"ADRESSE", "ORT", "eOrt", nullptr, nullptr},
    {"ADRESSE", "LANDBEZ", "eLandBez", "L\xE4nderbezeichnung", nullptr},
    {"ADRESSE", "TELEFON", "eTelefon", "Telefon", nullptr},
    {"ADRESSE", "FAX", "eFax", "Fax", nullptr},
    {"ADRESSE", "EMAIL", "eEMail", "E-Mail", nullptr},
    {"ADRESSE", "USTIDENT", "eUStIdent", "Umsatzsteuer-Identnr.", nullptr},
}};

// How many of kBidderFields belong to the bidder element itself; the rest
// are of his address.
inline constexpr size_t kBidderOwnFieldCount = 4;

// Whether a bidder field is held by the bidder's address.
constexpr bool InAddress(const EntryField& field) {
  return std::string_view(field.Element) == "ADRESSE";
}

static_assert(
    [] {
      for (size_t i = 0; i < kBidderFields.size(); ++i)
        if (InAddress(kBidderFields[i]) != (i >= kBidderOwnFieldCount)) return false;
      return true;
    }(),
    "the bidder's own fields come first, then those of his address");

// Position of a bidder field among kBidderFields by its member; the count of
// fields for none.
constexpr size_t BidderIndex(std::string_view member) {
  size_t i = 0;
  while (i < kBidderFields.size() && member != kBidderFields[i].Member) ++i;
  return i;
}

// The caption of a member of the bidder element, which the client element
// shares (DVNR, VERGNR, ARTSTAAT), "" for one without.
constexpr std::string_view PartyCaption(std::string_view member) {
  for (size_t i = 0; i < kBidderOwnFieldCount; ++i)
    if (member == kBidderFields[i].Member && kBidderFields[i].Caption)
      return kBidderFields[i].Caption;
  return {};
}
