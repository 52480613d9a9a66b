#pragma once

#include <vector>

#include "document/lyx_obj.h"

// Records the notification codes a document sends, registered for its lifetime.
class ObserverLog : public KsLyxObserver {
 public:
  explicit ObserverLog(KsLyxObj& document) : document_(document) { document_.AddObserver(this); }
  ~ObserverLog() override { document_.RemoveObserver(this); }
  ObserverLog(const ObserverLog&) = delete;
  ObserverLog& operator=(const ObserverLog&) = delete;

  void Update(KsLyxObj& document, int code) override {
    if (&document == &document_) codes.push_back(code);
  }
  int Count(int code) const {
    int n = 0;
    for (int c : codes) n += c == code;
    return n;
  }
  // The codes with repeats of the same code folded into one.
  std::vector<int> Folded() const {
    std::vector<int> folded;
    for (int c : codes)
      if (folded.empty() || folded.back() != c) folded.push_back(c);
    return folded;
  }

  std::vector<int> codes;

 private:
  KsLyxObj& document_;
};
