#include "support/classfile.h"

#include "platform/dialogs.h"
#include "platform/filesystem.h"

#include <QFileInfo>

#include <sys/stat.h>

namespace tavil::support {

using platform::Err;
using platform::FsStatus;

namespace {

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// "2003/03/31 09:05:07": the year as it is, every other part with two digits.
// An unknown time is an empty text, so two unknown times never read alike as
// a date would.
QString FileTimeToStr(const QDateTime& time)
{
    if (!time.isValid())
        return {};
    const QDate d = time.date();
    const QTime t = time.time();
    return QString::number(d.year()) + u'/' + twoDigits(d.month()) + u'/' + twoDigits(d.day())
        + u' ' + twoDigits(t.hour()) + u':' + twoDigits(t.minute()) + u':'
        + twoDigits(t.second());
}

// The shell dropped a copied or moved file into a folder given as target.
QString targetIn(platform::FileSystem& fs, const QString& from, const QString& to)
{
    if (to.isEmpty() || !fs.stat(to).isDir)
        return to;
    QString folder = to;
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder + QFileInfo(from).fileName();
}

// The folder that would hold a new entry of that path. "/." makes the device
// that of the folder a link points to, not that of the link.
QString holdingFolder(const QString& path)
{
    return QFileInfo(path).absolutePath() + QStringLiteral("/.");
}

} // namespace

bool classFile::requireEnabled()
{
    m_lastError = Enabled() ? Err::None : Err::NotFound;
    return m_lastError == Err::None;
}

bool classFile::Enabled()
{
    // openable() opens without blocking, so a FIFO cannot hang the caller.
    return !m_fileName.isEmpty() && m_fs.openable(m_fileName);
}

qint64 classFile::Size()
{
    if (!requireEnabled())
        return 0;
    return m_fs.stat(m_fileName).size;
}

void classFile::Execute()
{
    // Opening a file in its program needs the desktop's services, which live
    // above this library; nothing in the program opens files this way.
    requireEnabled();
}

namespace {

bool readFlag(platform::FileSystem& fs, const QString& path, quint32 bit, Err* err)
{
    quint32 attrs = 0;
    const FsStatus st = fs.readAttributes(path, &attrs);
    if (!st.ok()) {
        *err = st.err;
        return false;
    }
    return (attrs & bit) != 0;
}

// Reads the attributes, changes one bit and writes them back. Every failure
// is ignored: callers set attributes and go on, whatever happened.
void writeFlag(platform::FileSystem& fs, const QString& path, quint32 bit, bool value)
{
    if (path.isEmpty())
        return;
    quint32 attrs = 0;
    if (!fs.readAttributes(path, &attrs).ok())
        return;
    if (value && (attrs & bit))
        return; // already set: nothing to write
    const quint32 changed = value ? (attrs | bit) : (attrs & ~bit);
    if (changed == attrs)
        return;
    (void)fs.writeAttributes(path, changed & ~platform::Attr::Directory);
}

} // namespace

bool classFile::Archive()
{
    return requireEnabled() && readFlag(m_fs, m_fileName, platform::Attr::Archive, &m_lastError);
}

void classFile::setArchive(bool value)
{
    m_lastError = Err::None;
    writeFlag(m_fs, m_fileName, platform::Attr::Archive, value);
}

bool classFile::Hidden()
{
    return requireEnabled() && readFlag(m_fs, m_fileName, platform::Attr::Hidden, &m_lastError);
}

void classFile::setHidden(bool value)
{
    m_lastError = Err::None;
    writeFlag(m_fs, m_fileName, platform::Attr::Hidden, value);
}

bool classFile::System()
{
    return requireEnabled() && readFlag(m_fs, m_fileName, platform::Attr::System, &m_lastError);
}

void classFile::setSystem(bool value)
{
    m_lastError = Err::None;
    writeFlag(m_fs, m_fileName, platform::Attr::System, value);
}

bool classFile::Directory()
{
    return requireEnabled()
        && readFlag(m_fs, m_fileName, platform::Attr::Directory, &m_lastError);
}

bool classFile::ReadOnly()
{
    return requireEnabled()
        && readFlag(m_fs, m_fileName, platform::Attr::ReadOnly, &m_lastError);
}

void classFile::setReadOnly(bool value)
{
    m_lastError = Err::None;
    writeFlag(m_fs, m_fileName, platform::Attr::ReadOnly, value);
}

bool classFile::Executable()
{
    if (!requireEnabled())
        return false;
    const platform::FileInfo info = m_fs.stat(m_fileName);
    return info.isRegular && (info.mode & (S_IXUSR | S_IXGRP | S_IXOTH)) != 0;
}

QString classFile::ShortPathName()
{
    // Names have one form only here; a path that names nothing has none.
    return !m_fileName.isEmpty() && m_fs.exists(m_fileName) ? m_fileName : QString();
}

namespace {

QString readTime(platform::FileSystem& fs, const QString& path, QDateTime platform::FileTimes::*which)
{
    platform::FileTimes times;
    if (!fs.readTimes(path, &times).ok())
        return {};
    return FileTimeToStr(times.*which);
}

} // namespace

QString classFile::CreationTime()
{
    if (!requireEnabled())
        return {};
    return readTime(m_fs, m_fileName, &platform::FileTimes::creation);
}

QString classFile::LastAccessTime()
{
    if (!requireEnabled())
        return {};
    return readTime(m_fs, m_fileName, &platform::FileTimes::lastAccess);
}

QString classFile::LastWriteTime()
{
    if (!requireEnabled())
        return {};
    return readTime(m_fs, m_fileName, &platform::FileTimes::lastWrite);
}

void classFile::Trash()
{
    if (!requireEnabled())
        return;
    m_lastError = m_fs.moveToTrash(m_fileName).err;
}

// Files here carry no version resource: the version texts are empty and the
// type texts are those of the value 0.
void classFile::readVersionInfo()
{
    m_fileType = m_fileSubtype = m_fileOs = m_fileFlags = 0;
}

QString classFile::FileVersion()
{
    if (!requireEnabled())
        return {};
    readVersionInfo();
    return {};
}

QString classFile::ProductVersion()
{
    if (!requireEnabled())
        return {};
    readVersionInfo();
    return {};
}

QString classFile::FileType()
{
    if (!requireEnabled())
        return {};
    readVersionInfo();
    return fileTypeText(m_fileType);
}

QString classFile::FileSubtype()
{
    if (!requireEnabled())
        return {};
    readVersionInfo();
    return fileSubtypeText(m_fileType, m_fileSubtype);
}

qint32 classFile::Links()
{
    if (!requireEnabled())
        return 0;
    return static_cast<qint32>(m_fs.stat(m_fileName).links);
}

void classFile::FileCopy(const QString& strToPath)
{
    if (!requireEnabled())
        return;
    m_lastError = m_fs.copy(m_fileName, targetIn(m_fs, m_fileName, strToPath), {}).err;
}

void classFile::Move(const QString& strToPath)
{
    if (!requireEnabled())
        return;
    m_lastError = m_fs.move(m_fileName, targetIn(m_fs, m_fileName, strToPath), {}).err;
}

void classFile::Rename(const QString& strToPath)
{
    if (!requireEnabled())
        return;
    m_lastError = m_fs.rename(m_fileName, strToPath).err;
}

QString classFile::FileOS()
{
    if (!requireEnabled())
        return {};
    readVersionInfo();
    return fileOsText(m_fileOs);
}

qint64 classFile::CompressedSize()
{
    // -1 when the size cannot be known, as the 32-bit "invalid size" read.
    const platform::FileInfo info = m_fileName.isEmpty() ? platform::FileInfo{} : m_fs.stat(m_fileName);
    if (!info.exists)
        return -1;
    return static_cast<qint64>(info.blocks) * 512;
}

void classFile::FilePrint()
{
    // Printing needs the desktop's services, which live above this library;
    // nothing in the program prints files.
    requireEnabled();
}

void classFile::FirstMove(const QString& strToPath)
{
    if (!requireEnabled())
        return;
    // A drive here is a mounted file system: source and target folder must
    // lie on the same device. An unreadable target folder is left to the
    // move, which reports it.
    const platform::FileInfo source = m_fs.stat(m_fileName);
    const platform::FileInfo target = m_fs.stat(holdingFolder(strToPath));
    if (target.exists && source.device != target.device) {
        m_dialogs.msgBox(QStringLiteral(u"移動元と移動先のﾄﾞﾗｲﾌﾞは同じである必用があります"), QStringLiteral(u"ﾌｧｲﾙ制御ｸﾗｽﾗｲﾌﾞﾗﾘ"),
                         platform::MsgStyle::Ok);
        return;
    }
    m_lastError = m_fs.move(m_fileName, strToPath, {}).err;
}

QString classFile::BuildType()
{
    if (!requireEnabled())
        return {};
    readVersionInfo();
    return buildTypeText(m_fileFlags);
}

QString classFile::fileTypeText(quint32 type)
{
    switch (type) {
    case 0:
        return QStringLiteral(u"不明");
    case 1:
        return QStringLiteral(u"ｱﾌﾟﾘｹｰｼｮﾝ");
    case 2:
        return QStringLiteral(u"ﾀﾞｲﾅﾐｯｸﾘﾝｸﾗｲﾌﾞﾗﾘ");
    case 3:
        return QStringLiteral(u"ﾃﾞﾊﾞｲｽﾄﾞﾗｲﾊﾞ");
    case 4:
        return QStringLiteral(u"ﾌｫﾝﾄ");
    case 5:
        return QStringLiteral(u"仮想ﾃﾞﾊﾞｲｽﾄﾞﾗｲﾊﾞ");
    case 7:
        return QStringLiteral(u"ｽﾀﾃｲｯｸﾗｲﾌﾞﾗﾘ");
    default:
        return {};
    }
}

QString classFile::fileSubtypeText(quint32 type, quint32 subtype)
{
    if (type == 3) {
        switch (subtype) {
        case 0:
            return QStringLiteral(u"不明");
        case 1:
            return QStringLiteral(u"ﾌﾟﾘﾝﾀﾄﾞﾗｲﾊﾞ");
        case 2:
            return QStringLiteral(u"ｷｰﾎﾞｰﾄﾞﾄﾞﾗｲﾊﾞ");
        case 3:
            return QStringLiteral(u"言語ﾄﾞﾗｲﾊﾞ");
        case 4:
            return QStringLiteral(u"ﾃﾞｨｽﾌﾟﾚｲﾄﾞﾗｲﾊﾞ");
        case 5:
            return QStringLiteral(u"ﾏｳｽﾄﾞﾗｲﾊﾞ");
        case 6:
            return QStringLiteral(u"ﾈｯﾄﾜｰｸﾄﾞﾗｲﾊﾞ");
        case 7:
            return QStringLiteral(u"ｼｽﾃﾑﾄﾞﾗｲﾊﾞ");
        case 8:
            return QStringLiteral(u"ｲﾝｽﾄｰﾙﾄﾞﾗｲﾊﾞ");
        case 9:
            return QStringLiteral(u"ｻｳﾝﾄﾞﾄﾞﾗｲﾊﾞ");
        case 10:
            return QStringLiteral(u"通信ﾄﾞﾗｲﾊﾞ");
        case 11:
            return QStringLiteral(u"IMEﾄﾞﾗｲﾊﾞ");
        default:
            return {};
        }
    }
    if (type == 4) {
        switch (subtype) {
        case 1:
            return QStringLiteral(u"ﾗｽﾀｰﾌｫﾝﾄ");
        case 2:
            return QStringLiteral(u"ﾍﾞｸﾀｰﾌｫﾝﾄ");
        case 3:
            return QStringLiteral(u"ﾄｩﾙｰﾀｲﾌﾟﾌｫﾝﾄ");
        default:
            return {};
        }
    }
    return QStringLiteral(u"不明");
}

QString classFile::fileOsText(quint32 os)
{
    switch (os) {
    case 0:
        return QStringLiteral(u"不明");
    case 1:
        return QStringLiteral(u"16bit Windows");
    case 2:
        return QStringLiteral(u"16bit Presentation Manager");
    case 3:
        return QStringLiteral(u"32bit Presentation Manager");
    case 4:
        return QStringLiteral(u"32bit Windows");
    case 0x10000:
        return QStringLiteral(u"DOS");
    case 0x10001:
        return QStringLiteral(u"DOS上の16bit Windows");
    case 0x10004:
        return QStringLiteral(u"DOS上の32bit Windows");
    case 0x20000:
        return QStringLiteral(u"16bit OS/2");
    case 0x20002:
        return QStringLiteral(u"16bit OS/2上のPresentation Manager");
    case 0x30000:
        return QStringLiteral(u"32bit OS/2");
    case 0x30003:
        return QStringLiteral(u"32bit OS/2上のPresentation Manager");
    case 0x40000:
        return QStringLiteral(u"Windows NT");
    case 0x40004:
        return QStringLiteral(u"32bit Windows NT");
    default:
        return {};
    }
}

QString classFile::buildTypeText(quint32 flags)
{
    // The flags are compared whole: a combination is not a build type.
    switch (flags) {
    case 1:
        return QStringLiteral(u"ﾃﾞﾊﾞｯｸﾞﾋﾞﾙﾄﾞ");
    case 2:
        return QStringLiteral(u"ﾌﾟﾚﾘﾘｰｽﾋﾞﾙﾄﾞ");
    case 4:
        return QStringLiteral(u"ﾊﾟｯﾁﾋﾞﾙﾄﾞ");
    case 8:
        return QStringLiteral(u"ﾌﾟﾗｲﾍﾞｰﾄﾋﾞﾙﾄﾞ");
    case 32:
        return QStringLiteral(u"ｽﾍﾟｼｬﾙﾋﾞﾙﾄﾞ");
    case 16:
        return {};
    default:
        return QStringLiteral(u"不明");
    }
}

} // namespace tavil::support
