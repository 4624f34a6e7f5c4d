// The numbering presets as a user meets them on the numbering page: the bar's
// buttons and their drop-down lists, the questions asked, what is stored and
// what a load brings back.

#include "mainwin/filebrowser.h"
#include "mainwin/form1.h"
#include "mainwin/numberpresets.h"
#include "mainwin/presetbar.h"
#include "mainwin/statusarea.h"
#include "tests/mainwin/tabpagesfixture.h"
#include "tests/mainwin/windowbench.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

#include <memory>
#include <vector>

namespace tavil::test {
namespace {

namespace S = support::settings;

std::string s(const QString& text)
{
    return text.toStdString();
}

class NumberPresetsTest : public TabPagesTest {
protected:
    void SetUp() override
    {
        TabPagesTest::SetUp();
        presets = std::make_unique<mainwin::NumberPresets>(*pages, services,
                                                           [this](bool on) { suppressCalls.push_back(on); });
        bar = pages->Toolbar1;
    }
    void TearDown() override
    {
        presets.reset();
        TabPagesTest::TearDown();
    }

    QString key(const QString& k) { return store.read(QStringLiteral("NumSett"), k); }
    bool has(const QString& k) { return store.value(QStringLiteral("NumSett"), k).has_value(); }
    void stored(const QStringList& names)
    {
        store.write(QStringLiteral("NumSett"), QStringLiteral("All"), QString::number(names.size()));
        for (int i = 0; i < names.size(); ++i) {
            store.write(QStringLiteral("NumSett"), QStringLiteral("Caption%1").arg(i), names[i]);
            store.write(QStringLiteral("NumSett"), QStringLiteral("Set%1").arg(i), QStringLiteral("%1,1,,,0,,,0,0,1").arg(i + 2));
        }
        presets->loadCaptions();
    }
    // The names both drop-down lists offer, entry 1 first; each entry's
    // text as the load list and the delete list show it must agree.
    QStringList offered()
    {
        QStringList names;
        for (int k = 1; k <= 10; ++k) {
            QAction* load = bar->buttonMenuEntry(1, k);
            QAction* del = bar->buttonMenuEntry(3, k);
            EXPECT_EQ(load->isVisible(), del->isVisible()) << k;
            EXPECT_EQ(s(load->text()), s(del->text())) << k;
            if (load->isVisible())
                names.append(bar->entryText(k));
        }
        return names;
    }
    void pick(int button, int entry) { bar->buttonMenuEntry(button, entry)->trigger(); }
    void pressSave() { bar->button(1)->trigger(); }

