#include "engine/fnameedit.h"

#include "engine/errmsg.h"
#include "engine/numbers.h"
#include "engine/operation.h"
#include "engine/runcontext.h"
#include "support/module1.h"

namespace tavil::engine {

namespace M1 = support::Module1;
using platform::Err;
using Mode = FNameEditParams::Mode;
using From = FNameEditParams::From;
using Direction = FNameEditParams::Direction;

namespace {

int atLeastZero(int v)
{
    return v < 0 ? 0 : v;
}

Err readNumber(const QString& text, int* value)
{
    qint16 v = 0;
    const Err err = toInteger(text, &v);
    if (err == Err::None)
        *value = v;
    return err;
}

} // namespace

Err readEditRule(const FNameEditParams& params, EditRule* rule)
{
    EditRule r;
    r.mode = params.EditMode;
    Err err = Err::None;
    switch (params.EditMode) {
    case Mode::Add:
        err = readNumber(params.EditPosition, &r.position);
        r.text = params.EditText;
        r.from = params.PositionFrom;
        break;
    case Mode::Replace:
        r.usePosition = params.UsePosition;
        if (r.usePosition) {
            err = readNumber(params.EditPosition, &r.position);
            r.from = params.PositionFrom;
        }
        r.text = params.EditText;
        r.replacement = params.ReplaceText;
        break;
    case Mode::Delete:
        err = readNumber(params.EditPosition, &r.position);
        if (err == Err::None)
            err = readNumber(params.DeleteCount, &r.count);
        r.from = params.PositionFrom;
        r.direction = params.DeleteDirection;
        break;
    }
    if (err == Err::None)
        *rule = r;
    return err;
}

Err editBaseName(const EditRule& rule, const QString& base, QString* edited)
{
    // Positions count from 1 in the tab; p is the number of characters
    // before the position. Characters are counted as the user sees them, so
    // an edit never cuts a surrogate pair in two.
    const int L = M1::CharCount(base);
    const int p = rule.position - 1;
    const int c = rule.count;
    const int F = M1::CharCount(rule.text);
    const bool atPosition = rule.mode == Mode::Replace && rule.usePosition;

    // Where p itself is a character count, a position of 0 or less cannot be
    // used; so cannot a negative number of characters to delete (it would
    // repeat part of the name instead).
    const bool pIsCount = rule.mode == Mode::Add || (atPosition && rule.from == From::Front)
        || (rule.mode == Mode::Delete
            && (rule.from == From::Front) == (rule.direction == Direction::Right));
    if ((pIsCount && p < 0) || (atPosition && rule.from == From::Back && p + 1 < 0)
        || (rule.mode == Mode::Delete && c < 0))
        return Err::IllegalCall;

    const auto left = [&base](int k) { return M1::CharLeft(base, atLeastZero(k)); };
    const auto right = [&base](int k) { return M1::CharRight(base, atLeastZero(k)); };

    switch (rule.mode) {
    case Mode::Add:
        *edited = rule.from == From::Front ? left(p) + rule.text + right(L - p)
                                           : left(L - p) + rule.text + right(p);
        return Err::None;
    case Mode::Replace:
        if (!rule.usePosition) {
            *edited = base;
            M1::ReplaceStr(*edited, rule.text, rule.replacement);
            return Err::None;
        }
        if (rule.from == From::Front) {
            QString s = M1::CharLeft(right(L - p), F);
            M1::ReplaceStr(s, rule.text, rule.replacement);
            *edited = left(p) + s + right(L - p - F);
            return Err::None;
        }
        // Counted from the back, a position beyond the name holds no text to
        // compare; taking the whole name there would repeat its beginning.
        if (p + 1 > L) {
            *edited = base;
            return Err::None;
        }
        {
            QString s = M1::CharLeft(right(p + 1), F);
            M1::ReplaceStr(s, rule.text, rule.replacement);
            *edited = left(L - p - 1) + s + right(p + 1 - F);
        }
        return Err::None;
    case Mode::Delete:
        if (rule.from == From::Front)
            *edited = rule.direction == Direction::Right ? left(p) + right(L - p - c)
                                                         : left(p + 1 - c) + right(L - p - 1);
        else
            *edited = rule.direction == Direction::Right ? left(L - p - 1) + right(p + 1 - c)
                                                         : left(L - p - c) + right(p);
        return Err::None;
    }
    return Err::IllegalCall;
}

std::optional<QString> fnameEditNewName(const EditRule& rule, const QString& oldName, Err* err)
{
    QString edited;
    const Err e = editBaseName(rule, M1::GetBaseName(oldName), &edited);
    if (err)
        *err = e;
    if (e != Err::None || edited.isEmpty())
        return std::nullopt;
    return edited + u'.' + M1::GetExtName(oldName);
}

bool FNameEdit(RunContext& ctx, const FNameEditParams& params)
{
    const int n = static_cast<int>(ctx.objList.size());
    ctx.host.setProgressMax(n);

    // The mode and its fields are read once: a click on the mode buttons
    // during the run's pauses must not switch to a mode whose fields were
    // never read.
    EditRule rule;
    if (const Err err = readEditRule(params, &rule); err != Err::None) {
        showGenericError(ctx, static_cast<int>(err));
        return true;
    }
    // Searching for nothing changes no name: nothing to do.
    if (rule.mode == Mode::Replace && rule.text.isEmpty())
        return true;

    RenameSpec job;
    job.newName = [&rule](int, const QString& oldName) -> std::optional<NewName> {
        Err err = Err::None;
        const std::optional<QString> name = fnameEditNewName(rule, oldName, &err);
        // An unusable position goes through the error trap (the generic
        // message, stop) before the file is touched.
        if (err != Err::None)
            return NewName{QString(), QString(), err};
        if (!name)
            return std::nullopt;
        return NewName{*name, QString()};
    };
    return runRenameLoop(ctx, job);
}

} // namespace tavil::engine
