#include "platform/qttexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstring>
#include <memory>

namespace tavil::platform {

namespace {

// Qt's Japanese translation is older than the context in which Qt now names
// the kinds of files (a folder's "Folder" in the folder picker's list); its
// words for them are kept under the folder picker's own context, which is
// asked when the newer one has nothing.
class QtJapanese final : public QTranslator {
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override
    {
        QString text = QTranslator::translate(context, sourceText, disambiguation, n);
        if (text.isEmpty() && context && std::strcmp(context, "QAbstractFileIconProvider") == 0)
            text = QTranslator::translate("QFileDialog", sourceText, nullptr, n);
        return text;
    }
};

} // namespace

QString qtTranslationsFolder()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool installQtJapanese(QCoreApplication& app, const QString& folder)
{
    // Every widget made from here on takes this locale, not the session's.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    auto translator = std::make_unique<QtJapanese>(&app);
    // Named in full: the locale of the session (often C) must not choose.
    if (!translator->load(QStringLiteral("qtbase_ja"), folder) || !QCoreApplication::installTranslator(translator.get()))
        return false;
    translator.release(); // the application owns it from here
    return true;
}

} // namespace tavil::platform
