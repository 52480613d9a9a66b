#include "document/oz_index.h"

#include <algorithm>
#include <functional>
#include <stdexcept>

#include "core/member.h"
#include "document/lv_walk.h"
#include "document/lyx_obj.h"
#include "document/row_kind.h"
#include "gaeb/gaeb_obj.h"
#include "util/same_text.h"
#include "util/trim.h"
#include "util/variant.h"

namespace {

// A short text is named at most this long in a message.
constexpr size_t kNamedChars = 40;

std::string Shortened(const std::string& text) {
  if (text.size() <= kNamedChars) return text;
  return text.substr(0, kNamedChars) + "\x85";
}

// One level as it is meant: blanks and leading zeros dropped ("0010" is 10,
// "0000" is 0, blanks are an unused level).
std::string Level(std::string_view part) {
  std::string_view text = TrimmedView(part);
  while (text.size() > 1 && text.front() == '0') text.remove_prefix(1);
  return std::string(text);
}

std::string Joined(const std::vector<std::string>& parts) {
  std::string key;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) key += '.';
    key += parts[i];
  }
  return key;
}

// The levels of a written OZ: split at dots where it has any (an empty part
// is an unused level), else at runs of blanks.
std::vector<std::string> SplitLevels(std::string_view oz) {
  std::vector<std::string> parts;
  const std::string_view text = TrimmedView(oz);
  if (text.empty()) return parts;
  if (text.find('.') != std::string_view::npos) {
    size_t start = 0;
    for (size_t dot = text.find('.'); dot != std::string_view::npos; dot = text.find('.', start)) {
      parts.push_back(Level(text.substr(start, dot - start)));
      start = dot + 1;
    }
    parts.push_back(Level(text.substr(start)));
    return parts;
  }
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = std::min(text.find(' ', start), text.size());
    parts.push_back(Level(text.substr(start, end - start)));
    start = text.find_first_not_of(' ', end);
    if (start == std::string_view::npos) break;
  }
  return parts;
}

std::string Described(const KsGAEBObj& element) {
  std::string text = IsPositionRow(&element) ? "Position \"" : "LV-Bereich \"";
  text += Shortened(Trim(element.Text("BEZ"))) + "\"";
  const KsGAEBObj* parent = element.ParentElement();
  if (IsAreaRow(parent)) text += " in LV-Bereich " + Shortened(Trim(parent->Text("OZ")));
  return text;
}

}  // namespace

size_t OzIndex::Mask::AreaWidth(size_t depth) const {
  size_t width = 0;
  for (size_t i = 0; i < depth && i < Areas.size(); ++i) width += Areas[i];
  return width;
}

OzIndex::OzIndex(const KsLyxObj& document) : OzIndex(document, InSteps()) {
  IndexSome(elements_.size());
}

OzIndex::OzIndex(const KsLyxObj& document, InSteps) {
  if (const KsGAEBObjList* levels =
          document.LvInfo ? document.LvInfo->ChildList("LVGLIED") : nullptr) {
    try {
      bool known = true;
      for (int i = 0; i < levels->Count(); ++i) {
        const KsGAEBObj& level = *levels->Element(i);
        const std::string type = Trim(level.Text("TYP"));
        const KsMember* length = level.Members.Find("LAENGE");
        const int64_t count = length ? length->GetAsInteger() : 0;
        if (SameText(type, "LOS") || SameText(type, "LVSTUFE")) {
          known = known && count > 0;
          mask_.Areas.push_back(static_cast<size_t>(std::max<int64_t>(count, 0)));
        } else if (SameText(type, "POSITION")) {
          known = known && count > 0;
          mask_.Position = static_cast<size_t>(std::max<int64_t>(count, 0));
        } else if (SameText(type, "INDEX")) {
          mask_.Index = count > 0 ? static_cast<size_t>(count) : 1;
        }
      }
      if (!known || mask_.Position == 0) mask_ = Mask();
    } catch (const VariantError&) {
      // A length that is no number: the numbers are found as they are written.
      mask_ = Mask();
    }
  }
  WalkLv(
      document,
      [this](const KsGAEBObj& area, int) { elements_.push_back(const_cast<KsGAEBObj*>(&area)); },
      [this](const KsGAEBObj& position) {
        elements_.push_back(const_cast<KsGAEBObj*>(&position));
      });
  if (elements_.size() > UINT32_MAX) throw std::length_error("OzIndex");
  // Counted first, so that the lists are made at their size at once.
  byKey_.reserve(elements_.size() + elements_.size() / 4);
  byText_.reserve(elements_.size());
}

