/*
 * Simple MAPI: the structures, constants and entry points of the published
 * interface, so that any program can call a mapi32 library and any library can
 * serve as one. On Linux ULONG and FLAGS are 32 bits and LHANDLE and ULONG_PTR
 * pointer-sized; strings are Windows-1252, paths the file system's own bytes.
 */
#ifndef TARVO_MAPI_H
#define TARVO_MAPI_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define MAPI_CALL __stdcall
#else
#define MAPI_CALL
#endif

typedef uint32_t ULONG;
typedef uint32_t FLAGS;
typedef uintptr_t ULONG_PTR;
typedef uintptr_t LHANDLE;
typedef LHANDLE* LPLHANDLE;
typedef ULONG* LPULONG;
typedef char* LPSTR;
typedef void* LPVOID;

typedef struct {
  ULONG ulReserved;   /* 0 */
  ULONG flFlags;      /* MAPI_OLE, MAPI_OLE_STATIC */
  ULONG nPosition;    /* character in the note text it replaces; (ULONG)-1: none */
  LPSTR lpszPathName; /* full path of the file */
  LPSTR lpszFileName; /* name the recipient sees; NULL: from the path */
  LPVOID lpFileType;  /* NULL */
} MapiFileDesc, *lpMapiFileDesc;

typedef struct {
  ULONG ulReserved;
  ULONG cbTag;
  uint8_t* lpTag;
  ULONG cbEncoding;
  uint8_t* lpEncoding;
} MapiFileTagExt, *lpMapiFileTagExt;

typedef struct {
  ULONG ulReserved;   /* 0 */
  ULONG ulRecipClass; /* MAPI_ORIG, MAPI_TO, MAPI_CC, MAPI_BCC */
  LPSTR lpszName;     /* display name */
  LPSTR lpszAddress;  /* "type:address", e.g. "SMTP:name@domain" */
  ULONG ulEIDSize;    /* size of lpEntryID */
  LPVOID lpEntryID;   /* provider's identifier of the recipient */
} MapiRecipDesc, *lpMapiRecipDesc;

typedef struct {
  ULONG ulReserved;
  LPSTR lpszSubject;
  LPSTR lpszNoteText;
  LPSTR lpszMessageType;
  LPSTR lpszDateReceived; /* YYYY/MM/DD HH:MM */
  LPSTR lpszConversationID;
  FLAGS flFlags; /* MAPI_UNREAD, MAPI_RECEIPT_REQUESTED, MAPI_SENT */
  lpMapiRecipDesc lpOriginator;
  ULONG nRecipCount;
  lpMapiRecipDesc lpRecips;
  ULONG nFileCount;
  lpMapiFileDesc lpFiles;
} MapiMessage, *lpMapiMessage;

/* Recipient classes */
#define MAPI_ORIG 0
#define MAPI_TO 1
#define MAPI_CC 2
#define MAPI_BCC 3

/* Message flags */
#define MAPI_UNREAD 0x00000001
#define MAPI_RECEIPT_REQUESTED 0x00000002
#define MAPI_SENT 0x00000004

/* Attachment flags */
#define MAPI_OLE 0x00000001
#define MAPI_OLE_STATIC 0x00000002

/* Call flags */
#define MAPI_LOGON_UI 0x00000001
#define MAPI_NEW_SESSION 0x00000002
#define MAPI_DIALOG 0x00000008
#define MAPI_EXTENDED 0x00000020
#define MAPI_UNREAD_ONLY 0x00000020
#define MAPI_ENVELOPE_ONLY 0x00000040
#define MAPI_PEEK 0x00000080
#define MAPI_GUARANTEE_FIFO 0x00000100
#define MAPI_BODY_AS_FILE 0x00000200
#define MAPI_AB_NOMODIFY 0x00000400
#define MAPI_SUPPRESS_ATTACH 0x00000800
#define MAPI_FORCE_DOWNLOAD 0x00001000
#define MAPI_LONG_MSGID 0x00004000
#define MAPI_PASSWORD_UI 0x00020000

/* Result codes */
#define SUCCESS_SUCCESS 0
#define MAPI_USER_ABORT 1
#define MAPI_E_USER_ABORT MAPI_USER_ABORT
#define MAPI_E_FAILURE 2
#define MAPI_E_LOGON_FAILURE 3
#define MAPI_E_LOGIN_FAILURE MAPI_E_LOGON_FAILURE
#define MAPI_E_DISK_FULL 4
#define MAPI_E_INSUFFICIENT_MEMORY 5
#define MAPI_E_ACCESS_DENIED 6
#define MAPI_E_TOO_MANY_SESSIONS 8
#define MAPI_E_TOO_MANY_FILES 9
#define MAPI_E_TOO_MANY_RECIPIENTS 10
#define MAPI_E_ATTACHMENT_NOT_FOUND 11
#define MAPI_E_ATTACHMENT_OPEN_FAILURE 12
#define MAPI_E_ATTACHMENT_WRITE_FAILURE 13
#define MAPI_E_UNKNOWN_RECIPIENT 14
#define MAPI_E_BAD_RECIPTYPE 15
#define MAPI_E_NO_MESSAGES 16
#define MAPI_E_INVALID_MESSAGE 17
#define MAPI_E_TEXT_TOO_LARGE 18
#define MAPI_E_INVALID_SESSION 19
#define MAPI_E_TYPE_NOT_SUPPORTED 20
#define MAPI_E_AMBIGUOUS_RECIPIENT 21
#define MAPI_E_AMBIG_RECIP MAPI_E_AMBIGUOUS_RECIPIENT
#define MAPI_E_MESSAGE_IN_USE 22
#define MAPI_E_NETWORK_FAILURE 23
#define MAPI_E_INVALID_EDITFIELDS 24
#define MAPI_E_INVALID_RECIPS 25
#define MAPI_E_NOT_SUPPORTED 26

