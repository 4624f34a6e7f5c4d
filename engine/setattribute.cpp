#include "engine/setattribute.h"

#include "engine/operation.h"
#include "engine/runcontext.h"
#include "platform/dialogs.h"
#include "platform/filesystem.h"
#include "support/cfile.h"
#include "support/classfile.h"

namespace tavil::engine {

using platform::FsStatus;

namespace {

const QString kLogSuffix = QStringLiteral("(属性変更)");
const QString kClashLine2 = QStringLiteral("と同じ名前のファイルが存在するため");
const QString kClashLine4 = QStringLiteral("のファイルをコピーできませんでした。");

// A clash is only ever told, with OK alone: it never stops the run.
ClashInfo clashInfo(const RunContext& ctx, const QString& name)
{
    const QString home = ctx.outFolder.isEmpty() ? ctx.SourceFolder : ctx.outFolder;
    ClashInfo c;
    c.logOld = ctx.SourceFolder + name;
    c.logNew = home + name + kLogSuffix;
    c.message = ctx.outFolder + name + u'\r' + kClashLine2 + u'\r' + ctx.SourceFolder + name
        + u'\r' + kClashLine4;
    c.style = platform::MsgStyle::Ok;
    return c;
}

enum class Step { Go, NextEntry, Stop };

Step fromNext(Next next)
{
    return next == Next::Stop ? Step::Stop : Step::NextEntry;
}

// The file whose attributes change: the file itself, or in output-folder mode
// a copy of it there under its own name. Whatever stops the copy ends this
// entry, so no other file is changed in its place.
Step workingFile(OperationLoop& loop, support::cFile& cf, const QString& name, QString* working)
{
    RunContext& ctx = loop.ctx();
    *working = ctx.SourceFolder + name;
    if (ctx.outFolder.isEmpty())
        return Step::Go;
    const QString target = ctx.outFolder + name;
    if (cf.CheckExistFile(target))
        return fromNext(loop.handleClash(clashInfo(ctx, name)));
    const FsStatus st = ctx.fs.copy(*working, target);
    if (!st.ok())
        return fromNext(loop.handleError(st, clashInfo(ctx, name)));
    *working = target;
    return Step::Go;
}

// The writers report nothing: a file that vanished stays vanished, silently.
// Hidden is a stored attribute; the file is never renamed to a dot name.
void applyAttributes(support::classFile& file, const SetAttributeParams& p)
{
    for (int k = 0; k < 4; ++k) {
        if (!p.AttributeChange[k])
            continue;
        const bool value = p.AttributeValue[k];
        switch (k) {
        case 0: file.setReadOnly(value); break;
        case 1: file.setArchive(value); break;
        case 2: file.setHidden(value); break;
        case 3: file.setSystem(value); break;
        }
    }
}

} // namespace

bool SetAttribute(RunContext& ctx, const SetAttributeParams& params)
{
    // The lists stay usable during the pauses, so the loop works on a copy.
    const QStringList list = ctx.objList;
    OperationLoop loop(ctx);
    const int n = static_cast<int>(list.size());
    loop.begin(ctx.SourceFolder, n, false);
    support::cFile cf(ctx.fs);
    support::classFile file(ctx.fs, ctx.dialogs);

    for (int i = 0; i < n; ++i) {
        if (loop.abortRequested(i))
            return true;
        QString working;
        const Step s = workingFile(loop, cf, list.at(i), &working);
        if (s == Step::Stop)
            return true;
        if (s == Step::Go) {
            file.setFileName(working);
            applyAttributes(file, params);
        }
        loop.setProgress(i + 1);
    }

    const bool clear = !ctx.opts.keepList;
    return loop.finish(clear, clear);
}

} // namespace tavil::engine
