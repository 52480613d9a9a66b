#pragma once

#include <cstdint>

#include "db/query.h"

class KsMember;

// How members become statement parameters, and columns member values.

// The type a null of this field type is bound with (blob and memo types as
// strings).
KsParamType NullParamType(uint8_t fieldType);
// Binds a value of the member (its Value, or its stored key): integers as integers, booleans
// as the text 1 or 0, numbers as floating point, dates and times as such (a
// text converted by the user's date format), blobs as bytes and memos as
// text of the value's string form, anything else as it is; Null as a typed
// null.
void BindMember(QueryParam& param, const KsMember& member, const Variant& v);
// Binds a key value of a load: Null as a typed null, a text for a padded
// string key padded as the member stores it, anything else as it is.
void BindKeyValue(QueryParam& param, const KsMember& key, const Variant& value);
// The column's value for the member; dates and times come back as date-times
// whatever form the engine keeps them in.
Variant ColumnValue(const KsQuery& query, int field, const KsMember& member);
