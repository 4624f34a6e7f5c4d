#pragma once

#include <QFile>
#include <QString>

namespace tavil::engine {

struct RunContext;

// The run's error log: "<folder>/yyyyMMddhhmmss.log", a header line, an empty
// line, then one entry per name clash (old path; TAB "-> " new path; empty
// line), lines ended by CR LF, UTF-8.
class ErrorLog {
public:
    // Creates or empties the file and writes the header; makes the folder
    // when it is missing. False when the file cannot be opened.
    bool open(const QString& folder, const QString& fileName);
    void writeEntry(const QString& oldPath, const QString& newPath);
    // Closes the file and, when asked, deletes it.
    void close(bool remove);
    bool isOpen() const { return m_file.isOpen(); }
    QString path() const { return m_file.fileName(); }

private:
    QFile m_file;
};

// Writes one entry when logging is on and the log is open.
void PrintErrlog(RunContext& ctx, const QString& oldFileName, const QString& newFileName);

} // namespace tavil::engine
