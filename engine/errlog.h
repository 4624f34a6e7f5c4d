#pragma once

#include <QFile>
#include <QString>

namespace tavil::engine {

struct RunContext;

// The run's error log: "<folder>/yyyyMMddhhmmss.log", a header line, an empty
// line, then one entry per name clash (old path; TAB "-> " new path; empty
// line), lines ended by CR LF, UTF-8. Paths are written as the user is shown
// them (control characters as pictures, bytes that are not UTF-8 as "\xE9"),
// so a file name can't start a line of its own.
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
    // An entry could not be written (the disk filled up, the file vanished):
    // the log is incomplete, and the run says so.
    bool writeFailed() const { return m_writeFailed; }

private:
    QFile m_file;
    bool m_writeFailed = false;
};

// Writes one entry when logging is on and the log is open.
void PrintErrlog(RunContext& ctx, const QString& oldFileName, const QString& newFileName);

} // namespace tavil::engine
