#include "core/sql_checks.h"

#include "core/custom_obj.h"
#include "core/eobj.h"
#include "util/format_ex.h"

namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsName(const std::string& name, bool underscore) {
  if (name.empty() || IsDigit(name[0])) return false;
  for (char c : name)
    if (!IsLetter(c) && !IsDigit(c) && !(underscore && c == '_')) return false;
  return true;
}

}  // namespace

void CheckTableName(const KsCustomObj& obj, const std::string& name, const char* method) {
  if (!IsName(name, true))
    throw EObj(obj.ClassName(),
               "Der Tabellenname \"" + name +
                   "\" ist in SQL-Anweisungen nicht zul\xE4ssig (erlaubt sind Buchstaben, Ziffern "
                   "und Unterstrich).",
               method);
}

void CheckColumnName(const KsCustomObj& obj, const std::string& name, const char* method) {
  if (!IsName(name, false))
    throw EObj(obj.ClassName(),
               "Der Spaltenname \"" + name + "\" der Tabelle \"" + obj.TableName() +
                   "\" ist in SQL-Anweisungen nicht zul\xE4ssig (erlaubt sind Buchstaben und "
                   "Ziffern).",
               method);
}

DbConnection& Connection(const KsCustomObj& obj, const char* method) {
  if (!obj.Database)
    throw EObj::CreateFmt(obj.ClassName(),
                          "F\xFCr das Objekt \"%s\" ist keine Datenbankverbindung gesetzt.",
                          {Variant(obj.TableName())}, method);
  return *obj.Database;
}
