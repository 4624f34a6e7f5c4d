#pragma once

#include "platform/errors.h"

#include <QString>

namespace tavil::platform {
class Dialogs;
class FileSystem;
} // namespace tavil::platform

namespace tavil::support {

// One file seen as an object. Members marked E fail with error 53 when the
// file is not Enabled: they report it through lastError() and return their
// empty value, so callers branch on the number as everywhere else. Trash,
// FileCopy, Move, Rename and FirstMove report a failure of the file system
// the same way; the attribute writers never report anything.
class classFile {
public:
    classFile(platform::FileSystem& fs, platform::Dialogs& dialogs) : m_fs(fs), m_dialogs(dialogs) {}

    QString FileName() const { return m_fileName; }
    void setFileName(const QString& path) { m_fileName = path; }

    // The error of the last E member or attribute writer (Err::None when it
    // succeeded; the writers always leave Err::None).
    platform::Err lastError() const { return m_lastError; }

    bool Enabled();                 // a regular file that opens for reading
    qint64 Size();                  // E
    void Execute();                 // E
    bool Archive();                 // E
    void setArchive(bool value);    // silent
    bool Hidden();                  // E
    void setHidden(bool value);     // silent
    bool System();                  // E
    void setSystem(bool value);     // silent
    bool Directory();               // E
    bool ReadOnly();                // E
    void setReadOnly(bool value);   // silent
    bool Executable();              // E
    QString ShortPathName();
    // "yyyy/MM/dd hh:mm:ss", or "" when the time is unknown. E.
    QString CreationTime();
    QString LastAccessTime();
    QString LastWriteTime();
    void Trash();                   // E
    QString FileVersion();          // E
    QString ProductVersion();       // E
    QString FileType();             // E
    QString FileSubtype();          // E
    qint32 Links();                 // E
    void FileCopy(const QString& strToPath); // E
    void Move(const QString& strToPath);     // E
    void Rename(const QString& strToPath);   // E
    QString FileOS();               // E
    qint64 CompressedSize();        // -1 when the file cannot be found
    void FilePrint();               // E
    void FirstMove(const QString& strToPath); // E
    QString BuildType();            // E

    // Text tables of the version readers, by value.
    static QString fileTypeText(quint32 type);
    static QString fileSubtypeText(quint32 type, quint32 subtype);
    static QString fileOsText(quint32 os);
    static QString buildTypeText(quint32 flags);

private:
    bool requireEnabled();
    void readVersionInfo();

    platform::FileSystem& m_fs;
    platform::Dialogs& m_dialogs;
    QString m_fileName;
    platform::Err m_lastError = platform::Err::None;
    quint32 m_fileType = 0, m_fileSubtype = 0, m_fileOs = 0, m_fileFlags = 0;
};

} // namespace tavil::support
