#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>

namespace tavil::quick {

struct QuickTools;

// Which of the three tabs decides.
enum class DeleteCondition { Name, Attributes, Date };
// The time stamp the date condition compares.
enum class DateStamp { Creation, LastWrite, LastAccess };

// Attribute order of the attribute page: archive, read-only, hidden, system.
inline constexpr int kAttributeCount = 4;

struct DeleteParams {
    QStringList collection; // the dropped paths
    QString folder;         // the folder of the listing (the first dropped path's)
    // The listing's pattern: the pattern box's text as it is shown now, so a
    // pattern picked from the list, or one typed before an attribute or date
    // deletion, is the one that deletes.
    QString pattern;
    bool recycle = true;
    DeleteCondition condition = DeleteCondition::Name;
    std::array<bool, kAttributeCount> tested{};
    std::array<bool, kAttributeCount> wanted{};
    bool anyAttribute = false; // OR; else all tested attributes must match (AND)
    QDateTime moment;          // local time, whole seconds
    DateStamp stamp = DateStamp::Creation;
    bool newer = false;        // later than the moment; else earlier (both strict)
};

// Deletes the dropped files that meet the condition, to the trash or for
// good, after one confirmation; the files the trash would not take are
// counted and reported at the end. Folders, FIFOs and devices are never deleted;
// a link is removed itself, its target never touched. A file whose time or
// attributes can't be read meets no condition, and an unknown time is never
// earlier or later than anything.
void deleteByConditions(QuickTools& tools, const DeleteParams& params);

// The pattern box's text as a pattern: one closing ";" (the start of a pattern
// not typed yet) dropped.
QString patternOfBox(const QString& text);

namespace texts {
inline const QString kDeleteTitle = QStringLiteral(u"ファイルの削除");
inline const QString kDeleteQuestion = QStringLiteral(u"条件にあったファイルを削除します。\r\nよろしいですか？");
inline const QString kNoAttribute = QStringLiteral(u"1つ以上チェックする必要があります。");
// After a run: how many files the trash would not take, and why.
QString trashStayedText(int tooLong, int unusable);
} // namespace texts

} // namespace tavil::quick
