#include "document/offer_report.h"

#include <algorithm>

#include "document/element_values.h"
#include "document/lyx_obj.h"
#include "document/text_device.h"
#include "gaeb/gaeb_elements.h"
#include "gaeb/gaeb_texts.h"
#include "gaeb/gaeb_totals.h"
#include "util/format_ex.h"
#include "util/strings.h"

namespace {

const char kCrLf[] = "\r\n";

std::string Amount(const char* format, double value) { return FormatEx(format, {value}); }

// One print run: the widths are fixed once, the page head follows the device.
class OfferReport {
 public:
  OfferReport(KsLyxObj& document, KsTextDevice& device, bool longTexts)
      : document_(document), device_(device), longTexts_(longTexts) {}

  void Print(const std::vector<std::string>& head, const std::string& name) {
    // Without a loaded tender there is nothing to print; the head is null then
    // and callers stop before, but a stray call must not touch a missing tree.
    if (!document_.Loaded()) {
      device_.Close();
      return;
    }
    device_.SetFontSize(9);
    const KsGAEBObj& lvInfo = *document_.LvInfo;
    pageChars_ = device_.PageChars();
    ozMask_ = OZMask(lvInfo.ChildList("LVGLIED"));
    ozWidth_ = static_cast<int>(ozMask_.size());
    // The amount columns are as wide as the gross sum in plain digits plus
    // four. An amount wider than that would lose its leading digits and a
    // column would run into the next, so they grow to the widest amount
    // printed with a blank in front.
    amountWidth_ = std::max(static_cast<int>(lvInfo.Text("SUMMEBRUTTO").size()) + 4,
                            WidestAmount(lvInfo) + 1);
    lastPage_ = -1;

    PrintLine("Angebotsdruck " + name);
    PrintLine("");
    for (const std::string& line : head) PrintLine(line);
    PrintLine("Titel / Positionen");
    PrintLine("");

    device_.SetFontSize(8);
    PrintLine(std::string(static_cast<size_t>(std::max(pageChars_, 0)), '_'));
    PrintColumnHead();
    PrintLine(std::string(static_cast<size_t>(std::max(pageChars_, 0)), '_'));
    PrintList(document_.LvAreas);
    PrintList(document_.Positions);
    PrintLine("");
    PrintTotals(lvInfo);
    device_.Close();
  }

 private:
  // A text with line breaks (long texts, the client's address) is written
  // line by line, so that a page it runs onto still begins with its page head.
  void PrintLine(const std::string& text) {
    size_t start = 0;
    for (size_t end; (end = text.find(kCrLf, start)) != std::string::npos; start = end + 2)
      PrintPhysicalLine(text.substr(start, end - start));
    PrintPhysicalLine(text.substr(start));
  }

  void PrintPhysicalLine(const std::string& text) {
    const int page = device_.PageNumber();
    if (page != lastPage_) {
      device_.WriteLine(AlignRight("Seite " + std::to_string(page), pageChars_));
      lastPage_ = page;
    }
    device_.WriteLine(text);
  }

  void PrintColumnHead() {
    PrintLine(
        PadRight(ozMask_, ozWidth_ + 4) + PadRight("Text", 25) +
        std::string(static_cast<size_t>(std::max(pageChars_ - ozWidth_ - 52 - 2 * amountWidth_, 0)),
                    ' ') +
        AlignRight("Menge", 11) + AlignRight("EH", 4) + AlignRight("EP", amountWidth_) +
        AlignRight("NL", 8) + AlignRight("Summe", amountWidth_));
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
    PrintLine(PadRight(position.Text("OZ"), ozWidth_) +
              PadRight(" " + position.Text("_TARVO_POSTYP"), 4) + ShortText(position, 255));
    if (longTexts_) PrintLine(LongText(position));
    const double discount = NumberValue(position, "NACHLASSPROZ");
    PrintLine(
        AlignRight(Amount("%.3n", NumberValue(position, "MENGE")),
                   pageChars_ - 2 * amountWidth_ - 12) +
        AlignRight(position.Text("ME"), 4) +
        AlignRight(Amount("%.3n", NumberValue(position, "EP")), amountWidth_) +
        (discount != 0 ? AlignRight(Amount("%.2n", discount) + "%", 8) : std::string(8, ' ')) +
        AlignRight(Amount("%.2n", NumberValue(position, "GB")), amountWidth_));
  }

