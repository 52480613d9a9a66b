#pragma once

#include <nlohmann/json.hpp>
#include <string>

class KsLyxObj;

// The loaded tender as one JSON object: file, ep_breakdown, lv (name, bez,
// summe, ust, summebrutto), areas and positions depth first. Texts are
// converted to UTF-8, amounts are JSON numbers.
nlohmann::ordered_json InfoJson(const KsLyxObj& document, const std::string& fileName);