bool OzIndex::IndexSome(size_t count) {
  if (indexed_ == elements_.size()) return true;
  const size_t end = indexed_ + std::min(count, elements_.size() - indexed_);
  for (; indexed_ < end; ++indexed_) Add(static_cast<uint32_t>(indexed_));
  if (indexed_ < elements_.size()) return false;
  std::ranges::sort(byKey_);
  std::ranges::sort(byText_);
  byKey_.shrink_to_fit();
  return true;
}

std::vector<std::string> OzIndex::Cut(std::string_view oz, size_t depth, bool position) const {
  if (mask_.Position == 0 || oz.find('.') != std::string_view::npos) return {};
  while (!oz.empty() && IsTrimChar(oz.back())) oz.remove_suffix(1);
  const size_t levels = mask_.Areas.size();
  if (depth > levels) return {};
  std::vector<std::string> parts;
  size_t at = 0;
  const auto take = [&](size_t length) {
    parts.push_back(Level(oz.substr(at, length)));
    at += length;
  };
  if (!position) {
    if (depth == 0 || oz.size() != mask_.AreaWidth(depth)) return {};
    for (size_t i = 0; i < depth; ++i) take(mask_.Areas[i]);
    return parts;
  }
  // Either every level written (unused ones blank) or only the levels of
  // the areas the position stands in.
  const auto fits = [&](size_t width) {
    return oz.size() >= width && oz.size() <= width + mask_.Index;
  };
  const size_t written = fits(mask_.Width())                             ? levels
                         : fits(mask_.AreaWidth(depth) + mask_.Position) ? depth
                                                                         : levels + 1;
  if (written > levels) return {};
  for (size_t i = 0; i < written; ++i) take(mask_.Areas[i]);
  parts.resize(levels);
  take(mask_.Position);
  if (at < oz.size()) parts.push_back(Level(oz.substr(at)));
  return parts;
}

void OzIndex::AddPartCandidates(const std::vector<std::string>& parts,
                                std::vector<std::string>& keys) const {
  const size_t levels = mask_.Areas.size();
  const size_t k = parts.size();
  if (k == 0) return;
  keys.push_back(Joined(parts));
  // A position under fewer areas than the mask has levels: the unused
  // levels stand empty between the areas given and the position.
  if (k - 1 < levels) {
    std::vector<std::string> padded(parts.begin(), parts.end() - 1);
    padded.resize(levels);
    padded.push_back(parts.back());
    keys.push_back(Joined(padded));
  }
}

std::vector<std::string> OzIndex::KeysOf(const KsGAEBObj& element) const {
  const bool position = IsPositionRow(&element);
  size_t depth = position ? 0 : 1;
  for (const KsGAEBObj* p = element.ParentElement(); IsAreaRow(p); p = p->ParentElement()) ++depth;
  const std::string stored = element.Text("OZ");
  std::vector<std::string> keys;
  std::vector<std::string> parts = Cut(stored, depth, position);
  if (!parts.empty()) {
    // An index left blank is no index.
    if (position && parts.size() > mask_.Areas.size() + 1 && parts.back().empty()) parts.pop_back();
    keys.push_back(Joined(parts));
  } else {
    AddPartCandidates(SplitLevels(stored), keys);
  }
  return keys;
}

