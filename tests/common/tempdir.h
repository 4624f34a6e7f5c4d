#pragma once

#include "tests/common/qtprint.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace tavil::test {

// A temporary folder with helpers to make and read small files.
class TempDir {
public:
    TempDir();
    // Removes what it holds by bytes first: the temporary folder itself walks
    // names as text and would leave those that are not UTF-8 behind.
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    // The folder's own path as bytes (it is ASCII).
    QByteArray root() const;
    // The folder with a closing "/", as operations take it.
    QString folder() const { return m_dir.path() + "/"; }
    QString file(const QString& name) const { return m_dir.path() + "/" + name; }

    // Makes name (and its folders) holding data; a valid time sets mtime.
    QString createFile(const QString& name, const QByteArray& data = {},
                       const QDateTime& lastWrite = {}) const;
    QString createDir(const QString& name) const;
    QByteArray read(const QString& name) const;
    bool exists(const QString& name) const;
    // Names of the entries of a folder below this one, sorted.
    QStringList list(const QString& sub = QString()) const;

private:
    QTemporaryDir m_dir;
};

} // namespace tavil::test
