#include "mainwin/frmoptions.h"
#include "mainwin/picturebox.h"
#include "platform/gui/services.h"
#include "platform/settingsstore.h"
#include "tests/common/fakes.h"
#include "tests/common/guifakes.h"
#include "tests/common/testfs.h"
#include "tests/mainwin/windowbench.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace tavil::test {
namespace {

using mainwin::frmOptions;
namespace S = support::settings;

// What OK handed to the main window, in order.
class FakeOptionsHost final : public mainwin::OptionsHost {
public:
    void applyProgressChoice() override { calls.append(QStringLiteral("progress")); }
    void applyShowHidden(bool show) override { calls.append(QStringLiteral("hidden=%1").arg(show)); }
    void applyShowSystem(bool show) override { calls.append(QStringLiteral("system=%1").arg(show)); }
    void applySorted(bool sorted) override { calls.append(QStringLiteral("sorted=%1").arg(sorted)); }
    void applyOptionFlags(const S::OptionFlags& f) override
    {
        flags = f;
        calls.append(QStringLiteral("flags"));
    }
    QStringList calls;
    S::OptionFlags flags;
};

// A dialog over settings in memory whose writes are recorded.
struct OptionsBench {
    TestFileSystem fs;
    platform::MemorySettingsStore store;
    RecordingStore writes{store};
    FakeDialogs dialogs;
    FakeClock clock;
    FakeDesktop desktop;
    FakeVolumes volumes;
    platform::Services services{fs, writes, dialogs, clock, desktop, volumes, QStringLiteral("/data/tavil/errlog"),
                                QStringLiteral("/home/user")};
    FakeOptionsHost host;

    void set(const char* key, const QString& value) { store.write(S::ActionSetting::Section, key, value); }
};

TEST(FrmOptionsBuild, CaptionsOfEveryControl)
{
    OptionsBench b;
    frmOptions dialog(b.services, b.host);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral(u"動作設定"));
    struct Case {
        const char* name;
        QString text;
    };
    const Case checks[] = {
        {"chkFileHidden", u"隠しファイル"_qs},
        {"chkFileSys", u"システムファイル"_qs},
        {"chkSorted", u"自動的にソートする"_qs},
        {"chkListClear", u"ファイル名を変更したとき以外はリストをクリアしない"_qs},
        {"chkLog", u"ｴﾗｰが出たときはﾛｸﾞﾌｧｲﾙに記録する"_qs},
        {"Check1", u"同名のファイルがあるときはスキップする"_qs},
        {"Mesure", u"処理時間を測定する"_qs},
        {"chkAutoComp", u"文字の入力支援機能を使う"_qs},
        {"chkDouble", u"同名のファイルがあるときは番号を進めて続行する"_qs},
    };
    for (const Case& c : checks) {
        SCOPED_TRACE(c.name);
        auto* box = dialog.findChild<QCheckBox*>(c.name);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), c.text);
    }
    const Case buttons[] = {
        {"Command1", u"ﾌｧｲﾙﾊﾟﾀｰﾝ"_qs},
        {"Command2", u"拡張子"_qs},
        {"Command3", u"「連番付加」の「名前」"_qs},
        {"Command4", u"「編集」のﾃｷｽﾄﾎﾞｯｸｽ"_qs},
        {"cmdOK", u"OK"_qs},
        {"cmdCancel", u"ｷｬﾝｾﾙ"_qs},
    };
    for (const Case& c : buttons) {
        SCOPED_TRACE(c.name);
        auto* button = dialog.findChild<QPushButton*>(c.name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), c.text);
    }
    const Case frames[] = {
        {"fraPrBar", u"プログレスバー"_qs},
        {"fraFileVis", u"ファイルの表示"_qs},
        {"fraSelected", u"選択ファイルの設定"_qs},
        {"fraAutoComp", u"入力支援機能"_qs},
        {"fraHistory", u"履歴のクリア"_qs},
    };
    for (const Case& c : frames) {
        SCOPED_TRACE(c.name);
        auto* frame = dialog.findChild<QGroupBox*>(c.name);
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(frame->title(), c.text);
    }
    EXPECT_EQ(dialog.lblLogPlace->text(), QStringLiteral(u"場所 ："));
    EXPECT_EQ(dialog.lblHistory->text(), QStringLiteral(u"履歴はそれぞれ30個まで保存されます。"));
    EXPECT_EQ(dialog.lblAutoComp->text(),
              QStringLiteral(u"入力支援機能はファイルパターンや拡張子などを入力する際、以前に入力した内容や"
                             u"登録されているものの中から近いものを表示する機能です。"));

    // The tabs in their order, each with its key, and the page each shows.
    ASSERT_EQ(dialog.tbsOptions->count(), 3);
    const struct {
        QString caption;
        QString key;
        const char* page;
    } tabs[] = {
        {u"全般"_qs, "tabAll", "Frame1(0)"},
        {u"入力支援"_qs, "tabAll2", "Frame1(2)"},
        {u"連番付加"_qs, "tabAddNum", "Frame1(1)"},
    };
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(dialog.tbsOptions->tabText(i), tabs[i].caption);
        EXPECT_EQ(dialog.tbsOptions->tabData(i).toString(), tabs[i].key);
        dialog.tbsOptions->setCurrentIndex(i);
        for (QFrame* page : dialog.Frame1)
            EXPECT_EQ(page->isVisibleTo(&dialog), page->objectName() == QLatin1String(tabs[i].page))
                << page->objectName().toStdString();
    }
    EXPECT_EQ(dialog.chkDouble->parentWidget(), dialog.Frame1[1]);
    EXPECT_EQ(dialog.chkAutoComp->parentWidget()->parentWidget(), dialog.Frame1[2]);
}

