#include "engine/fnamecopy.h"

#include "engine/numbers.h"
#include "engine/operation.h"
#include "engine/runcontext.h"
#include "engine/texts.h"
#include "platform/dialogs.h"
#include "platform/filesystem.h"
#include "platform/names.h"
#include "support/classfile.h"
#include "support/module1.h"


namespace tavil::engine {

using platform::Err;
using platform::FsStatus;

namespace {

// A folder path that names the folder itself even when its last part is a
// symbolic link: "x/link/." resolves the link, "x/link" would not.
QString folderSelf(const QString& folder)
{
    return platform::withTrailingSeparator(folder) + u'.';
}

// The output folder must not be the source folder. Names alone do not tell:
// "Data" and "data" are two folders here, and a link can alias one folder
// under two names, so the folders themselves are compared.
bool sameFolder(platform::FileSystem& fs, const QString& a, const QString& b)
{
    if (platform::withTrailingSeparator(a) == platform::withTrailingSeparator(b))
        return true;
    const platform::FileInfo ia = fs.stat(folderSelf(a));
    const platform::FileInfo ib = fs.stat(folderSelf(b));
    return ia.exists && ib.exists && ia.device == ib.device && ia.inode == ib.inode;
}

// An unknown time ("") equals nothing: two files whose creation time cannot
// be read are not the same file for that reason.
bool equalKnownTimes(const QString& a, const QString& b)
{
    return !a.isEmpty() && a == b;
}

// The same-file tests, in their order; any one equal property is enough.
// Only an existing regular file can be the same file.
bool sameFile(platform::FileSystem& fs, support::classFile& source, support::classFile& target,
              const FNameCopyParams& params)
{
    if (!params.SkipSameCreation && !params.SkipSameWrite && !params.SkipSameSize)
        return false;
    const platform::FileInfo ti = fs.stat(target.FileName());
    if (!ti.exists || !ti.isRegular)
        return false;
    if (params.SkipSameCreation && equalKnownTimes(source.CreationTime(), target.CreationTime()))
        return true;
    if (params.SkipSameWrite && equalKnownTimes(source.LastWriteTime(), target.LastWriteTime()))
        return true;
    if (params.SkipSameSize) {
        const platform::FileInfo si = fs.stat(source.FileName());
        if (si.exists && si.isRegular && si.size == ti.size)
            return true;
    }
    return false;
}

FsStatus badName()
{
    return FsStatus{Err::BadName, 0, false};
}

} // namespace

QString clashName(const QString& oldName, const FNameCopyParams& params, qint64 number)
{
    // A mask of index + 1 zeros; no chosen item gives the plain number.
    const int digits = params.ClashDigits < 0 ? 0 : params.ClashDigits + 1;
    return support::Module1::GetBaseName(oldName) + params.ClashPrefix + formatNumber(number, digits)
        + params.ClashSuffix + u'.' + support::Module1::GetExtName(oldName);
}

bool FNameCopy(RunContext& ctx, const FNameCopyParams& params)
{
    platform::FileSystem& fs = ctx.fs;
    const QString source = platform::withTrailingSeparator(ctx.SourceFolder);

    // Without an output folder the targets would be relative paths.
    if (ctx.outFolder.isEmpty()) {
        ctx.dialogs.msgBox(texts::kSetOutFolder, QString(), platform::MsgStyle::Critical);
        return true;
    }
    const QString out = platform::withTrailingSeparator(ctx.outFolder);
    if (sameFolder(fs, source, out)) {
        ctx.dialogs.msgBox(QStringLiteral("出力先にコピー元と同じフォルダが指定されています。"),
                           QStringLiteral("出力先フォルダのエラー"), platform::MsgStyle::Critical);
        return true;
    }

    OperationLoop loop(ctx);
    loop.setAbortText(QStringLiteral(u"作業を中止します。"));
    const int n = static_cast<int>(ctx.objList.size());
    loop.begin(n, true);

    // A number field that holds no number, or a prefix or suffix that would
    // put the file into another folder, stops the run before any file is
    // touched, with a message rather than silently.
    qint32 start = 0;
    if (const Err err = wholePartOf(params.ClashStart, &start); err != Err::None) {
        loop.handleError(FsStatus{err, 0, false}, ClashInfo{});
        return true;
    }
    if (platform::checkNewName(params.ClashPrefix + u'0' + params.ClashSuffix) == platform::NameVerdict::Bad) {
        loop.handleError(badName(), ClashInfo{});
        return true;
    }

    // The lists stay usable during the pauses, so the loop works on a copy.
    const QStringList list = ctx.objList;
    support::classFile sourceFile(fs, ctx.dialogs);
    support::classFile targetFile(fs, ctx.dialogs);

    for (int i = 0; i < n; ++i) {
        if (loop.abortRequested(i))
            return true;

        const QString& oldName = list[i];
        const QString from = source + oldName;
        ClashInfo entry; // names the file when it can't be copied
        entry.logOld = from;
        sourceFile.setFileName(from);
        qint64 counter = qint64(start) - 1; // each file numbers from the start again
        QString candidate = oldName;
        while (true) {
            const platform::NameVerdict verdict = platform::checkNewName(candidate);
            if (verdict == platform::NameVerdict::LeaveAlone)
                break; // "", "." or "..": no file of this folder
            if (verdict == platform::NameVerdict::Bad) {
                entry.logNew = out + candidate;
                loop.handleError(badName(), entry);
                return true;
            }
            const QString to = out + candidate;
            const FsStatus st = params.CopyMode ? loop.copyFile(from, to) : loop.moveFile(from, to);
            if (st.ok())
                break;
            if (st.err == Err::Exists) {
                // Never replaced: either the file there is this file, or the
                // next number is tried.
                targetFile.setFileName(out + platform::diskName(candidate));
                // A refusal for a name that is not there would number on
                // without end: report it instead.
                if (!fs.exists(targetFile.FileName())) {
                    loop.handleError(FsStatus{Err::Access, st.sysErrno, false}, entry);
                    return true;
                }
                if (sameFile(fs, sourceFile, targetFile, params))
                    break;
                ++counter;
                candidate = clashName(oldName, params, counter);
                continue;
            }
            if (loop.handleError(st, entry) == Next::Stop)
                return true;
            break; // a vanished source is passed over
        }
        loop.setProgress(i + 1);
    }

    // A move empties the selected-files list; a copy keeps it.
    return loop.finish(!params.CopyMode, !params.CopyMode);
}

} // namespace tavil::engine
