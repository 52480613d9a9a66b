#pragma once

#include <cstdint>
#include <string>

#include "core/obj.h"
#include "core/obj_list.h"
#include "gaeb/gaeb_document.h"

class KsFileWriteGaeb00;
class KsGAEBObjList;

// Base of every GAEB 2000 element. Child elements hang off members (as the
// member's Child): a member of type ftUnknown holds its child element once
// one was read or built, one of type ftCursor the child list made with the
// member. Both keep their class key as Value. An element holds its required
// and single-child members from its creation. An element of a large tender
// leaves most of its child lists empty, so a list member (and its list) is
// made when a caller builds into it or the element's Children are first
// looked at, with the same result as if it had been made with the element;
// until then ChildList reads no list.
class KsGAEBObj : public KsObj {
 public:
  static const ObjClass& StaticClass();
  const ObjClass& Class() const override { return StaticClass(); }

  GaebDocument* ImportDoc = nullptr;  // kImportDocParam, not owned

  // Unknown names give NoMember without a message: files carry keys we do not know.
  KsMember& GetMember(const std::string& name) override;
  void SetParam(const std::string& name, const Variant& value) override;
  void Create(KsCustomObj* owner, const KsParams& params, DbConnection* db) override;
  // Copies values and children, then points the child members at the copies.
  void Assign(const KsCustomObj& source) override;

  // The child element or list held by the named member; nullptr when there
  // is none (no such member, no child read, a list not made yet). Makes nothing.
  KsGAEBObj* Child(const std::string& memberName) const;
  KsGAEBObjList* ChildList(const std::string& memberName) const;
  // The named list, made when it is not yet; null when there is no such list member.
  KsGAEBObjList* ChildListOrNew(const std::string& memberName);
  // The child element a member holds; null for none or no member.
  static KsGAEBObj* HeldElement(const KsMember* member);
  // The child list a member holds; null for none or no member.
  static KsGAEBObjList* HeldElementList(const KsMember* member);
  // Text of a member (of a child member its class key), "" when the element
  // has no such member.
  std::string Text(const std::string& memberName) const;
  // The element or LV that holds this one in one of its lists.
  KsGAEBObj* ParentElement() const;
  // The registered class that the class key of a single-child member names;
  // null when the member holds no key or none is registered under it.
  static const ObjClass* ChildElementClass(const KsMember& member);
  // Makes the child element that the single-child `member` of this element
  // names, read into `doc`, and hangs it on the member; a child the member
  // held before is freed. Null when no element class is registered for it.
  KsGAEBObj* NewChild(KsMember& member, GaebDocument* doc);
  // A new item of `list`, one of this element's lists, read into `doc`; null
  // when the list's item class makes no element.
  KsGAEBObj* NewListItem(KsGAEBObjList& list, GaebDocument* doc);
  // Builders of a tree: the child the named member holds, made with NewChild
  // when it holds none yet, and a new item of the named list. Null when there
  // is no such member or no element class for it.
  KsGAEBObj* ChildOrNew(const std::string& memberName, GaebDocument* doc);
  KsGAEBObj* NewListItem(const std::string& listMember, GaebDocument* doc);

  // Reading: consumes tokens of the document's reader until the element ends.
  virtual void ReadBody();
  // Reads the body of the block begun on line `beginLine` of the document's
  // reader as `name`, which must end with its own end line: a file that ends
  // inside the block, or the end line of another block, raises naming the
  // line, so that a cut or garbled file is never taken for a whole one.
  void ReadBlock(const std::string& name, int64_t beginLine);
  // The value in the form the member holds it (and the file will carry):
  // whole numbers as read, decimal numbers rounded to the field's decimals,
  // texts cut to the field's size. Raises for a number that is none or too large.
  std::string ConvertFieldValue(const std::string& value, const KsMember& member);
  // The same for the reader, which mostly keeps the value as it is: `value`
  // itself when it is in that form already, else the converted text, kept in
  // `scratch`.
  std::string_view ConvertFieldValue(std::string_view value, const KsMember& member,
                                     std::string& scratch);
  void AddValueLine(std::string_view value, KsMember& member);
  virtual void ChildError(const std::string&) {}

  // Writing. A value the file cannot carry raises UnwritableValue naming the
  // field and the element (gaeb/file_write_gaeb00.h).
  void WriteElement(KsFileWriteGaeb00& stream);
  std::string FormatFieldValue(const KsMember& member) const;
  std::string JoinValueLines(const KsMember& member) const;

 protected:
  void InitMember(KsMember& member) override;
  void CreateDeferredChildren() override;
  bool DefersChild(std::string_view tableName) const override;

 private:
  void WriteBlock(KsFileWriteGaeb00& stream, const std::string& name);
  // Gives a child member its class key and, for a list, the list.
  void InitChildMember(KsMember& member);
  bool created_ = false;  // members made from now on are set up at once
};

// Common base of LV areas and positions.
class KsGTitPosBase : public KsGAEBObj {
 public:
  static const ObjClass& StaticClass();
  const ObjClass& Class() const override { return StaticClass(); }
};

// Base of every list of elements.
class KsGAEBObjList : public KsObjList {
 public:
  static const ObjClass& StaticClass();
  const ObjClass& Class() const override { return StaticClass(); }

  GaebDocument* ImportDoc = nullptr;  // kImportDocParam, not owned
  void SetParam(const std::string& name, const Variant& value) override;

  KsGAEBObj* Element(int i) const { return static_cast<KsGAEBObj*>(Items(i)); }
};

// Class objects of the GAEB layer: the table name is "GAEB" + the class name
// without its "KsG" prefix, upper-cased.
class GaebClass : public ObjClass {
 public:
  using ObjClass::ObjClass;
  const std::string& ClassTablename() const override;

 private:
  mutable std::string tableName_;  // derived once; asked for every element created
};

// The object as an element or an element list, null when it is none. Tested
// by the class objects' parent chain: cheaper than dynamic_cast on every
// element of a large tender.
KsGAEBObj* AsElement(KsCustomObj* obj);
KsGAEBObjList* AsElementList(KsCustomObj* obj);

// "Das Element NAME kann nicht angelegt werden.": the message of a builder
// whose catalogue has no element class for `name`.
std::string Uncreatable(const std::string& name);

// List classes find their item class in the GAEB registry under "GAEB" + the
// class name without "KsG" and "List".
class GaebListClass : public ObjListClass {
 public:
  using ObjListClass::ObjListClass;
  const ObjClass* ClassItemClass() const override;

 private:
  mutable const ObjClass* itemClass_ = nullptr;  // looked up once
};
