#include "document/offer_check.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "document/tender_overwrite.h"
#include "gaeb/gaeb_obj.h"
#include "tests/support/document_fixture.h"

namespace {

using Kind = OfferFinding::Kind;

std::string Bidder(const std::string& name, const std::string& street, const std::string& town) {
  return Block("AN", Block("ADRESSE", Field("NAME1", name) + Field("STRASSE", street) +
                                          Field("PLZ", "89073") + Field("ORT", town)));
}

// Two areas; 0020 and 0110 priced, the others not. A `vat` of "none" leaves
// the rate out.
std::string ThreeUnpriced(const std::string& bidder, const std::string& vat = "19") {
  std::string tender = Tender(
      Area("01", "Rohbau",
           Area("0101", "Erdarbeiten",
                Position("0010", "1", "m") + Position("0020", "2", "m", Field("EP", "12,50"))) +
               Position("0030", "1", "m")) +
          Area("02", "Dach",
               Position("0110", "1", "m", Field("EP", "5")) + Position("0120", "3", "m")),
      bidder, vat);
  if (vat == "none") tender.erase(tender.find("[UST]none[end]\r\n"), 16);
  return tender;
}

std::vector<Kind> Kinds(const OfferFindings& findings) {
  std::vector<Kind> kinds;
  for (const OfferFinding& finding : findings) kinds.push_back(finding.What);
  return kinds;
}

using OfferCheckTest = DocumentTest;

TEST_F(OfferCheckTest, FindsWhatIsMissingInTheOrderTheUserMeetsIt) {
  const struct {
    const char* name;
    std::string tender;
    std::vector<Kind> kinds;
    std::string firstText;
    std::string field;  // of the first bidder finding
  } cases[] = {
      {"nothing but prices missing",
       ThreeUnpriced(Bidder("Bau AG", "Weg 1", "Ulm")),
       {Kind::UnpricedPositions},
       "3 Positionen haben keinen Einheitspreis (die erste: OZ 0010).",
       ""},
      {"no bidder at all",
       ThreeUnpriced(""),
       {Kind::UnpricedPositions, Kind::BidderName, Kind::BidderAddress},
       "3 Positionen haben keinen Einheitspreis (die erste: OZ 0010).",
       "NAME1"},
      {"street and town blank",
       ThreeUnpriced(Bidder("Bau AG", " ", "")),
       {Kind::UnpricedPositions, Kind::BidderAddress},
       "3 Positionen haben keinen Einheitspreis (die erste: OZ 0010).",
       "STRASSE"},
      {"one position",
       Tender(Position("0010", "1", "m"), Bidder("Bau AG", "Weg 1", "Ulm")),
       {Kind::UnpricedPositions},
       "Eine Position hat keinen Einheitspreis (OZ 0010).",
       ""},
      {"complete",
       Tender(Position("0010", "1", "m", Field("EP", "7")), Bidder("Bau AG", "Weg 1", "Ulm")),
       {},
       "",
       ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(Load(c.tender));
    const OfferFindings findings = CheckOffer(doc_);
    EXPECT_EQ(Kinds(findings), c.kinds);
    if (findings.empty()) continue;
    EXPECT_EQ(findings[0].Text, c.firstText);
    if (c.kinds[0] == Kind::UnpricedPositions) EXPECT_EQ(findings[0].Position->Text("OZ"), "0010");
    if (findings.size() > 1) EXPECT_EQ(findings[1].Field, c.field);
  }
  EXPECT_EQ(CheckOffer(KsLyxObj()).size(), 0u);
}

TEST_F(OfferCheckTest, MailWithoutRecipientAndTheMessage) {
  ASSERT_TRUE(Load(ThreeUnpriced(Bidder("Bau AG", "", "Ulm"))));
  EXPECT_EQ(Kinds(CheckOfferForMail(doc_, "ag@ulm.example")),
            (std::vector<Kind>{Kind::UnpricedPositions, Kind::BidderAddress}));
  const OfferFindings findings = CheckOfferForMail(doc_, "  ");
  EXPECT_EQ(Kinds(findings),
            (std::vector<Kind>{Kind::UnpricedPositions, Kind::BidderAddress, Kind::ClientMail}));
  EXPECT_EQ(FindingsMessage(findings),
            "Das Angebot ist noch nicht vollst\xE4ndig:\n"
            "\n- 3 Positionen haben keinen Einheitspreis (die erste: OZ 0010)."
            "\n- In der Anschrift des Bieters fehlt: Stra\xDF"
            "e."
            "\n- Die E-Mail-Adresse des Auftraggebers fehlt.");
}

// 0020: 2 * 12,50 = 25,00 and 0110: 5,00 make a sum of 30,00.
TEST_F(OfferCheckTest, ATenderWithoutVatRateTakesTheDefaultUnconfirmed) {
  const struct {
    const char* name;
    std::string vat;
    double rate;  // the default offered
    bool taken;
    double ust;
    double gross;
  } cases[] = {
      {"no rate", "none", 7, true, 7, 32.10},          // 30,00 + 2,10
      {"19 by default", "none", 19, true, 19, 35.70},  // 30,00 + 5,70
      {"rate in the file", "16", 7, false, 16, 34.80},
      {"0 in the file", "0", 19, false, 0, 30.00},
      {"an empty field reads as 0", "", 19, false, 0, 30.00},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(Load(ThreeUnpriced(Bidder("Bau AG", "Weg 1", "Ulm"), c.vat)));
    EXPECT_EQ(doc_.TakeDefaultVatRate(c.rate), c.taken);
    EXPECT_EQ(doc_.VatRateUnconfirmed(), c.taken);
    EXPECT_DOUBLE_EQ(doc_.LvInfo->Members.Find("UST")->AsFloatOr(-1), c.ust);
    EXPECT_DOUBLE_EQ(doc_.LvInfo->Members.Find("SUMMEBRUTTO")->AsFloatOr(-1), c.gross);
    EXPECT_FALSE(doc_.Modified());
    const OfferFindings findings = CheckOffer(doc_);
    EXPECT_EQ(findings.back().What == Kind::VatRate, c.taken);
    doc_.ConfirmVatRate();
    EXPECT_EQ(CheckOffer(doc_).back().What, Kind::UnpricedPositions);
  }
  EXPECT_EQ(CheckOffer(doc_).size(), 1u);
  ASSERT_TRUE(Load(ThreeUnpriced("", "none")));
  EXPECT_TRUE(doc_.TakeDefaultVatRate(19));
  ASSERT_TRUE(Load(ThreeUnpriced("", "none")));
  EXPECT_FALSE(doc_.VatRateUnconfirmed());  // a new import forgets the last one
}

TEST_F(OfferCheckTest, OverwritingTheTenderIsAskedAboutOrRefused) {
  ASSERT_TRUE(Load(ThreeUnpriced(""), "Bau.P83"));
  const std::string tender = dir_.Path("Bau.P83");
  const std::string link = dir_.Path("link.P83");
  std::filesystem::create_symlink(tender, link);
  EXPECT_EQ(CheckTenderOverwrite(doc_, tender, dir_.Path("Bau.D84")), TenderOverwrite::None);
  EXPECT_EQ(CheckTenderOverwrite(doc_, tender, link), TenderOverwrite::Replaces);
  EXPECT_EQ(TenderOverwriteText(TenderOverwrite::Replaces, link),
            "Die Ausschreibung link.P83 wird durch das Angebot ersetzt. Fortfahren?");

  ASSERT_TRUE(doc_.ExportD84(tender));  // now an offer, saved over as usual
  ASSERT_TRUE(doc_.Import(tender));
  EXPECT_EQ(CheckTenderOverwrite(doc_, tender, tender), TenderOverwrite::None);
}

// A GAEB 90 offer holds the prices alone and is read back with its tender:
// it never replaces the tender, but may replace itself.
TEST_F(OfferCheckTest, AGaeb90OfferNeverReplacesItsTender) {
  ASSERT_TRUE(Load(ReadFile(std::string(TARVO_TEST_DATA_DIR) + "/gaeb90/LV_Los01.D83"), "Los.D83"));
  const std::string tender = dir_.Path("Los.D83"), offer = dir_.Path("Los.D84");
  EXPECT_EQ(CheckTenderOverwrite(doc_, tender, tender), TenderOverwrite::Destroys);
  ASSERT_TRUE(doc_.ExportD84(offer)) << doc_.LastError;
  ASSERT_TRUE(doc_.Import(offer)) << doc_.LastError;
  EXPECT_EQ(CheckTenderOverwrite(doc_, offer, offer), TenderOverwrite::None);
}

}  // namespace
