#pragma once

#include <memory>
#include <string>

#include "document/pieced_text.h"
#include "gaeb90/gaeb90_origin.h"
#include "gaebxml/gaeb_xml_origin.h"

class KsGAEBObj;
class GaebDocument;
class KsLyxObj;

// The recovery file: the whole open offer in the object XML format, written
// while it has unsaved changes so that a crash loses nothing typed since.
// It holds the element tree with every entry (the bidder data among them),
// the VAT rate's state, the tender it answers and in which format, and when
// it was written; enough to restore the offer without the tender file.

// What the file says besides the tree.
struct RecoveryHead {
  std::string TenderPath;  // the tender file as opened (file system bytes)
  bool Xml = false;        // GAEB DA XML (answered by X84), else GAEB 2000
  long long SavedAt = 0;   // seconds since 1970 (UTC) when it was written
  bool VatUnconfirmed = false;
  // Size, modification time and content hash of the tender file when it
  // was opened, to see whether it changed since (document/tender_stamp.h).
  long long TenderSize = -1;
  long long TenderMTime = 0;
  std::string TenderHash;
  GaebXmlOrigin Origin;  // of an XML tender
  // Of a GAEB 90 tender, whose offer is a GAEB 90 D84.
  bool Gaeb90 = false;
  Gaeb90Origin Gaeb90Source;
};

// The whole file as text, made into `text` (what it held goes, its room is
// used). Made on the thread that owns the document (it reads the tree), so
// that writing it may happen elsewhere.
void MakeRecoveryText(KsLyxObj& doc, const RecoveryHead& head, PiecedText& text);
PiecedText RecoveryText(KsLyxObj& doc, const RecoveryHead& head);
// Writes such a text atomically to `path` (mode 0600); raises
// std::runtime_error (German) on failure, the earlier file then stays.
void WriteRecoveryText(const std::string& path, const PiecedText& text);
// Both at once.
void WriteRecoveryFile(const std::string& path, KsLyxObj& doc, const RecoveryHead& head);

// What a recovery file held.
struct RecoveredOffer {
  RecoveryHead Head;
  std::unique_ptr<KsGAEBObj> Root;  // made in the current arena
};

// Reads a recovery file; false with `error` (German) when it is missing,
// cut, foreign or damaged. Nothing is guessed: a tag or a member the tree
// does not know fails the whole file.
bool ReadRecoveryFile(const std::string& path, GaebDocument* doc, RecoveredOffer& offer,
                      std::string& error);
