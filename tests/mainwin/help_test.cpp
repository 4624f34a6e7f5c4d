// The manual's pages as a reader's browser meets them: every link leads to a
// page and a place that exist, every page declares its encoding and loads
// nothing from outside, the markup is balanced, and the captions it quotes
// are the window's own. Then the Help menu's two ways into it.

#include "mainwin/form1.h"
#include "mainwin/form3.h"
#include "mainwin/form5.h"
#include "mainwin/frmoptions.h"
#include "mainwin/helpmanual.h"
#include "mainwin/tabpages.h"
#include "platform/gui/services.h"
#include "platform/settingsstore.h"
#include "tests/common/fakes.h"
#include "tests/common/guifakes.h"
#include "tests/common/tempdir.h"
#include "tests/common/testfs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QTabBar>
#include <QTextDocumentFragment>
#include <QUrl>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace tavil::test {
namespace {

const QString kPages = QStringLiteral(TAVIL_TEST_HELP_DIR);

QString readPage(const QString& name)
{
    QFile file(kPages + u'/' + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(file.readAll());
    return utf8.hasError() ? QString() : text;
}

QStringList htmlPages()
{
    return QDir(kPages).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
}

// The values of one attribute (href, src, id, name) in a page, in order.
QStringList attributeValues(const QString& html, const QString& attribute)
{
    QStringList values;
    const QRegularExpression re(QStringLiteral("\\s%1\\s*=\\s*\"([^\"]*)\"").arg(attribute));
    for (auto it = re.globalMatch(html); it.hasNext();)
        values.append(it.next().captured(1));
    return values;
}

// The places a link can aim at in a page.
QSet<QString> anchors(const QString& html)
{
    QSet<QString> set;
    for (const QString& id : attributeValues(html, QStringLiteral("id")))
        set.insert(id);
    for (const QString& name : attributeValues(html, QStringLiteral("name")))
        set.insert(name);
    return set;
}

// What a reader sees of a page: the text without markup, entities read.
QString visibleText(const QString& html)
{
    return QTextDocumentFragment::fromHtml(html).toPlainText();
}

// A caption as the user reads it: "&S" shows as an underlined S, "&&" as "&".
QString shownCaption(const QString& caption)
{
    QString shown;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i;
        shown.append(caption[i]);
    }
    return shown;
}

// All that the manual's pages say, one page after another.
QString wholeManualText()
{
    QString text;
    for (const QString& page : htmlPages())
        text += visibleText(readPage(page)) + u'\n';
    return text;
}

// ---------------------------------------------------------------- the pages

TEST(HelpPages, EveryTopicHasItsPage)
{
    static const char* const kExpected[] = {"index.html", "keywords.html", "window.html", "tabs.html",
                                            "run.html",   "menus.html",    "settings.html", "quick.html",
                                            "files.html", "style.css"};
    for (const char* name : kExpected) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(QFileInfo(kPages + u'/' + QLatin1String(name)).isFile());
    }
}

TEST(HelpPages, EachPageIsUtf8WithTitleCharsetAndLanguage)
{
    const QStringList pages = htmlPages();
    ASSERT_FALSE(pages.isEmpty());
    const QRegularExpression title(QStringLiteral("<title>([^<]+)</title>"));
    for (const QString& page : pages) {
        SCOPED_TRACE(page.toStdString());
        const QString html = readPage(page);
        ASSERT_FALSE(html.isEmpty()) << "missing, empty or not valid UTF-8";
        EXPECT_TRUE(html.startsWith(QStringLiteral("<!DOCTYPE html>")));
        EXPECT_TRUE(html.contains(QStringLiteral("<meta charset=\"utf-8\">")));
        EXPECT_TRUE(html.contains(QStringLiteral("<html lang=\"ja\">")));
        const QRegularExpressionMatch m = title.match(html);
        ASSERT_TRUE(m.hasMatch());
        EXPECT_FALSE(m.captured(1).trimmed().isEmpty());
        EXPECT_TRUE(html.contains(QStringLiteral("<link rel=\"stylesheet\" href=\"style.css\">")));
    }
}

