#pragma once

#include <optional>

// The paragraphs of the captured script. A paragraph begins at the first
// line and at every line with text that follows a blank line (one holding
// nothing but spaces and tabs), so several blank lines in a row part two
// paragraphs once. Only the first `known` lines are looked at. Paragraphs
// are numbered from 1, as the operator types them (story numbers); a blank
// line belongs to the paragraph before it.

// Whether line is the first line of a paragraph.
bool BeginsParagraph(int line);

// The first line of the nearest paragraph that begins after line.
std::optional<int> NextParagraphStart(int line, int known);

// The first line of the nearest paragraph that begins before line.
std::optional<int> PreviousParagraphStart(int line, int known);

// The first line of the paragraph that holds line: line itself when it
// begins one.
std::optional<int> ParagraphStartHolding(int line, int known);

// The paragraphs that begin in the first known lines.
int ParagraphCount(int known);

// The number of the paragraph that holds line, from 1; 0 for a line before
// the first.
int ParagraphNumber(int line, int known);

// The first line of paragraph number, from 1; none for 0, a negative number
// or one past the last.
std::optional<int> ParagraphStart(int number, int known);
