#pragma once

#include <QString>
#include <QStringView>

#include <vector>

namespace tavil::support {

// The file list's pattern: one or more wildcard patterns separated by ";",
// a name shown when it matches any of them. The rules are those users know
// from the old file dialogs:
// - letter case does not matter;
// - "*" stands for any run of characters, "?" for exactly one character
//   (a character as the user sees it: a surrogate pair, or a byte of a name
//   that is not UTF-8, is one);
// - a closing ".*" may also match nothing, so "*.*" matches "README" and
//   "a.*" matches "a";
// - a closing "." asks for a name without an extension: "*." matches "a"
//   but not "a.b";
// - blanks around a pattern are not part of it, and an empty pattern (the
//   whole text, or between two ";") adds nothing; a text without any
//   pattern matches every name.
// Only bare names are matched, never paths.
bool matchesPattern(QStringView pattern, QStringView name);

// The same rules with the pattern read once, for matching a whole folder.
class FilePattern {
public:
    explicit FilePattern(QStringView pattern = u"*.*");

    bool matches(QStringView name) const;
    // True when every name matches (so a list need not be filtered).
    bool matchesEverything() const { return m_everything; }

private:
    struct Part {
        std::vector<char32_t> glob;     // case-folded, with the wildcards as kStar and kOne
        std::vector<char32_t> bareGlob; // a closing ".*" taken off (empty: none was there)
        bool hasBareGlob = false;
        bool noExtension = false;       // a closing "." was taken off
    };
    static bool globMatches(const std::vector<char32_t>& glob, QStringView name);

    std::vector<Part> m_parts;
    bool m_everything = false;
};

} // namespace tavil::support
