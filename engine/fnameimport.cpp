#include "engine/fnameimport.h"

#include "engine/operation.h"
#include "engine/runcontext.h"
#include "engine/texts.h"
#include "platform/dialogs.h"
#include "platform/fsname.h"
#include "platform/names.h"
#include "support/module1.h"

#include <algorithm>

namespace tavil::engine {

namespace M1 = support::Module1;

namespace {

const QString kBadImportName = QStringLiteral(u"インポートされたファイル名が不正です。");

// The longest name, in bytes, that the usual Linux file systems take.
constexpr qsizetype kNameMaxBytes = 255;

bool usableName(const QString& name)
{
    if (platform::checkNewName(name) != platform::NameVerdict::Ok)
        return false;
    QByteArray bytes;
    return platform::nameToBytes(platform::diskName(name), &bytes) && bytes.size() <= kNameMaxBytes;
}

} // namespace

QString fnameImportNewName(const QString& oldName, const QString& listed, const FNameImportParams& params)
{
    if (params.ExtensionRule) {
        QString name = M1::GetBaseName(listed) + u'.' + M1::GetExtName(oldName);
        if (name.endsWith(u'.'))
            name.chop(1); // the old name has no extension
        return name;
    }
    if (params.ImportExtension == kSameAsList)
        return listed;
    if (!params.ImportExtension.isEmpty())
        return M1::GetBaseName(listed) + u'.' + params.ImportExtension;
    return M1::GetBaseName(listed);
}

QString fnameImportCheck(const QStringList& objList, const FNameImportParams& params, int count)
{
    for (int i = 0; i < count; ++i) {
        if (objList[i] == kSkipRow)
            continue;
        const QString& listed = params.ImportNames[i];
        const bool listedOk = usableName(listed);
        const QString newName = fnameImportNewName(objList[i], listed, params);
        if (listedOk && usableName(newName))
            continue;
        // Name the entry as it was imported; when only the name built from
        // it is bad (the extension typed on the tab), name that.
        return kBadImportName + u'\r' + QString::number(i + 1) + QStringLiteral(u"番目：「")
               + platform::visibleName(listedOk ? newName : listed) + QStringLiteral(u"」");
    }
    return {};
}

bool FNameImport(RunContext& ctx, const FNameImportParams& params)
{
    const int n = static_cast<int>(std::min(ctx.objList.size(), params.ImportNames.size()));
    ctx.host.setProgressMax(n);
    // All names are judged first, so that a bad one never leaves the folder
    // half renamed.
    const QString bad = fnameImportCheck(ctx.objList, params, n);
    if (!bad.isEmpty()) {
        ctx.strMsg = bad;
        ctx.dialogs.msgBox(bad, texts::kImportTitle, platform::MsgStyle::Critical);
        return true;
    }

    RenameSpec job;
    job.showChangingStatus = true;
    job.count = n;
    job.newName = [&params](int i, const QString& oldName) -> std::optional<NewName> {
        if (oldName == kSkipRow)
            return std::nullopt; // holds its place: the name at this row goes unused
        return NewName{fnameImportNewName(oldName, params.ImportNames[i], params), QString()};
    };
    return runRenameLoop(ctx, job);
}

} // namespace tavil::engine
