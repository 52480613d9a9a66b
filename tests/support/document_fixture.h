#pragma once

#include <gtest/gtest.h>

#include <string>

#include "document/lyx_obj.h"
#include "tests/support/format_guard.h"
#include "tests/support/tender_files.h"

// What a test of the offer document starts from: the element catalogue
// registered, the German number format, a folder of its own that is removed
// afterwards, and an empty document. Base is ::testing::Test or a
// TestWithParam.
template <class Base = ::testing::Test>
class DocumentFixture : public Base {
 public:
  DocumentFixture() { PrepareGaeb(); }

  // Writes the tender into the folder as `name` and opens it.
  ::testing::AssertionResult Load(const std::string& tender, const std::string& name = "lv.d83") {
    if (doc_.Import(dir_.Write(name, tender))) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << doc_.LastError;
  }

  FormatGuard format_{GermanFormatSettings()};
  TempDir dir_;
  KsLyxObj doc_;
};

using DocumentTest = DocumentFixture<>;
