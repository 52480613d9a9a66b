#include "document/offer_report.h"

#include <algorithm>

#include "document/element_values.h"
#include "document/lyx_obj.h"
#include "document/offer_columns.h"
#include "document/text_device.h"
#include "document/word_wrap.h"
#include "gaeb/gaeb_elements.h"
#include "gaeb/gaeb_texts.h"
#include "gaeb/gaeb_totals.h"
#include "gaebxml/text_complements.h"
#include "util/strings.h"
#include "util/trim.h"

namespace {

std::string Blanks(int count) { return std::string(static_cast<size_t>(std::max(count, 0)), ' '); }

// The lines of a text: CR LF, a lone CR and a lone LF each end one. A tab
// takes one column like every other character of the monospaced print.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines.emplace_back();
    } else {
      lines.back() += c == '\t' ? ' ' : c;
    }
  }
  return lines;
}

// A text of several lines as one, for a row of a table.
std::string OneLine(const std::string& text) {
  std::string line;
  for (const std::string& part : Lines(text)) {
    const std::string trimmed = Trim(part);
    if (trimmed.empty()) continue;
    line += (line.empty() ? "" : " ") + trimmed;
  }
  return line;
}

// Continuation lines of a line with a label ("Auftraggeber:  ...") align with
// its value; other lines keep their own indentation.
int ContinuationIndent(const std::string& line) {
  const size_t label = line.find(": ");
  size_t value = label == std::string::npos ? 0 : line.find_first_not_of(' ', label + 1);
  if (value == std::string::npos || label == std::string::npos) value = line.find_first_not_of(' ');
  return value == std::string::npos ? 0 : static_cast<int>(value);
}

// One print run: the columns are fixed once, the page head follows the device.
class OfferReport {
 public:
  OfferReport(KsLyxObj& document, TextDevice& device, bool longTexts)
      : document_(document), device_(device), longTexts_(longTexts) {}

  bool Print(const std::vector<std::string>& head, const std::string& name) {
    // Without a loaded tender there is nothing to print; the head is null then
    // and callers stop before, but a stray call must not touch a missing tree.
    if (!document_.Loaded()) {
      device_.Close();
      return true;
    }
    columns_ = OfferColumns(document_);
    // Every column must fit before the first line goes to paper.
    device_.SetFontSize(kOfferTablePoints);
    if (device_.PageChars() < columns_.MinPageChars()) {
      device_.Close();
      return false;
    }
    const KsGAEBObj& lvInfo = *document_.LvInfo;
    ozWidth_ = columns_.OzWidth;
    amountWidth_ = columns_.AmountWidth;
    lastPage_ = -1;

    SetFontSize(kOfferHeadPoints);
    PrintLine("Angebotsdruck " + name);
    PrintLine("");
    for (const std::string& line : head) PrintLine(line);
    PrintLine("Titel / Positionen");
    PrintLine("");

    SetFontSize(kOfferTablePoints);
    PrintLine(std::string(static_cast<size_t>(std::max(pageChars_, 0)), '_'));
    PrintColumnHead();
    PrintLine(std::string(static_cast<size_t>(std::max(pageChars_, 0)), '_'));
    PrintList(document_.LvAreas);
    PrintList(document_.Positions);
    PrintLine("");
    PrintSummary(document_.LvAreas);
    PrintTotals(lvInfo);
    PrintSignature();
    device_.Close();
    return true;
  }

 private:
  // Texts are wrapped at the width of the font in use.
  void SetFontSize(int points) {
    device_.SetFontSize(points);
    pageChars_ = device_.PageChars();
  }

  // A line the report composed, wrapped where it is too long for the page.
  void PrintLine(const std::string& text) {
    for (const std::string& line : Lines(text)) PrintWrapped(line, ContinuationIndent(line));
  }

