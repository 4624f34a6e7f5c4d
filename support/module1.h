#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace tavil::platform {
class SettingsStore;
}

// Shared helpers of the program. Positions count characters from 1, as the
// program's texts always have; comparisons are exact.
namespace tavil::support::Module1 {

// Position (from 1) of the last "." in name; 0 when there is none.
int GetDotPos(const QString& name);
// The name without its last "." and what follows; the whole name without ".".
QString GetBaseName(const QString& name);
// What follows the last "."; "" when there is none.
QString GetExtName(const QString& name);
// Texts counted in characters as the user sees them: a surrogate pair (an
// emoji, a rare kanji) is one character, so an edit never cuts one in two.
// A lone code (a byte of a name that is not UTF-8) is one character too.
int CharCount(const QString& text);
// The first k characters (all of the text when k is beyond it; none for k <= 0).
QString CharLeft(const QString& text, int k);
// The last k characters.
QString CharRight(const QString& text, int k);
// Replaces every occurrence, left to right, never rescanning inserted text.
// An empty search text leaves the text unchanged.
void ReplaceStr(QString& text, const QString& search, const QString& replacement);
// Replaces folders from the left by "..." until the path fits width bytes of
// code page 932; the last part is never replaced.
QString ShortenPath(const QString& path, int width);

// Joins full-width katakana followed by a half-width "ﾞ" or "ﾟ" into one
// voiced or semi-voiced letter.
QString JoinKanaMarks(const QString& text);
// Table lookups; the letter itself when the table has no form.
QString ToDakuon(const QString& letter);
QString ToHandakuon(const QString& letter);

// Stored lists. Capacities: folder shortcuts 10, input histories 30.
inline constexpr int kDirCapacity = 10;
inline constexpr int kHistoryCapacity = 30;

// Adds a folder to the shortcuts ("Dir"/"Dir"); a folder already there keeps
// its place. showItem(i, caption) refreshes menu item i.
void AddDirHistory(platform::SettingsStore& store, const QString& folder,
                   const std::function<void(int index, const QString& caption)>& showItem);
// Input histories. The pattern history drops one closing ";" from text (the
// caller's text too); pattern and extension are not stored when the box
// already lists them.
void AddPattHistory(platform::SettingsStore& store, QString& text, const QStringList& boxItems);
void AddExpHistory(platform::SettingsStore& store, const QString& text, const QStringList& boxItems);
void AddNameHistory(platform::SettingsStore& store, const QString& text);
void AddEditHistory(platform::SettingsStore& store, const QString& text);

// A stored list's entries, index 0 (oldest) first; the count is clamped to
// capacity and a count that is not a number reads as 0.
QStringList ReadStoredList(platform::SettingsStore& store, const QString& section,
                           const QString& prefix, int capacity);

} // namespace tavil::support::Module1
