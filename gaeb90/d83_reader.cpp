#include "gaeb90/d83_reader.h"

#include <set>

#include "gaeb90/fixed_number.h"
#include "gaeb90/tree_builder.h"
#include "util/trim.h"

namespace {

// AG.ADRESSE holds four name lines; record 03 fills them in order.
constexpr const char* kNameFields[] = {"NAME1", "NAME2", "NAME3", "NAME4"};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsBlank(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos;
}

bool IsFreeText(const Gaeb90Record& r) { return r.Text[0] == 'T' && IsDigit(r.Text[1]); }

// "31.03.26" -> "31.03.2026"; years from 80 on are of the last century.
bool GermanDate(std::string_view date, std::string& out) {
  if (date.size() != 8 || date[2] != '.' || date[5] != '.') return false;
  for (size_t i : {0, 1, 3, 4, 6, 7})
    if (!IsDigit(date[i])) return false;
  const std::string century = date[6] >= '8' ? "19" : "20";
  out = std::string(date.substr(0, 6)) + century + std::string(date.substr(6, 2));
  return true;
}

std::string Shown(const std::vector<std::string>& parts, size_t count) {
  std::string shown;
  for (size_t i = 0; i < count && i < parts.size(); ++i) {
    const std::string part = Trim(parts[i]);
    if (part.empty()) continue;
    if (!shown.empty()) shown += '.';
    shown += part;
  }
  return shown;
}

class TenderReader {
 public:
  explicit TenderReader(GaebDocument& doc) : build_(doc) {}
  Gaeb90Tender Read(const std::vector<Gaeb90Record>& records);

 private:
  enum class After { Head, Area, AreaText, Note, NoteText, Position, ShortText, LongText };
  struct OpenArea {
    KsGAEBObj* Element;
    std::vector<std::string> Parts;  // the area levels of its OZ
  };

  [[noreturn]] void Fail(const Gaeb90Record& r, const std::string& text) const {
    throw Gaeb90Error(LinePrefix(r) + text);
  }
  void Head(const Gaeb90Record& r);
  void Next(const Gaeb90Record& r);
  void HeadRecord(const Gaeb90Record& r);
  void Area(const Gaeb90Record& r);
  void CloseArea(const Gaeb90Record& r);
  void Note(const Gaeb90Record& r);
  void Position(const Gaeb90Record& r);
  void Flags(const Gaeb90Record& r, KsGAEBObj& position);
  void LongTextLine(const Gaeb90Record& r);
  void End(const Gaeb90Record& r);
  void Finish();
  void AddLevels();
  KsGAEBObj& Holder() { return open_.empty() ? *lv_ : *open_.back().Element; }
  std::vector<std::string> Parts(const Gaeb90Record& r) const {
    return result_.Origin.Mask.Split(r.Columns(3, 11));
  }
  // The OZ columns the mask leaves unused ("00") hold nothing.
  bool UnusedBlank(const Gaeb90Record& r) const {
    const size_t width = result_.Origin.Mask.Width();
    return width >= 9 || IsBlank(r.Columns(3 + width, 11));
  }
  std::string OpenShown() const {
    return open_.empty() ? std::string() : Shown(open_.back().Parts, open_.back().Parts.size());
  }

