#pragma once

#include <QString>
#include <QStringList>

#include <algorithm>
#include <functional>

namespace tavil::test {

// Records every faultable call of LinuxFileSystem (its injectErrno seam) and
// fails the ones a rule picks.
struct Faults {
    QStringList calls; // "call path"
    std::function<int(const QString& call, const QString& path)> rule;

    std::function<int(const char*, const QString&)> injector()
    {
        return [this](const char* call, const QString& path) {
            calls.append(QString::fromLatin1(call) + u' ' + path);
            return rule ? rule(QString::fromLatin1(call), path) : 0;
        };
    }
    bool called(const QString& call) const
    {
        return std::any_of(calls.begin(), calls.end(), [&](const QString& c) { return c.startsWith(call + u' '); });
    }
    bool called(const QString& call, const QString& path) const { return calls.contains(call + u' ' + path); }
};

} // namespace tavil::test
