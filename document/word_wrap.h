#pragma once

#include <string>
#include <vector>

// Breaks one line of monospaced text (without line breaks) into lines of at
// most `width` characters, at the last blank that fits. The first `indent`
// characters of the line (a prefix such as the OZ) are never broken, and
// every continuation line starts with `indent` blanks; a word longer than a
// line is split. Blanks at a break are dropped.
std::vector<std::string> WrapLine(const std::string& line, int width, int indent);
