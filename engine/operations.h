#pragma once

#include "engine/addnum.h"
#include "engine/changekaku.h"
#include "engine/fnameconv.h"
#include "engine/fnamecopy.h"
#include "engine/fnameedit.h"
#include "engine/fnameimport.h"
#include "engine/runcontext.h"
#include "engine/setattribute.h"
#include "engine/settimestamp.h"

#include <variant>

namespace tavil::engine {

// The parameters of one tab: what the window gathers, and all the engine
// needs to know which operation to run.
using OperationParams = std::variant<AddNumParams, ChangeKakuParams, FNameEditParams, FNameConvParams,
                                     SetTimeStampParams, SetAttributeParams, FNameImportParams, FNameCopyParams>;

Tab tabOf(const OperationParams& params);

// The folder message: shown when a run would work in no usable folder (an
// empty or relative text), which must never be read as the root.
void refuseFolder(RunContext& ctx, const QString& folder);

// Runs the operation the parameters belong to, in ctx.SourceFolder; True
// when it stopped early (a folder that is not usable is refused first).
bool runOperation(RunContext& ctx, const OperationParams& params);

} // namespace tavil::engine
