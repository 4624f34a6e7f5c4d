#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

namespace tavil::engine {

struct RunContext;

// The time-stamp tab. With TimeToName on, every file is renamed to a name made
// from one of its times (name mode); with it off, the chosen times of every
// file are set (stamp mode).
struct SetTimeStampParams {
    bool TimeToName = false;

    // Name mode.
    bool TimeSource = true; // True: the creation time names the file; False: the last-write time
    bool UseYear = false;
    bool UseMonth = false;
    bool UseDay = false;
    bool UseHour = false;
    bool UseMinute = false;
    bool UseSecond = false;
    int YearDigits = 0;                                      // 0 "YYYY", 1 "YY"
    QString DateSeparator = QStringLiteral("-");             // "年月日" selects the kanji form
    QString DateTimeSeparator = QStringLiteral("_");         // between the date and the time parts
    QString TimeSeparator = QStringLiteral("-");             // "時分秒" selects the kanji form
    QString TextBeforeTime = QStringLiteral("(");            // only with AddToName
    QString TextAfterTime = QStringLiteral(")");
    bool AddToName = false;    // keep the old base name and add the time to it
    bool AddPosition = true;   // True: the time goes before the base name; False: after it
    bool NumberOnClash = false; // "(001)", "(002)", ... while the name is taken

    // Stamp mode: each switch with the local date and time it sets.
    bool SetCreationTime = false;
    bool SetWriteTime = false;
    bool SetAccessTime = false;
    QDateTime NewCreationTime;
    QDateTime NewWriteTime;
    QDateTime NewAccessTime;
};

// A date picker and a time picker read as one local date and time, whole
// seconds; invalid when either picker holds no value.
QDateTime pickerDateTime(const QDate& date, const QTime& time);

// "yyyy/MM/dd hh:mm:ss" (19 characters) of a local time; "" when the time is
// unknown or its year has no four-digit form.
QString stampText(const QDateTime& time);

// The stamp-name rule on a 19-character stamp text: the chosen parts with
// their separators or kanji, the link between date and time, and the old
// base name, the clash number and the extension as the parameters place them.
QString stampName(const QString& stamp, const QString& oldName, const QString& number,
                  const SetTimeStampParams& params);

// The name a file of that name and time gets (number: "" or "(001)", ...);
// "" when the time is unknown, and the file is then left alone: a name made
// from a made-up date would say something false about the file.
QString timeStampNewName(const QDateTime& time, const QString& oldName, const QString& number,
                         const SetTimeStampParams& params);

// "(001)": the clash number with at least three digits.
QString clashNumber(qint64 counter);

// The preview of the tab: the rule applied to "SAMPLE.TXT" and the pattern
// "YYYY/MM/DD hh:mm:ss", or "変換イメージをここに表示します" when no part is
// chosen.
QString SetTimeStampSAMPLE(const SetTimeStampParams& params);

// True when the run must stop (abort, Cancel on a clash, a stopping error,
// or a refusal: no part or no time chosen, told once). A link whose creation
// time is to be set is counted and logged as an error and left unchanged.
bool SetTimeStamp(RunContext& ctx, const SetTimeStampParams& params);

} // namespace tavil::engine
