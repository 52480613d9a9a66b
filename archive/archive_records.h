#pragma once

#include "core/obj.h"
#include "core/obj_list.h"

// The archive's rows as objects of the object model, stored with its SQL
// persistence (StoreToDB): an offer (table ARCHOFFER, key OFFERID) owns the
// list of its priced positions (table ARCHPOS, key OFFERID, NR). The
// columns are the fields of their descriptors, registered by
// RegisterArchiveRecords; archive_schema.cpp creates the tables to match.
void RegisterArchiveRecords();

class KsArchPosition : public KsObj {
 public:
  static const ObjClass& StaticClass();
  const ObjClass& Class() const override { return StaticClass(); }
};

class KsArchPositionList : public KsObjList {
 public:
  static const ObjClass& StaticClass();
  const ObjClass& Class() const override { return StaticClass(); }
};

class KsArchOffer : public KsObj {
 public:
  static const ObjClass& StaticClass();
  const ObjClass& Class() const override { return StaticClass(); }
  void Create(KsCustomObj* owner, const KsParams& params, DbConnection* db) override;
  KsArchPositionList& PositionList() const;
};
