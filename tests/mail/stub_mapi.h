#pragma once

#include <dlfcn.h>

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "mail/mapi_binding.h"
#include "mail/mapi_settings.h"
#include "tests/mail/stub/stub_control.h"

// Settings with the answers a test gives.
class FakeMapiSettings : public MapiSettings {
 public:
  explicit FakeMapiSettings(std::optional<std::string> mapi = "1") : mapi(std::move(mapi)) {}
  std::optional<std::string> MapiValue() const override { return mapi; }
  std::optional<std::string> DefaultProfile() const override {
    if (profileFails) throw std::runtime_error("unreadable");
    return profile;
  }

  std::optional<std::string> mapi;
  std::optional<std::string> profile;
  bool profileFails = false;
};

// The binding on the stub library for one test; released at the end.
class StubMapi {
 public:
  explicit StubMapi(
      std::shared_ptr<FakeMapiSettings> settings = std::make_shared<FakeMapiSettings>())
      : settings(settings) {
    InitMapi(settings, {TARVO_STUB_MAPI32});
    auto* control =
        reinterpret_cast<StubMapiControlFunction*>(dlsym(Mapi().MapiLibrary, "StubMapiControl"));
    if (!control) throw std::runtime_error("stub library not loaded");
    stub = control();
    stub->Reset();
  }
  ~StubMapi() { DoneMapi(); }
  StubMapi(const StubMapi&) = delete;
  StubMapi& operator=(const StubMapi&) = delete;

  std::shared_ptr<FakeMapiSettings> settings;
  StubControl* stub = nullptr;
};
