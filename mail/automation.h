#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

// Late-bound automation of another program's objects, by method and property
// name, as the Outlook back-end of the mail object drives Outlook.
using KsAutomationValue = std::variant<int32_t, bool, std::string>;

class AutomationObject {
 public:
  virtual ~AutomationObject() = default;
  // Calls a method or reads a property; the object it answers, or nullptr
  // when it answers none. Raises EAutomationError when the call fails.
  virtual std::unique_ptr<AutomationObject> Call(const std::string& name,
                                                 const std::vector<KsAutomationValue>& args) = 0;
  virtual void Set(const std::string& name, const KsAutomationValue& value) = 0;
};

class EAutomationError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Creates the object registered under a programmatic identifier such as
// "Outlook.Application"; raises EAutomationError when there is none.
using KsAutomationFactory =
    std::function<std::unique_ptr<AutomationObject>(const std::string& progId)>;

// The system's automation. Linux has no registry of automation servers, so
// every identifier is unknown here.
KsAutomationFactory SystemAutomation();
