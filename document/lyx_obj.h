#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/arena.h"
#include "document/bidder_fields.h"
#include "document/change_tracker.h"
#include "document/edit_history.h"
#include "document/lyx_observer.h"
#include "gaeb/gaeb_document.h"
#include "gaeb90/gaeb90_origin.h"
#include "gaebxml/gaeb_xml_origin.h"

class KsFileReadGaeb00;
class KsGAEBObj;
class KsGAEBObjList;
struct RecoveryHead;

// The offer document: the one open tender as a tree of GAEB elements, with
// direct references into the parts the program works on.
class KsLyxObj : public GaebDocument {
 public:
  // The values of the bidder fields, in the order of kBidderFields.
  using BidderValues = std::array<std::string, kBidderFields.size()>;
  // The VAT rate (per cent) of an offer whose tender gives none, until the
  // bidder sets another in the options.
  static constexpr double kDefaultVatRate = 19;
  // PROGNAME of every offer this program saves: how it knows its own offers
  // again, whatever phase they carry.
  static constexpr const char* kProgramName = "Quorva";

  KsLyxObj();
  ~KsLyxObj() override;
  KsLyxObj(const KsLyxObj&) = delete;
  KsLyxObj& operator=(const KsLyxObj&) = delete;

  std::unique_ptr<KsGAEBObj> GaebRoot;  // a KsGGAEB
  KsGAEBObj* Lv = nullptr;
  KsGAEBObj* LvInfo = nullptr;
  KsGAEBObj* GaebInfo = nullptr;
  KsGAEBObj* PrjInfo = nullptr;
  KsGAEBObj* VergabeInfo = nullptr;
  KsGAEBObj* Ag = nullptr;
  KsGAEBObj* An = nullptr;
  KsGAEBObjList* LvAreas = nullptr;
  KsGAEBObjList* Positions = nullptr;
  std::string LastError;
  // What the last successful import had to change in the tender without
  // refusing it (German), "" when nothing.
  std::string ImportWarning;
  bool EpBreakdown = false;

  // Reads a GAEB 2000 file or, when the content is XML, a GAEB DA XML tender
  // (X83) into a new tree; false with LastError on failure. An offer is
  // read back too: a D84 this program saved, and an X84. An X84 that answers
  // by ID only (gaebxml/x84_answers.h) is entered into its tender: `tender`
  // when given, else the X83 of the same name beside it (the extension in
  // any letter case); without one the import fails with TenderMissing().
  bool Import(const std::string& fileName, const std::string& tender = std::string());
  // The last import failed only because the X84's tender was not found:
  // ask for it and import again with it.
  bool TenderMissing() const { return tenderMissing_; }
  // The X83 read with an X84 (file system bytes); "" otherwise.
  const std::string& TenderFile() const { return tenderFile_; }
  // Reads an offer whose prices are taken over into `into`: as Import, and
  // an offer (phase 84) of another program is read too. An X84 that answers
  // by ID only and has no tender beside it is tried with the X83 of `into`
  // (an offer for the same tender under another name).
  bool ImportPriceSource(const std::string& fileName, const KsLyxObj& into);
  // Writes the offer in the format the tender came in: D84 for GAEB 2000,
  // X84 for GAEB DA XML, a GAEB 90 D84 for GAEB 90 (or, asked for, a GAEB
  // 2000 D84). The old file stays untouched unless all was written.
  enum class OfferFormat { AsTender, Gaeb2000 };
  bool ExportD84(const std::string& fileName, OfferFormat format = OfferFormat::AsTender);
  // The tender came as GAEB 90 (D81, D83, or our own D84 read back).
  bool IsGaeb90() const { return gaeb90Origin_ != nullptr; }
  // A GAEB 90 offer read back with its tender.
  bool IsGaeb90Offer() const { return IsGaeb90() && gaeb90Origin_->Phase == "84"; }
  // What the GAEB 90 D84 takes over from a GAEB 90 tender; null otherwise.
  const Gaeb90Origin* Gaeb90Source() const { return gaeb90Origin_.get(); }
  // The tender came as GAEB DA XML.
  bool IsXml() const { return xmlOrigin_ != nullptr; }
  // An X84 read back (with its tender, or alone).
  bool IsXmlOffer() const;
  // Takes the offer a recovery file holds (document/recovery_file.h) as the
  // open one, marked as changed; the tender file is not read. False with
  // LastError (German) when the file cannot be read; the offer open before
  // is then kept.
  bool Restore(const std::string& recoveryFile, RecoveryHead& head);
  // The XML tender's origin; null for GAEB 2000.
  const GaebXmlOrigin* XmlOrigin() const { return xmlOrigin_.get(); }
  // The extension of the offer file: ".X84" or ".D84".
  std::string OfferExtension() const { return IsXml() ? ".X84" : ".D84"; }
  // The tender file the offer answers as it was opened (file system bytes):
  // the one imported, or the one a restored offer names; "" before either.
  const std::string& TenderPath() const;
  // Name and extension of TenderPath; "" before any import.
  std::string FileName() const;
  void CloseReader();
  void DetectEpBreakdown();
  void RecalculateAll();
  // True when a tender is loaded (the last import succeeded).
  bool Loaded() const { return Lv != nullptr; }

