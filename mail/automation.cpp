#include "mail/automation.h"

KsAutomationFactory SystemAutomation() {
  return [](const std::string&) -> std::unique_ptr<AutomationObject> {
    throw EAutomationError("Ung\xFCltige Klassenzeichenfolge");
  };
}
