#pragma once

#include <map>
#include <pugixml.hpp>
#include <string>
#include <string_view>

// Reads a price submission (X84) next to the tender it answers (X83) without
// the program's code: amounts are exact integers of their smallest unit,
// taken from the decimal text, and every sum is added up here.

// "1234.5" with 2 decimals -> 123450. False for more decimals than given or
// anything that is not a plain decimal.
inline bool DecimalUnits(std::string_view text, int decimals, long long& units) {
  bool negative = false;
  if (!text.empty() && text.front() == '-') {
    negative = true;
    text.remove_prefix(1);
  }
  long long value = 0;
  int fraction = -1;
  for (char c : text) {
    if (c == '.' && fraction < 0) {
      fraction = 0;
    } else if (c >= '0' && c <= '9') {
      if (fraction >= 0 && ++fraction > decimals) return false;
      value = value * 10 + (c - '0');
    } else {
      return false;
    }
  }
  if (text.empty()) return false;
  for (int i = fraction < 0 ? 0 : fraction; i < decimals; ++i) value *= 10;
  units = negative ? -value : value;
  return true;
}

// The amount of a quantity (thousandths) at a unit price (thousandths), in
// cents, rounded half away from zero.
inline long long AmountCents(long long quantityMilli, long long priceMilli) {
  const __int128 micro = static_cast<__int128>(quantityMilli) * priceMilli;  // 10^-6
  const __int128 magnitude = micro < 0 ? -micro : micro;
  const long long cents = static_cast<long long>((magnitude + 5000) / 10000);
  return micro < 0 ? -cents : cents;
}

inline std::string_view Local(const pugi::xml_node& n) {
  const std::string_view name = n.name();
  const size_t colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

inline pugi::xml_node Sub(const pugi::xml_node& n, std::string_view name) {
  for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling())
    if (Local(c) == name) return c;
  return {};
}

struct X84Sums {
  // What the tender says of each item, by ID.
  struct TenderItem {
    long long quantityMilli = 0;
    bool counts = true;  // "N" or "B": counts in the sums
  };
  std::map<std::string, TenderItem> tender;

  std::map<std::string, long long> itemUpMilli;        // UP of the answer, by item ID
  std::map<std::string, long long> itemItCents;        // IT of the answer
  std::map<std::string, long long> itemExpectedCents;  // UP x quantity, recomputed
  std::map<std::string, long long> categoryTotal;      // Totals/Total of the answer, by ID
  std::map<std::string, long long> categorySum;        // IT of its counting items + sub-areas
  long long boqTotal = 0, boqSum = 0, vatAmount = 0, totalGross = 0;
  std::string vat;
  int items = 0;
  bool wellFormed = true;

  void ReadTender(const std::string& x83) {
    pugi::xml_document doc;
    wellFormed = wellFormed && doc.load_string(x83.c_str());
    ReadTenderBody(Sub(Sub(Sub(doc.document_element(), "Award"), "BoQ"), "BoQBody"));
  }

  void ReadAnswer(const std::string& x84) {
    pugi::xml_document doc;
    wellFormed = wellFormed && doc.load_string(x84.c_str());
    const pugi::xml_node boq = Sub(Sub(doc.document_element(), "Award"), "BoQ");
    boqSum = SumBody(Sub(boq, "BoQBody"));
    const pugi::xml_node totals = Sub(Sub(boq, "BoQInfo"), "Totals");
    Units(Sub(totals, "Total"), 2, boqTotal);
    Units(Sub(totals, "VATAmount"), 2, vatAmount);
    Units(Sub(totals, "TotalGross"), 2, totalGross);
    vat = Sub(totals, "VAT").child_value();
  }

 private:
  void Units(const pugi::xml_node& n, int decimals, long long& units) {
    wellFormed = wellFormed && n && DecimalUnits(n.child_value(), decimals, units);
  }

  void ReadTenderBody(const pugi::xml_node& body) {
    for (pugi::xml_node e = body.first_child(); e; e = e.next_sibling()) {
      if (Local(e) == "BoQCtgy") ReadTenderBody(Sub(e, "BoQBody"));
      if (Local(e) != "Itemlist") continue;
      for (pugi::xml_node item = e.first_child(); item; item = item.next_sibling()) {
        if (Local(item) != "Item") continue;
        TenderItem& t = tender[item.attribute("ID").value()];
        long long serial = 0;
        DecimalUnits(Sub(item, "Qty").child_value(), 3, t.quantityMilli);
        DecimalUnits(Sub(item, "ALNSerNo").child_value(), 0, serial);
        // The later test wins, as in the GAEB 2000 types: an alternative
        // that is also a contingency with total counts.
        const std::string_view provis = Sub(item, "Provis").child_value();
        t.counts = provis == "WithTotal" || (provis != "WithoutTotal" && serial == 0);
      }
    }
  }

  // The sum of a body: IT of its counting items and the totals of its areas
  // after their discounts; checks every area on the way.
  long long SumBody(const pugi::xml_node& body) {
    long long sum = 0;
    for (pugi::xml_node e = body.first_child(); e; e = e.next_sibling()) {
      if (Local(e) == "BoQCtgy") {
        const std::string id = e.attribute("ID").value();
        categorySum[id] = SumBody(Sub(e, "BoQBody"));
        const pugi::xml_node totals = Sub(e, "Totals");
        Units(Sub(totals, "Total"), 2, categoryTotal[id]);
        long long after = categoryTotal[id];
        if (Sub(totals, "TotAfterDisc")) Units(Sub(totals, "TotAfterDisc"), 2, after);
        sum += after;
      }
      if (Local(e) != "Itemlist") continue;
      for (pugi::xml_node item = e.first_child(); item; item = item.next_sibling()) {
        if (Local(item) != "Item") continue;
        ++items;
        const std::string id = item.attribute("ID").value();
        Units(Sub(item, "UP"), 3, itemUpMilli[id]);
        Units(Sub(item, "IT"), 2, itemItCents[id]);
        const auto found = tender.find(id);
        wellFormed = wellFormed && found != tender.end();
        if (found == tender.end()) continue;
        itemExpectedCents[id] = AmountCents(found->second.quantityMilli, itemUpMilli[id]);
        if (found->second.counts) sum += itemItCents[id];
      }
    }
    return sum;
  }
};