  // When the tender gives no VAT rate, `rate` (0 ... 100) becomes the
  // offer's and stays unconfirmed until ConfirmVatRate (an entry of the rate);
  // true when it was taken. A rate in the file is kept as it is.
  bool TakeDefaultVatRate(double rate);
  bool VatRateUnconfirmed() const { return vatUnconfirmed_; }
  void ConfirmVatRate() { vatUnconfirmed_ = false; }

  // Every edit notes its element before changing it (prices, discounts, VAT,
  // bidder and award fields), so the document knows whether it still equals
  // the file last opened or saved.
  // The note also opens a step of the history, which EntryDone closes: what
  // a command changes between the two is undone as one.
  void NoteEdit(KsGAEBObj& element) {
    changes_.Note(element);
    history_.Note(element);
  }
  void EntryDone() { history_.Close(); }
  bool CanUndo() const { return history_.CanUndo(); }
  bool CanRedo() const { return history_.CanRedo(); }
  // The last entry taken back (made again), every amount and sum recomputed
  // and the observers told; the elements it changed, empty when there was none.
  std::vector<KsGAEBObj*> Undo();
  std::vector<KsGAEBObj*> Redo();
  bool Modified() const { return changes_.Changed(); }
  // The offer was saved: its present values are those of the file.
  void MarkSaved() { changes_.Reset(); }

  void AddObserver(KsLyxObserver* observer);
  void RemoveObserver(KsLyxObserver* observer);
  void NotifyObservers(int code) override;

  // The file's bidder wins when its NAME1 is not blank (true, nothing written);
  // otherwise the fifteen values are written into the tree (false).
  bool MergeBidderData(const BidderValues& values);
  // The fifteen bidder values as the tree holds them ("" where missing).
  BidderValues BidderData() const;

  // Head lines of the offer print; nullptr (and LastError set) when nothing is loaded.
  std::unique_ptr<std::vector<std::string>> BuildPrintHeader();

  KsFileReadGaeb00* Reader() override { return reader_.get(); }
  bool RecalcAll() const override { return recalcAll_; }

 private:
  void ClearReferences();
  // Frees the tree with everything in it.
  void FreeTree();
  // Reads the root block and everything below it (second pass); false with
  // LastError when the file has no root block.
  bool ReadTree();
  // Import of a GAEB DA XML tender, the reader standing at the file's start.
  bool ImportXml(const std::string& tender);
  bool ReadXmlTree(const std::string& tender);
  // The tender an X84 answering by ID answers: `given`, else the X83 beside it.
  std::string FindXmlTender(const std::string& given);
  // Import of a GAEB 90 file, the reader standing at the file's start.
  bool ImportGaeb90();
  bool ReadGaeb90Tree();
  // Runs the reading of a tree between the notices of its start and end; on
  // false or an exception (its text in LastError) no reference is left bound.
  bool ReadAnnounced(const std::function<bool()>& read);
  // The end of every import once its tree stands: the references bound
  // (what the file left out made empty), the breakdown detected, every
  // total computed.
  void CompleteTree();
  void BindReferences();
  // The child element held by the member, created empty when the file had none.
  KsGAEBObj& BindChild(KsGAEBObj& holder, const std::string& memberName);
  void SetInfoText(const std::string& memberName, const std::string& text);

  // The memory of the tree: every import starts a new one, and the old
  // tree's goes back to the system when the old tree is freed.
  ArenaHold arena_;
  std::unique_ptr<KsFileReadGaeb00> reader_;
  std::string restoredFrom_;  // the tender a restored offer answers, "" otherwise
  std::string tenderFile_;    // the X83 read with an X84, "" otherwise
  bool tenderMissing_ = false;
  // What the X84 answer takes over from an XML tender; null for GAEB 2000.
  std::unique_ptr<GaebXmlOrigin> xmlOrigin_;
  // What the GAEB 90 D84 takes over from a GAEB 90 tender; null otherwise.
  std::unique_ptr<Gaeb90Origin> gaeb90Origin_;
  std::vector<KsLyxObserver*> observers_;
  bool recalcAll_ = false;
  bool priceSource_ = false;  // while ImportPriceSource reads
  bool vatUnconfirmed_ = false;
  ChangeTracker changes_;
  EditHistory history_;
};
