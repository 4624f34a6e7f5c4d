#include "engine/operations.h"

#include "platform/dialogs.h"
#include "platform/names.h"

namespace tavil::engine {

namespace {

template <class... F>
struct Overloaded : F... {
    using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

} // namespace

Tab tabOf(const OperationParams& params)
{
    return std::visit(Overloaded{
                          [](const AddNumParams&) { return Tab::AddNum; },
                          [](const ChangeKakuParams&) { return Tab::Kaku; },
                          [](const FNameEditParams&) { return Tab::Edit; },
                          [](const FNameConvParams&) { return Tab::Conv; },
                          [](const SetTimeStampParams&) { return Tab::TimeStamp; },
                          [](const SetAttributeParams&) { return Tab::Attribute; },
                          [](const FNameImportParams&) { return Tab::Import; },
                          [](const FNameCopyParams&) { return Tab::Copy; },
                      },
                      params);
}

void refuseFolder(RunContext& ctx, const QString& folder)
{
    ctx.strMsg = QStringLiteral(u"変更するフォルダが正しく指定されていません。");
    if (!folder.isEmpty())
        ctx.strMsg += u'\r' + platform::visibleName(folder);
    ctx.dialogs.msgBox(ctx.strMsg, QString(), platform::MsgStyle::Critical);
}

bool runOperation(RunContext& ctx, const OperationParams& params)
{
    if (!isUsableFolder(ctx.SourceFolder)) {
        refuseFolder(ctx, ctx.SourceFolder);
        return true;
    }
    return std::visit(Overloaded{
                          [&](const AddNumParams& p) { return AddNum(ctx, p); },
                          [&](const ChangeKakuParams& p) { return ChangeKaku(ctx, p); },
                          [&](const FNameEditParams& p) { return FNameEdit(ctx, p); },
                          [&](const FNameConvParams& p) { return FNameConv(ctx, p); },
                          [&](const SetTimeStampParams& p) { return SetTimeStamp(ctx, p); },
                          [&](const SetAttributeParams& p) { return SetAttribute(ctx, p); },
                          [&](const FNameImportParams& p) { return FNameImport(ctx, p); },
                          [&](const FNameCopyParams& p) { return FNameCopy(ctx, p); },
                      },
                      params);
}

} // namespace tavil::engine
