#include "engine/numbers.h"
#include "engine/settimestamp.h"
#include "platform/qttexts.h"
#include "tests/common/tempdir.h"

#include <QAbstractItemModel>
#include <QCalendarWidget>
#include <QCoreApplication>
#include <QDateEdit>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLocale>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <QTranslator>

#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

using tavil::platform::installQtJapanese;
using tavil::platform::qtTranslationsFolder;
using namespace Qt::StringLiterals;

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

bool haveQtJapanese()
{
    return QFile::exists(qtTranslationsFolder() + QStringLiteral("/qtbase_ja.qm"));
}

// A session in the C locale, as many desktops start the program, for as long
// as it lives; the variables, the default locale and Qt's texts are put back
// after, so no other test sees Japanese.
class CSession {
public:
    CSession()
    {
        for (const char* name : {"LANG", "LC_ALL"})
            m_old.push_back({name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt});
        qputenv("LANG", "C");
        qputenv("LC_ALL", "C.UTF-8");
    }
    ~CSession()
    {
        for (const auto& [name, value] : m_old) {
            if (value)
                qputenv(name, *value);
            else
                qunsetenv(name);
        }
        QLocale::setDefault(m_locale);
        removeTranslators();
    }
    CSession(const CSession&) = delete;
    CSession& operator=(const CSession&) = delete;

private:
    std::vector<std::pair<const char*, std::optional<QByteArray>>> m_old;
    QLocale m_locale;
};

TEST(QtTexts, QtsOwnTextsSpeakJapanese)
{
    if (!haveQtJapanese())
        GTEST_SKIP() << "Qt's Japanese translation is not installed (qt6-translations-l10n)";
    CSession session;
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
        // Missing under its own context: the folder picker's word for it.
        {"QAbstractFileIconProvider", "Folder", QStringLiteral(u"フォルダ")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        EXPECT_EQ(QCoreApplication::translate(c.context, c.source), c.expected);
    }
}

TEST(QtTexts, MissingTranslationLeavesQtsEnglish)
{
    CSession session;
    tavil::test::TempDir empty;
    EXPECT_FALSE(installQtJapanese(*QCoreApplication::instance(), empty.path()));
    EXPECT_EQ(QCoreApplication::translate("QLineEdit", "&Undo"), QStringLiteral("&Undo"));
    EXPECT_TRUE(QCoreApplication::instance()->findChildren<QTranslator*>().isEmpty());
    // The locale's texts don't depend on the translation.
    EXPECT_EQ(QLocale().language(), QLocale::Japanese);
}

TEST(QtTexts, TheLocalesTextsAreJapaneseInACSession)
{
    CSession session;
    (void)installQtJapanese(*QCoreApplication::instance());
    EXPECT_EQ(QLocale().language(), QLocale::Japanese);

    // The date pickers' calendar: the month, and the days of the week
    // (Japanese weeks begin on Sunday).
    QDateEdit picker;
    picker.setCalendarPopup(true);
    picker.setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    picker.setDate(QDate(2026, 12, 1));
    QCalendarWidget* calendar = picker.calendarWidget();
    ASSERT_NE(calendar, nullptr);
    calendar->setSelectedDate(QDate(2026, 12, 1));
    const auto* month = calendar->findChild<QToolButton*>(QStringLiteral("qt_calendar_monthbutton"));
    ASSERT_NE(month, nullptr);
    EXPECT_EQ(month->text(), QStringLiteral(u"12月"));
    const auto* days = calendar->findChild<QTableView*>(QStringLiteral("qt_calendar_calendarview"));
    ASSERT_NE(days, nullptr);
    QStringList header;
    for (int column = 0; column < days->model()->columnCount(); ++column)
        header << days->model()->index(0, column).data().toString();
    EXPECT_EQ(header, QStringList({u"日"_s, u"月"_s, u"火"_s, u"水"_s, u"木"_s, u"金"_s, u"土"_s}));

    // The formats the program sets itself stay as they are.
    EXPECT_EQ(picker.text(), QStringLiteral("2026/12/01"));
    tavil::engine::SetTimeStampParams stamp;
    stamp.UseYear = stamp.UseMonth = stamp.UseDay = stamp.UseHour = stamp.UseMinute = stamp.UseSecond = true;
    const QDateTime time(QDate(2026, 12, 1), QTime(9, 5, 7));
    EXPECT_EQ(tavil::engine::timeStampNewName(time, QStringLiteral("photo.jpg"), QString(), stamp),
              QStringLiteral("2026-12-01_09-05-07.jpg"));
    EXPECT_EQ(tavil::engine::stampText(time), QStringLiteral("2026/12/01 09:05:07"));
    EXPECT_EQ(tavil::engine::formatNumber(1234567, 9), QStringLiteral("001234567"));
    EXPECT_EQ(tavil::engine::clashNumber(1000), QStringLiteral("(1000)"));
}

TEST(QtTexts, TheFolderPickerNamesAFolderInJapanese)
{
    if (!haveQtJapanese())
        GTEST_SKIP() << "Qt's Japanese translation is not installed (qt6-translations-l10n)";
    CSession session;
    ASSERT_TRUE(installQtJapanese(*QCoreApplication::instance()));
    tavil::test::TempDir dir;
    dir.createDir(QStringLiteral("sub"));

    QFileDialog picker(nullptr, QString(), dir.path());
    picker.setOption(QFileDialog::DontUseNativeDialog);
    picker.setFileMode(QFileDialog::Directory);
    auto* model = picker.findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    const QModelIndex sub = model->index(dir.file(QStringLiteral("sub")));
    // The kind of a file comes from a reader thread.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !model->type(sub).isEmpty(); }, 20000));
    EXPECT_EQ(model->type(sub), QStringLiteral(u"フォルダ"));
}

} // namespace
