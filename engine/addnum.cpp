#include "engine/addnum.h"

#include "engine/errlog.h"
#include "engine/errmsg.h"
#include "engine/numbers.h"
#include "engine/operation.h"
#include "engine/runcontext.h"
#include "engine/texts.h"
#include "platform/dialogs.h"
#include "support/module1.h"

#include <limits>

namespace tavil::engine {

namespace M1 = support::Module1;
using platform::Err;
using platform::MsgButton;

namespace {

// Its messages carry the tab's caption.
const QString kTitle = tabCaption(Tab::AddNum);

bool inLongRange(qint64 v)
{
    return v >= std::numeric_limits<qint32>::min() && v <= std::numeric_limits<qint32>::max();
}

} // namespace

QString addNumNewName(const AddNumParams& params, const QString& oldName, const QString& numberText)
{
    const QString namePart = params.UnifyName ? params.UnifiedName : M1::GetBaseName(oldName);
    const QString number = params.NumPrefix + numberText + params.NumSuffix;
    if (params.NumberShape != 1 && params.NumberShape != 2)
        return namePart + u'.' + number;

    QString extPart;
    if (params.UnifyExtension) {
        if (!params.UnifiedExtension.isEmpty())
            extPart = u'.' + params.UnifiedExtension;
    } else {
        extPart = u'.' + M1::GetExtName(oldName);
    }
    return params.NumberShape == 1 ? namePart + number + extPart : number + namePart + extPart;
}

bool AddNum(RunContext& ctx, const AddNumParams& params)
{
    const QStringList rows = ctx.objList;
    const int n = static_cast<int>(rows.size());

    // The number fields, in the order the tab is read.
    qint32 start = 0;
    qint16 step = 0;
    qint16 digits = 0;
    for (const Err err : {toLong(params.StartNumber, &start), toInteger(params.Step, &step),
                          toInteger(params.Digits, &digits)}) {
        if (err != Err::None) {
            showGenericError(ctx, static_cast<int>(err));
            return true;
        }
    }

    if (params.UnifyName && params.NumberShape != 1 && params.NumberShape != 2 && params.UnifiedName.isEmpty()) {
        ctx.dialogs.msgBox(QStringLiteral("「名前」が入力されていません。"), kTitle, platform::MsgStyle::Exclamation);
        ctx.host.focusField(Field::UnifiedName);
        return true;
    }
    // A step of 0 gives every row the same number, and advancing past a
    // taken number would then never end.
    if (step == 0) {
        ctx.dialogs.msgBox(QStringLiteral("「増加数」に 0 は指定できません。"), kTitle, platform::MsgStyle::Exclamation);
        ctx.host.focusField(Field::Step);
        return true;
    }

    OperationLoop loop(ctx);
    loop.begin(n, true);

    qint64 number = start;
    // Moves to the next number; false (after the generic overflow message)
    // when it leaves the 32-bit range.
    const auto advance = [&]() {
        number += step;
        if (inLongRange(number))
            return true;
        showGenericError(ctx, static_cast<int>(Err::Overflow));
        return false;
    };

    for (int i = 0; i < n; ++i) {
        if (loop.abortRequested(i))
            return true;
        const QString& oldName = rows[i];
        if (oldName != kSkipRow) {
            while (true) {
                const QString newName = addNumNewName(params, oldName, formatNumber(number, digits));
                const platform::FsStatus st = loop.place(oldName, newName);
                if (st.err != Err::Exists) {
                    ClashInfo failed;
                    failed.logOld = ctx.SourceFolder + oldName;
                    failed.logNew = loop.targetFolder() + newName;
                    if (!st.ok() && loop.handleError(st, failed) == Next::Stop)
                        return true;
                    break;
                }
                if (ctx.opts.fileDouble) {
                    // The same row again with the next number; not an error.
                    loop.setProgress(i);
                    if (!advance())
                        return true;
                    continue;
                }
                if (!ctx.opts.fileDouble2) {
                    ctx.strMsg = QStringLiteral("同じ名前のファイルが存在するため") + u'\r'
                        + QStringLiteral("名前を変更することが出来ませんでした。");
                    if (ctx.dialogs.msgBox(ctx.strMsg, texts::kClashTitle,
                                           platform::MsgStyle::OkCancelExclamation)
                        == MsgButton::Cancel)
                        return true;
                }
                ++ctx.errCount;
                PrintErrlog(ctx, ctx.SourceFolder + oldName, loop.targetFolder() + newName);
                break;
            }
        }
        loop.setProgress(i + 1);
        // Only when a row follows: the number after the last row is never
        // used, so it must not be able to overflow.
        if (i + 1 < n && !advance())
            return true;
    }
    return loop.finish(true, true);
}

} // namespace tavil::engine