uint32_t OzIndex::HashOf(std::string_view text) {
  return static_cast<uint32_t>(std::hash<std::string_view>()(text));
}

void OzIndex::Add(uint32_t order) {
  const KsGAEBObj& element = *elements_[order];
  const std::vector<std::string> keys = KeysOf(element);
  for (size_t i = 0; i < keys.size(); ++i)
    if (i == 0 || keys[i] != keys[0]) byKey_.push_back({HashOf(keys[i]), order});
  if (const std::string text = Trim(element.Text("OZ")); !text.empty())
    byText_.push_back({HashOf(text), order});
}

std::vector<std::string> OzIndex::Candidates(std::string_view oz) const {
  std::vector<std::string> keys;
  const size_t levels = mask_.Areas.size();
  // Written as the tender stores it, the levels run together.
  for (size_t depth = 1; depth <= levels; ++depth)
    if (std::vector<std::string> parts = Cut(oz, depth, false); !parts.empty())
      keys.push_back(Joined(parts));
  for (size_t depth = 0; depth <= levels; ++depth) {
    std::vector<std::string> parts = Cut(oz, depth, true);
    if (parts.empty()) continue;
    if (parts.size() > levels + 1 && parts.back().empty()) parts.pop_back();
    keys.push_back(Joined(parts));
  }
  AddPartCandidates(SplitLevels(oz), keys);
  return keys;
}

template <typename Names>
void OzIndex::Collect(const NamedList& list, std::string_view text, Names names,
                      std::vector<uint32_t>& orders) const {
  const uint32_t hash = HashOf(text);
  const auto take = [&](const Named& named) {
    if (named.hash == hash && names(*elements_[named.order], text)) orders.push_back(named.order);
  };
  if (indexed_ < elements_.size()) {
    std::ranges::for_each(list, take);
  } else {
    const auto from = std::ranges::lower_bound(list, hash, {}, &Named::hash);
    const auto to = std::ranges::upper_bound(from, list.end(), hash, {}, &Named::hash);
    std::for_each(from, to, take);
  }
}

std::vector<KsGAEBObj*> OzIndex::Find(std::string_view oz) const {
  std::vector<uint32_t> orders;
  // Written exactly as stored, the OZ means what stores it, whatever else
  // its levels could be read as.
  Collect(
      byText_, Trim(oz),
      [](const KsGAEBObj& element, std::string_view text) {
        return Trim(element.Text("OZ")) == text;
      },
      orders);
  if (orders.empty())
    for (const std::string& key : Candidates(oz))
      Collect(
          byKey_, key,
          [this](const KsGAEBObj& element, std::string_view text) {
            const std::vector<std::string> keys = KeysOf(element);
            return std::ranges::find(keys, text) != keys.end();
          },
          orders);
  std::ranges::sort(orders);
  orders.erase(std::unique(orders.begin(), orders.end()), orders.end());
  std::vector<KsGAEBObj*> found;
  found.reserve(orders.size());
  for (const uint32_t order : orders) found.push_back(elements_[order]);
  return found;
}

std::string OzIndex::Key(const KsGAEBObj& element) const {
  const std::vector<std::string> keys = KeysOf(element);
  return keys.empty() ? Trim(element.Text("OZ")) : keys.front();
}

std::string OzIndex::Ambiguous(const std::string& oz, const std::vector<KsGAEBObj*>& targets) {
  const bool sameOz = std::all_of(targets.begin(), targets.end(), [&](const KsGAEBObj* t) {
    return Trim(t->Text("OZ")) == Trim(targets.front()->Text("OZ"));
  });
  std::string text =
      oz + (sameOz ? " steht im LV mehrfach: " : " passt im LV auf mehrere Stellen: ");
  for (size_t i = 0; i < targets.size(); ++i) {
    if (i > 0) text += i + 1 == targets.size() ? " und " : ", ";
    text += Described(*targets[i]);
  }
  return text +
         "; nicht \xFC"
         "bernommen";
}