TEST(HelpPages, NothingRunsAndNothingIsFetched)
{
    QStringList files = htmlPages();
    files.append(QStringLiteral("style.css"));
    // Case-insensitive: "<SCRIPT" runs as well as "<script".
    const QRegularExpression forbidden(
        QStringLiteral("<script|<iframe|<object|<embed|javascript:|@import|url\\s*\\(|\\son[a-z]+\\s*="),
        QRegularExpression::CaseInsensitiveOption);
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        const QString text = readPage(name);
        ASSERT_FALSE(text.isEmpty());
        const QRegularExpressionMatch m = forbidden.match(text);
        EXPECT_FALSE(m.hasMatch()) << m.captured(0).toStdString();
        for (const QString& src : attributeValues(text, QStringLiteral("src")))
            EXPECT_FALSE(src.contains(u':')) << src.toStdString();
    }
}

TEST(HelpPages, EveryLinkLeadsToAnExistingPageAndPlace)
{
    const QStringList pages = htmlPages();
    int checked = 0;
    for (const QString& page : pages) {
        const QString html = readPage(page);
        for (const QString& href : attributeValues(html, QStringLiteral("href"))) {
            SCOPED_TRACE((page + QStringLiteral(" -> ") + href).toStdString());
            ++checked;
            // Pages of the manual only: no scheme, no way out of its folder.
            ASSERT_FALSE(href.isEmpty());
            EXPECT_FALSE(href.contains(u':'));
            EXPECT_FALSE(href.startsWith(u'/'));
            EXPECT_FALSE(href.contains(QStringLiteral("..")));
            const qsizetype hash = href.indexOf(u'#');
            const QString file = hash < 0 ? href : href.left(hash);
            const QString fragment = hash < 0 ? QString() : href.mid(hash + 1);
            const QString target = file.isEmpty() ? page : file;
            ASSERT_TRUE(QFileInfo(kPages + u'/' + target).isFile());
            if (hash >= 0) {
                EXPECT_FALSE(fragment.isEmpty());
                if (target.endsWith(QStringLiteral(".html"))) {
                    EXPECT_TRUE(anchors(readPage(target)).contains(fragment));
                }
            }
        }
    }
    EXPECT_GT(checked, 0);
}

TEST(HelpPages, NoPlaceIsNamedTwiceInAPage)
{
    for (const QString& page : htmlPages()) {
        SCOPED_TRACE(page.toStdString());
        QStringList ids = attributeValues(readPage(page), QStringLiteral("id"));
        const qsizetype all = ids.size();
        ids.removeDuplicates();
        EXPECT_EQ(ids.size(), all);
    }
}

TEST(HelpPages, EveryPageIsReachableFromTheContentsAndLeadsBack)
{
    const QStringList pages = htmlPages();
    QSet<QString> reached{QStringLiteral("index.html")};
    QStringList queue{QStringLiteral("index.html")};
    while (!queue.isEmpty()) {
        const QString page = queue.takeFirst();
        for (const QString& href : attributeValues(readPage(page), QStringLiteral("href"))) {
            const QString file = href.section(u'#', 0, 0);
            if (file.endsWith(QStringLiteral(".html")) && !reached.contains(file)) {
                reached.insert(file);
                queue.append(file);
            }
        }
    }
    for (const QString& page : pages) {
        SCOPED_TRACE(page.toStdString());
        EXPECT_TRUE(reached.contains(page));
        if (page != QStringLiteral("index.html")) {
            EXPECT_TRUE(attributeValues(readPage(page), QStringLiteral("href")).contains(QStringLiteral("index.html")));
        }
    }
}

// A section no one can find from the contents or the index is as good as
// missing from the manual.
TEST(HelpPages, EverySectionIsListedInTheContentsOrTheIndex)
{
    QSet<QString> listed;
    for (const char* finder : {"index.html", "keywords.html"}) {
        for (const QString& href : attributeValues(readPage(QLatin1String(finder)), QStringLiteral("href")))
            listed.insert(href);
    }
    const QRegularExpression section(QStringLiteral("<h[23] id=\"([^\"]+)\""));
    int sections = 0;
    for (const QString& page : htmlPages()) {
        if (page == QStringLiteral("index.html") || page == QStringLiteral("keywords.html"))
            continue;
        for (auto it = section.globalMatch(readPage(page)); it.hasNext();) {
            const QString place = page + u'#' + it.next().captured(1);
            SCOPED_TRACE(place.toStdString());
            ++sections;
            EXPECT_TRUE(listed.contains(place));
        }
    }
    EXPECT_GT(sections, 30);
}

