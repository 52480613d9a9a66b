#include "core/sql_binding.h"

#include "core/member.h"

KsParamType NullParamType(uint8_t fieldType) {
  switch (fieldType) {
    case ftString:
    case ftBlob:
    case ftMemo:
    case ftGraphic:
    case ftFmtMemo:
      return KsParamType::String;
    case ftSmallint:
    case ftInteger:
    case ftWord:
      return KsParamType::Integer;
    case ftBoolean:
      return KsParamType::Boolean;
    case ftFloat:
    case ftCurrency:
      return KsParamType::Float;
    case ftDate:
      return KsParamType::Date;
    case ftTime:
      return KsParamType::Time;
    case ftDateTime:
      return KsParamType::DateTime;
    default:
      return KsParamType::Unknown;
  }
}

void BindMember(QueryParam& param, const KsMember& member, const Variant& v) {
  const uint8_t type = member.GetFieldType();
  if (v.IsNull()) {
    param.DataType = NullParamType(type);
    param.Value = Variant::Null();
    return;
  }
  switch (type) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
      param.DataType = KsParamType::Integer;
      param.Value = Variant(v.ToInteger());
      return;
    case ftBoolean:
      param.DataType = KsParamType::String;
      param.Value = Variant(v.ToBoolean() ? "1" : "0");
      return;
    case ftFloat:
    case ftCurrency:
      param.DataType = KsParamType::Float;
      param.Value = Variant(v.ToFloat());
      return;
    case ftDate:
    case ftTime:
    case ftDateTime:
      param.DataType = NullParamType(type);
      param.Value = v.IsEmpty() ? v : Variant::FromDateTime(v.ToDateTime());
      return;
    case ftBlob:
    case ftGraphic:
      param.DataType = KsParamType::Blob;
      param.Value = Variant(v.ToString());
      return;
    case ftMemo:
    case ftFmtMemo:
      // Memo columns hold text; as bytes some engines would store escapes.
      param.DataType = KsParamType::String;
      param.Value = Variant(v.ToString());
      return;
    default:
      param.DataType = KsParamType::Unknown;
      param.Value = v;
  }
}

void BindKeyValue(QueryParam& param, const KsMember& key, const Variant& value) {
  if (value.IsNull()) {
    param.DataType = NullParamType(key.GetFieldType());
    param.Value = value;
    return;
  }
  param.DataType = KsParamType::Unknown;
  // Only a key with a fill character is stored padded (SetAsString).
  const bool padded = key.GetFieldType() == ftString && key.FieldDesc->FillChar != 0;
  param.Value = padded && !value.IsEmpty() ? Variant(key.PadValue(value.ToString())) : value;
}

Variant ColumnValue(const KsQuery& query, int field, const KsMember& member) {
  switch (member.GetFieldType()) {
    case ftDate:
    case ftTime:
    case ftDateTime:
      return query.FieldDateTime(field);
    default:
      return query.FieldValue(field);
  }
}
