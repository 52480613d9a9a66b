#include <stdexcept>
#include <string>

#include "gaeb/file_read_gaeb00.h"
#include "gaeb/gaeb_classes.h"
#include "gaeb/gaeb_elements.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_texts.h"
#include "util/number_text.h"
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

void TrimInPlace(std::string& s) {
  size_t e = s.size();
  while (e > 0 && IsTrimChar(s[e - 1])) --e;
  s.resize(e);
  size_t b = 0;
  while (b < s.size() && IsTrimChar(s[b])) ++b;
  s.erase(0, b);
}

// Reads up to the end of the block named `name` (exact case) or the end of
// the file. Nesting is not counted: an inner block of the same name ends the
// skip, and the rest of the outer block is then read by the current element.
void SkipElement(KsFileReadGaeb00& reader, const std::string& name) {
  std::string tokenName, value;
  TTokenKind kind;
  do {
    reader.ReadToken(tokenName, kind, value);
  } while (kind != tkEof && !(kind == tkEnd && tokenName == name));
}

KsCustomObj* HeldObject(const KsMember& member) {
  const KsVariant& held = member.OldValue();
  return held.Kind() == KsVarKind::Pointer ? static_cast<KsCustomObj*>(held.Ptr()) : nullptr;
}

// Creates the element that reads the block just begun for `member`: a new
// item of the member's list, or the single child of the member's class key.
// Null when the block has no element class to read it (a list or key that is
// not registered, a plain field named like a block).
KsGAEBObj* CreateChild(KsGAEBObj& parent, KsMember& member) {
  switch (member.GetFieldType()) {
    case ftCursor: {
      auto* list = dynamic_cast<KsGAEBObjList*>(HeldObject(member));
      if (!list) return nullptr;
      KsCustomObj* item = list->ItemClass()->CreateObj(
          list,
          {KsVariant("TableName"), KsVariant(parent.TableName()), KsVariant("FKNames"),
           KsVariant(""), KsVariant("GAEBImp00"), DocumentParam(parent.ImportDoc)},
          nullptr);
      if (auto* element = dynamic_cast<KsGAEBObj*>(item)) return element;
      delete item;
      return nullptr;
    }
    case ftUnknown: {
      if (member.Value.Kind() != KsVarKind::String) return nullptr;
      // An unregistered key would give a generic object without ReadBody.
      const KsClass* cls = GaebClasses().FindClass(std::string(member.Value.Str()));
      if (!cls) return nullptr;
      KsCustomObj* child = cls->CreateObj(
          &parent, {KsVariant("GAEBImp00"), DocumentParam(parent.ImportDoc)}, nullptr);
      auto* element = dynamic_cast<KsGAEBObj*>(child);
      if (!element) {
        delete child;
        return nullptr;
      }
      // A later block of the same name replaces the earlier child. The new
      // child took its place in Children, so nothing else would free it.
      KsCustomObj* earlier = HeldObject(member);
      if (earlier && earlier != child && earlier->Owner() == &parent) delete earlier;
      member.SetOldValue(KsVariant::FromPointer(child));
      return element;
    }
    default:
      return nullptr;
  }
}

}  // namespace

void KsGAEBObj::ReadBody() {
  KsFileReadGaeb00* reader = ImportDoc ? ImportDoc->Reader() : nullptr;
  if (!reader) return;
  DepthGuard depth;
  std::string name, value;
  TTokenKind kind;
  for (;;) {
    reader->ReadToken(name, kind, value);
    if (kind == tkEnd || kind == tkEof) return;
    TrimInPlace(value);
    KsMember& member = GetMember(name);
    if (kind == tkBegin) {
      if (&member == &NoMember()) {
        SkipElement(*reader, name);
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
        SkipElement(*reader, name);
        continue;
      }
      if (readDepth >= kMaxReadDepth)
        throw std::runtime_error("Zeile " + std::to_string(reader->LineNumber()) + " der Datei " +
                                 reader->DisplayName() + ": Die Elemente sind tiefer als " +
                                 std::to_string(kMaxReadDepth) + " Ebenen geschachtelt.");
      child->ReadBody();
      ImportDoc->NotifyObservers(gcElementRead);
    } else if (&member != &NoMember()) {
      const uint8_t type = member.GetFieldType();
      // A field line named like a child member would overwrite the child's
      // class key; there is nothing a field can say about a child.
      if (type == ftUnknown || type == ftCursor) continue;
      std::string converted = ConvertFieldValue(value, member);
      if (member.FieldDesc->IsMultiValue())
        AddValueLine(converted, member);
      else
        member.SetValue(KsVariant(std::move(converted)));
    }
  }
}

std::string KsGAEBObj::ConvertFieldValue(const std::string& value, const KsMember& member) {
  switch (member.GetFieldType()) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
      return value.empty() ? std::string("0") : std::to_string(StrToIntZero(value));
    case ftFloat:
    case ftCurrency:
    case ftBCD: {
      if (value.empty()) return "0";
      const KsFormatSettings& format = FormatSettings();
      const std::string text = format.ThousandSeparator == '\0'
                                   ? value
                                   : TranslateChars(value, std::string(1, format.ThousandSeparator),
                                                    std::string(1, format.DecimalSeparator));
      // The variant conversion raises for text that is not a number.
      return FloatToStr(StrToFloat(text, format), format);
    }
    default:
      return value;
  }
}

void KsGAEBObj::AddValueLine(const std::string& value, KsMember& member) {
  if (member.Value.Kind() != KsVarKind::StringList) {
    KsStringList lines;
    if (!member.Value.IsEmptyOrNull()) lines.push_back(member.Value.ToString());
    member.Value = KsVariant::FromStringList(std::move(lines));
  }
  member.Value.List().push_back(TrimRight(value));
  member.Modified = true;
}

void KsGPOSITION::ReadBody() {
  KsGAEBObj::ReadBody();
  if (KsMember* bez = Members.Find("BEZ")) bez->SetAsString(ShortText(*this, 255));
  if (KsMember* type = Members.Find("_TARVO_POSTYP")) {
    const char* code = "N";
    if (const KsMember* lfdNr = Members.Find("ZZLFDNR"); lfdNr && lfdNr->GetAsInteger() > 0)
      code = "A";
    const std::string bedarf = Text("BEDARF");
    if (bedarf == "M") code = "B";
    if (bedarf == "E") code = "AB";
    type->SetAsString(code);
  }
}
