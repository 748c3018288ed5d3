#pragma once

#include <optional>

// The paragraphs of the captured script. A paragraph begins at the first
// line and at every line with text that follows a blank line (one holding
// nothing but spaces and tabs), so several blank lines in a row part two
// paragraphs once. Only the first `known` lines are looked at.

// The first line of the nearest paragraph that begins after line.
std::optional<int> NextParagraphStart(int line, int known);

// The first line of the nearest paragraph that begins before line.
std::optional<int> PreviousParagraphStart(int line, int known);
