#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Field type codes of the standard database field-type enumeration.
enum KsFieldType : uint8_t {
  ftUnknown = 0,  // single child element
  ftString = 1,
  ftSmallint = 2,
  ftInteger = 3,
  ftWord = 4,
  ftBoolean = 5,
  ftFloat = 6,
  ftCurrency = 7,
  ftBCD = 8,
  ftDate = 9,
  ftTime = 10,
  ftDateTime = 11,
  ftBytes = 12,
  ftVarBytes = 13,
  ftAutoInc = 14,
  ftBlob = 15,
  ftMemo = 16,
  ftGraphic = 17,
  ftFmtMemo = 18,
  ftCursor = 22,  // list of child elements
};

enum KsAlignment : uint8_t { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };

// Field flags (bits of KsFieldDesc::Flags).
enum : uint16_t { fbfBrowseDefault = 1u << 0, fbfCalculated = 1u << 1 };

class KsFBDesc;
class MemberLayout;

// One field of an element.
class KsFieldDesc {
 public:
  KsFBDesc* Owner = nullptr;
  std::string Name;
  std::string Hint;
  int16_t Reserved1 = 0;
  std::string DisplayLabel;
  std::string DynamicLabel;
  std::string Reserved2;
  uint8_t Alignment = taLeftJustify;  // taCenter marks a multi-value field
  char FillChar = 0;
  std::string Reserved3;
  uint8_t FieldType = ftUnknown;
  int16_t Size = 0;
  std::string Reserved4;
  int16_t Reserved5 = 0;
  int16_t Reserved6 = 0;
  uint16_t Flags = 0;
  bool Required = false;

  bool IsMultiValue() const { return Alignment == taCenter; }
};

// Index of a table; the key machinery of the object model reads the first unique one.
struct IndexDesc {
  std::string Name;
  std::string FieldNames;  // comma-separated
  bool Unique = false;
};

struct ChildDesc {
  std::string Name;
};

// One element (table) with its fields in declaration order.
class KsFBDesc {
 public:
  KsFBDesc(std::string tableName, std::string elementName);
  ~KsFBDesc();

  std::string TableName;
  std::string ElementName;
  std::vector<std::unique_ptr<KsFieldDesc>> Fields;
  std::vector<std::unique_ptr<IndexDesc>> IndexDescs;
  std::vector<std::unique_ptr<ChildDesc>> ChildDescs;
  uint8_t Flags = 0;

  KsFieldDesc* AddField(bool required, const std::string& name, const std::string& hint,
                        const std::string& label, uint8_t fieldType, int16_t size = 0,
                        uint8_t alignment = taLeftJustify, char fillChar = 0, uint16_t flags = 0);
  // Upper-cases name and returns the first field whose Name equals it exactly.
  KsFieldDesc* FindField(const std::string& name) const;
  // Moves the field at index from to index to (both 0-based).
  void MoveField(int from, int to);
  // First index descriptor marked unique, or nullptr.
  const IndexDesc* FirstUniqueIndex() const;
  // Position of the first field named name, ignoring the case of A-Z; -1 if none.
  // Members are looked up by name for every field read and every total, so
  // this is a hash lookup, rebuilt when the fields change.
  int FieldIndex(std::string_view name) const;
  // The members of an object of this table: every field that is not
  // calculated, in order. Made again when the fields have changed; earlier
  // layouts stay valid for the objects built from them.
  const MemberLayout& Layout() const;

 private:
  mutable std::vector<std::unique_ptr<MemberLayout>> layouts_;
  mutable size_t layoutCount_ = 0;
  mutable uint32_t layoutVersion_ = 0;
  mutable const void* layoutFirst_ = nullptr;
  mutable std::unordered_map<std::string, int> nameIndex_;
  mutable size_t indexedCount_ = 0;
  mutable const void* indexedFirst_ = nullptr;
  mutable uint32_t indexedVersion_ = 0;
  uint32_t version_ = 0;
};

using KsFBDescBuilder = std::unique_ptr<KsFBDesc> (*)();

// Registry entries are sorted by name, ordinal and case-sensitive; a
// descriptor is built on its first lookup and lives until program end.
void RegisterDescriptor(const std::string& name, KsFBDescBuilder builder);
KsFBDesc* FindDescriptor(const std::string& name);
// Names of all registered entries in registry order (for tests and listings).
std::vector<std::string> RegisteredDescriptorNames();
