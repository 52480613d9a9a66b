#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <pugixml.hpp>
#include <string>

#include "document/element_values.h"
#include "document/lyx_obj.h"
#include "document/offer_check.h"
#include "document/offer_report.h"
#include "document/recovery_file.h"
#include "document/tender_overwrite.h"
#include "gaeb/gaeb_totals.h"
#include "gaebxml/text_complements.h"
#include "tests/gaebxml/x83_samples.h"
#include "tests/gaebxml/x83_tree.h"
#include "tests/support/document_fixture.h"
#include "tests/support/recording_text_device.h"
#include "tests/support/time_of_writing.h"
#include "util/entry_error.h"

namespace {

// Positions of an open document by their OZ as the tree holds it.
std::map<std::string, KsGAEBObj*> ByOz(const KsLyxObj& doc) {
  std::map<std::string, KsGAEBObj*> positions;
  for (KsGAEBObj* p : Flatten(*doc.Lv).Positions) positions[p->Text("OZ")] = p;
  return positions;
}

std::map<std::string, KsGAEBObj*> AreasByOz(const KsLyxObj& doc) {
  std::map<std::string, KsGAEBObj*> areas;
  for (KsGAEBObj* a : Flatten(*doc.Lv).Areas) areas[a->Text("OZ")] = a;
  return areas;
}

std::string Answer(const KsGAEBObj& position, const std::string& mark) {
  for (const TextComplement& c : BidderComplements(position))
    if (c.MarkLbl == mark) return c.Answer;
  return "<keine>";
}

class X84Reopen : public DocumentTest {
 protected:
  std::string Copy(const std::string& from, const std::string& name) {
    const std::string to = dir_.Path(name);
    std::filesystem::copy_file(from, to);
    return to;
  }
};

// The official priced file answers an earlier edition of the official
// tender under other IDs; its numbers are the same, so its prices go in by
// them. Its amounts (IT) add up to 2,000,000.00 with 85,000.00 of a markup
// the program does not compute: 1,915,000.00 remain. Its alternative
// 001.002.0050 says 0.00 where quantity 1245 x 12.000 gives 14,940.00.
TEST_F(X84Reopen, TheOfficialOfferIsEnteredIntoTheTenderOfItsLvByNumber) {
  const std::string tender = Copy(kOfficialX83, "lv.X83");
  ASSERT_TRUE(doc_.Import(kOfficialX84, tender)) << doc_.LastError;
  EXPECT_TRUE(doc_.IsXmlOffer());
  EXPECT_EQ(doc_.TenderFile(), tender);
  EXPECT_FALSE(doc_.Modified());
  const auto positions = ByOz(doc_);
  const std::pair<const char*, double> prices[] = {
      {"0010010010", 5000}, {"00100100101", 500}, {"0010010010A", 600}, {"0010020030", 0.01},
      {"0010040030", 79},   {"0020000000", 1},    {"0020020020", 200},  {"9999999999z", 66}};
  for (const auto& [oz, ep] : prices)
    EXPECT_DOUBLE_EQ(NumberValue(*positions.at(oz), "EP"), ep) << oz;
  EXPECT_DOUBLE_EQ(NumberValue(*positions.at("0010020030"), "GB"), 123456.78);
  EXPECT_EQ(Answer(*positions.at("0020020020"), "60"), "55");
  EXPECT_EQ(Answer(*positions.at("0020020020"), "61"), "55");
  EXPECT_DOUBLE_EQ(NumberValue(*doc_.LvInfo, "SUMME"), 1915000);
  EXPECT_EQ(NumberValue(*doc_.LvInfo, "UST"), 19);
  const KsLyxObj::BidderValues bidder = doc_.BidderData();
  EXPECT_EQ(bidder[BidderIndex("NAME1")], "BVBS");
  EXPECT_EQ(bidder[BidderIndex("STRASSE")], "k.A.");
  EXPECT_EQ(bidder[BidderIndex("DVNR")], "V-4711-2");
  EXPECT_EQ(bidder[BidderIndex("VERGNR")], "BMVBS-1234");
  EXPECT_EQ(doc_.ImportWarning,
            "Die IDs des Angebots " + kOfficialX84 + " kommen in der Ausschreibung " + tender +
                " nicht vor; seine Positionen wurden ihr \xFC"
                "ber die Ordnungszahlen zugeordnet. Die Texterg\xE4nzungen 62 der Position "
                "0020020030, 63 der Position 0020020030 gibt es in der Ausschreibung nicht; ihre "
                "Antworten wurden nicht \xFC"
                "bernommen. Bei einer Position weicht der Gesamtbetrag des Angebots vom neu "
                "berechneten ab (0010020050); die Einheitspreise wurden \xFC"
                "bernommen.");
}

// The tender priced as typed, with discounts of a position and of areas, a
// VAT rate, the complements answered and the bidder named; saved beside a
// tender whose extension is written in small letters.
TEST_F(X84Reopen, TheProgramsOwnOfferOpensBesideItsTenderAndSavesTheSameBytes) {
  const std::string tender = Copy(kOfficialX83, "angebot.x83");
  ASSERT_TRUE(doc_.Import(tender)) << doc_.LastError;
  auto positions = ByOz(doc_);
  SetPositionValue(*positions.at("0010010010"), "5000", "EP");
  SetPositionValue(*positions.at("0010020030"), "0,01", "EP");
  SetPositionValue(*positions.at("0010020040"), "11", "EP");
  SetPositionValue(*positions.at("0010020040"), "2,5", "NACHLASSPROZ");
  SetPositionValue(*positions.at("0020020020"), "412,3", "EP");
  ASSERT_TRUE(AnswerComplement(*positions.at("0020020020"), "60", "120"));
  ASSERT_TRUE(AnswerComplement(*positions.at("0020020020"), "61", " Fabrikat M\xFCller; 95 "));
  SetAreaDiscount(*AreasByOz(doc_).at("001002"), "1000", "NACHLASSABS");
  SetAreaDiscount(*AreasByOz(doc_).at("002002"), "3", "NACHLASSPROZ");
  SetVatRate(*doc_.Lv, "7");
  KsLyxObj::BidderValues bidder{};
  bidder[BidderIndex("NAME1")] = "Bau M\xFCller GmbH";
  bidder[BidderIndex("ORT")] = "Ulm";
  bidder[BidderIndex("DVNR")] = "DV-1";
  doc_.MergeBidderData(bidder);
  const std::string offer = dir_.Path("angebot.X84");
  ASSERT_TRUE(doc_.ExportD84(offer)) << doc_.LastError;

  KsLyxObj reopened;
  ASSERT_TRUE(reopened.Import(offer)) << reopened.LastError;
  EXPECT_EQ(reopened.TenderFile(), tender);
  EXPECT_EQ(reopened.ImportWarning, "");
  EXPECT_TRUE(IsOffer(reopened));
  positions = ByOz(reopened);
  EXPECT_DOUBLE_EQ(NumberValue(*positions.at("0010020040"), "NACHLASSPROZ"), 2.5);
  // 1245 m x 11.000 less 2.5 %: 13,695.00 - 342.375 = 13,352.625, to the cent 13,352.63.
  EXPECT_DOUBLE_EQ(NumberValue(*positions.at("0010020040"), "GB"), 13352.63);
  EXPECT_TRUE(HasEmptyUnitPrice(*positions.at("0010020010")));
  EXPECT_EQ(Answer(*positions.at("0020020020"), "61"), "Fabrikat M\xFCller; 95");
  EXPECT_DOUBLE_EQ(NumberValue(*AreasByOz(reopened).at("001002"), "NACHLASSABS"), 1000);
  EXPECT_DOUBLE_EQ(NumberValue(*AreasByOz(reopened).at("002002"), "NACHLASSPROZ"), 3);
  EXPECT_DOUBLE_EQ(NumberValue(*reopened.LvInfo, "UST"), 7);
  EXPECT_EQ(reopened.BidderData(), doc_.BidderData());
  EXPECT_EQ(reopened.LvInfo->Text("SUMME"), doc_.LvInfo->Text("SUMME"));

  const std::string again = dir_.Path("wieder.X84");
  ASSERT_TRUE(reopened.ExportD84(again)) << reopened.LastError;
  EXPECT_EQ(WithoutTimeOfWriting(ReadFile(again)), WithoutTimeOfWriting(ReadFile(offer)));
  // Saving over the offer is saving it; over the tender it was entered into, never.
  EXPECT_EQ(CheckTenderOverwrite(reopened, offer, offer), TenderOverwrite::None);
  EXPECT_EQ(CheckTenderOverwrite(reopened, offer, tender), TenderOverwrite::Destroys);
}

TEST_F(X84Reopen, AnOfferWithoutItsTenderIsRefusedAndTheTenderAskedFor) {
  const std::string offer = Copy(kOfficialX84, "preise.X84");
  EXPECT_FALSE(doc_.Import(offer));
  EXPECT_TRUE(doc_.TenderMissing());
  EXPECT_FALSE(doc_.Loaded());
  EXPECT_EQ(doc_.LastError, "Das Angebot " + offer +
                                " enth\xE4lt nur Preise, weder Mengen noch Texte; seine "
                                "Ausschreibung wird neben ihm als " +
                                dir_.Path("preise.X83") +
                                " gesucht und wurde nicht gefunden. Bitte w\xE4hlen Sie die "
                                "zugeh\xF6rige Ausschreibung.");
  // An offer named as its tender is no tender.
  EXPECT_FALSE(doc_.Import(offer, kOfficialX84));
  EXPECT_FALSE(doc_.TenderMissing());
  EXPECT_EQ(doc_.LastError, "Die Ausschreibung " + kOfficialX84 +
                                " zum Angebot: Sie ist selbst ein Angebot (Austauschphase 84).");
}

TEST_F(X84Reopen, AnOfferOfAnotherTenderIsRefusedWithNothingEntered) {
  const std::string lot1 =
      Copy(std::string(TARVO_TEST_DATA_DIR) + "/xml-real/LV_Los01.X83", "LV_Los01.X83");
  const std::string lot2 =
      Copy(std::string(TARVO_TEST_DATA_DIR) + "/xml-real/LV_Los02.X83", "LV_Los02.X83");
  ASSERT_TRUE(doc_.Import(lot1)) << doc_.LastError;
  SetPositionValue(*Flatten(*doc_.Lv).Positions[0], "12,5", "EP");
  const std::string offer = dir_.Path("LV_Los01.X84");
  ASSERT_TRUE(doc_.ExportD84(offer)) << doc_.LastError;
  KsLyxObj other;
  EXPECT_FALSE(other.Import(offer, lot2));
  EXPECT_FALSE(other.Loaded());
  EXPECT_EQ(other.LastError,
            "Das Angebot " + offer + " geh\xF6rt nicht zur Ausschreibung " + lot2 +
                ": keine seiner Positionen kommt dort vor, und das LV hei\xDFt dort \"02\", im "
                "Angebot \"01\".");
}

TEST_F(X84Reopen, AnOfferThatRepeatsTheTenderOpensAlone) {
  const std::string offer = X83Document(
      GaebInfoXml() +
          AwardXml(
              BoQXml(CategoryXml("C1", "01", "Rohbau",
                                 CategoryXml("C2", "02", "Mauerwerk",
                                             ItemlistXml(ItemXml("I1", "0010", "12.5",
                                                                 "<UP>3.25</UP><IT>40.63</IT>"))))),
              "84"),
      "http://www.gaeb.de/GAEB_DA_XML/DA84/3.3");
  ASSERT_TRUE(Load(offer, "fremd.X84"));
  EXPECT_TRUE(doc_.IsXmlOffer());
  EXPECT_EQ(doc_.TenderFile(), "");
  EXPECT_EQ(doc_.ImportWarning, "");
  const KsGAEBObj& position = *Flatten(*doc_.Lv).Positions.at(0);
  EXPECT_DOUBLE_EQ(NumberValue(position, "EP"), 3.25);
  // 12.5 x 3.25 = 40.625, half up 40.63.
  EXPECT_DOUBLE_EQ(NumberValue(position, "GB"), 40.63);
  // A tender named an offer by its namespace is neither.
  EXPECT_FALSE(Load(X83Document(GaebInfoXml() + AwardXml(BoQXml(""), "83"),
                                "http://www.gaeb.de/GAEB_DA_XML/DA84/3.3"),
                    "falsch.X84"));
  EXPECT_EQ(doc_.LastError,
            "Der Namensraum \"http://www.gaeb.de/GAEB_DA_XML/DA84/3.3\" der Datei nennt die "
            "Austauschphase 84, ihr Element DP aber die Austauschphase 83; die Datei wird nicht "
            "gelesen.");
}

// The two complements of the official tender: shown with the client's text,
// open until answered, then in the answer, in the print and off the list
// of what is missing.
TEST_F(X84Reopen, BidderComplementsAreAnsweredWrittenPrintedAndChecked) {
  ASSERT_TRUE(doc_.Import(kOfficialX83)) << doc_.LastError;
  KsGAEBObj& position = *ByOz(doc_).at("0020020020");
  const std::vector<TextComplement> complements = BidderComplements(position);
  ASSERT_EQ(complements.size(), 2u);
  EXPECT_EQ(complements[0].MarkLbl, "60");
  EXPECT_EQ(ComplementLine(complements[0]), "Breite von ... cm.");
  EXPECT_EQ(ComplementLine(complements[1]), "H\xF6he von ... cm.");
  const auto open = [this] {
    for (const OfferFinding& f : CheckOffer(doc_))
      if (f.What == OfferFinding::Kind::OpenComplements) return f.Text;
    return std::string();
  };
  EXPECT_EQ(open(),
            "2 Texterg\xE4nzungen des Bieters sind nicht ausgef\xFCllt (die erste: OZ "
            "0020020020, \"Breite von\").");
  ASSERT_TRUE(AnswerComplement(position, "60", "55"));
  EXPECT_EQ(open(),
            "Eine Texterg\xE4nzung des Bieters ist nicht ausgef\xFCllt (OZ 0020020020, "
            "\"H\xF6he von\").");
  ASSERT_TRUE(AnswerComplement(position, "61", "55"));
  EXPECT_EQ(open(), "");
  EXPECT_FALSE(AnswerComplement(position, "62", "55"));
  EXPECT_THROW(AnswerComplement(position, "60", "55\r\n60"), EntryError);
  EXPECT_EQ(BidderComplements(position)[0].Answer, "55");

  RecordingTextDevice device;
  ASSERT_TRUE(PrintOffer(doc_, {"Kopf"}, device, "lv", false));
  int printed = 0;
  for (const auto& line : device.lines)
    printed += line.text.find("Texterg\xE4nzung: Breite von 55 cm.") != std::string::npos ||
               line.text.find("Texterg\xE4nzung: H\xF6he von 55 cm.") != std::string::npos;
  EXPECT_EQ(printed, 2);

  // The answer has the shape of the official priced file: under the item,
  // Description / CompleteText / DetailTxt, one TextComplement per answer.
  ASSERT_TRUE(doc_.ExportD84(dir_.Path("a.X84"))) << doc_.LastError;
  pugi::xml_document x84;
  ASSERT_TRUE(x84.load_file(dir_.Path("a.X84").c_str()));
  const pugi::xml_node item =
      x84.select_node(("//Item[@ID='" + position.Text("_TARVO_XML_ID") + "']").c_str()).node();
  const pugi::xpath_node_set answers =
      item.select_nodes("Description/CompleteText/DetailTxt/TextComplement");
  ASSERT_EQ(answers.size(), 2u);
  EXPECT_STREQ(answers[0].node().attribute("MarkLbl").value(), "60");
  EXPECT_STREQ(answers[0].node().attribute("Kind").value(), "Bidder");
  EXPECT_STREQ(answers[1].node().attribute("MarkLbl").value(), "61");
  EXPECT_STREQ(answers[1].node().child("ComplBody").child("span").child_value(), "55");
  EXPECT_STREQ(item.last_child().name(), "Description");
}

// The answers survive a crash: the recovery file gives back the same X84.
TEST_F(X84Reopen, AnsweredComplementsSurviveTheRecoveryFile) {
  ASSERT_TRUE(doc_.Import(kOfficialX83)) << doc_.LastError;
  KsGAEBObj& position = *ByOz(doc_).at("0020020020");
  ASSERT_TRUE(AnswerComplement(position, "60", "Fabrikat \"M\xFCller\" & Co; Typ <7>"));
  ASSERT_TRUE(doc_.ExportD84(dir_.Path("vorher.X84")));
  RecoveryHead head;
  head.TenderPath = kOfficialX83;
  head.Xml = true;
  head.Origin = *doc_.XmlOrigin();
  WriteRecoveryFile(dir_.Path("sicherung.xml"), doc_, head);
  KsLyxObj restored;
  RecoveryHead read;
  ASSERT_TRUE(restored.Restore(dir_.Path("sicherung.xml"), read)) << restored.LastError;
  EXPECT_EQ(BidderComplements(*ByOz(restored).at("0020020020")), BidderComplements(position));
  ASSERT_TRUE(restored.ExportD84(dir_.Path("nachher.X84")));
  EXPECT_EQ(WithoutTimeOfWriting(ReadFile(dir_.Path("nachher.X84"))),
            WithoutTimeOfWriting(ReadFile(dir_.Path("vorher.X84"))));
}

}  // namespace
