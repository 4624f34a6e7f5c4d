#include "engine/fnameconv.h"

#include "engine/operation.h"
#include "engine/runcontext.h"
#include "platform/names.h"
#include "support/jamap.h"
#include "support/module1.h"

namespace tavil::engine {

namespace M1 = support::Module1;
using support::JaMapping;
using support::jaMapString;

namespace {

QString upper(const QString& text)
{
    return jaMapString(text, JaMapping::UpperCase);
}

QString lower(const QString& text)
{
    return jaMapString(text, JaMapping::LowerCase);
}

// Step 1. "First letter upper" takes the first character whole, a surrogate
// pair included; an empty base name has no first letter and stays empty.
QString convertNameCase(const QString& base, int nameCase)
{
    switch (nameCase) {
    case 0: {
        if (base.isEmpty())
            return base;
        const qsizetype first = (base.size() > 1 && base[0].isHighSurrogate() && base[1].isLowSurrogate()) ? 2 : 1;
        return upper(base.left(first)) + lower(base.mid(first));
    }
    case 1:
        return upper(base);
    case 2:
        return lower(base);
    default:
        return base;
    }
}

// The ranges that the kana-only and the letters-and-digits-only conversions
// take in, given as the characters of those code-page-932 ranges.
bool isFullKatakana(char16_t c) // 0x8340-0x8396: ァ to ヶ
{
    return c >= 0x30A1 && c <= 0x30F6;
}

bool isHalfKatakana(char16_t c) // 0xA6-0xDD: ｦ to ﾝ; the marks and ｡｢｣､･ are outside
{
    return c >= 0xFF66 && c <= 0xFF9D;
}

bool isFullAlnum(char16_t c) // 0x824F-0x829A: ０-９, Ａ-Ｚ, ａ-ｚ (the gaps are unassigned)
{
    return (c >= 0xFF10 && c <= 0xFF19) || (c >= 0xFF21 && c <= 0xFF3A) || (c >= 0xFF41 && c <= 0xFF5A);
}

bool isHalfAlnum(char16_t c) // 48-122: "0" to "z", the signs between them included
{
    return c >= 0x30 && c <= 0x7A;
}

QString convertEach(const QString& text, bool (*inRange)(char16_t), JaMapping mapping)
{
    QString out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        if (inRange(ch.unicode()))
            out.append(jaMapString(QString(ch), mapping)); // a voiced letter may become two
        else
            out.append(ch);
    }
    return out;
}

// Step 3, on the base name only.
QString convertWidth(const QString& base, const FNameConvParams& p)
{
    const bool toHalf = p.WidthTarget == 0;
    if (p.WidthKana && p.WidthAlnum) {
        if (toHalf)
            return jaMapString(base, JaMapping::HalfWidth);
        return M1::JoinKanaMarks(jaMapString(base, JaMapping::FullWidth));
    }
    if (p.WidthKana) {
        if (toHalf)
            return convertEach(base, isFullKatakana, JaMapping::HalfWidth);
        // The letters are widened one by one; their marks are joined after.
        return M1::JoinKanaMarks(convertEach(base, isHalfKatakana, JaMapping::FullWidth));
    }
    if (p.WidthAlnum) {
        if (toHalf)
            return convertEach(base, isFullAlnum, JaMapping::HalfWidth);
        return convertEach(base, isHalfAlnum, JaMapping::FullWidth);
    }
    return base;
}

} // namespace

ConvertedName fnameConvNewName(const QString& oldName, const FNameConvParams& params)
{
    ConvertedName n{M1::GetBaseName(oldName), M1::GetExtName(oldName)};
    if (params.ConvertName)
        n.base = convertNameCase(n.base, params.NameCase);
    if (params.ConvertExtension) {
        if (params.ExtensionCase == 0)
            n.ext = upper(n.ext);
        else if (params.ExtensionCase == 1)
            n.ext = lower(n.ext);
    }
    if (params.ConvertWidth)
        n.base = convertWidth(n.base, params);
    if (params.ConvertKana) {
        if (params.KanaTarget == 0)
            n.base = jaMapString(n.base, JaMapping::Hiragana);
        else if (params.KanaTarget == 1)
            n.base = jaMapString(n.base, JaMapping::Katakana);
    }
    return n;
}

bool FNameConv(RunContext& ctx, const FNameConvParams& params)
{
    RenameSpec job;
    job.newName = [&ctx, &params](int, const QString& oldName) -> std::optional<NewName> {
        const ConvertedName c = fnameConvNewName(oldName, params);
        NewName n;
        n.name = c.base + u'.' + c.ext;
        // The clash message names the new base name and extension as the
        // file would carry them, without the lone "." of a name that has none.
        n.shown = c.ext.isEmpty() ? c.base : n.name;
        // A name that already held a control character and is left as it
        // was needs no renaming; any other unusable result (a "／" narrowed
        // to "/") is refused by the loop before the file is touched.
        if (ctx.outFolder.isEmpty() && platform::diskName(n.name) == oldName)
            return std::nullopt;
        return n;
    };
    return runRenameLoop(ctx, job);
}

} // namespace tavil::engine
