#include "engine/changekaku.h"

#include "engine/operation.h"
#include "engine/runcontext.h"
#include "platform/dialogs.h"
#include "support/module1.h"

namespace tavil::engine {

namespace M1 = support::Module1;
using Mode = ChangeKakuParams::Mode;

namespace {

QString dotted(const QString& extension)
{
    return extension.startsWith(u'.') ? extension : u'.' + extension;
}

} // namespace

std::optional<QString> changeKakuNewName(const ChangeKakuParams& params, const QString& oldName)
{
    const QString base = M1::GetBaseName(oldName);
    switch (params.ExtensionMode) {
    case Mode::Change:
        if (params.NewExtension.isEmpty())
            return std::nullopt;
        return base + dotted(params.NewExtension);
    case Mode::Delete:
    case Mode::Join:
        break;
    }
    // A dot file has no base name: its dot is not an extension's.
    if (base.isEmpty())
        return std::nullopt;
    return params.ExtensionMode == Mode::Delete ? base : base + M1::GetExtName(oldName);
}

bool ChangeKaku(RunContext& ctx, const ChangeKakuParams& params)
{
    ctx.host.setProgressMax(static_cast<int>(ctx.objList.size()));
    if (params.ExtensionMode == Mode::Change && params.NewExtension.isEmpty()) {
        ctx.dialogs.msgBox(QStringLiteral("「拡張子」が入力されていません。"), QStringLiteral("拡張子の変更"),
                           platform::MsgStyle::Exclamation);
        ctx.host.focusField(Field::NewExtension);
        return true;
    }

    RenameSpec job;
    job.showChangingStatus = true;
    job.newName = [&params](int, const QString& oldName) -> std::optional<NewName> {
        const std::optional<QString> name = changeKakuNewName(params, oldName);
        if (!name)
            return std::nullopt;
        // The clash message names the new base name and extension.
        return NewName{*name, *name};
    };
    return runRenameLoop(ctx, job);
}

} // namespace tavil::engine
