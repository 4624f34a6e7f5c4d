#include "support/cfile.h"

#include "platform/filesystem.h"

#include <QDir>

namespace tavil::support {

namespace {

// The program's dates carry whole seconds: a stored time with a fraction
// would never compare equal to the same second typed by the user.
QDateTime wholeSeconds(const QDateTime& value)
{
    if (!value.isValid())
        return value;
    return value.addMSecs(-value.time().msec());
}

// Blanks only, as the program has always trimmed folder texts; tabs or line
// breaks are part of a (strange) name.
QString trimBlanks(const QString& text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text.at(from) == u' ')
        ++from;
    while (to > from && text.at(to - 1) == u' ')
        --to;
    return text.mid(from, to - from);
}

} // namespace

bool cFile::GetFileTimeStamp(const QString& strFileName, QDateTime& creation,
                             QDateTime& lastAccess, QDateTime& lastWrite)
{
    creation = lastAccess = lastWrite = QDateTime();
    platform::FileTimes times;
    if (strFileName.isEmpty() || !m_fs.readTimes(strFileName, &times).ok())
        return false;
    // Without the last-write and last-access times there is nothing a caller
    // may compare or copy, so that counts as a failure; an unknown creation
    // time (file systems without a birth time) does not.
    if (!times.lastWrite.isValid() || !times.lastAccess.isValid())
        return false;
    creation = wholeSeconds(times.creation);
    lastAccess = wholeSeconds(times.lastAccess);
    lastWrite = wholeSeconds(times.lastWrite);
    return true;
}

bool cFile::SetFileTimeStamp(const QString& strFileName, const QDateTime& dteCreateTime,
                             const QDateTime& dteAccessTime, const QDateTime& dteWriteTime)
{
    if (strFileName.isEmpty())
        return false;
    // Only what could be opened for writing gets new times: a regular file
    // (or a link to one) that is not read-only. A read-only file keeps its
    // times, whoever runs the program.
    const platform::FileInfo info = m_fs.stat(strFileName);
    if (!info.exists || info.isDir || !(info.isRegular || info.isSymlink))
        return false;
    quint32 attrs = 0;
    if (!m_fs.readAttributes(strFileName, &attrs).ok())
        return false;
    if (attrs & (platform::Attr::ReadOnly | platform::Attr::Directory))
        return false;
    return m_fs
        .writeTimes(strFileName, wholeSeconds(dteCreateTime), wholeSeconds(dteAccessTime),
                    wholeSeconds(dteWriteTime))
        .ok();
}

bool cFile::CheckExistFile(const QString& strTargetFileName)
{
    return !strTargetFileName.isEmpty() && m_fs.exists(strTargetFileName);
}

QString cFile::RemoveDirSep(const QString& strDstDir)
{
    QString dir = trimBlanks(strDstDir);
    if (dir.endsWith(u'/'))
        dir.chop(1);
    // The root keeps its separator: "/" stays "/", and an empty text means it.
    if (dir.isEmpty())
        dir = QStringLiteral("/");
    return dir;
}

QString cFile::AttribString(const QString& strFileName)
{
    quint32 attrs = 0;
    if (strFileName.isEmpty() || !m_fs.readAttributes(strFileName, &attrs).ok())
        return {}; // unknown, which "----" (no attributes) would hide
    QString text;
    text += (attrs & platform::Attr::ReadOnly) ? u'r' : u'-';
    text += (attrs & platform::Attr::System) ? u's' : u'-';
    text += (attrs & platform::Attr::Hidden) ? u'h' : u'-';
    text += (attrs & platform::Attr::Archive) ? u'a' : u'-';
    return text;
}

QString cFile::FullPathName(const QString& strPathName)
{
    if (strPathName.isEmpty())
        return strPathName;
    QString full = QDir::cleanPath(QDir::current().absoluteFilePath(strPathName));
    if (full.isEmpty())
        return strPathName;
    // A folder text keeps its closing separator.
    if (strPathName.endsWith(u'/') && !full.endsWith(u'/'))
        full += u'/';
    return full;
}

bool cFile::ExtractName(const QString& strFileName, QString& strName, QString& strExtension)
{
    strExtension.clear();
    if (strFileName == QLatin1String("..")) {
        strName = strFileName;
        return false;
    }
    const qsizetype dot = strFileName.lastIndexOf(u'.');
    if (dot < 0) {
        strName = strFileName;
        return false;
    }
    strName = strFileName.left(dot);
    strExtension = strFileName.mid(dot + 1);
    return true;
}

QString cFile::GetLongPathName(const QString& strPathName)
{
    const QString trimmed = trimBlanks(strPathName);
    if (trimmed.isEmpty())
        return trimmed;
    // Names on this system have one form only, so the long form of a path is
    // its cleaned absolute form, cut before the first part that does not
    // exist.
    const QString full = QDir::cleanPath(QDir::current().absoluteFilePath(trimmed));
    const QStringList parts = full.split(u'/', Qt::SkipEmptyParts);
    QString result;
    for (const QString& part : parts) {
        const QString next = result + u'/' + part;
        if (!m_fs.exists(next))
            break;
        result = next;
    }
    return result.isEmpty() ? QStringLiteral("/") : result;
}

QDateTime cFile::DosDateTimeToVBDate(qint32 lngDosDate, qint32 lngDosTime)
{
    // The packed form: date = year-1980 (7 bits) | month (4) | day (5),
    // time = hour (5) | minute (6) | seconds / 2 (5). Only the low 16 bits
    // count. Out-of-range fields give an invalid date, never a made-up one.
    const int day = lngDosDate & 0x1F;
    const int month = (lngDosDate >> 5) & 0x0F;
    const int year = 1980 + ((lngDosDate >> 9) & 0x7F);
    const int second = (lngDosTime & 0x1F) * 2;
    const int minute = (lngDosTime >> 5) & 0x3F;
    const int hour = (lngDosTime >> 11) & 0x1F;
    const QDate date(year, month, day);
    if (!date.isValid() || hour > 23 || minute > 59 || second > 59)
        return {};
    return QDateTime(date, QTime(hour, minute, second));
}

} // namespace tavil::support
