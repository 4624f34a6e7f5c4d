// The Quick window's commands: the numbered menu, the three operations and
// the drop.

#include "quick/form4.h"

#include "engine/errmsg.h"
#include "engine/texts.h"
#include "platform/dialogs.h"
#include "platform/filesystem.h"
#include "platform/gui/desktop.h"
#include "platform/names.h"
#include "quick/droppedpaths.h"
#include "quick/quickdelete.h"
#include "quick/quickhost.h"
#include "quick/quickrename.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTimeEdit>

namespace tavil::quick {

namespace {

const QString kMenuTitle = QStringLiteral(u"Quick Form メニュー");
const QString kCancelled = QStringLiteral(u"キャンセルされました。");
const QString kNoFolder = QStringLiteral(u"パスが見つかりません。\r\nフォルダではなくファイルをドロップして下さい。");

} // namespace

void Form4::expFileName()
{
    if (List1.isEmpty()) {
        m_services.desktop.beep();
        return;
    }
    const QuickMode current = mode();
    const QString answer = m_services.dialogs.inputBox(menuPrompt(current), kMenuTitle, QString());
    switch (menuAction(current, answer)) {
    case MenuAction::ChangeExtension:
        mnuChangeExp_Click();
        break;
    case MenuAction::Replace:
        mnuChangeReplace_Click();
        break;
    case MenuAction::Delete:
        mnuFileDel_Click();
        break;
    case MenuAction::OpenMain:
        mnuChangeBack_Click();
        break;
    case MenuAction::None:
        m_services.dialogs.msgBox(kCancelled, kMenuTitle, platform::MsgStyle::Critical);
        break;
    }
}

void Form4::mnuChangeExp_Click()
{
    QuickTools t = tools();
    changeExtension(t, List1);
}

void Form4::mnuChangeReplace_Click()
{
    QuickTools t = tools();
    replaceInNames(t, List1, mFilesMode);
}

void Form4::mnuFileDel_Click()
{
    const DeleteParams params = deleteParams();
    File1.setPattern(params.pattern);
    QuickTools t = tools();
    deleteByConditions(t, params);
}

DeleteParams Form4::deleteParams() const
{
    DeleteParams p;
    p.collection = List1;
    p.folder = File1.path();
    p.pattern = patternOfBox(Combo1->currentText());
    p.recycle = Check1->isChecked();
    const int tab = TabStrip1->currentIndex();
    p.condition = tab == 1 ? DeleteCondition::Attributes : tab == 2 ? DeleteCondition::Date : DeleteCondition::Name;
    for (int i = 0; i < kAttributeCount; ++i) {
        p.tested[i] = Check2[i]->isChecked();
        p.wanted[i] = Check3[i]->isChecked();
    }
    p.anyAttribute = Option6[1]->isChecked();
    const QTime time = DTPicker2->time();
    p.moment = QDateTime(DTPicker1->date(),
                         Option3->isChecked() ? QTime(0, 0) : QTime(time.hour(), time.minute(), time.second()));
    p.stamp = Option1->isChecked() ? DateStamp::Creation
            : Option3->isChecked() ? DateStamp::LastAccess
                                   : DateStamp::LastWrite;
    p.newer = Option4->isChecked();
    return p;
}

void Form4::handleDrop(const QMimeData* data)
{
    takeDrop(droppedPaths(data));
}

void Form4::takeDrop(const QStringList& paths)
{
    // In the delete mode every drop replaces the collection, and its first
    // path names the folder the listing shows.
    if (mode() == QuickMode::Delete) {
        dropPath(paths);
        List1.clear();
        List2.clear();
    }
    if (paths.isEmpty())
        return;
    List2 = paths;
    addToCollection(List1, List2);
}

void Form4::dropPath(const QStringList& paths)
{
    if (paths.isEmpty()) {
        m_services.dialogs.msgBox(engine::genericErrorText(static_cast<int>(platform::Err::PropertyNotFound)),
                                  engine::texts::kErrorTitle, platform::MsgStyle::Critical);
        return;
    }
    const QString folder = folderOf(paths.first());
    // "/." finds the folder itself even where a link leads to it.
    if (!m_services.fs.stat(platform::withTrailingSeparator(folder) + u'.').isDir) {
        m_services.dialogs.msgBox(kNoFolder, QStringLiteral("Tavil"), platform::MsgStyle::Critical);
        return;
    }
    File1.setPath(folder);
}

} // namespace tavil::quick
