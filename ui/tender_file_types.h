#pragma once

#include <QString>

// The files the window opens: tenders (D83, P83, X83, GAEB 90 D81) and the
// offers it wrote (D84, P84, X84), by extension in either case.

// The open dialog's filters, the first (the default) showing every one of them.
QString OpenFileFilter();
// Whether the name ends in an extension the window opens.
bool IsOpenableFileName(const QString& path);
// Whether the file is an offer (D84, P84, X84) rather than a tender.
bool IsOfferFileName(const QString& path);
