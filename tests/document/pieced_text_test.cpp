#include "document/pieced_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>

namespace {

// A text of `size` bytes that shows where each byte stood.
std::string Numbered(size_t size, char salt) {
  std::string text(size, ' ');
  for (size_t i = 0; i < size; ++i) text[i] = static_cast<char>('a' + (i * 7 + salt) % 26);
  return text;
}

// Long texts keep every byte in order across pieces; a part longer than a
// piece is kept whole; the stream's single characters and writes land alike.
TEST(PiecedText, KeepsEveryByteInOrder) {
  const std::string whole = Numbered(2'500'000, 1);
  PiecedText text;
  for (size_t at = 0; at < whole.size();) {
    const size_t part = std::min<size_t>(whole.size() - at, 1 + at % 4093);
    text.Append(whole.data() + at, part);
    at += part;
  }
  EXPECT_EQ(text.Size(), whole.size());
  EXPECT_EQ(text.Pieces().size(), 3u);
  EXPECT_EQ(text.Joined(), whole);

  PiecedText big;
  const std::string large = Numbered(3'000'000, 2);
  big.Append("<", 1);
  big.Append(large.data(), large.size());
  PiecedTextStream(big) << '>' << 42 << std::string("\r\n");
  EXPECT_EQ(big.Joined(), "<" + large + ">42\r\n");
}

// Cleared, the text is made again in the room it had: a shorter text leaves
// nothing of the longer one, a longer one gets more room.
TEST(PiecedText, ClearedItTakesTheNextTextInItsRoom) {
  PiecedText text;
  const std::string first = Numbered(2'200'000, 3);
  text.Append(first.data(), first.size());
  const char* room = text.Pieces()[0].data();
  text.Clear();
  EXPECT_EQ(text.Size(), 0u);
  EXPECT_TRUE(text.Pieces().empty());
  EXPECT_EQ(text.Joined(), "");

  text.Append("kurz", 4);
  EXPECT_EQ(text.Pieces()[0].data(), room);
  EXPECT_EQ(text.Joined(), "kurz");

  text.Clear();
  const std::string second = Numbered(4'500'000, 4);
  for (size_t at = 0; at < second.size(); at += 500'000) text.Append(second.data() + at, 500'000);
  EXPECT_EQ(text.Joined(), second);

  PiecedText moved = std::move(text);
  EXPECT_EQ(moved.Joined(), second);
  EXPECT_EQ(text.Size(), 0u);  // NOLINT(bugprone-use-after-move): empty, and usable
  text.Append("neu", 3);
  EXPECT_EQ(text.Joined(), "neu");
}

}  // namespace
