#pragma once

// Hidden members that keep how an element was identified in the GAEB DA XML
// file it was read from, so that the price submission can answer element by
// element: the element's ID, and for areas and positions the number part
// (RNoPart) and index (RNoIndex) exactly as the file wrote them. They are no
// grid columns and stay empty in trees read from GAEB 2000 files.
inline constexpr char kXmlIdMember[] = "_TARVO_XML_ID";
inline constexpr char kXmlRNoPartMember[] = "_TARVO_XML_RNOPART";
inline constexpr char kXmlRNoIndexMember[] = "_TARVO_XML_RNOINDEX";
// The catalogue assignments of a position (CtlgAssign) as "CtlgID:CtlgCode",
// several parted by "; "; they find earlier prices of the same item.
inline constexpr char kXmlCatalogMember[] = "_TARVO_XML_CTLG";

// Positions also keep their bidder's text complements (text_complements.h).
// Appends the hidden fields to the descriptors of LV, LVBEREICH, POSITION,
// ZUSCHLPOSITION and HINWEIS (registering the catalogue first), so elements
// created afterwards carry them; elements created before keep their members.
// A second call changes nothing.
void AddXmlIdentityFields();
