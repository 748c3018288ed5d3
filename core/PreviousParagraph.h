#pragma once

#include <chrono>
#include <optional>

// Page Up as a media player's "previous": pressed soon after the line being
// read came to a paragraph's first line, by a jump or by moving, it goes to
// the paragraph before that one; later it goes back to the first line of
// the paragraph being read, as it always has. So Page Up right after Page
// Down, or right after a paragraph begins on a moving run, does not land on
// the paragraph just reached.
inline constexpr std::chrono::milliseconds kJustCameTo{2000};

// The paragraph the line being read last came to at its first line, and when.
struct ParagraphArrival {
    int start = 0;
    std::chrono::steady_clock::time_point at;
};

// The line Page Up goes to from line, among the first known lines, at now,
// with the paragraph last come to: none where there is nothing before.
std::optional<int> PreviousParagraphTarget(int line, int known,
                                           const std::optional<ParagraphArrival>& arrival,
                                           std::chrono::steady_clock::time_point now);

// Takes note of the line being read after a step moved the text, or after
// a jump: come to a paragraph's first line (a jump's line, even the one it
// was on), it is that paragraph's arrival.
void NoteLineRead(bool afterJump = false);
