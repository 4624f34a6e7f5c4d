#pragma once

#include <QDateTime>
#include <QString>

namespace tavil::platform {
class FileSystem;
}

namespace tavil::support {

// Stateless path and file helpers.
class cFile {
public:
    explicit cFile(platform::FileSystem& fs) : m_fs(fs) {}

    // The three time stamps in local time, whole seconds. False (and the
    // dates invalid) when they cannot be read; an unknown creation time is
    // an invalid date with a True result.
    bool GetFileTimeStamp(const QString& strFileName, QDateTime& creation,
                          QDateTime& lastAccess, QDateTime& lastWrite);
    // True when the times were written. False for a read-only file, a folder
    // or any failure.
    bool SetFileTimeStamp(const QString& strFileName, const QDateTime& dteCreateTime,
                          const QDateTime& dteAccessTime, const QDateTime& dteWriteTime);
    // True when an entry of that path exists (never a search along PATH).
    bool CheckExistFile(const QString& strTargetFileName);

    QString RemoveDirSep(const QString& strDstDir);
    QString AttribString(const QString& strFileName);
    QString FullPathName(const QString& strPathName);
    bool ExtractName(const QString& strFileName, QString& strName, QString& strExtension);
    QString GetLongPathName(const QString& strPathName);
    QDateTime DosDateTimeToVBDate(qint32 lngDosDate, qint32 lngDosTime);

    // Declared members without bodies: they return their empty values.
    QString Executable(const QString&) { return {}; }
    QString GetFileType(const QString&) { return {}; }
    QString Extension(const QString&) { return {}; }
    qint16 FileLock(const QString&) { return 0; }
    void FileUnlock(qint16) {}
    QString OmitPathName(const QString&, qint16 = 0) { return {}; }
    QString FileVersion(const QString&) { return {}; }
    QString TempPath() { return {}; }
    QString GetFileName(const QString&) { return {}; }
    QString AddDirSep(const QString&) { return {}; }
    bool DirExists(const QString&) { return false; }
    QString AddQuotesToFN(const QString&) { return {}; }
    QString StripQuotes(const QString&) { return {}; }
    QString GetPathName(const QString&) { return {}; }
    QString GetDosShortPathName(const QString&) { return {}; }
    QString TempFile(const QString&) { return {}; }
    QString ResponceFile() { return {}; }
    bool FileExists(const QString&) { return false; }
    bool MakeDirs(const QString&) { return false; }
    qint32 ExeType(const QString&) { return 0; }

private:
    platform::FileSystem& m_fs;
};

} // namespace tavil::support
