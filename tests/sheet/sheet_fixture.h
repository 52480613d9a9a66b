#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/member.h"
#include "gaeb/gaeb_obj.h"
#include "sheet/sheet_prices.h"
#include "sheet/sheet_table.h"
#include "sheet/workbook_reader.h"
#include "tests/support/document_fixture.h"

// A small tender with two areas, one position priced in components, and
// what the tests of workbooks do with it: find a row of a read sheet by
// OZ, type into a cell, read a member back.
class SheetTest : public DocumentTest {
 public:
  void LoadSmallTender() {
    ASSERT_TRUE(Load(Tender(
        Area("01", "Erdarbeiten", Position("0010", "12,5", "m3") + Position("0020", "3", "St")) +
        Area("02", "Mauerarbeiten", Position("0030", "4", "m2", Field("EPAUFGL", "J"))))));
  }

  // The row of the element with the OZ, and the column of the key.
  static int RowOf(const ReadSheet& sheet, const std::string& oz) {
    for (const auto& [row, cells] : sheet.Rows)
      for (const auto& [column, cell] : cells)
        if (cell.Text == oz && ColumnOf(sheet, "OZ") == column) return row;
    return -1;
  }
  static int ColumnOf(const ReadSheet& sheet, const std::string& key) {
    for (const auto& [row, cells] : sheet.Rows)
      for (const auto& [column, cell] : cells)
        if (cell.Text == key && sheet.At(row, 0) && sheet.At(row, 0)->Text == kIdentityKey)
          return column;
    return -1;
  }
  static void Type(ReadSheet& sheet, const std::string& oz, const std::string& key,
                   const std::string& text) {
    sheet.Rows[RowOf(sheet, oz)][ColumnOf(sheet, key)] = ReadCell{text};
  }
  static void TypeNumber(ReadSheet& sheet, const std::string& oz, const std::string& key,
                         double number) {
    sheet.Rows[RowOf(sheet, oz)][ColumnOf(sheet, key)] = ReadCell{"", true, number};
  }

  KsGAEBObj& Element(const std::string& oz) {
    for (const SheetRow& row : BuildSheetTable(doc_, false).Rows)
      if (row.Element->Text("OZ") == oz) return *const_cast<KsGAEBObj*>(row.Element);
    throw std::runtime_error("no " + oz);
  }
  std::string Text(const std::string& oz, const std::string& field) {
    return Element(oz).Text(field);
  }
  std::string Total() { return doc_.LvInfo->Text("SUMME"); }
};
