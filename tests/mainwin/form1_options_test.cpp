#include "tests/mainwin/windowbench.h"
#include "mainwin/filebrowser.h"
#include "mainwin/form1.h"
#include "mainwin/frmoptions.h"
#include "mainwin/listentries.h"
#include "mainwin/picturebox.h"
#include "mainwin/selectedlists.h"
#include "mainwin/statusarea.h"
#include "platform/settingsstore.h"

#include <QAction>
#include <QCheckBox>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <functional>

namespace tavil::test {
namespace {

using mainwin::Form1;
using mainwin::frmOptions;

QStringList rowsOf(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out.append(list->item(i)->text());
    return out;
}

// Opens the options dialog from the Settings menu; drive does the user's
// part before OK (or Cancel).
void runOptions(WindowBench& b, const std::function<void(frmOptions&)>& drive, bool ok = true)
{
    int runs = 0;
    b.form->execModal = [&](QDialog& dialog) {
        ++runs;
        auto* options = qobject_cast<frmOptions*>(&dialog);
        EXPECT_NE(options, nullptr);
        if (options == nullptr)
            return int(QDialog::Rejected);
        EXPECT_EQ(dialog.parentWidget(), b.form.get());
        drive(*options);
        (ok ? options->cmdOK : options->cmdCancel)->click();
        return dialog.result();
    };
    b.form->mnuSetMove->trigger();
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(b.form->findChildren<frmOptions*>().isEmpty()) << "the dialog goes when it closed";
}

TEST(Form1Options, OkWritesEachKeyOnceAndAppliesItAtOnce)
{
    WindowBench b;
    b.startIn({QStringLiteral("a.txt"), QStringLiteral(".hidden")});
    Form1& f = *b.form;
    b.writes.log.clear();
    runOptions(b, [](frmOptions& o) {
        o.chkFileHidden->setChecked(true);
        o.chkFileSys->setChecked(true);
        o.chkListClear->setChecked(false);
        o.chkLog->setChecked(false);
        o.Check1->setChecked(true);
        o.Mesure->setChecked(true);
        o.chkAutoComp->setChecked(false);
        o.chkDouble->setChecked(true);
    });
    EXPECT_EQ(b.writes.log, (QStringList{
                                "ActionSetting/PrBar=1",
                                "ActionSetting/Hidden=True",
                                "ActionSetting/System=True",
                                "ActionSetting/Sorted=True",
                                "ActionSetting/Clear=False",
                                "ActionSetting/LogFile=False",
                                "ActionSetting/FileDouble2=True",
                                "ActionSetting/TimeMeasure=True",
                                "ActionSetting/AutoComp=False",
                                "ActionSetting/FileDouble=True",
                            }));
    EXPECT_TRUE(f.mnuSetVisHidden->isChecked());
    EXPECT_TRUE(f.mnuSetVisSystem->isChecked());
    EXPECT_TRUE(f.mnuSetSort->isChecked());
    EXPECT_EQ(f.browser().allFiles(), (QStringList{".hidden", "a.txt"}));
    EXPECT_FALSE(f.options().keepList);
    EXPECT_FALSE(f.options().logFile);
    EXPECT_TRUE(f.options().fileDouble2);
    EXPECT_TRUE(f.options().timeMeasure);
    EXPECT_FALSE(f.options().autoComp);
    EXPECT_TRUE(f.options().fileDouble);
}

// The choice is in force at once, but neither display shows before a run:
// shown between runs it would lie over status panel 2 and hide its text.
TEST(Form1Options, ProgressChoiceIsUsedByTheNextRunAndHidesNoPanel)
{
    struct Case {
        const char* name;
        bool drawn;
        const char* stored;
    };
    const Case cases[] = {{"drawnBar", true, "1"}, {"control", false, "2"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WindowBench b;
        b.store.write("ActionSetting", "PrBar", c.drawn ? "2" : "1");
        b.start();
        Form1& f = *b.form;
        runOptions(b, [&](frmOptions& o) { (c.drawn ? o.optPrBar1 : o.optPrBar2)->setChecked(true); });
        EXPECT_EQ(b.store.read("ActionSetting", "PrBar"), QString::fromLatin1(c.stored));
        EXPECT_FALSE(f.status().Picture1->isVisibleTo(&f));
        EXPECT_FALSE(f.status().PBar->isVisibleTo(&f));
        EXPECT_EQ(&f.status().gProgress() == &f.status().gProgressBar, c.drawn);
        // The next run shows the chosen display and only that one.
        (void)f.status().showProgress();
        EXPECT_EQ(f.status().Picture1->isVisibleTo(&f), c.drawn);
        EXPECT_EQ(f.status().PBar->isVisibleTo(&f), !c.drawn);
        f.status().hideProgress();
    }
}

TEST(Form1Options, SortedOffMovesTheEntriesAndOnSortsThemAgain)
{
    WindowBench b;
    b.startIn({QStringLiteral("b.txt"), QStringLiteral("c.txt"), QStringLiteral("a.txt")});
    Form1& f = *b.form;
    mainwin::SelectedLists& lists = f.lists();
    lists.Command5_Click();
    ASSERT_EQ(rowsOf(lists.List1), (QStringList{"a.txt", "b.txt", "c.txt"}));

    runOptions(b, [](frmOptions& o) { o.chkSorted->setChecked(false); });
    EXPECT_EQ(lists.gWorkList(), lists.List2);
    EXPECT_TRUE(lists.List2->isVisibleTo(&f));
    EXPECT_FALSE(lists.List1->isVisibleTo(&f));
    EXPECT_EQ(rowsOf(lists.List2), (QStringList{"a.txt", "b.txt", "c.txt"}));
    EXPECT_FALSE(f.mnuSetSort->isChecked());
    EXPECT_EQ(b.store.read("ActionSetting", "Sorted"), QStringLiteral("False"));

    // In the unsorted list an entry moves to the end; sorting puts it back.
    lists.List2->addItem(lists.List2->takeItem(0));
    ASSERT_EQ(rowsOf(lists.List2), (QStringList{"b.txt", "c.txt", "a.txt"}));
    runOptions(b, [](frmOptions& o) { o.chkSorted->setChecked(true); });
    EXPECT_EQ(lists.gWorkList(), lists.List1);
    EXPECT_TRUE(lists.List1->isVisibleTo(&f));
    EXPECT_EQ(rowsOf(lists.List1), (QStringList{"a.txt", "b.txt", "c.txt"}));
    EXPECT_TRUE(f.mnuSetSort->isChecked());
}

TEST(Form1Options, OkWithoutChangingSortedLeavesTheListAsItWas)
{
    WindowBench b;
    b.startIn({QStringLiteral("b.txt"), QStringLiteral("a.txt")});
    Form1& f = *b.form;
    mainwin::SelectedLists& lists = f.lists();
    // The hidden twin holds something stale.
    ASSERT_TRUE(mainwin::lists::insertEntries(lists.List2, 0, {QStringLiteral("stale")}));
    lists.Command5_Click();
    runOptions(b, [](frmOptions&) {});
    EXPECT_EQ(lists.gWorkList(), lists.List1);
    EXPECT_EQ(rowsOf(lists.List1), (QStringList{"a.txt", "b.txt"}));
    EXPECT_FALSE(lists.List2->isVisibleTo(&f));
}

TEST(Form1Options, CancelLeavesTheStoreAndTheWindow)
{
    WindowBench b;
    b.startIn({QStringLiteral("a.txt"), QStringLiteral(".hidden")});
    Form1& f = *b.form;
    const auto options = f.options();
    b.writes.log.clear();
    runOptions(
        b,
        [](frmOptions& o) {
            o.chkFileHidden->setChecked(true);
            o.chkSorted->setChecked(false);
            o.optPrBar2->setChecked(true);
            o.chkLog->setChecked(false);
        },
        false);
    EXPECT_TRUE(b.writes.log.isEmpty());
    EXPECT_FALSE(f.mnuSetVisHidden->isChecked());
    EXPECT_TRUE(f.mnuSetSort->isChecked());
    EXPECT_EQ(f.browser().allFiles(), QStringList{"a.txt"});
    EXPECT_EQ(f.options().logFile, options.logFile);
}

TEST(Form1Options, TheMenuAndTheDialogShowTheSameState)
{
    WindowBench b;
    b.start();
    b.form->mnuSetVisHidden->trigger();
    b.form->mnuSetSort->trigger();
    bool hidden = false;
    bool system = true;
    bool sorted = true;
    runOptions(
        b,
        [&](frmOptions& o) {
            hidden = o.chkFileHidden->isChecked();
            system = o.chkFileSys->isChecked();
            sorted = o.chkSorted->isChecked();
        },
        false);
    EXPECT_TRUE(hidden);
    EXPECT_FALSE(system);
    EXPECT_FALSE(sorted);
}

} // namespace
} // namespace tavil::test
