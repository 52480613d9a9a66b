#pragma once

#include "core/obj.h"

// The archive's offer row as an object of the object model, stored with its
// SQL persistence (StoreToDB): table ARCHOFFER, key OFFERID, its columns
// the fields of the descriptor registered by RegisterArchiveRecords;
// archive_schema.cpp creates the tables to match. Its positions (table
// ARCHPOS) are written by prepared statements (archive_rows.h): an object
// per row would cost more than the engine's insert of it.
void RegisterArchiveRecords();

class KsArchOffer : public KsObj {
 public:
  static const ObjClass& StaticClass();
  const ObjClass& Class() const override { return StaticClass(); }
};
