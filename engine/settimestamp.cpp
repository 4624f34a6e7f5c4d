#include "engine/settimestamp.h"

#include "engine/numbers.h"
#include "engine/operation.h"
#include "engine/runcontext.h"
#include "platform/dialogs.h"
#include "platform/filesystem.h"
#include "platform/names.h"
#include "support/cfile.h"
#include "support/module1.h"

namespace tavil::engine {

using platform::Err;
using platform::FsStatus;

namespace {

const QString kTitle = QStringLiteral("ﾀｲﾑｽﾀﾝﾌﾟの変更");
const QString kNeedOne = QStringLiteral("1つ以上チェックする必要があります。");
const QString kNoPreview = QStringLiteral("変換イメージをここに表示します");
const QString kDateKanji = QStringLiteral("年月日");
const QString kTimeKanji = QStringLiteral("時分秒");
const QString kSampleName = QStringLiteral("SAMPLE.TXT");
const QString kSampleStamp = QStringLiteral("YYYY/MM/DD hh:mm:ss");
const QString kLogSuffix = QStringLiteral("(タイムスタンプ変更)");

bool anyNamePart(const SetTimeStampParams& p)
{
    return p.UseYear || p.UseMonth || p.UseDay || p.UseHour || p.UseMinute || p.UseSecond;
}

bool anyTimeSwitch(const SetTimeStampParams& p)
{
    return p.SetCreationTime || p.SetWriteTime || p.SetAccessTime;
}

// Characters of the stamp text, counted from 1 as the fixed places are.
QString cut(const QString& stamp, int from, int count)
{
    return stamp.mid(from - 1, count);
}

// One part of the time: its characters, then its suffix when a further part
// of its group follows (or always in the kanji form).
QString part(bool used, const QString& chars, bool suffixed, bool kanjiForm, QChar kanji,
             const QString& separator)
{
    if (!used)
        return {};
    if (!suffixed)
        return chars;
    return chars + (kanjiForm ? QString(kanji) : separator);
}

// Every clash of this operation names the file's copy in the output folder
// and marks the log entry as a time-stamp change.
ClashInfo clashInfo(const OperationLoop& loop, const QString& name)
{
    return loop.copyClash(name, kLogSuffix, platform::MsgStyle::OkCancelExclamation);
}

// Name mode, one entry: the working file gets the name made from its time.
using Step = OperationLoop::Step;

Step nameOne(OperationLoop& loop, support::cFile& cf, const QString& name,
             const SetTimeStampParams& p)
{
    RunContext& ctx = loop.ctx();
    QString working;
    if (const Step s = loop.workingFile(name, clashInfo(loop, name), &working); s != Step::Go)
        return s;
    const QString folder = ctx.outFolder.isEmpty() ? ctx.SourceFolder : ctx.outFolder;

    QDateTime creation, lastAccess, lastWrite;
    if (!cf.GetFileTimeStamp(working, creation, lastAccess, lastWrite))
        return Step::NextEntry; // gone, or its times cannot be read: left alone
    const QDateTime time = p.TimeSource ? creation : lastWrite;
    QString candidate = timeStampNewName(time, name, QString(), p);
    if (candidate.isEmpty())
        return Step::NextEntry; // unknown time

    switch (platform::checkNewName(candidate)) {
    case platform::NameVerdict::Bad:
        return OperationLoop::stepAfter(loop.handleError(FsStatus{Err::BadName, 0, false}, clashInfo(loop, name)));
    case platform::NameVerdict::LeaveAlone:
        return Step::NextEntry;
    case platform::NameVerdict::Ok:
        break;
    }

    if (p.NumberOnClash) {
        // Any entry of that name takes it, the file's own current name too (a
        // second run numbers every file), and so do a folder or an unreadable
        // file, which the rename could not replace either. The name is tested
        // as it will be made, without a closing ".".
        qint64 counter = 0;
        while (cf.CheckExistFile(folder + platform::diskName(candidate))) {
            ++counter;
            candidate = timeStampNewName(time, name, clashNumber(counter), p);
        }
    }

    // Never replaces: a taken name (numbering off) is a clash.
    const FsStatus st = ctx.fs.rename(working, folder + candidate);
    if (!st.ok())
        return OperationLoop::stepAfter(loop.handleError(st, clashInfo(loop, name)));
    return Step::Go;
}

// Stamp mode, one entry: the chosen times are written; the others are left
// exactly as they are.
Step stampOne(OperationLoop& loop, support::cFile& cf, const QString& name,
              const SetTimeStampParams& p)
{
    QString working;
    if (const Step s = loop.workingFile(name, clashInfo(loop, name), &working); s != Step::Go)
        return s;
    // A link takes new access and write times itself, but has nowhere to
    // keep a creation time; its target's is never set in its place.
    if (p.SetCreationTime && loop.ctx().fs.stat(working).isSymlink) {
        loop.refuseLink(clashInfo(loop, name));
        return Step::NextEntry;
    }
    // A file that cannot take new times (read-only, gone, a folder) keeps
    // them without a message.
    (void)cf.SetFileTimeStamp(working, p.SetCreationTime ? p.NewCreationTime : QDateTime(),
                              p.SetAccessTime ? p.NewAccessTime : QDateTime(),
                              p.SetWriteTime ? p.NewWriteTime : QDateTime());
    return Step::Go;
}

} // namespace

QDateTime pickerDateTime(const QDate& date, const QTime& time)
{
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, QTime(time.hour(), time.minute(), time.second()));
}

