#include "gaeb/gaeb_elements.h"

#include "gaeb/gaeb_classes.h"

#define KS_ELEMENT_CLASS(Name, Base)                                           \
  const ObjClass& Name::StaticClass() {                                        \
    static const ObjClassOf<Name, GaebClass> cls(#Name, &Base::StaticClass()); \
    return cls;                                                                \
  }
#define KS_LIST_CLASS(Name)                                                                 \
  const ObjClass& Name::StaticClass() {                                                     \
    static const ObjClassOf<Name, GaebListClass> cls(#Name, &KsGAEBObjList::StaticClass()); \
    return cls;                                                                             \
  }

KS_ELEMENT_CLASS(KsGGAEB, KsGAEBObj)
KS_ELEMENT_CLASS(KsGGAEBInfo, KsGAEBObj)

void KsGGAEBInfo::Create(KsCustomObj* owner, const KsParams& params, DbConnection* db) {
  KsGAEBObj::Create(owner, params, db);
  Members.MakeAll();
}
KS_ELEMENT_CLASS(KsGPrjInfo, KsGAEBObj)
KS_ELEMENT_CLASS(KsGZusText, KsGAEBObj)
KS_ELEMENT_CLASS(KsGNAINFO, KsGAEBObj)
KS_ELEMENT_CLASS(KsGLVKatalog, KsGAEBObj)
KS_ELEMENT_CLASS(KsGLVKatInfo, KsGAEBObj)
KS_ELEMENT_CLASS(KsGVERGABE, KsGAEBObj)
KS_ELEMENT_CLASS(KsGVERGABEINFO, KsGAEBObj)
KS_ELEMENT_CLASS(KsGAG, KsGAEBObj)
KS_ELEMENT_CLASS(KsGADRESSE, KsGAEBObj)
KS_ELEMENT_CLASS(KsGAN, KsGAEBObj)
KS_ELEMENT_CLASS(KsGLV, KsGAEBObj)
KS_ELEMENT_CLASS(KsGLVINFO, KsGAEBObj)
KS_ELEMENT_CLASS(KsGLVGLIED, KsGAEBObj)
KS_ELEMENT_CLASS(KsGHINWEIS, KsGAEBObj)
KS_ELEMENT_CLASS(KsGBESCHREIBUNG, KsGAEBObj)
KS_ELEMENT_CLASS(KsGSTLBBAU, KsGAEBObj)
KS_ELEMENT_CLASS(KsGAUSFBESCHR, KsGAEBObj)
KS_ELEMENT_CLASS(KsGLOSGR, KsGAEBObj)
KS_ELEMENT_CLASS(KsGLVBEREICH, KsGTitPosBase)
KS_ELEMENT_CLASS(KsGPOSITION, KsGTitPosBase)
KS_ELEMENT_CLASS(KsGZUSCHLPOSITION, KsGAEBObj)
KS_ELEMENT_CLASS(KsGUNTERBESCHR, KsGAEBObj)
KS_ELEMENT_CLASS(KsGINSTHALTINFO, KsGAEBObj)
KS_ELEMENT_CLASS(KsGRAHMVERTRINFO, KsGAEBObj)
KS_ELEMENT_CLASS(KsGBEDARFSTRAEGER, KsGAEBObj)
KS_ELEMENT_CLASS(KsGAUSFORT, KsGAEBObj)
KS_ELEMENT_CLASS(KsGBENACHORT, KsGAEBObj)
KS_ELEMENT_CLASS(KsGMengensplit, KsGAEBObj)
KS_ELEMENT_CLASS(KsGAufmass, KsGAEBObj)

KS_LIST_CLASS(KsGZusTextList)
KS_LIST_CLASS(KsGHINWEISList)
KS_LIST_CLASS(KsGAUSFBESCHRList)
KS_LIST_CLASS(KsGLVBEREICHList)
KS_LIST_CLASS(KsGPOSITIONList)
KS_LIST_CLASS(KsGZUSCHLPOSITIONList)
KS_LIST_CLASS(KsGUNTERBESCHRList)
KS_LIST_CLASS(KsGLVGliedList)
KS_LIST_CLASS(KsGBESCHREIBUNGList)
KS_LIST_CLASS(KsGBEDARFSTRAEGERList)
KS_LIST_CLASS(KsGAUSFORTList)
KS_LIST_CLASS(KsGBENACHORTList)
KS_LIST_CLASS(KsGMengensplitList)
KS_LIST_CLASS(KsGAufmassList)

#undef KS_ELEMENT_CLASS
#undef KS_LIST_CLASS

KsMember& KsGLVBEREICH::GetMember(const std::string& name) {
  return KsGAEBObj::GetMember(name == "GB" ? std::string("SUMME") : name);
}

const KsObjClasses& GaebClasses() {
  static const KsObjClasses registry = [] {
    KsObjClasses r;
    const std::pair<const char*, const ObjClass&> entries[] = {
        {"GAEB", KsGGAEB::StaticClass()},
        {"GAEBINFO", KsGGAEBInfo::StaticClass()},
        {"PRJINFO", KsGPrjInfo::StaticClass()},
        {"ZUSTEXT", KsGZusText::StaticClass()},
        {"NAINFO", KsGNAINFO::StaticClass()},
        {"LVKATALOG", KsGLVKatalog::StaticClass()},
        {"LVKATINFO", KsGLVKatInfo::StaticClass()},
        {"VERGABE", KsGVERGABE::StaticClass()},
        {"VERGABEINFO", KsGVERGABEINFO::StaticClass()},
        {"AG", KsGAG::StaticClass()},
        {"ADRESSE", KsGADRESSE::StaticClass()},
        {"AN", KsGAN::StaticClass()},
        {"LV", KsGLV::StaticClass()},
        {"LVINFO", KsGLVINFO::StaticClass()},
        {"LVGLIED", KsGLVGLIED::StaticClass()},
        {"HINWEIS", KsGHINWEIS::StaticClass()},
        {"BESCHREIBUNG", KsGBESCHREIBUNG::StaticClass()},
        {"STLBBAU", KsGSTLBBAU::StaticClass()},
        {"AUSFBESCHR", KsGAUSFBESCHR::StaticClass()},
        {"LOSGR", KsGLOSGR::StaticClass()},
        {"LVBEREICH", KsGLVBEREICH::StaticClass()},
        {"POSITION", KsGPOSITION::StaticClass()},
        {"ZUSCHLPOSITION", KsGZUSCHLPOSITION::StaticClass()},
        {"UNTERBESCHR", KsGUNTERBESCHR::StaticClass()},
        {"INSTHALTINFO", KsGINSTHALTINFO::StaticClass()},
        {"RAHMVERTRINFO", KsGRAHMVERTRINFO::StaticClass()},
        {"BEDARFSTRAEGER", KsGBEDARFSTRAEGER::StaticClass()},
        {"AUSFORT", KsGAUSFORT::StaticClass()},
        {"BENACHORT", KsGBENACHORT::StaticClass()},
        {"MENGENSPLIT", KsGMengensplit::StaticClass()},
        {"AUFMASS", KsGAufmass::StaticClass()},
        {"ZusTextList", KsGZusTextList::StaticClass()},
        {"HINWEISList", KsGHINWEISList::StaticClass()},
        {"AUSFBESCHRList", KsGAUSFBESCHRList::StaticClass()},
        {"LVBEREICHList", KsGLVBEREICHList::StaticClass()},
        {"POSITIONList", KsGPOSITIONList::StaticClass()},
        {"ZUSCHLPOSITIONList", KsGZUSCHLPOSITIONList::StaticClass()},
        {"UNTERBESCHRList", KsGUNTERBESCHRList::StaticClass()},
        {"LVGliedList", KsGLVGliedList::StaticClass()},
        {"BESCHREIBUNGList", KsGBESCHREIBUNGList::StaticClass()},
        {"BEDARFSTRAEGERList", KsGBEDARFSTRAEGERList::StaticClass()},
        {"AUSFORTList", KsGAUSFORTList::StaticClass()},
        {"BENACHORTList", KsGBENACHORTList::StaticClass()},
        {"MENGENSPLITList", KsGMengensplitList::StaticClass()},
        {"AUFMASSList", KsGAufmassList::StaticClass()},
    };
    for (const auto& [key, cls] : entries) r.AddClassType(std::string("GAEB") + key, &cls);
    return r;
  }();
  return registry;
}

std::unique_ptr<KsGGAEB> NewGaebRoot(GaebDocument* doc) {
  std::unique_ptr<KsCustomObj> created(
      GaebClasses().CreateObj("GAEBGAEB", nullptr, ImportParams(doc), nullptr));
  auto* root = dynamic_cast<KsGGAEB*>(created.get());
  if (root) created.release();
  return std::unique_ptr<KsGGAEB>(root);
}
