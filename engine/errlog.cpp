#include "engine/errlog.h"

#include "engine/runcontext.h"
#include "platform/names.h"

#include <QDir>
#include <QFileInfo>

namespace tavil::engine {

namespace {
const QString kHeader = QStringLiteral(u"次の変更中にｴﾗｰが発生しました。");
const QString kCrLf = QStringLiteral("\r\n");

bool openForOutput(QFile& file)
{
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate);
}
} // namespace

bool ErrorLog::open(const QString& folder, const QString& fileName)
{
    close(false);
    m_writeFailed = false;
    m_file.setFileName(platform::joinPath(folder, fileName));
    if (!openForOutput(m_file)) {
        // Only a missing folder is worth a second try; any other failure
        // (a file in the folder's place, no permission) would fail again.
        if (QFileInfo::exists(folder) || !QDir().mkpath(folder) || !openForOutput(m_file))
            return false;
    }
    if (m_file.write((kHeader + kCrLf + kCrLf).toUtf8()) < 0) {
        m_file.close();
        m_file.remove();
        return false;
    }
    m_file.flush();
    return true;
}

void ErrorLog::writeEntry(const QString& oldPath, const QString& newPath)
{
    if (!m_file.isOpen())
        return;
    const QByteArray entry = (platform::visibleName(oldPath) + kCrLf + u'\t' + QStringLiteral("-> ")
                              + platform::visibleName(newPath) + kCrLf + kCrLf)
                                 .toUtf8();
    // On disk at once, so the entries survive a run that ends badly.
    if (m_file.write(entry) != entry.size() || !m_file.flush())
        m_writeFailed = true;
}

void ErrorLog::close(bool remove)
{
    if (!m_file.isOpen())
        return;
    m_file.close();
    if (remove)
        m_file.remove();
}

void PrintErrlog(RunContext& ctx, const QString& oldFileName, const QString& newFileName)
{
    if (ctx.opts.logFile && ctx.log != nullptr)
        ctx.log->writeEntry(oldFileName, newFileName);
}

} // namespace tavil::engine
