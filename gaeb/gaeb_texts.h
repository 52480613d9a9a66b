#pragma once

#include <string>
#include <string_view>

class KsGAEBObj;
class KsGAEBObjList;

// Texts of elements as the window and the offer print show them.

// Short text of a position or area: its KURZTEXT, else its LANGTEXT, as plain
// text; longer than maxLength it is cut and ended with "...".
std::string ShortText(const KsGAEBObj& element, int maxLength);
// LANGTEXT of a position as plain text.
std::string LongText(const KsGAEBObj& position);
// The same, where the tree holds it when it is plain already (as most are),
// else made in `held`; valid while both are and the text is not changed.
std::string_view LongTextView(const KsGAEBObj& position, std::string& held);
// The notes (HINWEIS) and execution descriptions (AUSFBESCHR) of an area.
std::string AreaLongText(const KsGAEBObj& area);
// Layout of the numbering (OZ) from the LVGLIED entries, e.g. "1122PPPPX".
std::string OZMask(const KsGAEBObjList* lvGlieder);
// Additional texts (ZUSTEXT) with their external data lines.
std::string ZusTextSummary(const KsGAEBObjList* zusTexte);
// LV areas and positions below an LV or area.
int CountItems(const KsGAEBObj& element);