  // A text of the element in the text column: its first line follows the
  // prefix, every further line and every continuation starts at `indent`.
  void PrintText(const std::string& prefix, const std::string& text, int indent) {
    const std::vector<std::string> lines = Lines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
      const std::string line = (i == 0 ? prefix : Blanks(indent)) + lines[i];
      PrintWrapped(line.find_first_not_of(' ') == std::string::npos ? std::string() : line, indent);
    }
  }

  void PrintWrapped(const std::string& line, int indent) {
    for (const std::string& part : WrapLine(line, pageChars_, indent)) PrintPhysicalLine(part);
  }

  void PrintPhysicalLine(const std::string& text) {
    const int page = device_.PageNumber();
    if (page != lastPage_) {
      device_.WriteLine(AlignRight("Seite " + std::to_string(page), pageChars_));
      lastPage_ = page;
    }
    device_.WriteLine(text);
  }

  // The right-hand columns line up with the amount lines below.
  void PrintColumnHead() {
    const int right = columns_.QuantityWidth + columns_.UnitWidth + amountWidth_ +
                      columns_.DiscountWidth + amountWidth_;
    PrintLine(PadRight(columns_.OzMask, ozWidth_ + 4) + PadRight("Text", 25) +
              Blanks(pageChars_ - ozWidth_ - 29 - right) +
              AlignRight("Menge", columns_.QuantityWidth) + AlignRight("EH", columns_.UnitWidth) +
              AlignRight("EP", amountWidth_) + AlignRight("NL", columns_.DiscountWidth) +
              AlignRight("Summe", amountWidth_));
  }

  void PrintList(const KsGAEBObjList* list) {
    if (!list) return;
    for (int i = 0; i < list->Count(); ++i) PrintElement(*list->Element(i));
  }

  void PrintElement(const KsGAEBObj& element) {
    if (dynamic_cast<const KsGPOSITION*>(&element))
      PrintPosition(element);
    else
      PrintArea(element);
  }

  void PrintPosition(const KsGAEBObj& position) {
    const int textColumn = ozWidth_ + 4;
    PrintText(
        PadRight(position.Text("OZ"), ozWidth_) + PadRight(" " + position.Text("_TARVO_POSTYP"), 4),
        ShortText(position, 255), textColumn);
    if (longTexts_) PrintText(Blanks(textColumn), LongText(position), textColumn);
    // What the bidder filled in belongs to the offer, with or without long texts.
    for (const TextComplement& complement : BidderComplements(position))
      PrintText(Blanks(textColumn), "Texterg\xE4nzung: " + ComplementLine(complement), textColumn);
    // The quantity takes the room the other columns leave; a position left
    // open ends after its unit.
    PrintLine(TrimRight(
        AlignRight(QuantityText(position),
                   pageChars_ - 2 * amountWidth_ - columns_.UnitWidth - columns_.DiscountWidth) +
        AlignRight(position.Text("ME"), columns_.UnitWidth) +
        AlignRight(UnitPriceText(position), amountWidth_) +
        AlignRight(PositionDiscountText(position), columns_.DiscountWidth) +
        AlignRight(PositionAmountText(position), amountWidth_)));
  }

  void PrintArea(const KsGAEBObj& area) {
    const int textColumn = ozWidth_ + 4;
    PrintText(PadRight(area.Text("OZ"), textColumn), area.Text("BEZ"), textColumn);
    if (longTexts_) PrintText(Blanks(textColumn), AreaLongText(area), textColumn);
    PrintList(area.ChildList("LVBEREICH"));
    PrintList(area.ChildList("POSITION"));

    const double sum = NumberValue(area, "SUMME");
    PrintLine(AlignRight("Summe " + PadRight(area.Text("OZ"), std::max(13, ozWidth_)) +
                             AlignRight(AmountText(sum), amountWidth_),
                         pageChars_));
    const double percent = NumberValue(area, "NACHLASSPROZ");
    const double absolute = NumberValue(area, "NACHLASSABS");
    if (percent == 0 && absolute == 0) return;
    const double afterDiscount = NumberValue(area, "SUMMENACHNL");
    PrintLine(AlignRight("Nachlass " +
                             AlignRight(AreaDiscountText(area), columns_.AreaDiscountWidth) +
                             AlignRight(AmountText(afterDiscount - sum), amountWidth_),
                         pageChars_));
    PrintLine(AlignRight("Summe nach Nachlass", pageChars_ - amountWidth_) +
              AlignRight(AmountText(afterDiscount), amountWidth_));
  }

  // "Zusammenstellung": every LV area with its sum, discount and sum after
  // discount, sub-areas below their area with their text indented.
  void PrintSummary(const KsGAEBObjList* areas) {
    if (!areas || areas->Count() == 0) return;
    const std::string rule(static_cast<size_t>(std::max(pageChars_, 0)), '_');
    const int width = columns_.SummaryWidth;
    PrintLine("Zusammenstellung");
    PrintLine(rule);
    const int textWidth = pageChars_ - ozWidth_ - 4 - 3 * width;
    PrintLine(PadRight(columns_.OzMask, ozWidth_ + 4) + PadRight("Text", textWidth) +
              AlignRight("Summe", width) + AlignRight("Nachlass", width) +
              AlignRight("Summe", width));
    PrintLine(Blanks(pageChars_ - width) + AlignRight("nach Nachlass", width));
    PrintLine(rule);
    PrintSummaryRows(*areas, 0);
    PrintLine(rule);
    PrintLine("");
  }

  void PrintSummaryRows(const KsGAEBObjList& areas, int depth) {
    const int width = columns_.SummaryWidth;
    const int textWidth = pageChars_ - ozWidth_ - 4 - 3 * width;
    for (int i = 0; i < areas.Count(); ++i) {
      const KsGAEBObj& area = *areas.Element(i);
      const double sum = NumberValue(area, "SUMME");
      const double afterDiscount = NumberValue(area, "SUMMENACHNL");
      const bool discount =
          NumberValue(area, "NACHLASSPROZ") != 0 || NumberValue(area, "NACHLASSABS") != 0;
      const std::string amounts =
          AlignRight(AmountText(sum), width) +
          AlignRight(discount ? AmountText(afterDiscount - sum) : std::string(), width) +
          AlignRight(AmountText(afterDiscount), width);
      // Deep nesting must leave the text room on its line.
      const int indent = std::min(2 * depth, textWidth / 2);
      const std::vector<std::string> text =
          WrapLine(Blanks(indent) + OneLine(area.Text("BEZ")), textWidth, indent);
      PrintPhysicalLine(PadRight(area.Text("OZ"), ozWidth_ + 4) + PadRight(text[0], textWidth) +
                        amounts);
      for (size_t line = 1; line < text.size(); ++line)
        PrintPhysicalLine(Blanks(ozWidth_ + 4) + text[line]);
      if (const KsGAEBObjList* below = area.ChildList("LVBEREICH"))
        PrintSummaryRows(*below, depth + 1);
    }
  }

  // Place, date and signature are the bidder's to write by hand.
  void PrintSignature() {
    const int width = std::min(40, (pageChars_ - 4) / 2);
    const std::string rule(static_cast<size_t>(std::max(width, 0)), '_');
    PrintLine("");
    PrintLine("");
    PrintLine(rule + "    " + rule);
    PrintLine(PadRight("Ort, Datum", width + 4) + "Unterschrift, Stempel");
  }

  void PrintTotals(const KsGAEBObj& lvInfo) {
    PrintLine("Gesamtsumme : " +
              AlignRight(AmountText(NumberValue(lvInfo, "SUMME")), amountWidth_));
    PrintLine(VatRateText(lvInfo) +
              "% MWSt : " + AlignRight(AmountText(VatAmount(lvInfo)), amountWidth_));
    PrintLine("Bruttosumme : " +
              AlignRight(AmountText(NumberValue(lvInfo, "SUMMEBRUTTO")), amountWidth_));
  }

  KsLyxObj& document_;
  TextDevice& device_;
  const bool longTexts_;
  OfferColumnWidths columns_;
  int pageChars_ = 0;
  int ozWidth_ = 0;
  int amountWidth_ = 0;
  int lastPage_ = -1;
};

}  // namespace

bool PrintOffer(KsLyxObj& document, const std::vector<std::string>& head, TextDevice& device,
                const std::string& name, bool longTexts) {
  return OfferReport(document, device, longTexts).Print(head, name);
}

int OfferTableWidth(const KsLyxObj& document) { return OfferColumns(document).MinPageChars(); }

std::string TooNarrowMessage(int available, int needed) {
  return "Der Angebotsdruck braucht mindestens " + std::to_string(needed) +
         " Zeichen je Zeile, auf die Seite passen nur " + std::to_string(available) + ".";
}