// Browsers forgive an unclosed table or a raw "&"; a reader of another
// browser, or of the source, does not.
TEST(HelpPages, MarkupIsBalancedAndAmpersandsAreEntities)
{
    static const QSet<QString> kVoid{QStringLiteral("meta"), QStringLiteral("link"), QStringLiteral("br"),
                                     QStringLiteral("hr"),   QStringLiteral("img"),  QStringLiteral("wbr")};
    const QRegularExpression tag(QStringLiteral("<(/?)([a-zA-Z][a-zA-Z0-9]*)\\b[^>]*>"));
    const QRegularExpression badAmpersand(QStringLiteral("&(?!(amp|lt|gt|quot|#[0-9]+|#x[0-9a-fA-F]+);)"));
    for (const QString& page : htmlPages()) {
        SCOPED_TRACE(page.toStdString());
        const QString html = readPage(page);
        QStringList open;
        for (auto it = tag.globalMatch(html); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            const QString name = m.captured(2).toLower();
            if (kVoid.contains(name))
                continue;
            if (m.captured(1).isEmpty()) {
                open.append(name);
                continue;
            }
            ASSERT_FALSE(open.isEmpty()) << "</" << name.toStdString() << "> closes nothing";
            ASSERT_EQ(open.last(), name) << "at offset " << m.capturedStart();
            open.removeLast();
        }
        EXPECT_TRUE(open.isEmpty()) << open.join(u' ').toStdString();
        const QRegularExpressionMatch amp = badAmpersand.match(html);
        EXPECT_FALSE(amp.hasMatch()) << html.mid(amp.capturedStart(), 20).toStdString();
    }
}

// ------------------------------------------- the captions the manual quotes

class HelpCaptions : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<QWidget>();
        (void)new mainwin::TabPages(form.get(), services);
    }
    void TearDown() override
    {
        form.reset();
        EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
    }

    // Every caption the eight tab pages show: tabs, buttons, check and
    // option boxes, frames, labels.
    QStringList captions() const
    {
        QStringList all;
        for (const QTabBar* bar : form->findChildren<QTabBar*>()) {
            for (int i = 0; i < bar->count(); ++i)
                all.append(bar->tabText(i));
        }
        for (const QAbstractButton* b : form->findChildren<QAbstractButton*>())
            all.append(b->text());
        for (const QGroupBox* g : form->findChildren<QGroupBox*>())
            all.append(g->title());
        for (const QLabel* l : form->findChildren<QLabel*>())
            all.append(l->text());
        all.removeAll(QString());
        all.removeDuplicates();
        return all;
    }

    platform::MemorySettingsStore store;
    FakeDialogs dialogs;
    FakeClock clock;
    FakeDesktop desktop;
    FakeVolumes volumes;
    TestFileSystem fs;
    platform::Services services{fs, store, dialogs, clock, desktop, volumes, QString(), QString()};
    std::unique_ptr<QWidget> form;
};

TEST_F(HelpCaptions, TheManualUsesEveryCaptionOfTheTabPages)
{
    const QString text = wholeManualText();
    ASSERT_FALSE(text.isEmpty());
    const QStringList all = captions();
    ASSERT_GT(all.size(), 40);
    for (const QString& caption : all) {
        SCOPED_TRACE(caption.toStdString());
        EXPECT_TRUE(text.contains(shownCaption(caption)));
    }
}

TEST_F(HelpCaptions, TheContentsNameTheEightTabsAsTheStripShowsThem)
{
    const QString text = visibleText(readPage(QStringLiteral("index.html")));
    const QTabBar* strip = form->findChild<QTabBar*>(QStringLiteral("TabStrip1"));
    ASSERT_NE(strip, nullptr);
    ASSERT_EQ(strip->count(), 8);
    for (int i = 0; i < strip->count(); ++i) {
        SCOPED_TRACE(strip->tabText(i).toStdString());
        EXPECT_TRUE(text.contains(strip->tabText(i)));
    }
}

