#pragma once

#include <QVariant>

#include "db/query.h"
#include "util/variant.h"

// A parameter as the engine binds it: a null keeps its type; a date-time
// goes as ISO text without zone, so no engine moves it between zones.
QVariant ToQVariant(const QueryParam& param);
// A field value as the program holds it; integers beyond 32 bits become
// floating point, byte arrays strings of their bytes.
Variant FromQVariant(const QVariant& value);
// Date, time and date-time values and their ISO texts as a date-time;
// false for anything else.
bool TryQDateTimeValue(const QVariant& value, Variant& out);
