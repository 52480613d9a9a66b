#include "core/eobj.h"

#include "util/format_ex.h"

namespace {
std::string Suffix(const std::string& contextName, const std::string& methodName) {
  return " [" + contextName + "." + methodName + "]";
}
}  // namespace

EObj::EObj(const std::string& contextName, const std::string& text, const std::string& methodName)
    : std::runtime_error(text + Suffix(contextName, methodName)) {}

EObj EObj::CreateFmt(const std::string& contextName, const std::string& format,
                     const std::vector<Variant>& args, const std::string& methodName) {
  return EObj(Raw{}, FormatEx(format + Suffix(contextName, methodName), args));
}
