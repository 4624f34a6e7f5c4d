#include "tests/common/opfixture.h"

namespace tavil::test {

namespace {
const QString kLogName = QStringLiteral("20030331090507.log");
} // namespace

QString q(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QStringList entries(const TempDir& d)
{
    QStringList names = d.list();
    names.sort(Qt::CaseSensitive);
    return names;
}

RunBench::RunBench() : ctx{fs, dialogs, clock, host}
{
    ctx.SourceFolder = dir.path();
}

void RunBench::make(const QStringList& names) const
{
    for (const QString& n : names)
        dir.createFile(n, n.toUtf8());
}

bool RunBench::openLog()
{
    return openLog(ctx);
}

bool RunBench::openLog(engine::RunContext& context)
{
    if (!log.open(logDir.path(), kLogName))
        return false;
    context.log = &log;
    context.opts.logFile = true;
    return true;
}

QByteArray RunBench::logBytes()
{
    log.close(false);
    if (!logDir.exists(kLogName)) {
        ADD_FAILURE() << "the error log was not made";
        return {};
    }
    return logDir.read(kLogName);
}

std::unique_ptr<engine::RunContext> RunBench::context(const QStringList& names)
{
    auto c = std::make_unique<engine::RunContext>(engine::RunContext{fs, dialogs, clock, host});
    c->SourceFolder = dir.path(); // without the closing "/", as the folder box gives it
    c->objList = names;
    c->opts.logFile = false;
    return c;
}

} // namespace tavil::test
