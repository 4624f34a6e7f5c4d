#pragma once

#include <QString>

#include <string_view>

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

// Full-width katakana that have a voiced (or semi-voiced) form, and that
// form, position by position.
inline constexpr std::u16string_view kVoicedBase = u"ウカキクケコサシスセソタチツテトハヒフヘホ";
inline constexpr std::u16string_view kVoiced = u"ヴガギグゲゴザジズゼゾダヂヅデドバビブベボ";
inline constexpr std::u16string_view kSemiVoicedBase = u"ハヒフヘホ";
inline constexpr std::u16string_view kSemiVoiced = u"パピプペポ";
static_assert(kVoicedBase.size() == kVoiced.size());
static_assert(kSemiVoicedBase.size() == kSemiVoiced.size());

} // namespace tavil::support
