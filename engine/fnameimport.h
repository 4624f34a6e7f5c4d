#pragma once

#include <QString>
#include <QStringList>

namespace tavil::engine {

struct RunContext;

// "ﾘｽﾄと同じ": the listed name is taken as it stands, extension included.
inline const QString kSameAsList = QStringLiteral("ﾘｽﾄと同じ");

// The parameters of the import tab ("ｲﾝﾎﾟｰﾄ").
struct FNameImportParams {
    QStringList ImportNames;                // List4: the imported names, in list order
    bool ExtensionRule = true;              // Option11 "変更しない" (true) / Option12 "変更する"
    QString ImportExtension = kSameAsList;  // Combo4 "拡張子の指定": "" = no extension
};

// The new name that the listed name gives the file oldName.
QString fnameImportNewName(const QString& oldName, const QString& listed, const FNameImportParams& params);

// The message shown when an imported name cannot be used: "" when the first
// count pairs of objList and ImportNames are all usable. SKIP rows of the
// work list take no name and are not judged.
QString fnameImportCheck(const QStringList& objList, const FNameImportParams& params, int count);

// Gives the i-th file of ctx.objList the i-th imported name, for as many
// files as there are names. Every name is judged before any file is
// renamed; one that is empty, ".", "..", or holds "/" or a control
// character refuses the whole run with one message naming it. True when it
// stopped early or refused; the run driver ignores it.
bool FNameImport(RunContext& ctx, const FNameImportParams& params);

} // namespace tavil::engine