    std::unique_ptr<mainwin::NumberPresets> presets;
    mainwin::PresetBar* bar = nullptr;
    std::vector<bool> suppressCalls;
};

TEST_F(NumberPresetsTest, BarHasItsButtonsTipsAndTags)
{
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->objectName(), QStringLiteral("Toolbar1"));
    EXPECT_EQ(bar->button(1)->toolTip(), QStringLiteral(u"フォームに入力されている内容等を保存します。"));
    EXPECT_EQ(bar->button(1)->data().toString(), QStringLiteral("tbSave"));
    EXPECT_TRUE(bar->button(2)->isSeparator());
    EXPECT_EQ(bar->button(3)->toolTip(), QStringLiteral(u"保存したフォームの内容を削除します。"));
    for (int k = 1; k <= 10; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(bar->buttonMenuEntry(1, k)->data().toString(), QStringLiteral("tbSave"));
        EXPECT_EQ(bar->buttonMenuEntry(3, k)->data().toString(), QStringLiteral("tbDelete"));
    }
    EXPECT_EQ(bar->toolButton(1)->popupMode(), QToolButton::MenuButtonPopup);
    EXPECT_EQ(bar->toolButton(3)->popupMode(), QToolButton::MenuButtonPopup);
    // The bar goes with the numbering page.
    EXPECT_TRUE(bar->isVisible());
    ASSERT_TRUE(pages->selectTab(2));
    EXPECT_FALSE(bar->isVisible());
    ASSERT_TRUE(pages->selectTab(1));
    EXPECT_TRUE(bar->isVisible());
}

TEST_F(NumberPresetsTest, Save)
{
    struct Case {
        const char* name;
        QStringList before;      // presets stored first
        const char* count;       // the count as stored, when not their number
        QStringList answers;     // what is typed into the input box
        bool asked;              // whether the name is asked for
        QStringList after;       // the names offered afterwards
    };
    const QStringList ten = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    const Case cases[] = {
        {"the first one", {}, nullptr, {"A"}, true, {"A"}},
        {"after the others", {"X", "Y"}, nullptr, {"A"}, true, {"X", "Y", "A"}},
        {"an empty name (or Cancel) saves nothing", {"X"}, nullptr, {""}, true, {"X"}},
        {"a name already there is a second preset", {"X"}, nullptr, {"X"}, true, {"X", "X"}},
        {"a name with an ampersand shows as typed", {}, nullptr, {"A&B"}, true, {"A&B"}},
        {"the tenth one", QStringList(ten.mid(0, 9)), nullptr, {"A"}, true, QStringList(ten.mid(0, 9)) << "A"},
        {"an eleventh is refused", ten, nullptr, {"A"}, false, ten},
        {"a count stored beyond ten counts as ten", ten, "25", {"A"}, false, ten},
        {"an empty count is none", {}, "", {"A"}, true, {"A"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        store.sections.clear();
        dialogs.shown.clear();
        stored(c.before);
        if (c.count) {
            store.write(QStringLiteral("NumSett"), QStringLiteral("All"), QString::fromLatin1(c.count));
            presets->loadCaptions();
        }
        dialogs.inputs.assign(c.answers.begin(), c.answers.end());
        pressSave();
        EXPECT_EQ(offered(), c.after);
        ASSERT_EQ(dialogs.shown.size(), 1);
        const ShownBox& box = dialogs.shown[0];
        if (c.asked) {
            EXPECT_TRUE(box.isInput);
            EXPECT_EQ(box.text, QStringLiteral(u"保存する名前を入力して下さい。"));
            EXPECT_EQ(box.title, QStringLiteral(u"名前を付けて保存"));
        } else {
            EXPECT_FALSE(box.isInput);
            EXPECT_EQ(box.text, QStringLiteral(u"10個以上は登録できません。"));
            EXPECT_EQ(box.style, 16);
            EXPECT_EQ(box.title, QStringLiteral("Tavil"));
        }
        // A refused save leaves the count as it was stored.
        const bool refused = c.count && !c.asked;
        EXPECT_EQ(key(QStringLiteral("All")), refused ? QString::fromLatin1(c.count) : QString::number(c.after.size()));
        for (int i = 0; i < c.after.size(); ++i)
            EXPECT_EQ(s(key(QStringLiteral("Caption%1").arg(i))), s(c.after[i])) << i;
        EXPECT_FALSE(has(QStringLiteral("Caption%1").arg(c.after.size())));
    }
}

TEST_F(NumberPresetsTest, SaveWritesThePageAsItStands)
{
    struct Case {
        const char* name;
        std::function<void(mainwin::TabPages*)> fill;
        const char16_t* record;
    };
    const Case cases[] = {
        {"the start values", [](mainwin::TabPages*) {}, u"1,1,,,0,,,0,0,1"},
        {"every field",
         [](mainwin::TabPages* p) {
             p->Text6->setText(QStringLiteral("3"));
             p->Text7->setText(QStringLiteral("00"));
             p->Check5->setChecked(true);
             p->Text4->setEditText(QStringLiteral("photo"));
             p->Text1->setText(QStringLiteral("_"));
             p->Text2->setText(QStringLiteral("10"));
             p->Text3->setText(QStringLiteral("-"));
             p->Check6->setChecked(true);
             p->Text5->setEditText(QStringLiteral("jpg"));
             p->Option2->setChecked(true);
         },
         u"3,00,photo,_,10,-,jpg,1,1,2"},
        {"the number as extension", [](mainwin::TabPages* p) { p->Option3->setChecked(true); }, u"1,1,,,0,,,0,0,3"},
        // Commas may be typed in the prefix, the suffix and the name: they
        // are escaped so that the later fields keep their places.
        {"commas in the boxes",
         [](mainwin::TabPages* p) {
             p->Text1->setText(QStringLiteral("a,"));
             p->Text4->setEditText(QStringLiteral("x,y"));
             p->Text3->setText(QStringLiteral("5%"));
         },
         u"1,1,x%2Cy,a%2C,0,5%25,,0,0,1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        store.sections.clear();
        presets->fillPage(mainwin::numsett::fromRecord(QStringLiteral("1,1,,,0,,,0,0,1")));
        c.fill(pages);
        dialogs.inputs = {QStringLiteral("P")};
        pressSave();
        EXPECT_EQ(s(key(QStringLiteral("Set0"))), s(QString::fromUtf16(c.record)));
        EXPECT_EQ(s(key(QStringLiteral("Caption0"))), "P");
        EXPECT_EQ(s(key(QStringLiteral("All"))), "1");
    }
}

TEST_F(NumberPresetsTest, SaveOverwritesKeysLeftPastTheCount)
{
    // An outside edit lowered the count and left a preset's keys behind.
    stored({"X", "Y"});
    store.write(QStringLiteral("NumSett"), QStringLiteral("All"), QStringLiteral("1"));
    presets->loadCaptions();
    ASSERT_EQ(offered(), QStringList({"X"}));
    dialogs.inputs = {QStringLiteral("N")};
    pressSave();
    EXPECT_EQ(offered(), QStringList({"X", "N"}));
    EXPECT_EQ(s(key(QStringLiteral("Caption1"))), "N");
    EXPECT_EQ(s(key(QStringLiteral("Set1"))), "1,1,,,0,,,0,0,1");
    EXPECT_EQ(s(key(QStringLiteral("All"))), "2");
}

TEST_F(NumberPresetsTest, LoadFillsThePageAndRunsItsRules)
{
    struct Case {
        const char* name;
        int shapeBefore;
        const char16_t* record;
        const char16_t* texts[7]; // Text6, Text7, Text4, Text1, Text2, Text3, Text5
        bool check5, check6, check6Enabled;
        int shape;
    };
    const Case cases[] = {
        {"the start values", 2, u"1,1,,,0,,,0,0,1", {u"1", u"1", u"", u"", u"0", u"", u""}, false, false, true, 1},
        {"every field", 1, u"3,00,photo,_,10,-,jpg,1,1,2", {u"3", u"00", u"photo", u"_", u"10", u"-", u"jpg"},
         true, true, true, 2},
        // The shape's rule comes after the check boxes: it clears Check6.
        {"number as extension clears the extension box", 1, u"1,1,,,0,,,1,1,3",
         {u"1", u"1", u"", u"", u"0", u"", u""}, true, false, false, 3},
        {"and does so when the shape was already chosen", 3, u"1,1,,,0,,,0,1,3",
         {u"1", u"1", u"", u"", u"0", u"", u""}, false, false, false, 3},
        {"leaving the number as extension enables Check6 again", 3, u"1,1,,,0,,,0,1,1",
         {u"1", u"1", u"", u"", u"0", u"", u""}, false, true, true, 1},
        {"a record with fewer fields", 1, u"4,2", {u"4", u"2", u"", u"", u"", u"", u""}, false, false, false, 3},
        {"escaped commas come back in their fields", 1, u"1,1,x%2Cy,a%2C,0,5%25,,0,0,1",
         {u"1", u"1", u"x,y", u"a,", u"0", u"5%", u""}, false, false, true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        store.sections.clear();
        pages->Check6->setChecked(false);
        pages->setNumberShape(c.shapeBefore);
        store.write(QStringLiteral("NumSett"), QStringLiteral("All"), QStringLiteral("1"));
        store.write(QStringLiteral("NumSett"), QStringLiteral("Caption0"), QStringLiteral("P"));
        store.write(QStringLiteral("NumSett"), QStringLiteral("Set0"), QString::fromUtf16(c.record));
        presets->loadCaptions();
        suppressCalls.clear();
        pick(1, 1);
        const QString got[7] = {pages->Text6->text(), pages->Text7->text(), pages->Text4->currentText(),
                                pages->Text1->text(), pages->Text2->text(), pages->Text3->text(),
                                pages->Text5->currentText()};
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(s(got[i]), s(QString::fromUtf16(c.texts[i]))) << i;
        EXPECT_EQ(pages->Check5->isChecked(), c.check5);
        EXPECT_EQ(pages->Text4->isEnabled(), c.check5);
        EXPECT_EQ(pages->Check6->isChecked(), c.check6);
        EXPECT_EQ(pages->Check6->isEnabled(), c.check6Enabled);
        EXPECT_EQ(pages->Text5->isEnabled(), c.check6);
        EXPECT_EQ(pages->numberShape(), c.shape);
        // Filling the boxes opens no completion popup.
        EXPECT_EQ(suppressCalls, (std::vector<bool>{true, false}));
        EXPECT_TRUE(dialogs.shown.isEmpty());
    }
}

TEST_F(NumberPresetsTest, Delete)
{
    struct Case {
        const char* name;
        QStringList before;
        int entry;                 // of the delete list
        platform::MsgButton answer;
        bool asked;
        QStringList after;
    };
    const Case cases[] = {
        {"the middle one", {"X", "Y", "Z"}, 2, platform::MsgButton::Yes, true, {"X", "Z"}},
        {"the last one", {"X", "Y", "Z"}, 3, platform::MsgButton::Yes, true, {"X", "Y"}},
        {"the first one", {"X", "Y", "Z"}, 1, platform::MsgButton::Yes, true, {"Y", "Z"}},
        {"the only one", {"X"}, 1, platform::MsgButton::Yes, true, {}},
        {"No keeps it", {"X", "Y"}, 1, platform::MsgButton::No, true, {"X", "Y"}},
        // Entries that stand for no preset: nothing is asked and no preset
        // is lost (the count never goes below 0).
        {"an entry past the presets", {"X", "Y"}, 3, platform::MsgButton::Yes, false, {"X", "Y"}},
        {"with no presets", {}, 1, platform::MsgButton::Yes, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        store.sections.clear();
        dialogs.shown.clear();
        stored(c.before);
        const QString firstRecord = key(QStringLiteral("Set%1").arg(c.before.indexOf(c.after.value(0))));
        dialogs.answers = {c.answer};
        pick(3, c.entry);
        EXPECT_EQ(offered(), c.after);
        if (c.asked) {
            ASSERT_EQ(dialogs.shown.size(), 1);
            EXPECT_EQ(dialogs.shown[0].text, c.before[c.entry - 1] + QStringLiteral(u" を削除しますか？"));
            EXPECT_EQ(dialogs.shown[0].style, 68);
        } else {
            EXPECT_TRUE(dialogs.shown.isEmpty());
        }
        EXPECT_EQ(s(key(QStringLiteral("All"))), s(QString::number(c.after.size())));
        for (int i = 0; i < c.after.size(); ++i)
            EXPECT_EQ(s(key(QStringLiteral("Caption%1").arg(i))), s(c.after[i])) << i;
        if (!c.after.isEmpty()) {
            EXPECT_EQ(s(key(QStringLiteral("Set0"))), s(firstRecord)) << "records move with their names";
        }
        EXPECT_FALSE(has(QStringLiteral("Caption%1").arg(c.after.size())));
        EXPECT_FALSE(has(QStringLiteral("Set%1").arg(c.after.size())));
    }
}

TEST_F(NumberPresetsTest, EntriesWithoutAPresetAndOtherButtonsDoNothing)
{
    stored({"X"});
    pages->Text6->setText(QStringLiteral("5"));
    pages->setNumberShape(2);
    pick(1, 2); // the load list's second entry holds nothing
    EXPECT_EQ(pages->Text6->text(), QStringLiteral("5"));
    EXPECT_EQ(pages->numberShape(), 2);
    presets->Toolbar1_ButtonClick(3);
    presets->Toolbar1_ButtonClick(2);
    presets->Toolbar1_ButtonMenuClick(0, QStringLiteral("tbSave"));
    presets->Toolbar1_ButtonMenuClick(11, QStringLiteral("tbDelete"));
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(offered(), QStringList({"X"}));
}

TEST_F(NumberPresetsTest, CaptionsAtStartUp)
{
    struct Case {
        const char* name;
        const char* count; // nullptr: no key
        int captions;      // Caption0.. stored
        platform::Err err;
        int offered;
        const char* countAfter;
    };
    const Case cases[] = {
        {"no presets yet", nullptr, 0, platform::Err::None, 0, nullptr},
        {"an empty count is written as 0", "", 0, platform::Err::None, 0, "0"},
        {"three", "3", 3, platform::Err::None, 3, "3"},
        {"a count beyond ten shows ten", "14", 12, platform::Err::None, 10, "14"},
        {"a count that is no number", "many", 2, platform::Err::TypeMismatch, 0, "many"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        store.sections.clear();
        stored({"old"}); // what the lists showed before
        store.sections.clear();
        if (c.count)
            store.write(QStringLiteral("NumSett"), QStringLiteral("All"), QString::fromLatin1(c.count));
        for (int i = 0; i < c.captions; ++i)
            store.write(QStringLiteral("NumSett"), QStringLiteral("Caption%1").arg(i), QStringLiteral("p%1").arg(i));
        EXPECT_EQ(presets->loadCaptions(), c.err);
        const QStringList names = offered();
        ASSERT_EQ(names.size(), c.offered);
        for (int i = 0; i < c.offered; ++i)
            EXPECT_EQ(s(names[i]), s(QStringLiteral("p%1").arg(i)));
        if (c.countAfter) {
            EXPECT_EQ(s(key(QStringLiteral("All"))), c.countAfter);
        } else {
            EXPECT_FALSE(has(QStringLiteral("All")));
        }
    }
}

TEST(NumberPresetsWindow, StartUpListsTheStoredPresets)
{
    WindowBench w;
    w.store.write(QStringLiteral("NumSett"), QStringLiteral("All"), QStringLiteral("2"));
    w.store.write(QStringLiteral("NumSett"), QStringLiteral("Caption0"), QStringLiteral("X"));
    w.store.write(QStringLiteral("NumSett"), QStringLiteral("Caption1"), QStringLiteral("Y"));
    w.startIn({});
    mainwin::PresetBar* bar = w.form->tabs().Toolbar1;
    EXPECT_EQ(bar->entryText(1), QStringLiteral("X"));
    EXPECT_EQ(bar->entryText(2), QStringLiteral("Y"));
    EXPECT_TRUE(bar->buttonMenuEntry(3, 2)->isVisible());
    EXPECT_FALSE(bar->buttonMenuEntry(1, 3)->isVisible());
    EXPECT_TRUE(w.dialogs.shown.isEmpty());
}

TEST(NumberPresetsWindow, ACountThatIsNoNumberIsReportedAndListsNothing)
{
    WindowBench w;
    w.store.write(QStringLiteral("NumSett"), QStringLiteral("All"), QStringLiteral("many"));
    w.store.write(QStringLiteral("NumSett"), QStringLiteral("Caption0"), QStringLiteral("X"));
    w.startIn({});
    ASSERT_EQ(w.dialogs.shown.size(), 1);
    EXPECT_EQ(w.dialogs.shown[0].text, QStringLiteral(u"ｴﾗｰ番号  13 でｴﾗｰが発生しました。\r型が一致しません。"));
    EXPECT_FALSE(w.form->tabs().Toolbar1->buttonMenuEntry(1, 1)->isVisible());
    // The start-up goes on to the steps after it.
    EXPECT_EQ(w.form->browser().path(), w.dir.path());
}

TEST(NumberPresetsWindow, ANumberingRunTakesTheSaveAndDeleteButtonsAway)
{
    WindowBench w;
    QStringList files;
    for (int i = 0; i < 30; ++i)
        files.append(QStringLiteral("f%1.txt").arg(i, 2, 10, QLatin1Char('0')));
    w.store.write(S::ActionSetting::Section, S::ActionSetting::PrBar, QStringLiteral("2"));
    w.startIn(files);
    ASSERT_TRUE(w.form->tabs().selectTab(1));
    mainwin::PresetBar* bar = w.form->tabs().Toolbar1;
    std::vector<bool> during;
    QObject::connect(w.form->status().PBar, &QProgressBar::valueChanged, w.form.get(), [&] {
        if (during.empty())
            during = {bar->button(1)->isEnabled(), bar->button(3)->isEnabled()};
    });
    w.form->show();
    w.form->Command4_Click();
    EXPECT_EQ(during, (std::vector<bool>{false, false}));
    EXPECT_TRUE(bar->button(1)->isEnabled());
    EXPECT_TRUE(bar->button(3)->isEnabled());
    w.form->hide();
}

} // namespace
} // namespace tavil::test
