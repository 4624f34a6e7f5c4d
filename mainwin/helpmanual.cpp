#include "mainwin/helpmanual.h"

#include "platform/gui/desktop.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace tavil::mainwin {

QString HelpManual::folder()
{
    // Installed: <prefix>/bin/tavil and <prefix>/share/tavil/help.
    const QString installed = QCoreApplication::applicationDirPath() + QStringLiteral("/../share/tavil/help");
    if (QFileInfo::exists(installed + QStringLiteral("/index.html")))
        return QFileInfo(installed).canonicalFilePath();
#ifdef TAVIL_SOURCE_HELP_DIR
    // Run from the build folder: the pages of the source tree.
    const QString source = QStringLiteral(TAVIL_SOURCE_HELP_DIR);
    if (QFileInfo::exists(source + QStringLiteral("/index.html")))
        return source;
#endif
    return {};
}

QUrl HelpManual::contentsUrl()
{
    const QString f = folder();
    return f.isEmpty() ? QUrl() : QUrl::fromLocalFile(f + QStringLiteral("/index.html"));
}

QUrl HelpManual::indexUrl()
{
    const QString f = folder();
    return f.isEmpty() ? QUrl() : QUrl::fromLocalFile(f + QStringLiteral("/keywords.html"));
}

HelpManual::Shown HelpManual::showContents()
{
    return show(QStringLiteral("index.html"));
}

HelpManual::Shown HelpManual::showIndex()
{
    return show(QStringLiteral("keywords.html"));
}

HelpManual::Shown HelpManual::show(const QString& page)
{
    if (m_folder.isEmpty())
        return Shown::Missing;
    const QString path = m_folder + u'/' + page;
    if (!QFileInfo::exists(path))
        return Shown::Missing;
    return m_desktop.openUrl(QUrl::fromLocalFile(path)) ? Shown::Yes : Shown::NoBrowser;
}

} // namespace tavil::mainwin
