#pragma once

#include <cstddef>
#include <string>

class KsMember;

// A member's value in a whole copy of its object (KsCustomObj::SaveWholeToXML),
// appended straight to the copy's text so that a tree of many thousand
// elements is written without a string per value.

// How many texts the value gives: one per entry of a multi-line value, none
// without a value.
size_t WholeXmlTextCount(const KsMember& member);
// Appends text `i` (below the count): the entry untrimmed, a long text as a
// CDATA section; a value that is no text exactly, in its shortest
// round-trip form (its kind is KsMember::WholeXmlKind).
void AppendWholeXmlText(std::string& out, const KsMember& member, size_t i);
