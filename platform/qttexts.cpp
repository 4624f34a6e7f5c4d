#include "platform/qttexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace tavil::platform {

QString qtTranslationsFolder()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool installQtJapanese(QCoreApplication& app, const QString& folder)
{
    auto translator = std::make_unique<QTranslator>(&app);
    // Named in full: the locale of the session (often C) must not choose.
    if (!translator->load(QStringLiteral("qtbase_ja"), folder) || !QCoreApplication::installTranslator(translator.get()))
        return false;
    translator.release(); // the application owns it from here
    return true;
}

} // namespace tavil::platform
