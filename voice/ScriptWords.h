#pragma once

#include <string>
#include <string_view>
#include <vector>

// The words of a script as the recogniser hears them: lower case, numbers
// spelt out, common abbreviations written in full, hyphenated words split,
// punctuation gone. Each keeps the script line it stands on.

struct ScriptWord {
    std::string text; // lower case, letters and inner apostrophes only
    int line = 0;     // the script line, from 0
};

// The spoken words of one piece of text, in order.
std::vector<std::string> SpokenWords(std::string_view text);

// The spoken words of a run's script: lines each followed by CR LF (or LF).
std::vector<ScriptWord> ScriptWordsOf(std::string_view scriptText);

// Where each word's moment falls within its line, in lines from the line's
// top: the middle of the line's k-th of n equal shares. The run keeps that
// point of the line at the reading place while the word is spoken.
std::vector<double> WordMomentsInLines(const std::vector<ScriptWord>& words);
