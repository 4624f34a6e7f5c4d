#pragma once

#include <QString>
#include <QStringList>

namespace tavil::platform {
class FileSystem;
}

namespace tavil::quick {

// File1: the files of one folder whose names match a pattern, hidden and
// system files left out. It is never shown; the deletion reads it.
class FolderListing {
public:
    QString path() const { return m_path; }
    void setPath(const QString& folder) { m_path = folder; }
    QString pattern() const { return m_pattern; }
    void setPattern(const QString& pattern) { m_pattern = pattern; }

    // Read now, in case-insensitive order; empty when the folder can't be read
    // or no folder was given.
    QStringList names(platform::FileSystem& fs) const;

private:
    QString m_path;
    QString m_pattern = QStringLiteral("*.*");
};

// The file list's patterns (support/pattern.h), except that a text without
// any pattern takes nothing.
bool matchesPattern(const QString& name, const QString& patterns);

} // namespace tavil::quick
