#include "ui/info_fields.h"

#include <array>
#include <string>

#include "core/fb_desc.h"
#include "gaeb/gaeb_catalogue.h"

namespace {

constexpr int kDateLength = 10;

constexpr std::array kOfferFields = {
    EntryField{"VERGABEINFO", "WAE", "eWAE", "W\xE4hrung (Symbol/Bez)", "W\xE4hrung"},
    EntryField{"VERGABEINFO", "WAEBEZ", "eWAEBez", nullptr, "Bezeichnung der W\xE4hrung"},
    EntryField{"VERGABEINFO", "ANGEBDATUM", "eAngebDatum", "Angebotsdatum", nullptr},
};

}  // namespace

std::span<const EntryField> OfferFieldBindings() { return kOfferFields; }
std::span<const EntryField> BidderFieldBindings() {
  return std::span(kBidderFields).first(kBidderOwnFieldCount);
}
std::span<const EntryField> AddressFieldBindings() {
  return std::span(kBidderFields).subspan(kBidderOwnFieldCount);
}

int InfoFieldMaxLength(const EntryField& binding) {
  RegisterGaebDescriptors();
  const KsFBDesc* element = FindDescriptor(std::string("GAEB") + binding.Element);
  const KsFieldDesc* field = element ? element->FindField(binding.Member) : nullptr;
  if (!field) return 0;
  return field->FieldType == ftDate ? kDateLength : field->Size;
}
