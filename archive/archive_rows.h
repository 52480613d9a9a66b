#pragma once

#include <string>

#include "archive/archived_offer.h"
#include "db/query.h"

// The prepared statements that write one position row (table ARCHPOS) on a
// connection. Both take the same parameters: the row's columns, then its key
// (OFFERID, NR).
//
// Writes a new row.
KsQuery PositionInsert(const std::string& connection);
// Writes the row where the offer has none of that number, and where it has
// one, changes it only if a value differs; an unchanged row is left unwritten.
// `postgres` names the engine whose words for "differs" it takes.
KsQuery PositionUpsert(const std::string& connection, bool postgres);
// Gives the row of position `nr` of an offer saved on `date` to the statement.
void SetPositionRow(KsQuery& q, const ArchivedPosition& p, const std::string& date, int offerId,
                    int nr);
