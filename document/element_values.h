#pragma once

#include <string>

class KsGAEBObj;

// A member's value as a number: 0 when the element has no such member, the
// member is empty or its text is not a number (missing values print as 0).
double NumberValue(const KsGAEBObj& element, const std::string& memberName);
