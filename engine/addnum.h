#pragma once

#include <QString>

namespace tavil::engine {

struct RunContext;

// The parameters of the serial-numbering tab, in the order they are read.
// Number fields stay text so that a field holding no number is reported by
// the operation itself (13, or 6 when out of range) before any file is
// touched.
struct AddNumParams {
    QString NumPrefix;                      // Text1, right before the number
    QString NumSuffix;                      // Text3, right after the number
    QString StartNumber = QStringLiteral("0"); // Text2, 32-bit: the first number
    QString Step = QStringLiteral("1");     // Text7, 16-bit, may be negative
    QString Digits = QStringLiteral("1");   // Text6, 16-bit: width of the "0" mask
    bool UnifyName = false;                 // Check5
    QString UnifiedName;                    // Text4: one name for every file
    bool UnifyExtension = false;            // Check6
    QString UnifiedExtension;               // Text5: "" = no extension at all
    int NumberShape = 1;                    // 1 name + number, 2 number + name, else 3 number as extension
};

// The new name of one row, numberText being the running number already
// written with the mask. A name without extension ends in a lone "." with
// shapes 1 and 2; the disk drops it, the log shows the name as built.
QString addNumNewName(const AddNumParams& params, const QString& oldName, const QString& numberText);

// Serial numbering over ctx.objList, once per run. SKIP rows rename nothing
// but use up their number. True when it stopped early (refused parameters,
// abort, Cancel on a clash, a fatal error); the run driver ignores it.
bool AddNum(RunContext& ctx, const AddNumParams& params);

} // namespace tavil::engine
