#pragma once

class KsLyxObj;
class QWidget;

// "Druckvorschau": the offer print in Qt's preview dialog, from which it is
// printed (with the page range of the print dialog). Refused as printing is
// without a tender; a table too wide for portrait pages starts in landscape.
void PreviewOfferCommand(KsLyxObj& document, bool longTexts, QWidget* parent);
