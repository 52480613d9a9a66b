// The Simple MAPI entry points of the Linux provider. Nothing may leave them
// as an exception: every failure is a MAPI code.

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <set>

#include "mail/mapi.h"
#include "mail/provider/handover.h"
#include "mail/provider/mail_address.h"
#include "mail/provider/mapi_message_reader.h"

#define MAPI_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

// Open sessions and the buffers handed out by MAPIResolveName, so that a
// wrong handle or pointer is answered with a code instead of a crash.
struct Registry {
  std::mutex mutex;
  std::set<LHANDLE> sessions;
  LHANDLE nextSession = 1;
  std::set<void*> buffers;
};

Registry& State() {
  static Registry registry;
  return registry;
}

bool IsSession(LHANDLE session) {
  Registry& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  return state.sessions.count(session) > 0;
}

// One block: the descriptor, then its name and address.
MapiRecipDesc* NewRecipient(const std::string& address) {
  const std::string smtp = "SMTP:" + address;
  const size_t size = sizeof(MapiRecipDesc) + address.size() + 1 + smtp.size() + 1;
  auto* block = static_cast<char*>(std::calloc(1, size));
  if (!block) return nullptr;
  auto* recipient = reinterpret_cast<MapiRecipDesc*>(block);
  char* name = block + sizeof(MapiRecipDesc);
  char* full = name + address.size() + 1;
  std::memcpy(name, address.c_str(), address.size() + 1);
  std::memcpy(full, smtp.c_str(), smtp.size() + 1);
  recipient->ulRecipClass = MAPI_TO;
  recipient->lpszName = name;
  recipient->lpszAddress = full;
  Registry& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.buffers.insert(block);
  return recipient;
}

template <typename Call>
ULONG Guarded(Call call) {
  try {
    return call();
  } catch (const std::bad_alloc&) {
    return MAPI_E_INSUFFICIENT_MEMORY;
  } catch (...) {
    return MAPI_E_FAILURE;
  }
}

}  // namespace

// Linux mail has no profiles or passwords: every logon opens a session.
MAPI_EXPORT ULONG MAPI_CALL MAPILogon(ULONG_PTR, LPSTR, LPSTR, FLAGS, ULONG,
                                      LPLHANDLE lplhSession) {
  if (!lplhSession) return MAPI_E_FAILURE;
  return Guarded([&] {
    Registry& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    const LHANDLE session = state.nextSession++;
    state.sessions.insert(session);
    *lplhSession = session;
    return ULONG{SUCCESS_SUCCESS};
  });
}

MAPI_EXPORT ULONG MAPI_CALL MAPILogoff(LHANDLE lhSession, ULONG_PTR, FLAGS, ULONG) {
  Registry& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  return state.sessions.erase(lhSession) ? SUCCESS_SUCCESS : MAPI_E_INVALID_SESSION;
}

// Session 0 is allowed: the call then has a session of its own.
MAPI_EXPORT ULONG MAPI_CALL MAPISendMail(LHANDLE lhSession, ULONG_PTR, lpMapiMessage lpMessage,
                                         FLAGS flFlags, ULONG) {
  return Guarded([&] {
    if (lhSession != 0 && !IsSession(lhSession)) return ULONG{MAPI_E_INVALID_SESSION};
    if (!lpMessage) return ULONG{MAPI_E_INVALID_MESSAGE};
    const bool dialog = (flFlags & MAPI_DIALOG) != 0;
    OutgoingMail mail;
    if (ULONG code = ReadMapiMessage(*lpMessage, dialog, mail); code != SUCCESS_SUCCESS)
      return code;
    return dialog ? HandToMailProgram(mail) : HandToSendmail(mail);
  });
}

// There is no address book to pick from, so the dialog flag changes nothing.
MAPI_EXPORT ULONG MAPI_CALL MAPIResolveName(LHANDLE lhSession, ULONG_PTR, LPSTR lpszName, FLAGS,
                                            ULONG, lpMapiRecipDesc* lppRecip) {
  if (!lppRecip) return MAPI_E_FAILURE;
  *lppRecip = nullptr;
  return Guarded([&] {
    if (lhSession != 0 && !IsSession(lhSession)) return ULONG{MAPI_E_INVALID_SESSION};
    if (!lpszName) return ULONG{MAPI_E_UNKNOWN_RECIPIENT};
    const AddressCheck check = CheckAddress(lpszName);
    if (check.verdict == TAddressVerdict::Ambiguous) return ULONG{MAPI_E_AMBIGUOUS_RECIPIENT};
    if (check.verdict != TAddressVerdict::Valid) return ULONG{MAPI_E_UNKNOWN_RECIPIENT};
    *lppRecip = NewRecipient(check.address);
    return *lppRecip ? ULONG{SUCCESS_SUCCESS} : ULONG{MAPI_E_INSUFFICIENT_MEMORY};
  });
}

MAPI_EXPORT ULONG MAPI_CALL MAPIFreeBuffer(LPVOID pv) {
  if (!pv) return SUCCESS_SUCCESS;
  Registry& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (!state.buffers.erase(pv)) return MAPI_E_FAILURE;
  std::free(pv);
  return SUCCESS_SUCCESS;
}

// Reading, saving, deleting, the address book and documents: not offered.
MAPI_EXPORT ULONG MAPI_CALL MAPIFindNext(LHANDLE, ULONG_PTR, LPSTR, LPSTR, FLAGS, ULONG, LPSTR) {
  return MAPI_E_NOT_SUPPORTED;
}
MAPI_EXPORT ULONG MAPI_CALL MAPIReadMail(LHANDLE, ULONG_PTR, LPSTR, FLAGS, ULONG, lpMapiMessage*) {
  return MAPI_E_NOT_SUPPORTED;
}
MAPI_EXPORT ULONG MAPI_CALL MAPISaveMail(LHANDLE, ULONG_PTR, lpMapiMessage, FLAGS, ULONG, LPSTR) {
  return MAPI_E_NOT_SUPPORTED;
}
MAPI_EXPORT ULONG MAPI_CALL MAPIDeleteMail(LHANDLE, ULONG_PTR, LPSTR, FLAGS, ULONG) {
  return MAPI_E_NOT_SUPPORTED;
}
MAPI_EXPORT ULONG MAPI_CALL MAPIAddress(LHANDLE, ULONG_PTR, LPSTR, ULONG, LPSTR, ULONG,
                                        lpMapiRecipDesc, FLAGS, ULONG, LPULONG, lpMapiRecipDesc*) {
  return MAPI_E_NOT_SUPPORTED;
}
MAPI_EXPORT ULONG MAPI_CALL MAPIDetails(LHANDLE, ULONG_PTR, lpMapiRecipDesc, FLAGS, ULONG) {
  return MAPI_E_NOT_SUPPORTED;
}
MAPI_EXPORT ULONG MAPI_CALL MAPISendDocuments(ULONG_PTR, LPSTR, LPSTR, LPSTR, ULONG) {
  return MAPI_E_NOT_SUPPORTED;
}