// The main window's own captions, each where the manual explains it: a
// caption renamed in the window, or misquoted in the manual, shows here.
TEST(HelpWindowCaptions, ThePagesQuoteTheMainWindowAsItShowsIt)
{
    struct Case {
        const char* object;
        const char16_t* caption; // as the program sets it, mnemonic included
        const char* page;
    };
    static const Case kCases[] = {
        {"mnuFile", u"ﾌｧｲﾙ(&F)", "menus.html"},
        {"mnuFileNet", u"ﾈｯﾄﾜｰｸ上のﾌｧｲﾙ(&N)", "menus.html"},
        {"mnuFileStart", u"変更開始(&S)", "menus.html"},
        {"mnuFileRenew", u"最新の情報に更新(&R)", "menus.html"},
        {"mnuFileQuick", u"QuickFormの表示(&Q)", "menus.html"},
        {"mnuFileExit", u"終了(&X)", "menus.html"},
        {"mnuHelp", u"ﾍﾙﾌﾟ(&H)", "menus.html"},
        {"mnuHelpVer", u"ﾊﾞｰｼﾞｮﾝ情報(&A)...", "menus.html"},
        {"Command4", u"変更開始", "run.html"},
        {"Command12", u"中止", "run.html"},
        {"Check1", u"選択する", "window.html"},
        {"Command1", u"追加 ->>", "window.html"},
        {"Command2", u"<<- 削除", "window.html"},
        {"Command3", u"クリア", "window.html"},
        {"Command5", u"すべて追加", "window.html"},
        {"chkSubDir", u"ｻﾌﾞﾌｫﾙﾀﾞも変更", "window.html"},
        {"Check18", u"ﾀｲﾑｽﾀﾝﾌﾟをﾌｧｲﾙ名に", "tabs.html"},
        {"mnuPopup1All", u"すべて選択(&A)", "window.html"},
        {"mnuPopup1Kirikae", u"選択の切り替え(&I)", "window.html"},
        {"mnuPopup1Skip", u"ｽｷｯﾌﾟ(&S)", "window.html"},
        {"mnuPopup1SkipIns", u"挿入(I&)", "window.html"},
        {"mnuPopup1SkipIns2", u"複数挿入(&S)", "window.html"},
        {"mnuPopup1SkipIns3", u"等間隔挿入(&F)...", "window.html"},
        {"mnuPopup1SkipDel", u"ｽｷｯﾌﾟ全削除(&D)", "window.html"},
        {"mnuPopup1Up", u"上に(&U)", "window.html"},
        {"mnuPopup1Down", u"下に(&D)", "window.html"},
        {"mnuPopup1Hanten", u"反転(&S)", "window.html"},
        {"mnuSet", u"設定(S)", "menus.html"},
        {"mnuSetMove", u"動作設定(&S)...", "menus.html"},
        {"mnuSetVis", u"ﾌｧｲﾙの表示(&F)", "menus.html"},
        {"mnuSetVisHidden", u"隠しﾌｧｲﾙ(&H)", "menus.html"},
        {"mnuSetVisSystem", u"ｼｽﾃﾑﾌｧｲﾙ(&S)", "menus.html"},
        {"mnuSetSort", u"ﾌｧｲﾙのｿｰﾄ(&S)", "menus.html"},
        {"mnuSetPat", u"ﾌｧｲﾙﾊﾟﾀｰﾝ編集(&P)...", "menus.html"},
        {"mnuSetShort", u"ｼｮｰﾄｶｯﾄ編集(&S)...", "menus.html"},
        {"mnuSetKaku", u"拡張子編集(&E)...", "menus.html"},
        {"mnuSetDiv", u"区切り文字編集(&D)...", "menus.html"},
        {"mnuHelpHelp", u"Tavil ﾍﾙﾌﾟ(&F)", "menus.html"},
        {"mnuHelpSerch", u"ﾄﾋﾟｯｸの検索(&S)...", "menus.html"},
        {"mnuHelpWhats", u"What's This(&H)", "menus.html"},
        {"mnuHelpWebsite", u"WebSite(&W)", "menus.html"},
        {"mnuPopup2Reg", u"ｼｮｰﾄｶｯﾄに登録(&R)", "menus.html"},
        {"mnuPopup2Create", u"新規作成(&N)", "menus.html"},
        {"mnuPopup2MKDir", u"フォルダ(&F)", "menus.html"},
        {"mnuPopup2MKNumDir", u"連番付きフォルダ(&D)...", "menus.html"},
    };
    TempDir home;
    TempDir data;
    TestFileSystem fs;
    platform::MemorySettingsStore store;
    FakeDialogs dialogs;
    FakeClock clock;
    FakeDesktop desktop;
    FakeVolumes volumes;
    platform::Services services{fs, store, dialogs, clock, desktop, volumes, data.file(QStringLiteral("errlog")),
                                home.path()};
    {
        mainwin::Form1 form(services, QString());
        ASSERT_TRUE(form.Form_Load());
        form.Timer1_Timer();
        for (const Case& c : kCases) {
            SCOPED_TRACE(c.object);
            const QString name = QString::fromLatin1(c.object);
            const QString caption = QString::fromUtf16(c.caption);
            QString shown;
            if (const auto* menu = form.findChild<QMenu*>(name))
                shown = menu->title();
            else if (const auto* action = form.findChild<QAction*>(name))
                shown = action->text();
            else if (const auto* button = form.findChild<QAbstractButton*>(name))
                shown = button->text();
            else
                ADD_FAILURE() << "no such control";
            EXPECT_EQ(shown, caption);
            EXPECT_TRUE(visibleText(readPage(QLatin1String(c.page))).contains(shownCaption(caption)));
        }
    }
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
}

