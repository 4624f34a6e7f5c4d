#include "quick/quickrename.h"

#include "engine/errmsg.h"
#include "engine/texts.h"
#include "platform/dialogs.h"
#include "platform/filesystem.h"
#include "platform/names.h"
#include "quick/quickhost.h"
#include "quick/quicknames.h"
#include "support/classfile.h"

#include <algorithm>
#include <cerrno>

namespace tavil::quick {

using platform::Err;
using platform::MsgButton;
namespace MsgStyle = platform::MsgStyle;

QString texts::clashText(const QString& newPath, const QString& oldPath)
{
    return platform::visibleName(newPath) + QStringLiteral(u"\r\n と同名のファイルが存在するため\r\n")
         + platform::visibleName(oldPath) + QStringLiteral(u"\r\nの名前は変更できません。");
}

QString texts::tooLongText(const QString& newName, bool isFolder)
{
    return QStringLiteral(u"「%1」に名前を変更できませんでした。\r\n").arg(platform::visibleName(newName))
         + (isFolder ? engine::texts::kFolderNameTooLong : engine::texts::kFileNameTooLong);
}

namespace {

enum class Next { Go, Stop };

// The collection is forgotten, the progress cleared, and a beep says so.
void endBlock(QuickTools& t)
{
    t.host.clearCollection();
    t.host.beep();
    t.host.setProgressValue(0);
}

void showGenericError(QuickTools& t, int number, const QString& detail = QString())
{
    QString text = engine::genericErrorText(number);
    if (!detail.isEmpty())
        text += u'\r' + detail;
    t.dialogs.msgBox(text, engine::texts::kErrorTitle, MsgStyle::Critical);
}

// Renames folder & oldName to folder & newName. A clash asks whether to go on;
// any other failure ends the operation.
Next renameIn(QuickTools& t, const QString& folder, const QString& oldName, const QString& newName,
              const QString& title, bool isFolder)
{
    const QString from = folder + oldName;
    const QString to = folder + newName;
    switch (platform::checkNewName(newName)) {
    case platform::NameVerdict::LeaveAlone:
        // "" (a dot file losing its extension) would name the folder itself,
        // ".." its parent.
        return Next::Go;
    case platform::NameVerdict::Bad:
        showGenericError(t, static_cast<int>(Err::BadName), platform::visibleName(to));
        endBlock(t);
        return Next::Stop;
    case platform::NameVerdict::Ok:
        break;
    }
    const platform::FsStatus st = t.fs.rename(from, to);
    if (st.ok())
        return Next::Go;
    if (st.err == Err::Exists) {
        if (t.dialogs.msgBox(texts::clashText(to, from), title, MsgStyle::OkCancelExclamation) == MsgButton::Cancel) {
            endBlock(t);
            return Next::Stop;
        }
        return Next::Go;
    }
    if (st.sysErrno == ENAMETOOLONG)
        t.dialogs.msgBox(texts::tooLongText(newName, isFolder), title, MsgStyle::Critical);
    else
        showGenericError(t, st.number());
    endBlock(t);
    return Next::Stop;
}

// One entry has no range of its own on the progress bar.
int progressMax(qsizetype n)
{
    return std::max(int(n) - 1, 1);
}

} // namespace

void changeExtension(QuickTools& t, const QStringList& collection)
{
    const QStringList work = collection;
    if (work.isEmpty()) {
        endBlock(t);
        return;
    }
    QString answer;
    while (true) {
        answer = t.dialogs.inputBox(texts::kExtPrompt, texts::kExtTitle, QString());
        if (answer.isEmpty()
            && t.dialogs.msgBox(texts::kCancelQuestion, texts::kCancelTitle, MsgStyle::YesNoQuestion) == MsgButton::Yes) {
            endBlock(t);
            return;
        }
        if (!hasRefusedCharacter(answer))
            break;
        t.dialogs.msgBox(texts::kRefused, texts::kExtTitle, MsgStyle::Critical);
    }
    const QString extension = dottedExtension(answer);

    t.host.setProgressMax(progressMax(work.size()));
    for (qsizetype i = 0; i < work.size(); ++i) {
        const QString& entry = work.at(i);
        t.file.setFileName(entry);
        if (t.file.Enabled()) {
            const QString folder = folderOf(entry);
            const QString newName = nameOf(pathWithExtension(entry, extension));
            if (renameIn(t, folder, nameOf(entry), newName, texts::kExtTitle, false) == Next::Stop)
                return;
        }
        t.host.setProgressValue(int(i));
    }
    endBlock(t);
}

void replaceInNames(QuickTools& t, const QStringList& collection, bool filesMode)
{
    const QStringList work = collection;
    if (work.isEmpty()) {
        endBlock(t);
        return;
    }
    QString search, replacement;
    while (true) {
        search = t.dialogs.inputBox(texts::kSearchPrompt, texts::kReplaceTitle, QString());
        if (search.isEmpty())
            return; // the collection stays
        replacement = t.dialogs.inputBox(texts::kReplacementPrompt, texts::kReplaceTitle, QString());
        if (!hasRefusedCharacter(replacement))
            break;
        t.dialogs.msgBox(texts::kRefused, texts::kReplaceTitle, MsgStyle::Critical);
    }

    t.host.setProgressMax(progressMax(work.size()));
    for (qsizetype i = 0; i < work.size(); ++i) {
        const QString& entry = work.at(i);
        t.file.setFileName(entry);
        bool take = false;
        if (filesMode) {
            take = t.file.Enabled();
        } else if (!t.file.Enabled()) {
            // Only folders: a FIFO, a device, a link or an unreadable file is
            // not one. A path that is gone is still tried, and its failure
            // reported.
            const platform::FileInfo info = t.fs.stat(entry);
            take = !info.exists || info.isDir;
        }
        if (take) {
            const QString name = nameOf(entry);
            if (renameIn(t, folderOf(entry), name, replacedName(name, search, replacement, filesMode),
                         texts::kReplaceTitle, !filesMode)
                == Next::Stop)
                return;
        }
        t.host.setProgressValue(int(i));
    }
    endBlock(t);
}

} // namespace tavil::quick