TEST(FrmOptionsLoad, StoredSettingsIntoTheBoxes)
{
    // Boxes in the order Hidden, System, Sorted, Clear, LogFile, FileDouble2,
    // TimeMeasure, AutoComp, FileDouble.
    const char* const keys[] = {"Hidden",   "System",      "Sorted",   "Clear",     "LogFile",
                                "FileDouble2", "TimeMeasure", "AutoComp", "FileDouble"};
    struct Case {
        const char* name;
        QString stored; // every key gets this text; a null text stores nothing
        QString prBar;  // null: not stored
        bool drawnBar;
        std::array<bool, 9> ticked;
    };
    const Case cases[] = {
        {"nothingStoredGivesTheDefaults", {}, {}, true, {false, false, true, true, true, false, false, true, false}},
        {"allTrue", "True", "1", true, {true, true, true, true, true, true, true, true, true}},
        {"allFalseInOtherCase", "fALSE", "2", false, {false, false, false, false, false, false, false, false, false}},
        {"numbersAreFlags", "-1", "7", false, {true, true, true, true, true, true, true, true, true}},
        {"zeroIsFalse", "0", " 1 ", true, {false, false, false, false, false, false, false, false, false}},
        // A text that is no flag is the key's default, not a crash.
        {"brokenTextsGiveTheDefaults", "yes", "x", true,
         {false, false, true, true, true, false, false, true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OptionsBench b;
        if (!c.stored.isNull()) {
            for (const char* key : keys)
                b.set(key, c.stored);
        }
        if (!c.prBar.isNull())
            b.set("PrBar", c.prBar);
        frmOptions dialog(b.services, b.host);
        EXPECT_EQ(dialog.optPrBar1->isChecked(), c.drawnBar);
        EXPECT_EQ(dialog.optPrBar2->isChecked(), !c.drawnBar);
        const QCheckBox* boxes[] = {dialog.chkFileHidden, dialog.chkFileSys,  dialog.chkSorted,
                                    dialog.chkListClear,  dialog.chkLog,      dialog.Check1,
                                    dialog.Mesure,        dialog.chkAutoComp, dialog.chkDouble};
        for (int i = 0; i < 9; ++i)
            EXPECT_EQ(boxes[i]->isChecked(), c.ticked[std::size_t(i)]) << keys[i];
        EXPECT_TRUE(b.writes.log.isEmpty()) << "opening writes nothing";
    }
}

TEST(FrmOptionsLoad, LogFolderIsShownWithItsClosingSeparator)
{
    OptionsBench b;
    frmOptions dialog(b.services, b.host);
    EXPECT_EQ(dialog.Text1->text(), QStringLiteral("/data/tavil/errlog/"));
    EXPECT_TRUE(dialog.Text1->isReadOnly());
}

TEST(FrmOptionsClose, OkWritesEveryKeyOnceInOrderAndLeavesTheRest)
{
    OptionsBench b;
    b.store.write("Setting", "Dir", "/somewhere");
    b.store.write("TempPatt", "All", "1");
    b.store.write("TempPatt", "tp0", "*.txt");
    b.set("Sorted", "False");
    frmOptions dialog(b.services, b.host);
    dialog.optPrBar2->setChecked(true);
    dialog.chkFileHidden->setChecked(true);
    dialog.chkFileSys->setChecked(false);
    dialog.chkSorted->setChecked(true);
    dialog.chkListClear->setChecked(false);
    dialog.chkLog->setChecked(false);
    dialog.Check1->setChecked(true);
    dialog.Mesure->setChecked(true);
    dialog.chkAutoComp->setChecked(false);
    dialog.chkDouble->setChecked(true);
    dialog.cmdOK->click();

    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    // Sorted is the host's to write: the list swap saves it.
    EXPECT_EQ(b.writes.log, (QStringList{
                                "ActionSetting/PrBar=2",
                                "ActionSetting/Hidden=True",
                                "ActionSetting/System=False",
                                "ActionSetting/Clear=False",
                                "ActionSetting/LogFile=False",
                                "ActionSetting/FileDouble2=True",
                                "ActionSetting/TimeMeasure=True",
                                "ActionSetting/AutoComp=False",
                                "ActionSetting/FileDouble=True",
                            }));
    EXPECT_EQ(b.host.calls, (QStringList{"progress", "hidden=1", "system=0", "sorted=1", "flags"}));
    EXPECT_FALSE(b.host.flags.keepList);
    EXPECT_FALSE(b.host.flags.logFile);
    EXPECT_TRUE(b.host.flags.fileDouble2);
    EXPECT_TRUE(b.host.flags.timeMeasure);
    EXPECT_FALSE(b.host.flags.autoComp);
    EXPECT_TRUE(b.host.flags.fileDouble);
    EXPECT_EQ(b.store.read("Setting", "Dir"), QStringLiteral("/somewhere"));
    EXPECT_EQ(b.store.read("TempPatt", "tp0"), QStringLiteral("*.txt"));
}

TEST(FrmOptionsClose, CancelAndTheCloseBoxChangeNothing)
{
    for (const bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox ? "close box" : "cancel");
        OptionsBench b;
        b.set("Hidden", "False");
        const auto before = b.store.sections;
        frmOptions dialog(b.services, b.host);
        dialog.show();
        dialog.chkFileHidden->setChecked(true);
        dialog.optPrBar2->setChecked(true);
        if (closeBox)
            dialog.close();
        else
            dialog.cmdCancel->click();
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_FALSE(dialog.Timer1->isActive());
        EXPECT_TRUE(b.writes.log.isEmpty());
        EXPECT_TRUE(b.host.calls.isEmpty());
        EXPECT_EQ(b.store.sections, before);
    }
}

TEST(FrmOptionsHistory, ClearingRemovesTheSectionBeepsAndDisables)
{
    struct Case {
        const char* button;
        const char* section;
    };
    const Case cases[] = {
        {"Command1", "TempPatt"},
        {"Command2", "TempExp"},
        {"Command3", "TempName"},
        {"Command4", "TempEdit"},
    };
    const char* const sections[] = {"TempPatt", "TempExp", "TempName", "TempEdit"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        OptionsBench b;
        for (const char* s : sections) {
            b.store.write(s, "All", "1");
            b.store.write(s, "x0", "kept");
        }
        frmOptions dialog(b.services, b.host);
        auto* button = dialog.findChild<QPushButton*>(c.button);
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(button->isEnabled());
        button->click();
        EXPECT_FALSE(button->isEnabled());
        EXPECT_EQ(b.desktop.beeps, 1);
        EXPECT_EQ(b.writes.log, QStringList{QStringLiteral("-") + c.section});
        for (const char* s : sections)
            EXPECT_EQ(b.store.sections.contains(s), QString::fromLatin1(s) != QString::fromLatin1(c.section)) << s;

        // Opened again the history is empty: the button stays disabled.
        frmOptions again(b.services, b.host);
        EXPECT_FALSE(again.findChild<QPushButton*>(c.button)->isEnabled());
        // Closing the dialog after a clearing does not bring it back.
        dialog.cmdCancel->click();
        EXPECT_FALSE(b.store.sections.contains(c.section));
    }
}

TEST(FrmOptionsHistory, AButtonIsEnabledOnlyForAHistoryWithEntries)
{
    struct Case {
        const char* name;
        QString count; // null: not stored
        bool enabled;
    };
    const Case cases[] = {
        {"missing", {}, false}, {"zero", "0", false},  {"empty", "", false},
        {"notANumber", "abc", false}, {"one", "1", true}, {"thirty", "30", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OptionsBench b;
        if (!c.count.isNull())
            b.store.write("TempExp", "All", c.count);
        frmOptions dialog(b.services, b.host);
        EXPECT_EQ(dialog.Command2->isEnabled(), c.enabled);
        EXPECT_FALSE(dialog.Command1->isEnabled());
    }
}

TEST(FrmOptionsPreview, FiftyTicksMakeOneRound)
{
    OptionsBench b;
    frmOptions dialog(b.services, b.host);
    EXPECT_TRUE(dialog.Timer1->isActive());
    EXPECT_EQ(dialog.Timer1->interval(), 200);
    EXPECT_EQ(dialog.preview().max(), 50);
    EXPECT_EQ(dialog.preview().value(), 0);
    EXPECT_EQ(dialog.PBar->value(), 0);
    EXPECT_EQ(dialog.PBar->maximum(), 50);
    struct Step {
        int ticks; // in all, from the opening
        int drawn;
        int control;
    };
    const Step steps[] = {{1, 1, 2}, {2, 2, 3}, {48, 48, 49}, {49, 49, 50}, {50, 0, 0}, {51, 1, 2}, {100, 0, 0}};
    int done = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.ticks);
        while (done < s.ticks) {
            dialog.Timer1_Timer();
            ++done;
        }
        EXPECT_EQ(dialog.preview().value(), s.drawn);
        EXPECT_EQ(dialog.PBar->value(), s.control);
    }
}

