#include "ui/info_fields.h"

#include <array>
#include <string>

#include "core/fb_desc.h"
#include "gaeb/gaeb_catalogue.h"

namespace {

constexpr int kDateLength = 10;

constexpr std::array kOfferFields = {
    InfoFieldBinding{"VERGABEINFO", "WAE", "eWAE", "W\xE4hrung (Symbol/Bez)", "W\xE4hrung"},
    InfoFieldBinding{"VERGABEINFO", "WAEBEZ", "eWAEBez", nullptr, "Bezeichnung der W\xE4hrung"},
    InfoFieldBinding{"VERGABEINFO", "ANGEBDATUM", "eAngebDatum", "Angebotsdatum", nullptr},
};

constexpr std::array kBidderFields = {
    InfoFieldBinding{"AN", "DVNR", "eDVNr", "DV Nummer", nullptr},
    InfoFieldBinding{"AN", "VERGNR", "eVergNr", "Vergabenummer", nullptr},
    InfoFieldBinding{"AN", "ARTSTAAT", "eArtStaat", "Staat", nullptr},
    InfoFieldBinding{"AN", "NAMESTAAT", "eNameStaat", nullptr, "internationales Kfz-Kennzeichen"},
};

constexpr std::array kAddressFields = {
    InfoFieldBinding{"ADRESSE", "NAME1", "eName1", "Name 1", nullptr},
    InfoFieldBinding{"ADRESSE", "NAME2", "eName2", "Name 2", nullptr},
    InfoFieldBinding{"ADRESSE", "ANSPRPARTNER", "eAnsprPartner", "Ansprechpartner", nullptr},
    InfoFieldBinding{"ADRESSE", "STRASSE", "eStrasse", "Strasse",
                     "Stra\xDF"
                     "e und Hausnummer oder \"Postfach\" und -Nr"},
    InfoFieldBinding{"ADRESSE", "PLZ", "ePLZ", "PLZ / Ort", nullptr},
    InfoFieldBinding{"ADRESSE", "ORT", "eOrt", nullptr, nullptr},
    InfoFieldBinding{"ADRESSE", "LANDBEZ", "eLandBez", "L\xE4nderbezeichnung", nullptr},
    InfoFieldBinding{"ADRESSE", "TELEFON", "eTelefon", "Telefon", nullptr},
    InfoFieldBinding{"ADRESSE", "FAX", "eFax", "Fax", nullptr},
    InfoFieldBinding{"ADRESSE", "EMAIL", "eEMail", "E-Mail", nullptr},
    InfoFieldBinding{"ADRESSE", "USTIDENT", "eUStIdent", "Umsatzsteuer-Identnr.", nullptr},
};

}  // namespace

std::span<const InfoFieldBinding> OfferFieldBindings() { return kOfferFields; }
std::span<const InfoFieldBinding> BidderFieldBindings() { return kBidderFields; }
std::span<const InfoFieldBinding> AddressFieldBindings() { return kAddressFields; }

int InfoFieldMaxLength(const InfoFieldBinding& binding) {
  RegisterGaebDescriptors();
  const KsFBDesc* element = FindDescriptor(std::string("GAEB") + binding.Element);
  const KsFieldDesc* field = element ? element->FindField(binding.Member) : nullptr;
  if (!field) return 0;
  return field->FieldType == ftDate ? kDateLength : field->Size;
}
