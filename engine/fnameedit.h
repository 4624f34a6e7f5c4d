#pragma once

#include "platform/errors.h"

#include <QString>

#include <optional>

namespace tavil::engine {

struct RunContext;

// The parameters of the edit tab. Positions and counts stay text, as the tab
// holds them, so that a field holding no number is reported by the operation.
struct FNameEditParams {
    enum class Mode { Add, Replace, Delete };   // Option8(0) "追加", (1) "置換", (2) "削除"
    enum class From { Front, Back };            // Option9(0) "前から", (1) "後から"
    enum class Direction { Right, Left };       // Option10(0) "右に", (1) "左に"

    Mode EditMode = Mode::Add;
    QString EditPosition = QStringLiteral("1"); // Text9, 16-bit, counted from 1 ("文字目")
    From PositionFrom = From::Front;
    bool UsePosition = false;                   // Check12: replace only at the position
    QString EditText;                           // Text10: the text to insert or to find
    QString ReplaceText;                        // Text11
    QString DeleteCount = QStringLiteral("1");  // Text12, 16-bit
    Direction DeleteDirection = Direction::Right;
};

// The edit as read once at the start: only the fields the mode uses are
// read, the others keep 0 or empty, as the tab's unused boxes must not stop
// a run.
struct EditRule {
    FNameEditParams::Mode mode = FNameEditParams::Mode::Add;
    FNameEditParams::From from = FNameEditParams::From::Front;
    FNameEditParams::Direction direction = FNameEditParams::Direction::Right;
    bool usePosition = false;
    int position = 0; // counted from 1
    int count = 0;
    QString text;
    QString replacement;
};

// Reads the fields of the mode; 13 or 6 for a field that is not a 16-bit
// number.
platform::Err readEditRule(const FNameEditParams& params, EditRule* rule);

// The edited base name. Positions and counts are in characters as the user
// sees them (a surrogate pair is one). Err::IllegalCall when the rule would
// need a character count below 0 (a position of 0 or less where the position
// itself is that count).
platform::Err editBaseName(const EditRule& rule, const QString& base, QString* edited);

// The new name: the edited base name & "." & the old extension (a lone "."
// when there is none: the disk drops it, the log shows the name as built).
// nullopt leaves the file alone: the edit leaves nothing of the name, or the
// rule cannot be applied (then *err, when given, says why).
std::optional<QString> fnameEditNewName(const EditRule& rule, const QString& oldName,
                                        platform::Err* err = nullptr);

// Name editing over ctx.objList in ctx.SourceFolder; the extension is never
// edited. True when it stopped early.
bool FNameEdit(RunContext& ctx, const FNameEditParams& params);

} // namespace tavil::engine
