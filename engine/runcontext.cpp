#include "engine/runcontext.h"

#include <array>
#include <utility>

namespace tavil::engine {

namespace {
const std::array<std::pair<Tab, const char16_t*>, 8> kCaptions = {{
    {Tab::AddNum, u"連番付加"},
    {Tab::Kaku, u"拡張子"},
    {Tab::Edit, u"編集"},
    {Tab::Conv, u"a<->A"},
    {Tab::TimeStamp, u"ﾀｲﾑｽﾀﾝﾌﾟ"},
    {Tab::Attribute, u"属性"},
    {Tab::Import, u"ｲﾝﾎﾟｰﾄ"},
    {Tab::Copy, u"ｺﾋﾟｰ"},
}};
} // namespace

QString tabCaption(Tab tab)
{
    for (const auto& [t, caption] : kCaptions)
        if (t == tab)
            return QString::fromUtf16(caption);
    return {};
}

Tab tabFromCaption(const QString& caption)
{
    for (const auto& [t, text] : kCaptions)
        if (caption == QString::fromUtf16(text))
            return t;
    return Tab::Other;
}

} // namespace tavil::engine

namespace tavil::engine {

bool isUsableFolder(const QString& folder)
{
    return folder.startsWith(u'/');
}

} // namespace tavil::engine
