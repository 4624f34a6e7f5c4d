#pragma once

#include <QString>

namespace tavil::support {

// The text mappings of the Japanese locale that the case, width and kana
// conversion applies to a whole text.
enum class JaMapping {
    UpperCase, // simple per-character mapping: "ß" stays "ß", full-width ａ → Ａ
    LowerCase,
    HalfWidth, // full-width ASCII forms, U+3000, katakana (voiced ones become
               // letter + ﾞ/ﾟ) and 。「」、・ー゛゜ to their half-width forms
    FullWidth, // the reverse; a half-width letter followed by its mark joins
               // into one voiced letter, a mark left alone becomes ゛/゜
    Hiragana,  // full-width katakana to hiragana; half-width kana stay
    Katakana,  // hiragana to full-width katakana
};

QString jaMapString(const QString& text, JaMapping mapping);

} // namespace tavil::support
