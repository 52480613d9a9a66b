#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>

#include "tests/cli/cli_runner.h"
#include "tests/support/time_of_writing.h"

namespace {

namespace fs = std::filesystem;

// What the program makes of every real tender and every saved fuzz input,
// byte for byte, as stored under tests/data/expected. Whatever changes inside
// (memory layout, reading, writing), these outputs must not.
//
// After an intended change of an output, run the test once with
// TARVO_UPDATE_EXPECTED=1 to store the new outputs, and review the diff.
const fs::path kData(TARVO_TEST_DATA_DIR);

std::vector<fs::path> Inputs() {
  std::vector<fs::path> files;
  for (const fs::path& dir :
       {kData / "real", kData / "xml-real", kData / ".." / ".." / "fuzz" / "corpus"})
    for (const auto& entry : fs::directory_iterator(dir)) files.push_back(entry.path());
  std::sort(files.begin(), files.end(),
            [](const fs::path& a, const fs::path& b) { return a.filename() < b.filename(); });
  return files;
}

// An XML tender is answered with an X84, the others with a D84.
bool IsXmlTender(const fs::path& tender) {
  std::string extension = tender.extension().string();
  for (char& c : extension) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return extension == ".X83";
}

struct Output {
  const char* suffix;             // nullptr: the offer, "D84" or "X84"
  std::vector<std::string> args;  // "IN" and "OUT" stand for the tender and the target
  bool toFile;
};

const Output kOutputs[] = {
    {"info.json", {"info", "--json", "IN"}, false},
    {"info.txt", {"info", "IN"}, false},
    {nullptr, {"export", "IN", "OUT"}, true},
    {"print.txt", {"print", "IN", "OUT"}, true},
    {"long.txt", {"print", "--long-texts", "IN", "OUT"}, true},
};

class ExpectedOutputsTest : public ::testing::TestWithParam<fs::path> {
 protected:
  // The output as stored: the temporary directory and the time of printing
  // stand as placeholders; a refusal is its exit status and message.
  std::string Produce(const Output& output, const std::string& tender) {
    const std::string target = cli_.Path("out");
    std::vector<std::string> args;
    for (const std::string& a : output.args)
      args.push_back(a == "IN" ? tender : a == "OUT" ? target : a);
    std::filesystem::remove(target);
    const CliResult r = cli_.Run(args);
    std::string text = r.status != 0   ? "exit " + std::to_string(r.status) + "\n" + r.err
                       : output.toFile ? CliRunner::Read(target)
                                       : r.out;
    const std::string dir = fs::path(tender).parent_path().string();
    for (size_t at; (at = text.find(dir)) != std::string::npos;)
      text.replace(at, dir.size(), "<dir>");
    static const std::regex kPrintTime(R"(\d\d\.\d\d\.\d{4} \d\d:\d\d:\d\d)");
    // A print is dated by the day it is made.
    text = WithoutTimeOfWriting(text);
    static const std::regex kOfferDate(R"(Angebot vom: \d\d\.\d\d\.\d{4})");
    text = std::regex_replace(text, kOfferDate, "Angebot vom: <date>");
    return std::regex_replace(text, kPrintTime, "<time>");
  }

  CliRunner cli_;
};

TEST_P(ExpectedOutputsTest, OutputsEqualTheStoredOnes) {
  const fs::path& input = GetParam();
  const std::string tender = cli_.Write(input.filename().string(), CliRunner::Read(input.string()));
  const bool update = std::getenv("TARVO_UPDATE_EXPECTED") != nullptr;
  for (const Output& output : kOutputs) {
    const std::string suffix = output.suffix ? output.suffix : IsXmlTender(input) ? "X84" : "D84";
    const fs::path stored = kData / "expected" / (input.filename().string() + "." + suffix);
    const std::string produced = Produce(output, tender);
    if (update) {
      fs::create_directories(stored.parent_path());
      std::ofstream(stored, std::ios::binary) << produced;
      continue;
    }
    ASSERT_TRUE(fs::exists(stored)) << stored << " is missing";
    EXPECT_TRUE(produced == CliRunner::Read(stored.string()))
        << suffix << " of " << input.filename() << " differs from " << stored;
  }
}

INSTANTIATE_TEST_SUITE_P(RealAndFuzzed, ExpectedOutputsTest, ::testing::ValuesIn(Inputs()),
                         [](const ::testing::TestParamInfo<fs::path>& info) {
                           std::string name = info.param.filename().string();
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

}  // namespace
