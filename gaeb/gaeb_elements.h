#pragma once

#include <memory>

#include "gaeb/gaeb_obj.h"

// The element and list classes of GAEB 2000. Their behaviour is that of the
// bases except where a class below says more; each has its own class object
// so that the registry, table names and item classes follow from the name.
#define KS_GAEB_CLASS(Name, Base)                                    \
  class Name : public Base {                                         \
   public:                                                           \
    static const ObjClass& StaticClass();                            \
    const ObjClass& Class() const override { return StaticClass(); } \
  };

KS_GAEB_CLASS(KsGGAEB, KsGAEBObj)
KS_GAEB_CLASS(KsGPrjInfo, KsGAEBObj)
KS_GAEB_CLASS(KsGZusText, KsGAEBObj)
KS_GAEB_CLASS(KsGNAINFO, KsGAEBObj)
KS_GAEB_CLASS(KsGLVKatalog, KsGAEBObj)
KS_GAEB_CLASS(KsGLVKatInfo, KsGAEBObj)
KS_GAEB_CLASS(KsGVERGABE, KsGAEBObj)
KS_GAEB_CLASS(KsGVERGABEINFO, KsGAEBObj)
KS_GAEB_CLASS(KsGAG, KsGAEBObj)
KS_GAEB_CLASS(KsGADRESSE, KsGAEBObj)
KS_GAEB_CLASS(KsGAN, KsGAEBObj)
KS_GAEB_CLASS(KsGLV, KsGAEBObj)
KS_GAEB_CLASS(KsGLVINFO, KsGAEBObj)
KS_GAEB_CLASS(KsGLVGLIED, KsGAEBObj)
KS_GAEB_CLASS(KsGHINWEIS, KsGAEBObj)
KS_GAEB_CLASS(KsGBESCHREIBUNG, KsGAEBObj)
KS_GAEB_CLASS(KsGSTLBBAU, KsGAEBObj)
KS_GAEB_CLASS(KsGAUSFBESCHR, KsGAEBObj)
KS_GAEB_CLASS(KsGLOSGR, KsGAEBObj)
KS_GAEB_CLASS(KsGZUSCHLPOSITION, KsGAEBObj)
KS_GAEB_CLASS(KsGUNTERBESCHR, KsGAEBObj)
KS_GAEB_CLASS(KsGINSTHALTINFO, KsGAEBObj)
KS_GAEB_CLASS(KsGRAHMVERTRINFO, KsGAEBObj)
KS_GAEB_CLASS(KsGBEDARFSTRAEGER, KsGAEBObj)
KS_GAEB_CLASS(KsGAUSFORT, KsGAEBObj)
KS_GAEB_CLASS(KsGBENACHORT, KsGAEBObj)
KS_GAEB_CLASS(KsGMengensplit, KsGAEBObj)
KS_GAEB_CLASS(KsGAufmass, KsGAEBObj)

KS_GAEB_CLASS(KsGZusTextList, KsGAEBObjList)
KS_GAEB_CLASS(KsGHINWEISList, KsGAEBObjList)
KS_GAEB_CLASS(KsGAUSFBESCHRList, KsGAEBObjList)
KS_GAEB_CLASS(KsGLVBEREICHList, KsGAEBObjList)
KS_GAEB_CLASS(KsGPOSITIONList, KsGAEBObjList)
KS_GAEB_CLASS(KsGZUSCHLPOSITIONList, KsGAEBObjList)
KS_GAEB_CLASS(KsGUNTERBESCHRList, KsGAEBObjList)
KS_GAEB_CLASS(KsGLVGliedList, KsGAEBObjList)
KS_GAEB_CLASS(KsGBESCHREIBUNGList, KsGAEBObjList)
KS_GAEB_CLASS(KsGBEDARFSTRAEGERList, KsGAEBObjList)
KS_GAEB_CLASS(KsGAUSFORTList, KsGAEBObjList)
KS_GAEB_CLASS(KsGBENACHORTList, KsGAEBObjList)
KS_GAEB_CLASS(KsGMengensplitList, KsGAEBObjList)
KS_GAEB_CLASS(KsGAufmassList, KsGAEBObjList)

#undef KS_GAEB_CLASS

// An LV area answers the amount column "GB" with its sum.
class KsGLVBEREICH : public KsGTitPosBase {
 public:
  static const ObjClass& StaticClass();
  const ObjClass& Class() const override { return StaticClass(); }
  KsMember& GetMember(const std::string& name) override;
};

// A position derives its short text and its type after reading.
// The file information holds a member for every field from its creation: the
// stamp of a submission writes its date and time whether the tender gave them
// or not.
class KsGGAEBInfo : public KsGAEBObj {
 public:
  static const ObjClass& StaticClass();
  const ObjClass& Class() const override { return StaticClass(); }
  void Create(KsCustomObj* owner, const KsParams& params, DbConnection* db) override;
};

class KsGPOSITION : public KsGTitPosBase {
 public:
  static const ObjClass& StaticClass();
  const ObjClass& Class() const override { return StaticClass(); }
  void ReadBody() override;
  // BEZ := the short text (at most 255 characters); _TARVO_POSTYP := "N",
  // "A" when ZZLFDNR > 0, "B" when BEDARF is "M", "AB" when it is "E" (the
  // later test wins). A member the descriptor lacks is left out.
  void DeriveDisplayFields();
};

// The root element GAEB of a tree read into `doc`; null when its class is not
// registered.
std::unique_ptr<KsGGAEB> NewGaebRoot(GaebDocument* doc);