  void PrintArea(const KsGAEBObj& area) {
    PrintLine(PadRight(area.Text("OZ"), ozWidth_ + 4) + area.Text("BEZ"));
    if (longTexts_) PrintLine(AreaLongText(area));
    PrintList(area.ChildList("LVBEREICH"));
    PrintList(area.ChildList("POSITION"));

    const double sum = NumberValue(area, "SUMME");
    PrintLine(AlignRight("Summe " + PadRight(area.Text("OZ"), std::max(13, ozWidth_)) +
                             AlignRight(Amount("%.2n", sum), amountWidth_),
                         pageChars_));
    const double percent = NumberValue(area, "NACHLASSPROZ");
    const double absolute = NumberValue(area, "NACHLASSABS");
    if (percent == 0 && absolute == 0) return;
    const double afterDiscount = NumberValue(area, "SUMMENACHNL");
    PrintLine(AlignRight("Nachlass " +
                             (percent != 0 ? AlignRight(Amount("%.2n", percent) + "%: ", 10)
                                           : std::string(10, ' ')) +
                             AlignRight(Amount("%.2n", afterDiscount - sum), amountWidth_),
                         pageChars_));
    PrintLine(AlignRight("Summe nach Nachlass", pageChars_ - amountWidth_) +
              AlignRight(Amount("%.2n", afterDiscount), amountWidth_));
  }

  int WidestAmount(const KsGAEBObj& lvInfo) const {
    const double sum = NumberValue(lvInfo, "SUMME");
    int widest = 0;
    for (const std::string& text :
         {Amount("%.2n", sum), Amount("%.2n", NumberValue(lvInfo, "SUMMEBRUTTO")),
          Amount("%.2n", VatAmount(lvInfo))})
      widest = std::max(widest, static_cast<int>(text.size()));
    return std::max({widest, WidestAmount(document_.LvAreas), WidestAmount(document_.Positions)});
  }

  static int WidestAmount(const KsGAEBObjList* list) {
    int widest = 0;
    if (!list) return widest;
    for (int i = 0; i < list->Count(); ++i) {
      const KsGAEBObj& element = *list->Element(i);
      if (dynamic_cast<const KsGLVBEREICH*>(&element)) {
        const double sum = NumberValue(element, "SUMME");
        const double after = NumberValue(element, "SUMMENACHNL");
        for (const std::string& text : {Amount("%.2n", sum), Amount("%.2n", after),
                                        Amount("%.2n", after - sum)})
          widest = std::max(widest, static_cast<int>(text.size()));
        widest = std::max({widest, WidestAmount(element.ChildList("LVBEREICH")),
                           WidestAmount(element.ChildList("POSITION"))});
      } else {
        widest = std::max({widest,
                           static_cast<int>(Amount("%.3n", NumberValue(element, "EP")).size()),
                           static_cast<int>(Amount("%.2n", NumberValue(element, "GB")).size())});
      }
    }
    return widest;
  }

  void PrintTotals(const KsGAEBObj& lvInfo) {
    PrintLine("Gesamtsumme : " +
              AlignRight(Amount("%.2n", NumberValue(lvInfo, "SUMME")), amountWidth_));
    PrintLine(Amount("%4.2n", NumberValue(lvInfo, "UST")) +
              "% MWSt : " + AlignRight(Amount("%.2n", VatAmount(lvInfo)), amountWidth_));
    PrintLine("Bruttosumme : " +
              AlignRight(Amount("%.2n", NumberValue(lvInfo, "SUMMEBRUTTO")), amountWidth_));
  }

  KsLyxObj& document_;
  KsTextDevice& device_;
  const bool longTexts_;
  std::string ozMask_;
  int pageChars_ = 0;
  int ozWidth_ = 0;
  int amountWidth_ = 0;
  int lastPage_ = -1;
};

}  // namespace

void PrintOffer(KsLyxObj& document, const std::vector<std::string>& head, KsTextDevice& device,
                const std::string& name, bool longTexts) {
  OfferReport(document, device, longTexts).Print(head, name);
}
