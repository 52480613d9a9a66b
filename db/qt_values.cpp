#include "db/qt_values.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QTime>
#include <cstdint>
#include <cstdio>

#include "db/qt_text.h"
#include "util/date_time.h"

namespace {

QMetaType TypeOf(KsParamType type) {
  switch (type) {
    case KsParamType::String:
      return QMetaType(QMetaType::QString);
    case KsParamType::Integer:
      return QMetaType(QMetaType::Int);
    case KsParamType::Boolean:
      return QMetaType(QMetaType::Bool);
    case KsParamType::Float:
      return QMetaType(QMetaType::Double);
    case KsParamType::Date:
      return QMetaType(QMetaType::QDate);
    case KsParamType::Time:
      return QMetaType(QMetaType::QTime);
    case KsParamType::DateTime:
      return QMetaType(QMetaType::QDateTime);
    case KsParamType::Blob:
      return QMetaType(QMetaType::QByteArray);
    case KsParamType::Unknown:
      break;
  }
  return QMetaType();
}

QDate DateOf(const DateTimeParts& p) { return QDate(p.Year, p.Month, p.Day); }
QTime TimeOf(const DateTimeParts& p) { return QTime(p.Hour, p.Minute, p.Second, p.MilliSecond); }

QString DateTimeText(double days) {
  const DateTimeParts p = DecodeDateTime(days);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", p.Year, p.Month, p.Day,
                p.Hour, p.Minute, p.Second, p.MilliSecond);
  return QString::fromLatin1(text);
}

double Days(const QDate& date, const QTime& time) {
  double day = 0;
  if (date.isValid()) TryEncodeDate(date.year(), date.month(), date.day(), day);
  const double t =
      time.isValid() ? EncodeTime(time.hour(), time.minute(), time.second(), time.msec()) : 0;
  return day >= 0 ? day + t : day - t;
}

}  // namespace

QVariant ToQVariant(const QueryParam& param) {
  const Variant& v = param.Value;
  if (v.IsEmptyOrNull()) return QVariant(TypeOf(param.DataType));
  switch (BoundType(param)) {
    case KsParamType::String:
      return QVariant(ToQString(v.ToString()));
    case KsParamType::Integer:
      return QVariant(v.ToInteger());
    case KsParamType::Boolean:
      return QVariant(v.ToBoolean());
    case KsParamType::Float:
      return QVariant(v.ToFloat());
    case KsParamType::Date:
      return QVariant(DateOf(DecodeDateTime(v.ToDateTime())));
    case KsParamType::Time:
      return QVariant(TimeOf(DecodeDateTime(v.ToDateTime())));
    case KsParamType::DateTime:
      return QVariant(DateTimeText(v.ToDateTime()));
    case KsParamType::Blob: {
      const std::string bytes = v.ToString();
      return QVariant(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    }
    case KsParamType::Unknown:
      break;
  }
  return QVariant(ToQString(v.ToString()));
}

Variant FromQVariant(const QVariant& value) {
  if (value.isNull()) return Variant::Null();
  switch (value.typeId()) {
    case QMetaType::QString:
      return Variant(FromQString(value.toString()));
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
      return Variant(static_cast<int32_t>(value.toInt()));
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: {
      const qlonglong i = value.toLongLong();
      if (i >= INT32_MIN && i <= INT32_MAX) return Variant(static_cast<int32_t>(i));
      return Variant(value.toDouble());
    }
    case QMetaType::Double:
    case QMetaType::Float:
      return Variant(value.toDouble());
    case QMetaType::Bool:
      return Variant(value.toBool());
    case QMetaType::QByteArray: {
      const QByteArray bytes = value.toByteArray();
      return Variant(std::string(bytes.constData(), static_cast<size_t>(bytes.size())));
    }
    case QMetaType::QDate:
    case QMetaType::QTime:
    case QMetaType::QDateTime: {
      Variant out;
      return TryQDateTimeValue(value, out) ? out : Variant::Null();
    }
    default:
      return Variant(FromQString(value.toString()));
  }
}

bool TryQDateTimeValue(const QVariant& value, Variant& out) {
  switch (value.typeId()) {
    case QMetaType::QDate:
      if (!value.toDate().isValid()) return false;
      out = Variant::FromDateTime(Days(value.toDate(), QTime()));
      return true;
    case QMetaType::QTime:
      if (!value.toTime().isValid()) return false;
      out = Variant::FromDateTime(Days(QDate(), value.toTime()));
      return true;
    case QMetaType::QDateTime: {
      const QDateTime dt = value.toDateTime();
      if (!dt.isValid()) return false;
      out = Variant::FromDateTime(Days(dt.date(), dt.time()));
      return true;
    }
    case QMetaType::QString: {
      // Date and time apart, so no local-time rule can move the wall clock.
      const QString text = value.toString().trimmed();
      QDate date;
      QString clock = text;
      if (text.size() >= 10 && text[4] == u'-') {
        date = QDate::fromString(text.left(10), Qt::ISODate);
        if (!date.isValid() || (text.size() > 10 && text[10] != u'T' && text[10] != u' '))
          return false;
        clock = text.mid(11);
      }
      if (clock.endsWith(u'Z')) clock.chop(1);
      for (qsizetype i = 1; i < clock.size(); ++i)
        if (clock[i] == u'+' || clock[i] == u'-') {
          clock.truncate(i);
          break;
        }
      QTime time;
      if (!clock.isEmpty()) {
        time = QTime::fromString(clock, Qt::ISODateWithMs);
        if (!time.isValid()) return false;
      } else if (!date.isValid()) {
        return false;
      }
      out = Variant::FromDateTime(Days(date, time));
      return true;
    }
    default:
      return false;
  }
}