// Each dialog of the menus: its title and every caption on it are quoted
// where the manual describes it.
class NoOptionsHost final : public mainwin::OptionsHost {
public:
    void applyProgressChoice() override {}
    void applyShowHidden(bool) override {}
    void applyShowSystem(bool) override {}
    void applySorted(bool) override {}
    void applyOptionFlags(const support::settings::OptionFlags&) override {}
};

QStringList dialogCaptions(const QDialog& dialog, const QStringList& leftOut)
{
    QStringList all{dialog.windowTitle()};
    for (const QTabBar* bar : dialog.findChildren<QTabBar*>()) {
        for (int i = 0; i < bar->count(); ++i)
            all.append(bar->tabText(i));
    }
    for (const QAbstractButton* b : dialog.findChildren<QAbstractButton*>())
        all.append(b->text());
    for (const QGroupBox* g : dialog.findChildren<QGroupBox*>())
        all.append(g->title());
    for (const QLabel* l : dialog.findChildren<QLabel*>()) {
        if (!leftOut.contains(l->objectName()))
            all.append(l->text());
    }
    all.removeAll(QString());
    all.removeDuplicates();
    return all;
}

TEST(HelpDialogCaptions, ThePagesQuoteEachDialogAsItShowsIt)
{
    platform::MemorySettingsStore store;
    FakeDialogs dialogs;
    FakeClock clock;
    FakeDesktop desktop;
    FakeVolumes volumes;
    TestFileSystem fs;
    platform::Services services{fs, store, dialogs, clock, desktop, volumes, QString(), QString()};
    NoOptionsHost host;
    const QString menus = visibleText(readPage(QStringLiteral("menus.html")));
    const QString settings = visibleText(readPage(QStringLiteral("settings.html")));
    const auto expectQuoted = [](const QStringList& captions, const QString& page, qsizetype atLeast) {
        EXPECT_GE(captions.size(), atLeast);
        for (const QString& caption : captions) {
            SCOPED_TRACE(caption.toStdString());
            EXPECT_TRUE(page.contains(shownCaption(caption)));
        }
    };
    {
        SCOPED_TRACE("options");
        mainwin::frmOptions dialog(services, host);
        // The label that explains the completion is the manual's own text.
        expectQuoted(dialogCaptions(dialog, {QStringLiteral("lblAutoComp")}), settings, 25);
    }
    {
        SCOPED_TRACE("numbered folders");
        mainwin::Form5 dialog(services, QStringLiteral("/tmp"));
        expectQuoted(dialogCaptions(dialog, {}), menus, 13);
    }
    for (const auto mode : {mainwin::Form3::Mode::Patterns, mainwin::Form3::Mode::Shortcuts,
                            mainwin::Form3::Mode::Extensions, mainwin::Form3::Mode::Separators}) {
        SCOPED_TRACE(int(mode));
        mainwin::Form3 dialog(store, mode);
        expectQuoted(dialogCaptions(dialog, {}), menus, 11);
    }
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
}

