#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "util/variant.h"

// Error of the object model. Message: text, a blank, "[" context "." method "]".
class EObj : public std::runtime_error {
 public:
  EObj(const std::string& contextName, const std::string& text, const std::string& methodName);
  // Formats text (with the bracketed suffix already appended) with FormatEx.
  static EObj CreateFmt(const std::string& contextName, const std::string& format,
                        const std::vector<Variant>& args, const std::string& methodName);

 private:
  struct Raw {};
  EObj(Raw, const std::string& message) : std::runtime_error(message) {}
};
