#pragma once

#include "document/lyx_obj.h"
#include "ui/tit_pos_page.h"

// Hands the document's totals notification to the page, as the main window
// does; registered with the document for its lifetime.
class TotalsForwarder : public KsLyxObserver {
 public:
  TotalsForwarder(KsLyxObj& document, TitPosPage& page) : document_(document), page_(page) {
    document_.AddObserver(this);
  }
  ~TotalsForwarder() override { document_.RemoveObserver(this); }
  TotalsForwarder(const TotalsForwarder&) = delete;
  TotalsForwarder& operator=(const TotalsForwarder&) = delete;

  void Update(KsLyxObj&, int code) override {
    if (code == lcTotalsChanged) page_.ShowTotals();
  }

 private:
  KsLyxObj& document_;
  TitPosPage& page_;
};
