#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "mail/mapi.h"

// What the stub mapi32 library was asked, and what it is to answer. The test
// reaches it through the library's function StubMapiControl.
struct StubRecipient {
  ULONG recipClass = 0;
  std::string name, address;
  std::string entryId;  // the bytes
};

struct StubFile {
  ULONG position = 0;
  std::string path, fileName;
  bool existed = false;  // the file was there during the call
};

struct StubCall {
  std::string function;  // "MAPILogon", "MAPIResolveName", ...
  LHANDLE session = 0;
  FLAGS flags = 0;
  // MAPILogon
  std::string profile, password;
  bool profileNull = false, passwordNull = false;
  // MAPIResolveName
  std::string name;
  // MAPISendMail
  std::string subject, noteText;
  bool subjectNull = false, noteTextNull = false;
  FLAGS messageFlags = 0;
  std::vector<StubRecipient> recipients;
  std::vector<StubFile> files;
  // MAPIFreeBuffer
  void* buffer = nullptr;
};

struct StubResolveAnswer {
  ULONG code = SUCCESS_SUCCESS;
  std::string name, address;
  bool addressNull = false;
  std::string entryId;
};

struct StubControl {
  std::vector<StubCall> calls;
  std::deque<ULONG> logonAnswers;  // one per MAPILogon, then success
  LHANDLE session = 42;
  ULONG logoffAnswer = SUCCESS_SUCCESS;
  ULONG sendAnswer = SUCCESS_SUCCESS;
  // Default: resolves every name to itself, with "SMTP:" before it as address.
  std::function<StubResolveAnswer(const std::string& name, FLAGS flags)> resolve;
  std::vector<void*> handedOut;  // descriptors of MAPIResolveName, in order

  void Reset() { *this = StubControl(); }
  std::vector<std::string> Functions() const {
    std::vector<std::string> names;
    for (const StubCall& call : calls) names.push_back(call.function);
    return names;
  }
};

using StubMapiControlFunction = StubControl*();
