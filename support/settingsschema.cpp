#include "support/settingsschema.h"

#include "platform/settingsstore.h"

#include <cmath>

namespace tavil::support::settings {

bool textToBool(const QString& text, platform::Err* err)
{
    const QString t = text.trimmed();
    bool value = false;
    bool ok = true;
    if (t.compare(u"True", Qt::CaseInsensitive) == 0) {
        value = true;
    } else if (t.compare(u"False", Qt::CaseInsensitive) == 0) {
        value = false;
    } else {
        const double number = t.toDouble(&ok); // "" is no number
        ok = ok && std::isfinite(number);
        value = ok && number != 0.0;
    }
    if (err)
        *err = ok ? platform::Err::None : platform::Err::TypeMismatch;
    return value;
}

QString boolToText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

namespace {
bool readFlag(platform::SettingsStore& store, const char* key, bool def)
{
    platform::Err err = platform::Err::None;
    const bool value = textToBool(store.read(ActionSetting::Section, key, def), &err);
    return err == platform::Err::None ? value : def;
}
} // namespace

OptionFlags loadOptionFlags(platform::SettingsStore& store)
{
    const OptionFlags def;
    OptionFlags flags;
    flags.keepList = readFlag(store, ActionSetting::Clear, def.keepList);
    flags.fileDouble = readFlag(store, ActionSetting::FileDouble, def.fileDouble);
    flags.fileDouble2 = readFlag(store, ActionSetting::FileDouble2, def.fileDouble2);
    flags.timeMeasure = readFlag(store, ActionSetting::TimeMeasure, def.timeMeasure);
    flags.logFile = readFlag(store, ActionSetting::LogFile, def.logFile);
    flags.autoComp = readFlag(store, ActionSetting::AutoComp, def.autoComp);
    return flags;
}

void saveOptionFlags(platform::SettingsStore& store, const OptionFlags& flags)
{
    store.write(ActionSetting::Section, ActionSetting::Clear, boolToText(flags.keepList));
    store.write(ActionSetting::Section, ActionSetting::FileDouble, boolToText(flags.fileDouble));
    store.write(ActionSetting::Section, ActionSetting::FileDouble2, boolToText(flags.fileDouble2));
    store.write(ActionSetting::Section, ActionSetting::TimeMeasure, boolToText(flags.timeMeasure));
    store.write(ActionSetting::Section, ActionSetting::LogFile, boolToText(flags.logFile));
    store.write(ActionSetting::Section, ActionSetting::AutoComp, boolToText(flags.autoComp));
}

int validGeometry(qint64 stored, int screenExtent, int fallback)
{
    if (stored >= 45000 || stored < 0 || stored > screenExtent)
        return fallback;
    return static_cast<int>(stored);
}

} // namespace tavil::support::settings