/* Entry points, as function types (for lookup by name) and as declarations. */
typedef ULONG(MAPI_CALL MAPILOGON)(ULONG_PTR ulUIParam, LPSTR lpszProfileName, LPSTR lpszPassword,
                                   FLAGS flFlags, ULONG ulReserved, LPLHANDLE lplhSession);
typedef ULONG(MAPI_CALL MAPILOGOFF)(LHANDLE lhSession, ULONG_PTR ulUIParam, FLAGS flFlags,
                                    ULONG ulReserved);
typedef ULONG(MAPI_CALL MAPISENDMAIL)(LHANDLE lhSession, ULONG_PTR ulUIParam,
                                      lpMapiMessage lpMessage, FLAGS flFlags, ULONG ulReserved);
typedef ULONG(MAPI_CALL MAPISENDDOCUMENTS)(ULONG_PTR ulUIParam, LPSTR lpszDelimChar,
                                           LPSTR lpszFilePaths, LPSTR lpszFileNames,
                                           ULONG ulReserved);
typedef ULONG(MAPI_CALL MAPIFINDNEXT)(LHANDLE lhSession, ULONG_PTR ulUIParam, LPSTR lpszMessageType,
                                      LPSTR lpszSeedMessageID, FLAGS flFlags, ULONG ulReserved,
                                      LPSTR lpszMessageID);
typedef ULONG(MAPI_CALL MAPIREADMAIL)(LHANDLE lhSession, ULONG_PTR ulUIParam, LPSTR lpszMessageID,
                                      FLAGS flFlags, ULONG ulReserved, lpMapiMessage* lppMessage);
typedef ULONG(MAPI_CALL MAPISAVEMAIL)(LHANDLE lhSession, ULONG_PTR ulUIParam,
                                      lpMapiMessage lpMessage, FLAGS flFlags, ULONG ulReserved,
                                      LPSTR lpszMessageID);
typedef ULONG(MAPI_CALL MAPIDELETEMAIL)(LHANDLE lhSession, ULONG_PTR ulUIParam, LPSTR lpszMessageID,
                                        FLAGS flFlags, ULONG ulReserved);
typedef ULONG(MAPI_CALL MAPIFREEBUFFER)(LPVOID pv);
typedef ULONG(MAPI_CALL MAPIADDRESS)(LHANDLE lhSession, ULONG_PTR ulUIParam, LPSTR lpszCaption,
                                     ULONG nEditFields, LPSTR lpszLabels, ULONG nRecips,
                                     lpMapiRecipDesc lpRecips, FLAGS flFlags, ULONG ulReserved,
                                     LPULONG lpnNewRecips, lpMapiRecipDesc* lppNewRecips);
typedef ULONG(MAPI_CALL MAPIDETAILS)(LHANDLE lhSession, ULONG_PTR ulUIParam,
                                     lpMapiRecipDesc lpRecip, FLAGS flFlags, ULONG ulReserved);
typedef ULONG(MAPI_CALL MAPIRESOLVENAME)(LHANDLE lhSession, ULONG_PTR ulUIParam, LPSTR lpszName,
                                         FLAGS flFlags, ULONG ulReserved,
                                         lpMapiRecipDesc* lppRecip);

typedef MAPILOGON* LPMAPILOGON;
typedef MAPILOGOFF* LPMAPILOGOFF;
typedef MAPISENDMAIL* LPMAPISENDMAIL;
typedef MAPISENDDOCUMENTS* LPMAPISENDDOCUMENTS;
typedef MAPIFINDNEXT* LPMAPIFINDNEXT;
typedef MAPIREADMAIL* LPMAPIREADMAIL;
typedef MAPISAVEMAIL* LPMAPISAVEMAIL;
typedef MAPIDELETEMAIL* LPMAPIDELETEMAIL;
typedef MAPIFREEBUFFER* LPMAPIFREEBUFFER;
typedef MAPIADDRESS* LPMAPIADDRESS;
typedef MAPIDETAILS* LPMAPIDETAILS;
typedef MAPIRESOLVENAME* LPMAPIRESOLVENAME;

MAPILOGON MAPILogon;
MAPILOGOFF MAPILogoff;
MAPISENDMAIL MAPISendMail;
MAPISENDDOCUMENTS MAPISendDocuments;
MAPIFINDNEXT MAPIFindNext;
MAPIREADMAIL MAPIReadMail;
MAPISAVEMAIL MAPISaveMail;
MAPIDELETEMAIL MAPIDeleteMail;
MAPIFREEBUFFER MAPIFreeBuffer;
MAPIADDRESS MAPIAddress;
MAPIDETAILS MAPIDetails;
MAPIRESOLVENAME MAPIResolveName;

#ifdef __cplusplus
}
#endif

#endif
