// Scanning speed of the XML pull parser on a generated tender-like document.
//
//   bench_xml_scan                    in-process: 50 MB generated in memory,
//                                     best of three scans
//   bench_xml_scan --generate FILE [MB]   writes the document (default 50 MB)
//   bench_xml_scan FILE               opens FILE and scans it once, as a
//                                     whole process for /usr/bin/time -v

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "bench/xml_text_generator.h"
#include "xml/xml_parser.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Scan {
  long parts = 0;
  size_t textBytes = 0;
  double seconds = 0;
};

Scan ScanAll(TXmlParser& parser, Clock::time_point start) {
  Scan scan;
  while (parser.NextPart()) {
    ++scan.parts;
    scan.textBytes += parser.PartText().size();
  }
  scan.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return scan;
}

void Report(const char* what, size_t bytes, const Scan& scan) {
  std::printf("%s: %.1f MB, %ld parts, %.3f s, %.0f MB/s\n", what, bytes / 1e6, scan.parts,
              scan.seconds, bytes / 1e6 / scan.seconds);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "--generate") == 0) {
    const size_t megabytes = argc >= 4 ? std::strtoul(argv[3], nullptr, 10) : 50;
    const std::string text = GenerateXmlText(megabytes * 1000 * 1000);
    std::ofstream(argv[2], std::ios::binary).write(text.data(), static_cast<long>(text.size()));
    std::printf("%s: %zu bytes\n", argv[2], text.size());
    return 0;
  }
  if (argc == 2) {
    const Clock::time_point start = Clock::now();
    TXmlParser parser;
    if (!parser.Open(argv[1])) {
      std::fprintf(stderr, "cannot read %s\n", argv[1]);
      return 1;
    }
    Report("open and scan", parser.BufferSize(), ScanAll(parser, start));
    return parser.Malformed() ? 1 : 0;
  }
  const std::string text = GenerateXmlText(50 * 1000 * 1000);
  Scan best;
  for (int run = 0; run < 3; ++run) {
    TXmlParser parser;
    parser.Attach(text.c_str());
    const Scan scan = ScanAll(parser, Clock::now());
    if (run == 0 || scan.seconds < best.seconds) best = scan;
  }
  Report("scan in memory", text.size(), best);
  return 0;
}
