#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "tests/cli/cli_runner.h"
#include "tests/support/time_of_writing.h"

namespace {

using json = nlohmann::ordered_json;

// Every real tender and every saved fuzz input that reads as a tender.
std::vector<std::string> Inputs() {
  const std::filesystem::path data(TARVO_TEST_DATA_DIR);
  std::vector<std::string> files;
  for (const auto& dir : {data / "real", data / ".." / ".." / "fuzz" / "corpus"})
    for (const auto& entry : std::filesystem::directory_iterator(dir))
      files.push_back(entry.path().lexically_normal().string());
  std::sort(files.begin(), files.end());
  return files;
}

class RoundTripTest : public ::testing::TestWithParam<std::string> {
 protected:
  // info --json without the file name; null when the file does not read.
  json Info(const std::string& file) {
    const CliResult r = cli_.Run({"info", "--json", file});
    if (r.status != 0) return json();
    json info = json::parse(r.out);
    info.erase("file");
    return info;
  }
  CliRunner cli_;
};

// Read, save, read again: the same tender; saving the saved file again
// changes no byte.
TEST_P(RoundTripTest, SavedOfferReadsBackAsTheSameTender) {
  const std::string& file = GetParam();
  const json original = Info(file);
  const std::string first = cli_.Path("1.d84"), second = cli_.Path("2.d84"),
                    third = cli_.Path("3.d84");
  const CliResult exported = cli_.Run({"export", file, first});
  if (original.is_null()) {
    EXPECT_EQ(exported.status, 1) << "saved what does not read";
    return;
  }
  ASSERT_EQ(exported.status, 0) << exported.err;
  json offer = original;
  // A tender without a VAT rate is answered at the default rate, and says so.
  if (exported.err.find("Standardsatz von 19,00 %") != std::string::npos) offer["lv"]["ust"] = 19.0;
  EXPECT_EQ(Info(first), offer);
  ASSERT_EQ(cli_.Run({"export", first, second}).status, 0);
  ASSERT_EQ(cli_.Run({"export", second, third}).status, 0);
  EXPECT_EQ(Info(third), offer);
  EXPECT_EQ(WithoutTimeOfWriting(CliRunner::Read(third)),
            WithoutTimeOfWriting(CliRunner::Read(second)));
}

INSTANTIATE_TEST_SUITE_P(RealAndFuzzed, RoundTripTest, ::testing::ValuesIn(Inputs()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string name = std::filesystem::path(info.param).filename().string();
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

}  // namespace
