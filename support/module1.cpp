#include "support/module1.h"

namespace tavil::support::Module1 {

int GetDotPos(const QString& name)
{
    return static_cast<int>(name.lastIndexOf(u'.')) + 1;
}

QString GetBaseName(const QString& name)
{
    const int pos = GetDotPos(name);
    return pos >= 1 ? name.left(pos - 1) : name;
}

QString GetExtName(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot + 1);
}

void ReplaceStr(QString& text, const QString& search, const QString& replacement)
{
    if (search.isEmpty())
        return; // would match at every position without end
    qsizetype from = 0;
    while (true) {
        const qsizetype at = text.indexOf(search, from);
        if (at < 0)
            return;
        text.replace(at, search.size(), replacement);
        from = at + replacement.size();
    }
}

} // namespace tavil::support::Module1
