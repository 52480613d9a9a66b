#pragma once

#include <string>

class KsCustomObj;
class DbConnection;

// Names that go into statement texts. A table name consists of letters,
// digits and underscores, a column name of letters and digits (in parameter
// names the underscore separates the column from "_OLD" and "PK_"), and
// neither begins with a digit. Any other name raises EObj before a statement
// exists, so no name from a catalogue can carry SQL into one.
void CheckTableName(const KsCustomObj& obj, const std::string& name, const char* method);
void CheckColumnName(const KsCustomObj& obj, const std::string& name, const char* method);

// The object's connection; EObj when it has none.
DbConnection& Connection(const KsCustomObj& obj, const char* method);
