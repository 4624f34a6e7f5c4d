#include "engine/setattribute.h"

#include "engine/operation.h"
#include "engine/runcontext.h"
#include "platform/dialogs.h"
#include "platform/filesystem.h"
#include "support/classfile.h"

namespace tavil::engine {

using platform::FsStatus;

namespace {

const QString kLogSuffix = QStringLiteral("(属性変更)");

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

bool anyChange(const SetAttributeParams& p)
{
    for (const bool change : p.AttributeChange) {
        if (change)
            return true;
    }
    return false;
}

} // namespace

bool SetAttribute(RunContext& ctx, const SetAttributeParams& params)
{
    // The lists stay usable during the pauses, so the loop works on a copy.
    const QStringList list = ctx.objList;
    OperationLoop loop(ctx);
    const int n = static_cast<int>(list.size());
    loop.begin(n, false);
    support::classFile file(ctx.fs, ctx.dialogs);

    for (int i = 0; i < n; ++i) {
        if (loop.abortRequested(i))
            return true;
        QString working;
        // A clash is only ever told, with OK alone: it never stops the run.
        const QString& name = list.at(i);
        const auto s = loop.workingFile(name, loop.copyClash(name, kLogSuffix, platform::MsgStyle::Ok), &working);
        if (s == OperationLoop::Step::Stop)
            return true;
        if (s == OperationLoop::Step::Go) {
            // A link can carry no attribute of its own; its target's are
            // never changed in its place.
            if (anyChange(params) && ctx.fs.stat(working).isSymlink) {
                loop.refuseLink(loop.copyClash(name, kLogSuffix, platform::MsgStyle::Ok));
            } else {
                file.setFileName(working);
                applyAttributes(file, params);
            }
        }
        loop.setProgress(i + 1);
    }

    const bool clear = !ctx.opts.keepList;
    return loop.finish(clear, clear);
}

} // namespace tavil::engine
