#include <stdexcept>
#include <string>
#include <vector>

#include "core/arena.h"
#include "gaeb/file_read_gaeb00.h"
#include "gaeb/gaeb_classes.h"
#include "gaeb/gaeb_elements.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_texts.h"
#include "util/amount_limit.h"
#include "util/entry_error.h"
#include "util/number_text.h"
#include "util/rounding.h"
#include "util/same_text.h"
#include "util/strings.h"
#include "util/trim.h"

namespace {

// ReadBody recurses once per nesting level. Real files nest about a dozen
// levels; a block deeper than this ends the import with a message, so a
// hostile file can neither overflow the stack nor lose areas silently.
constexpr int kMaxReadDepth = 1000;
thread_local int readDepth = 0;

class DepthGuard {
 public:
  DepthGuard() { ++readDepth; }
  ~DepthGuard() { --readDepth; }
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;
};

[[noreturn]] void RefuseEnd(const KsFileReadGaeb00& reader, const std::string& name,
                            int64_t beginLine) {
  if (reader.LastKind() == tkEof) reader.RefuseEndOfFile(name);
  throw std::runtime_error("Zeile " + std::to_string(reader.TokenLine()) + " der Datei " +
                           reader.DisplayName() + ": #end[" + reader.LastEndName() +
                           "] schlie\xDFt nicht den Block " + name + " aus Zeile " +
                           std::to_string(beginLine) + ".");
}

// Reads up to the end of the block named `name`, begun on `beginLine`, with
// every block inside it; each must end with its own end line.
void SkipElement(KsFileReadGaeb00& reader, const std::string& name, int64_t beginLine) {
  struct Open {
    std::string name;
    int64_t line;
  };
  std::vector<Open> open{{name, beginLine}};
  std::string tokenName;
  TTokenKind kind;
  while (!open.empty()) {
    reader.ReadTokenView(tokenName, kind);
    if (kind == tkBegin) {
      open.push_back({tokenName, reader.TokenLine()});
    } else if (kind == tkEnd || kind == tkEof) {
      if (kind == tkEof || !SameText(tokenName, open.back().name))
        RefuseEnd(reader, open.back().name, open.back().line);
      open.pop_back();
    }
  }
}

// Creates the element that reads the block just begun for `member`: a new
// item of the member's list, or the single child of the member's class key.
// Null when the block has no element class to read it (a list or key that is
// not registered, a plain field named like a block).
KsGAEBObj* CreateChild(KsGAEBObj& parent, KsMember& member) {
  switch (member.GetFieldType()) {
    case ftCursor: {
      KsGAEBObjList* list = KsGAEBObj::HeldElementList(&member);
      return list ? parent.NewListItem(*list, parent.ImportDoc) : nullptr;
    }
    case ftUnknown:
      // An unregistered key would give a generic object without ReadBody. A
      // later block of the same name replaces the earlier child.
      return parent.NewChild(member, parent.ImportDoc);
    default:
      return nullptr;
  }
}

// A value that cannot be taken names where it stood: the line, the key as
// the file wrote it, and the text as it was there.
std::string_view ConvertLocated(KsGAEBObj& element, std::string_view value, const KsMember& member,
                                const KsFileReadGaeb00& reader, const std::string& key,
                                std::string& scratch) {
  const auto where = [&] {
    return "Zeile " + std::to_string(reader.TokenLine()) + ", Feld " + key + ": ";
  };
  try {
    return element.ConvertFieldValue(value, member, scratch);
  } catch (const VariantError& e) {
    throw VariantError(where() + e.what());
  } catch (const EntryError& e) {
    throw EntryError(where() + e.what());
  }
}

}  // namespace

