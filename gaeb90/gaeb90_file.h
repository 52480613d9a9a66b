#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "gaeb/gaeb_document.h"
#include "gaeb/gaeb_elements.h"
#include "gaeb90/gaeb90_origin.h"

// A GAEB 90 file opened: a tender (phase 81 or 83) as it stands, or an offer
// of ours (phase 84). An offer carries only prices, so it is read with the
// tender it answers, found beside it under the same name with the extension
// .D83 or .D81: the tender's tree with the offer's unit prices entered.
struct Gaeb90Read {
  std::unique_ptr<KsGGAEB> Root;
  Gaeb90Origin Origin;
  std::string Warning;  // German, "" when nothing to say
};

// `bytes` are the file's, `path` its name ("-" for standard input, which
// cannot be an offer). Raises Gaeb90Error (German, naming the line) when
// the file, or the offer's tender, is refused.
Gaeb90Read ReadGaeb90(std::string_view bytes, const std::string& path, GaebDocument& doc);
