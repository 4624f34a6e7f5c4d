#include "platform/qttexts.h"
#include "tests/common/tempdir.h"

#include <QCoreApplication>
#include <QFile>
#include <QTranslator>

#include <gtest/gtest.h>

using tavil::platform::installQtJapanese;
using tavil::platform::qtTranslationsFolder;

namespace {

// Takes the translations a test installed away again, so no other test
// sees Japanese Qt texts.
void removeTranslators()
{
    for (QTranslator* t : QCoreApplication::instance()->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
}

TEST(QtTexts, QtsOwnTextsSpeakJapanese)
{
    if (!QFile::exists(qtTranslationsFolder() + QStringLiteral("/qtbase_ja.qm")))
        GTEST_SKIP() << "Qt's Japanese translation is not installed (qt6-translations-l10n)";
    ASSERT_TRUE(installQtJapanese(*QCoreApplication::instance()));
    struct Case {
        const char* context;
        const char* source;
        QString expected;
    };
    const Case cases[] = {
        {"QLineEdit", "&Undo", QStringLiteral(u"元に戻す(&U)")},
        {"QLineEdit", "Select All", QStringLiteral(u"すべてを選択")},
        {"QPlatformTheme", "Cancel", QStringLiteral(u"キャンセル")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        EXPECT_EQ(QCoreApplication::translate(c.context, c.source), c.expected);
    }
    removeTranslators();
}

TEST(QtTexts, MissingTranslationLeavesQtsEnglish)
{
    tavil::test::TempDir empty;
    EXPECT_FALSE(installQtJapanese(*QCoreApplication::instance(), empty.path()));
    EXPECT_EQ(QCoreApplication::translate("QLineEdit", "&Undo"), QStringLiteral("&Undo"));
    EXPECT_TRUE(QCoreApplication::instance()->findChildren<QTranslator*>().isEmpty());
    removeTranslators();
}

} // namespace
