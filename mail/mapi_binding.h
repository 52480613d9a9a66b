#pragma once

#include <memory>
#include <string>
#include <vector>

#include "mail/mapi.h"

class MapiSettings;

// The ten entry points, in the order they are resolved.
struct MapiEntryPoints {
  LPMAPIFINDNEXT MAPIFindNext = nullptr;
  LPMAPILOGOFF MAPILogoff = nullptr;
  LPMAPILOGON MAPILogon = nullptr;
  LPMAPISENDMAIL MAPISendMail = nullptr;
  LPMAPIREADMAIL MAPIReadMail = nullptr;
  LPMAPIDELETEMAIL MAPIDeleteMail = nullptr;
  LPMAPIRESOLVENAME MAPIResolveName = nullptr;
  LPMAPIFREEBUFFER MAPIFreeBuffer = nullptr;
  LPMAPIADDRESS MAPIAddress = nullptr;
  LPMAPISAVEMAIL MAPISaveMail = nullptr;
};

// The run's binding to the mapi32 library; fixed once the program has started.
struct MapiBinding {
  bool MapiAvailable = false;
  void* MapiLibrary = nullptr;
  MapiEntryPoints Entry;
  std::shared_ptr<const MapiSettings> Settings;
};

const MapiBinding& Mapi();

// Where the library is looked for, first to last: beside the program, in the
// library folder of the installation, and by its bare name on the loader's
// search path.
std::vector<std::string> MapiLibraryCandidates();

// Runs at start: when the settings say that Simple MAPI is installed, loads
// the first of `libraries` that loads and resolves the entry points. A library
// that lacks one is released again and EMapiDllError is raised, so that mail
// stays off rather than calling into nothing.
void InitMapi(std::shared_ptr<const MapiSettings> settings,
              const std::vector<std::string>& libraries = MapiLibraryCandidates());
// Runs at the end: releases the library and clears the entry points.
void DoneMapi();
