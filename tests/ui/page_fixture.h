#pragma once

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QVBoxLayout>
#include <optional>
#include <string>

#include "document/lyx_obj.h"
#include "gaeb/gaeb_obj.h"
#include "tests/support/tender_files.h"
#include "tests/support/totals_forwarder.h"
#include "ui/field_list.h"
#include "ui/grid_columns_editor.h"
#include "ui/price_grid.h"
#include "ui/price_grid_model.h"
#include "ui/tit_pos_page.h"

// The page "&Titel-Positionen" with a tender, in a window of its own.
struct PageFixture {
  TempDir dir;
  KsLyxObj doc;
  KsFieldList fields;
  GridColumnsEditor columns{fields};
  QWidget window;
  TitPosPage* page = new TitPosPage(doc, fields, columns, &window);
  std::optional<TotalsForwarder> forwarder;
  PriceGrid& grid = page->Grid();
  CellEditor& editor = grid.Editor();

  explicit PageFixture(const std::string& tender, const QString& opt = {}) {
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(page);
    window.resize(900, 600);
    if (!doc.Import(dir.Write("lv.d83", tender))) qFatal("%s", doc.LastError.c_str());
    forwarder.emplace(doc, *page);
    columns.ApplyOptText(opt);
    page->UpdateEpColumns();
    page->ShowElement(doc.LvAreas->Element(0));
    page->ShowTotals();
    window.show();
    if (!QTest::qWaitForWindowActive(&window)) qFatal("window not active");
  }

  int Column(const char* name) const { return grid.Model().ColumnOf(name); }
  QModelIndex Index(int row, const char* column) const {
    return grid.Model().index(row, Column(column));
  }
  QString Cell(int row, const char* column) const { return Index(row, column).data().toString(); }
  bool Select(int row, const char* column) { return grid.SelectCell(row, Column(column)); }
  QString Label(const char* name) const {
    return window.findChild<QLabel*>(QLatin1String(name))->text();
  }
  KsGAEBObj& Element(int row) const { return *grid.Model().Element(row); }
  void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), mods);
  }
};
