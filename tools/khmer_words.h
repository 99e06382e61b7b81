#pragma once

// Khmer words for the sample texts: real words of the language (and of the
// Bible) in the legacy Khmer font encoding, so that sample texts read as
// Khmer in the legacy fonts or their stand-ins.

#include <string>
#include <utility>
#include <vector>

namespace sample {

// The words, in no order.
const std::vector<std::string> &khmerWords();

// Short phrases with the encoding's digits, punctuation and rarer signs.
const std::vector<std::string> &khmerPhrases();

// Pairs of bytes that stand for the same sign (a vowel drawn lower or more
// to the side for letters of some shapes): either may stand in a word.
const std::vector<std::pair<char, char>> &sameGlyphs();

} // namespace sample
