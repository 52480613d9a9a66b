// The price archive with many entries: fills an archive with archived
// positions (1,000,000 by default, in offers of 1,000), then times what the
// user waits for: the earlier prices of one position (the panel, "archive
// find"), the suggestion for a tender of 1,000 positions ("archive
// suggest") and the store of an offer of 1,000 positions (every save).
//
//   archive_bench [--positions N] [--archive PLACE] [--queries N]
//
// PLACE as tarvo-cli takes it (a file, or "postgresql:host=... dbname=...");
// without it a new SQLite file in the temporary folder, removed at the end.
// An archive that already holds N positions is used as it is.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "archive/archive_location.h"
#include "archive/archive_suggestion.h"
#include "archive/price_archive.h"
#include "bench/tender_generator.h"
#include "document/lyx_obj.h"
#include "gaeb/gaeb_catalogue.h"
#include "util/format_settings.h"

namespace {

using Clock = std::chrono::steady_clock;

// The vocabulary of the tender generator, so a generated tender finds its
// texts in the archive; and variants of them that it does not.
constexpr std::array<std::string_view, 16> kWorks = {
    "Mauerwerk aus Kalksandstein", "Stahlbetonwand C30/37",   "Bodenplatte aus Stahlbeton",
    "Schalung f\xFCr Decken",      "Betonstahl B500 B",       "Baugrubenaushub BK 3-5",
    "Kanalrohr PP DN 200",         "Kontrollschacht DN 1000", "Zementestrich CT-C25-F4",
    "Kalkzementputz innen",        "Dachlattung 30/50 mm",    "W\xE4rmed\xE4mmung aus Mineralwolle",
    "Dispersionsanstrich innen",   "Abbruch von Mauerwerk",   "Fassadenger\xFCst Lastklasse 3",
    "Bodenfliesen Feinsteinzeug"};
constexpr std::array<std::string_view, 8> kDetails = {
    "d = 24 cm",        "d = 17,5 cm", "Dicke 5 cm",        "H\xF6he bis 3,00 m",
    "Tiefe bis 1,75 m", "B = 12 cm",   "Format 30 x 60 cm", "zweilagig"};
constexpr std::array<std::string_view, 8> kUnits = {"m\xB2", "m\xB3", "m",    "St",
                                                    "kg",    "t",     "psch", "h"};

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

std::string Text(std::mt19937_64& random, bool generated) {
  std::string text = std::string(kWorks[random() % kWorks.size()]) + ", " +
                     std::string(kDetails[random() % kDetails.size()]);
  // Nine in ten are variants: another site, another make.
  if (!generated) text += ", Abschnitt " + std::to_string(1 + random() % 500);
  return text;
}

ArchivedOffer Offer(int number, int positions, std::mt19937_64& random) {
  ArchivedOffer offer;
  offer.OfferFile = "/bench/angebote/angebot_" + std::to_string(number) + ".D84";
  offer.Tender = "LV " + std::to_string(number);
  offer.LvKey = "lv " + std::to_string(number);
  offer.Project = "Projekt " + std::to_string(number / 10);
  offer.Client = "Auftraggeber " + std::to_string(number % 97);
  char date[16];
  std::snprintf(date, sizeof date, "%04d-%02d-%02d", 2010 + number % 16, 1 + number % 12,
                1 + number % 28);
  offer.Date = date;
  for (int i = 0; i < positions; ++i) {
    ArchivedPosition p;
    p.Oz = std::to_string(1 + i / 100) + "." + std::to_string(10 * (1 + i % 100));
    p.ShortText = Text(random, random() % 10 == 0);
    p.LongText = p.ShortText +
                 ". Liefern und fachgerecht herstellen, einschlie\xDFlich aller "
                 "Nebenarbeiten und Hilfsstoffe.";
    p.Unit = std::string(kUnits[random() % kUnits.size()]);
    p.Quantity = static_cast<double>(1 + random() % 2500);
    p.Ep = static_cast<double>(random() % 900000) / 1000;
    if (random() % 5 == 0) p.Catalog = "STLNR:" + std::to_string(100000 + random() % 50000);
    offer.Positions.push_back(std::move(p));
  }
  return offer;
}

void Report(const char* what, std::vector<double> ms, double target) {
  std::sort(ms.begin(), ms.end());
  const double median = ms[ms.size() / 2];
  const double p95 = ms[std::min(ms.size() - 1, ms.size() * 95 / 100)];
  std::printf("%-44s n=%-5zu median %8.2f ms  p95 %8.2f ms  max %8.2f ms  (target %.0f ms)\n", what,
              ms.size(), median, p95, ms.back(), target);
}

}  // namespace

