#pragma once

class TFormLyx;

// At start: for every recovery file that a window which no longer runs left
// behind (each taken at once, so that no other window asks about it too),
// the question "Wiederherstellen", "Verwerfen" or "Später". Restoring shows
// the offer in `window`; the files not yet asked about then stay for the
// next start, as does one answered with "Später". "Verwerfen" removes it.
// True when an offer was restored.
bool AskAboutRecoveries(TFormLyx& window);
