// Runs one operation over a prepared folder for the crash tests, which kill
// it at a random moment. Every turn of the event loop writes one byte to
// standard output, so the test knows how far the run has come.
//
//   tavil_crashchild addnum <folder> <count>
//   tavil_crashchild copy <folder> <out> <count>
//
// The folder holds f00000.dat ... (count files).

#include "engine/addnum.h"
#include "engine/fnamecopy.h"
#include "engine/runcontext.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/linuxfilesystem.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

using namespace tavil;

namespace {

class OkDialogs final : public platform::Dialogs {
public:
    platform::MsgButton msgBox(const QString& text, const QString&, int) override
    {
        std::fprintf(stderr, "message: %s\n", text.toUtf8().constData());
        return platform::MsgButton::Ok;
    }
    QString inputBox(const QString&, const QString&, const QString& def) override { return def; }
};

class PipeHost final : public engine::RunHost {
public:
    void setStatus(int, const QString&) override {}
    void setProgressMax(int) override {}
    void setProgressValue(int) override {}
    void setProgressVisible(bool) override {}
    void processEvents() override
    {
        const char dot = '.';
        (void)!::write(STDOUT_FILENO, &dot, 1);
    }
    void beep() override {}
    void clearWorkList() override {}
    void refreshFileList() override {}
    void focusField(engine::Field) override {}
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool copy = args.size() == 5 && args[1] == u"copy";
    if (!copy && !(args.size() == 4 && args[1] == u"addnum")) {
        std::fprintf(stderr, "usage: tavil_crashchild addnum <folder> <count> | copy <folder> <out> <count>\n");
        return 2;
    }
    const int count = args.last().toInt();

    platform::LinuxFileSystem fs;
    OkDialogs dialogs;
    platform::SystemClock clock;
    PipeHost host;
    engine::RunContext ctx{fs, dialogs, clock, host};
    ctx.SourceFolder = args[2];
    for (int i = 0; i < count; ++i)
        ctx.objList << QStringLiteral("f%1.dat").arg(i, 5, 10, QLatin1Char('0'));

    bool stopped = false;
    if (copy) {
        ctx.outFolder = args[3] + u'/';
        ctx.outputButtonPressed = true;
        stopped = engine::FNameCopy(ctx, engine::FNameCopyParams{});
    } else {
        engine::AddNumParams params;
        params.NumPrefix = QStringLiteral("_");
        params.StartNumber = QStringLiteral("0");
        params.Digits = QStringLiteral("5");
        stopped = engine::AddNum(ctx, params);
    }
    return stopped ? 1 : 0;
}
