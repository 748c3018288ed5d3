#pragma once

#include <set>
#include <string>
#include <vector>

// What the decoder is told about a script: the pronunciation of each of its
// words, and a grammar of its word sequence that keeps the decoder to the
// script as it is read.

// Dictionary lines ("word PH PH ...", variants as "word(2) ...") for every
// distinct word: the model dictionary's where it has the word, espeak-ng's
// otherwise. A word neither can pronounce is left out; so are words the
// model cannot hold.
std::string ScriptDictionary(const std::vector<std::string>& words,
                             const std::string& modelDictionaryPath);

// The words a dictionary from ScriptDictionary can pronounce.
std::set<std::string> DictionaryWords(const std::string& dictionary);

// A finite-state grammar in pocketsphinx's text form: an utterance begins at
// any word and ends after any, saying the script's words in order, one of
// them now and then left out. Speech off the script is taken by a loop over
// the pronounceable words in any order, mostly those of words, which places
// nowhere and from which the script may go on. words may be a stretch of the
// script. Words the dictionary lacks are passed over silently.
std::string ScriptGrammar(const std::vector<std::string>& words,
                          const std::set<std::string>& pronounceable);