// --------------------------------------------------- opening the manual

TEST(HelpManualOpening, FromTheBuildTreeTheSourcePagesAreFound)
{
    // The test runs from the build folder, where nothing is installed.
    EXPECT_EQ(QFileInfo(mainwin::HelpManual::folder()).canonicalFilePath(), QFileInfo(kPages).canonicalFilePath());
    const QUrl contents = mainwin::HelpManual::contentsUrl();
    const QUrl index = mainwin::HelpManual::indexUrl();
    ASSERT_TRUE(contents.isLocalFile());
    ASSERT_TRUE(index.isLocalFile());
    EXPECT_EQ(QFileInfo(contents.toLocalFile()).fileName(), QStringLiteral("index.html"));
    EXPECT_EQ(QFileInfo(index.toLocalFile()).fileName(), QStringLiteral("keywords.html"));
    EXPECT_TRUE(QFileInfo(contents.toLocalFile()).isFile());
    EXPECT_TRUE(QFileInfo(index.toLocalFile()).isFile());
}

TEST(HelpManualOpening, ContentsAndIndexOpenInTheBrowser)
{
    struct Case {
        const char* what;
        mainwin::HelpManual::Shown (mainwin::HelpManual::*show)();
        const char* page;
    };
    static const Case kCases[] = {
        {"contents", &mainwin::HelpManual::showContents, "index.html"},
        {"index", &mainwin::HelpManual::showIndex, "keywords.html"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        FakeDesktop desktop;
        mainwin::HelpManual manual(desktop);
        EXPECT_EQ((manual.*c.show)(), mainwin::HelpManual::Shown::Yes);
        ASSERT_EQ(desktop.opened.size(), 1);
        EXPECT_EQ(QFileInfo(desktop.opened.first().toLocalFile()).canonicalFilePath(),
                  QFileInfo(kPages + u'/' + QLatin1String(c.page)).canonicalFilePath());
    }
}

TEST(HelpManualOpening, WithoutABrowserTheCallerIsTold)
{
    FakeDesktop desktop;
    desktop.openResult = false;
    mainwin::HelpManual manual(desktop);
    // The pages are there: what failed is the browser, not the manual.
    EXPECT_EQ(manual.showContents(), mainwin::HelpManual::Shown::NoBrowser);
    EXPECT_EQ(manual.showIndex(), mainwin::HelpManual::Shown::NoBrowser);
    EXPECT_EQ(desktop.opened.size(), 2);
}

TEST(HelpManualOpening, MissingPagesOpenNothing)
{
    TempDir dir;
    // Only the contents page is there; a folder that does not exist; no folder.
    dir.createFile(QStringLiteral("index.html"));
    struct Case {
        const char* what;
        QString folder;
        bool contents;
        bool index;
    };
    const Case cases[] = {
        {"contents only", dir.path(), true, false},
        {"missing folder", dir.path() + QStringLiteral("/nowhere"), false, false},
        {"no folder", QString(), false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeDesktop desktop;
        mainwin::HelpManual manual(desktop, c.folder);
        using Shown = mainwin::HelpManual::Shown;
        EXPECT_EQ(manual.showContents(), c.contents ? Shown::Yes : Shown::Missing);
        EXPECT_EQ(manual.showIndex(), c.index ? Shown::Yes : Shown::Missing);
        EXPECT_EQ(desktop.opened.size(), (c.contents ? 1 : 0) + (c.index ? 1 : 0));
    }
}

} // namespace
} // namespace tavil::test
