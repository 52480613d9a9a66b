// A scripted estimator for the crash test: opens the tender it is given,
// types the entries of tests/support/typing_script.h one after another and
// secures the offer as the window does, as often as the writer lets it,
// until it is killed. "gesichert" on standard output says that the first
// recovery file is complete.

#include <cstdio>
#include <ctime>
#include <exception>

#include "document/autosave.h"
#include "document/lyx_obj.h"
#include "gaeb/gaeb_catalogue.h"
#include "tests/support/typing_script.h"
#include "util/format_settings.h"

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "Aufruf: %s AUSSCHREIBUNG\n", argv[0]);
    return 2;
  }
  SetFormatSettings(GermanFormatSettings());
  RegisterGaebDescriptors();
  AddPositionDisplayFields();
  KsLyxObj doc;
  if (!doc.Import(argv[1])) {
    std::fprintf(stderr, "%s\n", doc.LastError.c_str());
    return 1;
  }
  const std::vector<KsGAEBObj*> positions = typing_script::Positions(doc);
  if (positions.empty()) return 1;
  Autosave autosave(1);
  autosave.Opened(argv[1]);
  try {
    bool told = false;
    // Ends by itself should nobody kill it.
    const std::time_t end = std::time(nullptr) + 30;
    for (long long step = 1; std::time(nullptr) < end; ++step) {
      typing_script::TypeStep(doc, positions, step);
      if (autosave.Secure(doc, std::time(nullptr), true) && !told) {
        autosave.Wait();
        std::puts("gesichert");
        std::fflush(stdout);
        told = true;
      }
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
