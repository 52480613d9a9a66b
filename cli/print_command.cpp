#include <charconv>
#include <iostream>

#include "cli/commands.h"
#include "cli/plain_text_device.h"
#include "document/atomic_file.h"
#include "document/lyx_obj.h"
#include "document/offer_report.h"
#include "util/codec.h"

namespace {

constexpr int kDefaultWidth = 100;
constexpr int kMinWidth = 40;
constexpr int kMaxWidth = 1000;

struct PrintOptions {
  std::string input;
  std::string tender;
  std::string output;
  bool longTexts = false;
  int width = kDefaultWidth;
};

bool ParseWidth(const std::string& text, int& width) {
  const char* end = text.data() + text.size();
  const auto [ptr, error] = std::from_chars(text.data(), end, width);
  return error == std::errc() && ptr == end && width >= kMinWidth && width <= kMaxWidth;
}

bool ParseOptions(const KsArgs& given, PrintOptions& options) {
  KsArgs args = given;
  if (!TakeTenderOption(args, options.tender)) return false;
  std::vector<std::string> files;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--long-texts") {
      options.longTexts = true;
    } else if (args[i] == "--width") {
      if (++i == args.size() || !ParseWidth(args[i], options.width)) return false;
    } else {
      files.push_back(args[i]);
    }
  }
  if (files.size() != 2) return false;
  options.input = files[0];
  options.output = files[1];
  return true;
}

std::string WithoutExtension(const std::string& name) {
  const size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

void WritePrint(KsLyxObj& document, const std::vector<std::string>& head,
                const PrintOptions& options, std::ostream& out) {
  PlainTextDevice device(out, options.width);
  PrintOffer(document, head, device, WithoutExtension(Utf8ToCp1252(document.FileName())),
             options.longTexts);
}

}  // namespace

int RunPrint(const KsArgs& args) {
  PrintOptions options;
  if (!ParseOptions(args, options)) return UsageError();
  KsLyxObj document;
  if (!ImportOffer(document, options.input, options.tender)) return kExitFailure;
  const auto head = document.BuildPrintHeader();
  if (!head) {
    PrintError(document.LastError);
    return kExitFailure;
  }
  if (const int needed = OfferTableWidth(document); options.width < needed) {
    PrintError(TooNarrowMessage(options.width, needed) + " Bitte w\xE4hlen Sie mit --width " +
               "mindestens " + std::to_string(needed) + ".");
    return kExitFailure;
  }
  if (options.output == kStandardOutput) {
    WritePrint(document, *head, options, std::cout);
    return kExitOk;
  }
  if (OutputIsTender(document, options.input, options.output, true)) return kExitFailure;
  try {
    WriteFileAtomically(options.output,
                        [&](std::ostream& out) { WritePrint(document, *head, options, out); });
  } catch (const std::exception& e) {
    PrintError(std::string("Fehler beim Schreiben der Datei: ") + e.what());
    return kExitFailure;
  }
  return kExitOk;
}
