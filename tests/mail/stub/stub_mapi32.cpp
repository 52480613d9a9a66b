// A mapi32 library for tests: records every call and answers as the test
// says. Built twice, once without MAPIAddress.

#include <sys/stat.h>

#include "tests/mail/stub/stub_control.h"

#define STUB_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

StubControl& Control() {
  static StubControl control;
  return control;
}

std::string Text(const char* s) { return s ? s : ""; }

StubCall& Record(const char* function, LHANDLE session, FLAGS flags) {
  StubCall& call = Control().calls.emplace_back();
  call.function = function;
  call.session = session;
  call.flags = flags;
  return call;
}

struct Descriptor {
  MapiRecipDesc desc{};
  std::string name, address, entryId;
};

bool Exists(const char* path) {
  struct stat info;
  return path && stat(path, &info) == 0;
}

}  // namespace

STUB_EXPORT StubControl* StubMapiControl() { return &Control(); }

STUB_EXPORT ULONG MAPILogon(ULONG_PTR, LPSTR profile, LPSTR password, FLAGS flags, ULONG,
                            LPLHANDLE session) {
  StubCall& call = Record("MAPILogon", 0, flags);
  call.profile = Text(profile);
  call.password = Text(password);
  call.profileNull = !profile;
  call.passwordNull = !password;
  StubControl& control = Control();
  ULONG answer = SUCCESS_SUCCESS;
  if (!control.logonAnswers.empty()) {
    answer = control.logonAnswers.front();
    control.logonAnswers.pop_front();
  }
  *session = answer == SUCCESS_SUCCESS ? control.session : 0;
  return answer;
}

STUB_EXPORT ULONG MAPILogoff(LHANDLE session, ULONG_PTR, FLAGS flags, ULONG) {
  Record("MAPILogoff", session, flags);
  return Control().logoffAnswer;
}

STUB_EXPORT ULONG MAPIResolveName(LHANDLE session, ULONG_PTR, LPSTR name, FLAGS flags, ULONG,
                                  lpMapiRecipDesc* found) {
  StubCall& call = Record("MAPIResolveName", session, flags);
  call.name = Text(name);
  StubControl& control = Control();
  StubResolveAnswer answer;
  if (control.resolve) {
    answer = control.resolve(call.name, flags);
  } else {
    answer.name = call.name;
    answer.address = "SMTP:" + call.name;
  }
  if (answer.code != SUCCESS_SUCCESS) return answer.code;
  auto* d = new Descriptor;
  d->name = answer.name;
  d->address = answer.address;
  d->entryId = answer.entryId;
  d->desc.ulRecipClass = MAPI_TO;
  d->desc.lpszName = d->name.data();
  d->desc.lpszAddress = answer.addressNull ? nullptr : d->address.data();
  d->desc.ulEIDSize = static_cast<ULONG>(d->entryId.size());
  d->desc.lpEntryID = d->entryId.empty() ? nullptr : d->entryId.data();
  control.handedOut.push_back(d);
  *found = &d->desc;
  return SUCCESS_SUCCESS;
}

STUB_EXPORT ULONG MAPIFreeBuffer(LPVOID buffer) {
  Record("MAPIFreeBuffer", 0, 0).buffer = buffer;
  delete static_cast<Descriptor*>(buffer);
  return SUCCESS_SUCCESS;
}

STUB_EXPORT ULONG MAPISendMail(LHANDLE session, ULONG_PTR, lpMapiMessage message, FLAGS flags,
                               ULONG) {
  StubCall& call = Record("MAPISendMail", session, flags);
  call.subject = Text(message->lpszSubject);
  call.subjectNull = !message->lpszSubject;
  call.noteText = Text(message->lpszNoteText);
  call.noteTextNull = !message->lpszNoteText;
  call.messageFlags = message->flFlags;
  for (ULONG i = 0; i < message->nRecipCount; ++i) {
    const MapiRecipDesc& r = message->lpRecips[i];
    call.recipients.push_back(
        {r.ulRecipClass, Text(r.lpszName), Text(r.lpszAddress),
         std::string(static_cast<const char*>(r.lpEntryID), r.lpEntryID ? r.ulEIDSize : 0)});
  }
  for (ULONG i = 0; i < message->nFileCount; ++i) {
    const MapiFileDesc& f = message->lpFiles[i];
    call.files.push_back(
        {f.nPosition, Text(f.lpszPathName), Text(f.lpszFileName), Exists(f.lpszPathName)});
  }
  return Control().sendAnswer;
}

STUB_EXPORT ULONG MAPIFindNext(LHANDLE, ULONG_PTR, LPSTR, LPSTR, FLAGS, ULONG, LPSTR) {
  Record("MAPIFindNext", 0, 0);
  return MAPI_E_NOT_SUPPORTED;
}
STUB_EXPORT ULONG MAPIReadMail(LHANDLE, ULONG_PTR, LPSTR, FLAGS, ULONG, lpMapiMessage*) {
  Record("MAPIReadMail", 0, 0);
  return MAPI_E_NOT_SUPPORTED;
}
STUB_EXPORT ULONG MAPIDeleteMail(LHANDLE, ULONG_PTR, LPSTR, FLAGS, ULONG) {
  Record("MAPIDeleteMail", 0, 0);
  return MAPI_E_NOT_SUPPORTED;
}
STUB_EXPORT ULONG MAPISaveMail(LHANDLE, ULONG_PTR, lpMapiMessage, FLAGS, ULONG, LPSTR) {
  Record("MAPISaveMail", 0, 0);
  return MAPI_E_NOT_SUPPORTED;
}
#ifndef STUB_WITHOUT_MAPIADDRESS
STUB_EXPORT ULONG MAPIAddress(LHANDLE, ULONG_PTR, LPSTR, ULONG, LPSTR, ULONG, lpMapiRecipDesc,
                              FLAGS, ULONG, LPULONG, lpMapiRecipDesc*) {
  Record("MAPIAddress", 0, 0);
  return MAPI_E_NOT_SUPPORTED;
}
#endif
