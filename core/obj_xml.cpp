// XML persistence of objects and lists: one element per object, one line per
// member, one element per list; lines end in CR LF, children are indented by
// two more blanks.

#include <exception>
#include <istream>
#include <iterator>
#include <ostream>
#include <string>

#include "core/eobj.h"
#include "core/member_layout.h"
#include "core/member_whole_xml.h"
#include "core/obj.h"
#include "core/obj_list.h"
#include "xml/xml_parser.h"

namespace {

void WriteText(std::ostream& stream, const std::string& text, const KsCustomObj& obj,
               const char* method) {
  stream.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (!stream) throw EObj(obj.ClassName(), "Der XML-Text konnte nicht geschrieben werden.", method);
}

}  // namespace

void KsObj::SaveToXML(std::ostream& stream, int indent) {
  if (PKCount == 0) return;
  for (int i = 0; i < PKCount; ++i)
    if (GetPKMember(i).Value.IsEmptyOrNull()) return;
  if (!(Flags & ofSkipValidate) && !Validate(true)) return;
  WriteXML(stream, indent);
}

void KsObj::WriteXML(std::ostream& stream, int indent) {
  bool anyValue = false;
  Members.MakeAll();
  for (const KsMember& m : Members.HeldMembers()) anyValue = anyValue || !m.Value.IsEmptyOrNull();
  if (!anyValue) return;
  const std::string pad(static_cast<size_t>(indent), ' ');
  // The opening line and the member lines are built first, so a value that
  // cannot be written (a date member holding letters) leaves nothing behind.
  std::string text = pad + "<OBJ_" + TableName() + ">\r\n";
  for (const KsMember& held : Members.HeldMembers()) {
    const KsMember* m = &held;
    if (m->Value.IsEmptyOrNull()) continue;
    const std::string& name = m->Name();
    // Members with an underscore in their name are not written; the lookup of
    // the cut name reports an unknown name like any other lookup.
    const std::string cut = name.substr(0, name.find('_'));
    const KsMember& member = GetMember(cut);
    if (cut != name) continue;
    const std::string xml = member.GetXmlText();
    if (!xml.empty()) text += pad + "  <" + name + ">" + xml + "</" + name + ">\r\n";
  }
  WriteText(stream, text, *this, "WriteXML");
  if (!(Flags & ofNoDescend)) {
    try {
      for (int i = 0; i < Children.Count(); ++i) Children.Objects(i)->SaveToXML(stream, indent + 2);
    } catch (const std::exception&) {
      // A child that cannot be written ends the children and the object is closed all the
      // same; SaveWholeToXML, for the program's own copies, raises instead.
    }
  }
  WriteText(stream, pad + "</OBJ_" + TableName() + ">\r\n", *this, "WriteXML");
}

void KsObj::LoadFromXML(std::istream& stream) {
  stream.clear();
  stream.seekg(0);
  const std::string text((std::istreambuf_iterator<char>(stream)),
                         std::istreambuf_iterator<char>());
  TXmlParser parser;
  parser.Attach(text.c_str());
  const std::string objectTag = "OBJ_" + TableName();
  int depth = 0;
  int objectDepth = -1;
  // The element that encloses the text one level below the object: a member
  // element, or a child's element whose texts belong to no member.
  std::string enclosing;
  while (parser.NextPart()) {
    switch (parser.PartKind()) {
      case pkStartTag:
        ++depth;
        if (objectDepth < 0 && parser.PartName() == objectTag) objectDepth = depth;
        if (objectDepth >= 0 && depth == objectDepth + 1) enclosing = parser.PartName();
        break;
      case pkEmptyTag:
        // Opened and closed at once; an empty object element has no members.
        if (objectDepth < 0 && parser.PartName() == objectTag) return;
        break;
      case pkEndTag:
        if (objectDepth >= 0 && depth == objectDepth) return;
        --depth;
        break;
      case pkText:
      case pkCData:
        if (objectDepth >= 0 && depth == objectDepth + 1) {
          if (KsMember* m = Members.FindOrMake(enclosing))
            m->SetXmlText(parser.PartKind() == pkCData ? "<![CDATA[" + parser.PartText() + "]]>"
                                                       : parser.PartText());
        }
        break;
      default:
        break;
    }
  }
}

void KsObjList::SaveToXML(std::ostream& stream, int indent) {
  if (!(Flags & ofSkipValidate) && !Validate(true)) return;
  const std::string pad(static_cast<size_t>(indent), ' ');
  const std::string table = TableName();
  WriteText(stream, pad + "<OBJLIST_" + table + " Count=\"" + std::to_string(Count()) + "\">\r\n",
            *this, "SaveToXML");
  const std::string closing = pad + "</OBJLIST_" + table + ">\r\n";
  try {
    for (KsCustomObj* item : ItemsList) item->SaveToXML(stream, indent + 2);
  } catch (...) {
    // The list is closed before the error goes on.
    try {
      WriteText(stream, closing, *this, "SaveToXML");
    } catch (...) {
    }
    throw;
  }
  WriteText(stream, closing, *this, "SaveToXML");
}

void KsObjList::LoadFromXML(std::istream&) {
  throw EObj(ClassName(), "Abstrakter Fehler", "LoadFromXML");
}

void KsObj::SaveWholeToXML(std::ostream& stream, int indent) {
  // A child member is set up as it is made: it names its child, and a list
  // member makes its list, which is written with the other children. Those
  // not made yet are made now; any other member not made has no value.
  if (const MemberLayout* layout = Members.Layout())
    for (const int i : layout->ChildFields())
      if (!Members.Holds(i)) Members.GetOrMake(i);
  // The members go into one text, written before the children so that a
  // failing stream leaves what was written whole. The text's room is kept
  // for the next element (children use it after it was written).
  thread_local std::string text;
  text.assign(static_cast<size_t>(indent), ' ').append("<OBJ_").append(TableName()) += ">\r\n";
  for (const KsMember& m : Members.HeldMembers()) {
    const size_t count = WholeXmlTextCount(m);
    if (count == 0) continue;
    const std::string kind = m.WholeXmlKind();
    for (size_t i = 0; i < count; ++i) {
      text.append(static_cast<size_t>(indent) + 2, ' ').append("<").append(m.Name());
      if (!kind.empty()) text.append(" Typ=\"").append(kind) += '"';
      text += '>';
      AppendWholeXmlText(text, m, i);
      text.append("</").append(m.Name()) += ">\r\n";
    }
  }
  WriteText(stream, text, *this, "SaveWholeToXML");
  for (int i = 0; i < Children.Count(); ++i)
    Children.Objects(i)->SaveWholeToXML(stream, indent + 2);
  text.assign(static_cast<size_t>(indent), ' ').append("</OBJ_").append(TableName()) += ">\r\n";
  WriteText(stream, text, *this, "SaveWholeToXML");
}

void KsObjList::SaveWholeToXML(std::ostream& stream, int indent) {
  thread_local std::string text;  // as in KsObj::SaveWholeToXML
  text.assign(static_cast<size_t>(indent), ' ').append("<OBJLIST_").append(TableName());
  text.append(" Count=\"").append(std::to_string(Count())) += "\">\r\n";
  WriteText(stream, text, *this, "SaveWholeToXML");
  for (KsCustomObj* item : ItemsList) item->SaveWholeToXML(stream, indent + 2);
  text.assign(static_cast<size_t>(indent), ' ').append("</OBJLIST_").append(TableName()) += ">\r\n";
  WriteText(stream, text, *this, "SaveWholeToXML");
}