int main(int argc, char** argv) {
  SetFormatSettings(GermanFormatSettings());
  RegisterGaebDescriptors();
  AddPositionDisplayFields();
  int positions = 1000000;
  int queries = 1000;
  std::string place;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--positions")
      positions = std::atoi(argv[i + 1]);
    else if (option == "--archive")
      place = argv[i + 1];
    else if (option == "--queries")
      queries = std::atoi(argv[i + 1]);
  }
  const std::string folder =
      (std::filesystem::temp_directory_path() / ("tarvo-archive-bench-" + std::to_string(getpid())))
          .string();
  std::filesystem::create_directories(folder);
  ArchiveLocation location = place.empty() ? ArchiveLocation{} : ArchiveLocation::Parse(place);
  if (place.empty()) location.File = folder + "/Preisarchiv.sqlite";
  try {
    PriceArchive archive(location);
    std::mt19937_64 random(0x7A72C28);
    constexpr int kPerOffer = 1000;
    const int held = archive.Counts().second;
    if (held < positions) {
      const auto start = Clock::now();
      for (int number = held / kPerOffer; number * kPerOffer < positions; ++number)
        archive.Store(Offer(number, kPerOffer, random));
      std::printf("filled %s with %d positions in %.1f s\n", location.Describe().c_str(),
                  archive.Counts().second, Ms(Clock::now() - start) / 1000);
    }
    std::printf("archive: %d offers, %d positions\n", archive.Counts().first,
                archive.Counts().second);

    std::vector<double> stores;
    for (int i = 0; i < 5; ++i) {
      ArchivedOffer offer = Offer(900000 + i, 1000, random);
      const auto start = Clock::now();
      archive.Store(offer);
      stores.push_back(Ms(Clock::now() - start));
    }
    Report("store an offer of 1,000 positions", stores, 1000);
    for (int i = 0; i < 5; ++i) {  // the bench's offers out again
      ArchivedOffer empty;
      empty.OfferFile = Offer(900000 + i, 0, random).OfferFile;
      archive.Store(empty);
    }

    std::vector<double> finds;
    for (int i = 0; i < queries; ++i) {
      ArchiveQuery query;
      query.ShortText = Text(random, random() % 2 == 0);
      query.Unit = std::string(kUnits[random() % kUnits.size()]);
      if (random() % 5 == 0) query.Catalog = "STLNR:" + std::to_string(100000 + random() % 50000);
      query.LvKey = "lv " + std::to_string(random() % 1000);
      query.Oz = "1.10";
      const auto start = Clock::now();
      const std::vector<ArchiveMatch> found = archive.Find(query, 200);
      finds.push_back(Ms(Clock::now() - start));
    }
    Report("earlier prices of one position", finds, 30);

    const std::string tender = folder + "/lv1000.d83";
    WriteSyntheticTenderFile(tender, NestedTender(1000));
    KsLyxObj document;
    if (!document.Import(tender)) {
      std::fprintf(stderr, "%s\n", document.LastError.c_str());
      return 1;
    }
    const auto start = Clock::now();
    const ArchiveSuggestion suggestion =
        SuggestArchivePrices(archive, document, ArchiveSuggestion::Price::Median);
    const double suggestMs = Ms(Clock::now() - start);
    std::printf("%-44s %d of %d unpriced positions priced in %.0f ms  (target 3000 ms)\n",
                "suggest for a tender of 1,000 positions",
                static_cast<int>(suggestion.Lines.size()), suggestion.Unpriced, suggestMs);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  std::filesystem::remove_all(folder);
  return 0;
}
