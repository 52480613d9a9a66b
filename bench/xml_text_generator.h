#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A synthetic XML document in UTF-8 of about `bytes` bytes, shaped like a
// GAEB DA XML tender: a declaration and a small internal DTD (an entity and
// an attribute default), then items with attributes, short texts and long
// texts of several lines with umlauts, character and entity references, a
// CDATA section and a comment now and then. The same size and seed always
// give the same text.
std::string GenerateXmlText(size_t bytes, uint64_t seed = 0x786D6C);
