#pragma once

#include <optional>
#include <string>
#include <vector>

// What the machine says about its mail system, read where Windows keeps it in
// the registry. Tests answer with values of their own.
class MapiSettings {
 public:
  virtual ~MapiSettings() = default;
  // The machine's value "MAPI" of the messaging subsystem (Simple MAPI is
  // installed when it is exactly "1"); nullopt when there is none.
  virtual std::optional<std::string> MapiValue() const = 0;
  // The current user's default mail profile; nullopt when the user has no
  // profile settings at all. Throws when they exist but cannot be read.
  virtual std::optional<std::string> DefaultProfile() const = 0;
};

// The answers on Linux. An administrator decides with a line "MAPI=<value>"
// in Tarvo_Redurir/mapi.conf under a folder of $XDG_CONFIG_DIRS (default
// /etc/xdg; the first file with such a line counts, and in it the last line;
// "MAPI=0" switches mail off); without one the answer is "1" when one of
// `libraries` loads. Linux mail has no profiles.
class SystemMapiSettings final : public MapiSettings {
 public:
  explicit SystemMapiSettings(std::vector<std::string> libraries);
  std::optional<std::string> MapiValue() const override;
  std::optional<std::string> DefaultProfile() const override { return std::nullopt; }

 private:
  std::vector<std::string> libraries_;
};
