#pragma once

#include <string>
#include <vector>

// What the decoder is told about a script: the pronunciation of each of its
// words, and a trigram model of its word sequence that keeps the decoder to
// the script's own phrases.

// Dictionary lines ("word PH PH ...", variants as "word(2) ...") for every
// distinct word: the model dictionary's where it has the word, espeak-ng's
// otherwise. A word neither can pronounce is left out; so are words the
// model cannot hold.
std::string ScriptDictionary(const std::vector<std::string>& words,
                             const std::string& modelDictionaryPath);

// A trigram model of the words in ARPA text form. Its probabilities come
// straight from the script's counts with a fixed share kept for backing
// off; utterances may begin and end at any word.
std::string ScriptLanguageModel(const std::vector<std::string>& words);