QString stampText(const QDateTime& time)
{
    if (!time.isValid())
        return {};
    const QDate d = time.date();
    if (d.year() < 0 || d.year() > 9999)
        return {};
    const QTime t = time.time();
    const auto two = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    return QStringLiteral("%1").arg(d.year(), 4, 10, QLatin1Char('0')) + u'/' + two(d.month())
        + u'/' + two(d.day()) + u' ' + two(t.hour()) + u':' + two(t.minute()) + u':'
        + two(t.second());
}

QString stampName(const QString& stamp, const QString& oldName, const QString& number,
                  const SetTimeStampParams& p)
{
    const bool dateKanji = p.DateSeparator == kDateKanji;
    const bool timeKanji = p.TimeSeparator == kTimeKanji;
    const QString& ds = p.DateSeparator;
    const QString& ts = p.TimeSeparator;

    const QString year = part(p.UseYear, p.YearDigits == 1 ? cut(stamp, 3, 2) : cut(stamp, 1, 4),
                              dateKanji || p.UseMonth || p.UseDay, dateKanji, u'年', ds);
    const QString month = part(p.UseMonth, cut(stamp, 6, 2), dateKanji || p.UseDay, dateKanji,
                               u'月', ds);
    const QString day = part(p.UseDay, cut(stamp, 9, 2), dateKanji, dateKanji, u'日', ds);
    const QString hour = part(p.UseHour, cut(stamp, 12, 2),
                              timeKanji || p.UseMinute || p.UseSecond, timeKanji, u'時', ts);
    const QString minute = part(p.UseMinute, cut(stamp, 15, 2), timeKanji || p.UseSecond,
                                timeKanji, u'分', ts);
    const QString second = part(p.UseSecond, cut(stamp, 18, 2), timeKanji, timeKanji, u'秒', ts);

    const bool anyDate = p.UseYear || p.UseMonth || p.UseDay;
    const bool anyTime = p.UseHour || p.UseMinute || p.UseSecond;
    const QString link = anyDate && anyTime ? p.DateTimeSeparator : QString();
    const QString time = year + month + day + link + hour + minute + second;

    const QString base = support::Module1::GetBaseName(oldName);
    const QString ext = support::Module1::GetExtName(oldName);
    if (!p.AddToName)
        return time + number + u'.' + ext;
    if (p.AddPosition)
        return p.TextBeforeTime + time + p.TextAfterTime + base + number + u'.' + ext;
    return base + p.TextBeforeTime + time + p.TextAfterTime + number + u'.' + ext;
}

QString timeStampNewName(const QDateTime& time, const QString& oldName, const QString& number,
                         const SetTimeStampParams& params)
{
    const QString stamp = stampText(time);
    if (stamp.isEmpty())
        return {};
    return stampName(stamp, oldName, number, params);
}

QString clashNumber(qint64 counter)
{
    return u'(' + formatNumber(counter, 3) + u')';
}

QString SetTimeStampSAMPLE(const SetTimeStampParams& params)
{
    if (!anyNamePart(params))
        return kNoPreview;
    return stampName(kSampleStamp, kSampleName, QString(), params);
}

bool SetTimeStamp(RunContext& ctx, const SetTimeStampParams& params)
{
    const bool nameMode = params.TimeToName;
    // A refusal ends the run, so that a walk shows it once, not once per
    // folder.
    if (nameMode ? !anyNamePart(params) : !anyTimeSwitch(params)) {
        ctx.dialogs.msgBox(kNeedOne, kTitle, platform::MsgStyle::Exclamation);
        return true;
    }

    // The lists stay usable during the pauses, so the loop works on a copy.
    const QStringList list = ctx.objList;
    OperationLoop loop(ctx);
    const int n = static_cast<int>(list.size());
    loop.begin(n, false);
    support::cFile cf(ctx.fs);

    for (int i = 0; i < n; ++i) {
        if (loop.abortRequested(i))
            return true;
        const QString& name = list.at(i);
        const Step s = nameMode ? nameOne(loop, cf, name, params) : stampOne(loop, cf, name, params);
        if (s == Step::Stop)
            return true;
        loop.setProgress(i + 1);
    }

    const bool clear = !ctx.opts.keepList;
    // Renamed files must show under their new names even when the selection
    // is kept; set times change no name.
    return loop.finish(clear, nameMode || clear);
}

} // namespace tavil::engine
