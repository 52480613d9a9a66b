#include "document/element_values.h"

#include <stdexcept>

#include "gaeb/gaeb_obj.h"

double NumberValue(const KsGAEBObj& element, const std::string& memberName) {
  const KsMember* member = element.Members.Find(memberName);
  if (!member) return 0.0;
  try {
    return member->GetAsFloat();
  } catch (const std::exception&) {
    return 0.0;
  }
}
