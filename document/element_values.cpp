#include "document/element_values.h"

#include "gaeb/gaeb_obj.h"

double NumberValue(const KsGAEBObj& element, const std::string& memberName) {
  const KsMember* member = element.Members.Find(memberName);
  return member ? member->AsFloatOr(0.0) : 0.0;
}