TEST(FrmOptionsPreview, TabsStopAndRestartThePreview)
{
    OptionsBench b;
    frmOptions dialog(b.services, b.host);
    for (int i = 0; i < 10; ++i)
        dialog.Timer1_Timer();
    dialog.tbsOptions->setCurrentIndex(1); // "入力支援": the preview goes on
    EXPECT_TRUE(dialog.Timer1->isActive());
    EXPECT_EQ(dialog.preview().value(), 10);
    dialog.tbsOptions->setCurrentIndex(2); // "連番付加": stopped
    EXPECT_FALSE(dialog.Timer1->isActive());
    EXPECT_EQ(dialog.preview().value(), 10);
    dialog.tbsOptions->setCurrentIndex(0); // "全般": from the start again
    EXPECT_TRUE(dialog.Timer1->isActive());
    EXPECT_EQ(dialog.Timer1->interval(), 200);
    EXPECT_EQ(dialog.preview().value(), 0);
    EXPECT_EQ(dialog.PBar->value(), 0);
}

TEST(FrmOptionsKeys, CtrlTabGoesToTheNextTabAndWraps)
{
    OptionsBench b;
    frmOptions dialog(b.services, b.host);
    struct Step {
        QWidget* target;
        Qt::KeyboardModifiers modifiers;
        int tabAfter;
    };
    const Step steps[] = {
        {dialog.chkSorted, Qt::ControlModifier, 1},   // "全般" -> "入力支援"
        {dialog.Command1, Qt::ControlModifier, 2},    // -> "連番付加"
        {dialog.chkDouble, Qt::ControlModifier, 0},   // from the last tab the first
        {&dialog, Qt::ControlModifier, 1},
        {dialog.chkAutoComp, Qt::NoModifier, 1},      // a plain Tab only moves the focus
        {dialog.chkAutoComp, Qt::ControlModifier | Qt::ShiftModifier, 1},
    };
    int i = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(i++);
        QTest::keyClick(s.target, Qt::Key_Tab, s.modifiers);
        EXPECT_EQ(dialog.tbsOptions->currentIndex(), s.tabAfter);
    }
}

} // namespace
} // namespace tavil::test