void KsGAEBObj::ReadBody() {
  KsFileReadGaeb00* reader = ImportDoc ? ImportDoc->Reader() : nullptr;
  if (!reader) return;
  DepthGuard depth;
  // Not used after a child has read its body, so the child may read into it too.
  std::string& name = reader->NameBuffer();
  std::string scratch;  // a value changed to the form its member holds
  TTokenKind kind;
  for (;;) {
    // Lies in the reader until the next token: copied once, into the member.
    std::string_view value = reader->ReadTokenView(name, kind);
    if (kind == tkEnd || kind == tkEof) return;
    value = TrimmedView(value);
    KsMember& member = GetMember(name);
    if (kind == tkBegin) {
      const int64_t beginLine = reader->TokenLine();
      if (&member == &NoMember()) {
        SkipElement(*reader, name, beginLine);
        continue;
      }
      KsGAEBObj* child = nullptr;
      try {
        child = CreateChild(*this, member);
      } catch (const std::exception&) {
        ChildError(name);
      }
      // Without an element of its own the block is skipped, so that its
      // fields and its end line cannot land in this element.
      if (!child) {
        SkipElement(*reader, name, beginLine);
        continue;
      }
      if (readDepth >= kMaxReadDepth)
        throw std::runtime_error("Zeile " + std::to_string(reader->LineNumber()) + " der Datei " +
                                 reader->DisplayName() + ": Die Elemente sind tiefer als " +
                                 std::to_string(kMaxReadDepth) + " Ebenen geschachtelt.");
      child->ReadBlock(member.Name(), beginLine);
      ImportDoc->NotifyObservers(gcElementRead);
    } else if (&member != &NoMember()) {
      const uint8_t type = member.GetFieldType();
      // A field line named like a child member would overwrite the child's
      // class key; there is nothing a field can say about a child.
      if (type == ftUnknown || type == ftCursor) continue;
      value = ConvertLocated(*this, value, member, *reader, name, scratch);
      if (member.FieldDesc->IsMultiValue())
        AddValueLine(value, member);
      else
        member.SetValue(Variant(value, HomeArena()));
    }
  }
}

void KsGAEBObj::ReadBlock(const std::string& name, int64_t beginLine) {
  ReadBody();
  const KsFileReadGaeb00& reader = *ImportDoc->Reader();
  if (reader.LastKind() != tkEnd || !SameText(reader.LastEndName(), name))
    RefuseEnd(reader, name, beginLine);
}

std::string KsGAEBObj::ConvertFieldValue(const std::string& value, const KsMember& member) {
  std::string scratch;
  return std::string(ConvertFieldValue(std::string_view(value), member, scratch));
}

std::string_view KsGAEBObj::ConvertFieldValue(std::string_view value, const KsMember& member,
                                              std::string& scratch) {
  switch (member.GetFieldType()) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
      scratch = value.empty() ? std::string("0") : std::to_string(StrToIntZero(std::string(value)));
      return scratch;
    case ftFloat:
    case ftCurrency:
    case ftBCD: {
      if (value.empty()) return "0";
      const int16_t decimals = member.FieldDesc->Size;
      if (IsPlainNumberText(value, member.GetFieldType() == ftBCD ? 0 : decimals)) return value;
      const std::string text(value);
      double number;
      if (!TryReadNumber(text, number)) throw VariantError(NotANumberText(text));
      if (!WithinAmountLimit(number)) throw EntryError(TooLargeText(text));
      // Held as the file will be written: to the field's decimals, so what
      // is shown and summed is what is saved (an EP of 12,3456 is 12,346).
      if (decimals > 0 && member.GetFieldType() != ftBCD) number = RoundDec(decimals, number);
      scratch = FloatToStr(number);
      return scratch;
    }
    case ftString: {
      // Held as the file will be written: a text longer than its field is
      // cut, so a BEDARF of "Eventual" is the "E" that is saved.
      const int16_t size = member.FieldDesc->Size;
      if (size <= 0 || value.size() <= static_cast<size_t>(size) ||
          member.FieldDesc->IsMultiValue())
        return value;
      scratch = TrimRight(value.substr(0, static_cast<size_t>(size)));
      return scratch;
    }
    default:
      return value;
  }
}

void KsGAEBObj::AddValueLine(std::string_view value, KsMember& member) {
  if (member.Value.Kind() != KsVarKind::StringList) {
    KsStringList lines;
    if (!member.Value.IsEmptyOrNull()) lines.push_back(member.Value.ToString());
    member.Value = Variant::FromStringList(std::move(lines));
  }
  member.Value.List().push_back(TrimRight(value));
  member.Modified = true;
}

void KsGPOSITION::ReadBody() {
  KsGAEBObj::ReadBody();
  DeriveDisplayFields();
}

void KsGPOSITION::DeriveDisplayFields() {
  if (KsMember* bez = Members.FindOrMake("BEZ"))
    bez->SetAsString(ShortText(*this, 255), HomeArena());
  if (KsMember* type = Members.FindOrMake("_TARVO_POSTYP")) {
    const char* code = "N";
    if (const KsMember* lfdNr = Members.Find("ZZLFDNR"); lfdNr && lfdNr->GetAsInteger() > 0)
      code = "A";
    const KsMember* bedarfMember = Members.Find("BEDARF");
    const std::string bedarf = bedarfMember ? bedarfMember->GetAsString() : std::string();
    if (bedarf == "M") code = "B";
    if (bedarf == "E") code = "AB";
    type->SetAsString(code);
  }
}