  TreeBuilder build_;
  Gaeb90Tender result_;
  KsGAEBObj* lv_ = nullptr;
  KsGAEBObj* lvInfo_ = nullptr;
  KsGAEBObj* ag_ = nullptr;
  KsGAEBObj* prjInfo_ = nullptr;
  KsGAEBObj* vergabeInfo_ = nullptr;
  std::vector<OpenArea> open_;
  std::vector<std::string> levelLabels_;
  After after_ = After::Head;
  bool body_ = false;
  bool ended_ = false;
  KsGAEBObj* textOwner_ = nullptr;  // the area, position or note whose text is being read
  std::string shortText_, longText_;
  size_t positions_ = 0, names_ = 0, freeText_ = 0, unknown_ = 0, droppedNames_ = 0;
  std::set<std::string> unknownTypes_;
};

Gaeb90Tender TenderReader::Read(const std::vector<Gaeb90Record>& records) {
  size_t i = 0;
  while (i < records.size() && IsFreeText(records[i])) ++i, ++freeText_;
  if (i == records.size())
    throw Gaeb90Error(
        "Die Datei enth\xE4lt keinen Kopfsatz 00; sie ist keine vollst\xE4ndige "
        "GAEB 90 Datei.");
  Head(records[i]);
  for (++i; i < records.size(); ++i) {
    if (ended_) Fail(records[i], "nach dem Schlusssatz 99 folgt noch ein Satz.");
    Next(records[i]);
  }
  if (!ended_)
    throw Gaeb90Error("Die Datei endet nach Zeile " + std::to_string(records.back().Line) +
                      " ohne den Schlusssatz 99; sie ist unvollst\xE4ndig.");
  std::string& warning = result_.Warning;
  if (freeText_ > 0)
    warning = "Der freie Text vor dem Kopfsatz (" + std::to_string(freeText_) +
              " S\xE4tze T0 bis T9) wurde nicht \xFC"
              "bernommen.";
  if (unknown_ > 0) {
    std::string types;
    for (const std::string& type : unknownTypes_) types += (types.empty() ? "" : ", ") + type;
    warning += (warning.empty() ? "" : " ") + std::to_string(unknown_) +
               " S\xE4tze unbekannter Art (" + types + ") wurden \xFC" + "bersprungen.";
  }
  if (droppedNames_ > 0)
    warning += (warning.empty() ? "" : " ") + std::to_string(droppedNames_) +
               " Zeilen des Auftraggebers nach der vierten wurden nicht \xFC" + "bernommen.";
  return std::move(result_);
}

void TenderReader::Head(const Gaeb90Record& r) {
  if (r.Type() != "00")
    Fail(r, "erwartet wird der Kopfsatz 00, gefunden Satzart \"" + std::string(r.Type()) + "\".");
  const std::string phase(r.Columns(11, 12));
  if (phase != "81" && phase != "83" && phase != "84")
    Fail(r, "Austauschphase \"" + phase +
                "\" in Spalte 11-12; gelesen werden GAEB 90 Dateien der Phasen 81, 83 und 84.");
  if (r.Columns(72, 73) != "90" && !IsBlank(r.Columns(72, 73)))
    Fail(r, "in Spalte 72-73 des Kopfsatzes steht \"" + std::string(r.Columns(72, 73)) +
                "\" statt \"90\".");
  if (!result_.Origin.Mask.Parse(r.Columns(63, 71)))
    Fail(r, "die OZ-Maske \"" + std::string(r.Columns(63, 71)) +
                "\" in Spalte 63-71 ist nicht lesbar (erwartet z. B. \"1122PPPPI\").");
  result_.Origin.Phase = phase;
  result_.Origin.HeadRecords.push_back(r.Raw.substr(0, 74));
  levelLabels_.resize(result_.Origin.Mask.Levels());

  result_.Root = build_.Root();
  KsGAEBObj& root = *result_.Root;
  prjInfo_ = &build_.Child(root, "PRJINFO");
  KsGAEBObj& vergabe = build_.Child(root, "VERGABE");
  TreeBuilder::Set(vergabe, "DP", phase);
  vergabeInfo_ = &build_.Child(vergabe, "VERGABEINFO");
  ag_ = &build_.Child(vergabe, "AG");
  TreeBuilder::Set(*ag_, "DVNR", r.Field(14, 62));
  lv_ = &build_.Child(vergabe, "LV");
  lvInfo_ = &build_.Child(*lv_, "LVINFO");
}

void TenderReader::Next(const Gaeb90Record& r) {
  if (!IsDigit(r.Text[0]) && !IsFreeText(r))
    Fail(r, "erwartet wird eine Satzart (zwei Ziffern) in Spalte 1-2, gefunden \"" +
                std::string(r.Type()) + "\".");
  if (!IsBlank(r.Columns(75, 80)))
    for (char c : r.Columns(75, 80))
      if (!IsDigit(c))
        Fail(r, "in Spalte 75-80 steht \"" + std::string(r.Columns(75, 80)) +
                    "\" statt der laufenden Satznummer.");
  const std::string_view type = r.Type();
  if (type == "01" || type == "02" || type == "03" || type == "08") return HeadRecord(r);
  if (type == "12") {
    if (after_ != After::Area && after_ != After::AreaText)
      Fail(r, "ein Bereichstext (Satz 12) geh\xF6rt hinter einen Satz 11 (LV-Bereich).");
    shortText_ += (shortText_.empty() ? "" : " ") + r.Field(3, 74);
    after_ = After::AreaText;
    return;
  }
  if (type == "25") {
    if (after_ != After::Position && after_ != After::ShortText)
      Fail(r, "ein Kurztext (Satz 25) geh\xF6rt hinter einen Satz 21 (Position).");
    shortText_ += (shortText_.empty() ? "" : " ") + r.Field(3, 74);
    after_ = After::ShortText;
    return;
  }
  if (type == "26") return LongTextLine(r);
  if (type != "11" && type != "20" && type != "21" && type != "31" && type != "99") {
    ++unknown_;
    unknownTypes_.emplace(type);
    return;
  }
  Finish();
  body_ = true;
  if (type == "11") return Area(r);
  if (type == "20") return Note(r);
  if (type == "21") return Position(r);
  if (type == "31") return CloseArea(r);
  End(r);
}

void TenderReader::HeadRecord(const Gaeb90Record& r) {
  if (body_)
    Fail(r, "Satz " + std::string(r.Type()) +
                " geh\xF6rt in den Kopf der Datei, vor den ersten LV-Bereich.");
  const std::string_view type = r.Type();
  if (type == "03") {
    if (names_ < std::size(kNameFields))
      TreeBuilder::Set(build_.Child(*ag_, "ADRESSE"), kNameFields[names_], r.Field(3, 74));
    else
      ++droppedNames_;
    ++names_;
    return;
  }
  result_.Origin.HeadRecords.push_back(r.Raw.substr(0, 74));
  if (type == "01") {
    TreeBuilder::Set(*lvInfo_, "BEZ", r.Field(3, 42));
    std::string date;
    if (!IsBlank(r.Columns(43, 50)) && !GermanDate(r.Columns(43, 50), date))
      Fail(r, "das Datum \"" + std::string(r.Columns(43, 50)) +
                  "\" in Spalte 43-50 ist kein Datum TT.MM.JJ.");
    TreeBuilder::Set(*lvInfo_, "DATUM", date);
  } else if (type == "02") {
    TreeBuilder::Set(*prjInfo_, "BEZ", r.Field(3, 74));
  } else {
    for (KsGAEBObj* info : {prjInfo_, vergabeInfo_}) {
      TreeBuilder::Set(*info, "WAE", r.Field(3, 8));
      TreeBuilder::Set(*info, "WAEBEZ", r.Field(9, 74));
    }
  }
}

void TenderReader::Area(const Gaeb90Record& r) {
  const std::vector<std::string> parts = Parts(r);
  const size_t levels = result_.Origin.Mask.Levels();
  size_t depth = 0;
  while (depth < levels && !IsBlank(parts[depth])) ++depth;
  bool fits = depth > 0 && UnusedBlank(r);
  for (size_t i = depth; i < parts.size(); ++i) fits = fits && IsBlank(parts[i]);
  if (!fits)
    Fail(r, "die OZ \"" + std::string(r.Columns(3, 11)) +
                "\" des LV-Bereichs passt nicht zur OZ-Maske.");
  bool inOpen = depth == open_.size() + 1;
  for (size_t i = 0; inOpen && i < open_.size(); ++i) inOpen = parts[i] == open_.back().Parts[i];
  if (!inOpen)
    Fail(
        r,
        "der LV-Bereich " + Shown(parts, depth) +
            (open_.empty()
                 ? " geh\xF6rt unter einen LV-Bereich, der nicht ge\xF6" + std::string("ffnet ist.")
                 : " liegt nicht im offenen LV-Bereich " + OpenShown() + " (fehlt ein Satz 31?)."));
  if (r.Text[11] != 'N' && r.Text[11] != ' ')
    Fail(r, "das Kennzeichen \"" + std::string(1, r.Text[11]) +
                "\" des LV-Bereichs in Spalte 12 ist nicht bekannt (erwartet \"N\").");
  if (levelLabels_[depth - 1].empty()) levelLabels_[depth - 1] = r.Field(17, 74);
  KsGAEBObj& area = build_.NewItem(Holder(), "LVBEREICH");
  std::string oz;
  for (size_t i = 0; i < depth; ++i) oz += parts[i];
  TreeBuilder::Set(area, "OZ", oz);
  open_.push_back({&area, std::vector<std::string>(parts.begin(), parts.begin() + depth)});
  textOwner_ = &area;
  after_ = After::Area;
  build_.Doc().NotifyObservers(gcElementRead);
}

void TenderReader::CloseArea(const Gaeb90Record& r) {
  const std::vector<std::string> parts = Parts(r);
  if (open_.empty())
    Fail(r,
         "Satz 31 schlie\xDF"
         "t einen LV-Bereich, aber keiner ist offen.");
  const OpenArea& open = open_.back();
  bool same = true;
  for (size_t i = 0; i < parts.size(); ++i)
    same = same && (i < open.Parts.size() ? parts[i] == open.Parts[i] : IsBlank(parts[i]));
  if (!same)
    Fail(r,
         "Satz 31 schlie\xDF"
         "t " +
             Shown(parts, parts.size()) + ", offen ist aber der LV-Bereich " + OpenShown() + ".");
  open_.pop_back();
  after_ = After::Head;
}

void TenderReader::Note(const Gaeb90Record& r) {
  KsGAEBObj& note = build_.NewItem(Holder(), "HINWEIS");
  textOwner_ = &note;
  shortText_ = r.Field(3, 74);
  after_ = After::Note;
}

void TenderReader::Position(const Gaeb90Record& r) {
  // The offer names the position by these columns; a character the D84 would
  // carry in another code page is damage, not an OZ.
  for (char c : r.Columns(3, 11))
    if (!IsDigit(c) && c != ' ' && !(c >= 'A' && c <= 'Z') && !(c >= 'a' && c <= 'z'))
      Fail(r, "die OZ \"" + std::string(r.Columns(3, 11)) + "\" in Spalte 3-11 enth\xE4lt \"" +
                  std::string(1, c) + "\"; erwartet werden Ziffern, Buchstaben und Leerzeichen.");
  const OzMask& mask = result_.Origin.Mask;
  const std::vector<std::string> parts = Parts(r);
  const size_t levels = mask.Levels();
  bool fits = !IsBlank(parts[levels]);
  for (size_t i = 0; i < levels; ++i)
    fits = fits && (i < open_.size() ? parts[i] == open_.back().Parts[i] : IsBlank(parts[i]));
  fits = fits && UnusedBlank(r);
  if (!fits)
    Fail(r, "die OZ \"" + std::string(r.Columns(3, 11)) + "\" der Position passt nicht zur " +
                "OZ-Maske" +
                (open_.empty() ? std::string(".") : " im LV-Bereich " + OpenShown() + "."));
  KsGAEBObj& position = build_.NewItem(Holder(), "POSITION");
  std::string oz;
  for (size_t i = 0; i <= levels; ++i) oz += parts[i];
  if (!IsBlank(parts[levels + 1])) oz += parts[levels + 1];
  TreeBuilder::Set(position, "OZ", oz);
  Flags(r, position);
  if (!IsBlank(r.Columns(24, 34))) {
    int64_t units = 0;
    if (!ReadFixedNumber(r.Columns(24, 34), units))
      Fail(r, "die Menge \"" + std::string(r.Columns(24, 34)) +
                  "\" in Spalte 24-34 ist keine Zahl (11 Ziffern, davon 3 Nachkommastellen).");
    TreeBuilder::SetNumber(position, "MENGE", FixedNumberText(units, 3));
  }
  TreeBuilder::Set(position, "ME", r.Field(35, 38));
  ++positions_;
  textOwner_ = &position;
  after_ = After::Position;
}

// Column 12: N normal, G base position (priced like a normal one), A
// alternative; column 13: N normal, E contingency (priced, counted in no
// sum); column 14: N. Letters not known are refused, not guessed.
void TenderReader::Flags(const Gaeb90Record& r, KsGAEBObj& position) {
  const char kind = r.Text[11], contingency = r.Text[12], third = r.Text[13];
  const auto refuse = [&](char c, int column) {
    Fail(r, "das Kennzeichen \"" + std::string(1, c) + "\" der Position in Spalte " +
                std::to_string(column) + " ist nicht bekannt.");
  };
  if (kind == 'A')
    TreeBuilder::Set(position, "ZZLFDNR", "1");
  else if (kind != 'N' && kind != 'G' && kind != ' ')
    refuse(kind, 12);
  if (contingency == 'E')
    TreeBuilder::Set(position, "BEDARF", "E");
  else if (contingency != 'N' && contingency != ' ')
    refuse(contingency, 13);
  if (third != 'N' && third != ' ') refuse(third, 14);
}

void TenderReader::LongTextLine(const Gaeb90Record& r) {
  const bool forPosition =
      after_ == After::Position || after_ == After::ShortText || after_ == After::LongText;
  const bool forNote = after_ == After::Note || after_ == After::NoteText;
  if (!forPosition && !forNote)
    Fail(r,
         "eine Langtextzeile (Satz 26) geh\xF6rt hinter eine Position (Satz 21 oder 25) "
         "oder einen Hinweis (Satz 20).");
  // Columns 3-5 are blank in the files we know; text standing there is kept.
  std::string_view text = r.Columns(3, 74);
  if (IsBlank(text.substr(0, 3))) text.remove_prefix(3);
  if (after_ != After::Position && after_ != After::ShortText && after_ != After::Note)
    longText_ += "\r\n";
  longText_ += TrimRight(text);
  after_ = forPosition ? After::LongText : After::NoteText;
}

void TenderReader::End(const Gaeb90Record& r) {
  if (!open_.empty())
    Fail(r, "Schlusssatz 99, aber der LV-Bereich " + OpenShown() +
                " ist nicht mit Satz 31 abgeschlossen.");
  if (CutBeforeItsCount(r))
    throw Gaeb90Error("Die Datei endet in Zeile " + std::to_string(r.Line) +
                      " mitten im Schlusssatz 99 (ohne die Anzahl der Positionen in Spalte "
                      "70-74); sie ist unvollst\xE4ndig.");
  int64_t stated = 0;
  if (!ReadFixedNumber(r.Columns(70, 74), stated) || stated != static_cast<int64_t>(positions_))
    Fail(r, "der Schlusssatz nennt in Spalte 70-74 \"" + std::string(r.Columns(70, 74)) +
                "\" Positionen, die Datei enth\xE4lt " + std::to_string(positions_) + ".");
  AddLevels();
  ended_ = true;
}

// Ends the text of the open area, position or note.
void TenderReader::Finish() {
  if (!textOwner_) return;
  KsGAEBObj& owner = *textOwner_;
  if (after_ == After::Area || after_ == After::AreaText) {
    TreeBuilder::Set(owner, "BEZ", shortText_);
  } else if (!shortText_.empty() || !longText_.empty()) {
    KsGAEBObj& description = build_.Child(owner, "BESCHREIBUNG");
    TreeBuilder::Set(description, "KURZTEXT", shortText_);
    TreeBuilder::Set(description, "LANGTEXT", longText_);
  }
  if (auto* position = dynamic_cast<KsGPOSITION*>(&owner)) {
    position->DeriveDisplayFields();
    build_.Doc().NotifyObservers(gcElementRead);
  }
  textOwner_ = nullptr;
  shortText_.clear();
  longText_.clear();
}

void TenderReader::AddLevels() {
  const OzMask& mask = result_.Origin.Mask;
  const auto add = [this](const char* type, size_t length, const std::string& label) {
    KsGAEBObj& level = build_.NewItem(*lvInfo_, "LVGLIED");
    TreeBuilder::Set(level, "TYP", type);
    TreeBuilder::Set(level, "BEZ", label);
    TreeBuilder::SetNumber(level, "LAENGE", std::to_string(length));
  };
  for (size_t i = 0; i < mask.Levels(); ++i) add("LVSTUFE", mask.AreaLengths[i], levelLabels_[i]);
  add("POSITION", mask.PositionLength, "");
  if (mask.IndexLength > 0) add("INDEX", mask.IndexLength, "");
}

}  // namespace

Gaeb90Tender ReadGaeb90Tender(const std::vector<Gaeb90Record>& records, GaebDocument& doc) {
  return TenderReader(doc).Read(records);
}

std::string Gaeb90Phase(const std::vector<Gaeb90Record>& records) {
  for (const Gaeb90Record& r : records) {
    if (IsFreeText(r)) continue;
    if (r.Type() != "00")
      throw Gaeb90Error(LinePrefix(r) + "erwartet wird der Kopfsatz 00, gefunden Satzart \"" +
                        std::string(r.Type()) + "\".");
    return std::string(r.Columns(11, 12));
  }
  throw Gaeb90Error(
      "Die Datei enth\xE4lt keinen Kopfsatz 00; sie ist keine vollst\xE4ndige "
      "GAEB 90 Datei.");
}
