#include "platform/names.h"

#include "platform/fsname.h"

namespace tavil::platform {

QString diskName(const QString& name)
{
    qsizetype end = name.size();
    while (end > 0 && (name[end - 1] == u'.' || name[end - 1] == u' '))
        --end;
    return name.left(end);
}

NameVerdict checkNewName(QStringView name)
{
    bool surrogates = false;
    for (const QChar c : name) {
        if (c == u'/' || c.unicode() < 0x20 || c.unicode() == 0x7f)
            return NameVerdict::Bad;
        surrogates = surrogates || c.isSurrogate();
    }
    // Half a character (an edit that cut a pair apart) has no bytes on disk.
    if (surrogates && hasBrokenCharacter(name))
        return NameVerdict::Bad;
    qsizetype end = name.size();
    while (end > 0 && (name[end - 1] == u'.' || name[end - 1] == u' '))
        --end;
    const QStringView onDisk = name.left(end);
    if (onDisk.isEmpty() || onDisk == u"." || onDisk == u"..")
        return NameVerdict::LeaveAlone;
    return NameVerdict::Ok;
}

QString visibleName(const QString& name)
{
    const auto hex = [](uint value, int width) {
        return QStringLiteral("%1").arg(value, width, 16, QLatin1Char('0')).toUpper();
    };
    QString out;
    out.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (c < 0x20) {
            out += QChar(char16_t(0x2400 + c));
        } else if (c == 0x7F) {
            out += QChar(char16_t(0x2421));
        } else if (isEscapedByte(c)) {
            out += QStringLiteral("\\x") + hex(uint(c - kEscapedByteFirst + 0x80), 2);
        } else if (QChar::isHighSurrogate(c) && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            out += name[i];
            out += name[++i];
        } else if (QChar::isSurrogate(c)) {
            out += QStringLiteral("\\u") + hex(c, 4);
        } else {
            out += name[i];
        }
    }
    return out;
}

QString joinPath(const QString& folder, const QString& name)
{
    return withTrailingSeparator(folder) + name;
}

QString withTrailingSeparator(const QString& folder)
{
    if (folder.endsWith(u'/'))
        return folder;
    return folder + u'/';
}

} // namespace tavil::platform
