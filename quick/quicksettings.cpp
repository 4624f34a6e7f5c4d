#include "quick/quicksettings.h"

#include "engine/numbers.h"
#include "platform/settingsstore.h"
#include "support/settingsschema.h"

#include <algorithm>
#include <cmath>

namespace tavil::quick {

namespace keys = support::settings;

namespace {

const QString kSection = QString::fromLatin1(keys::QuickPos::Section);

double readMeasure(platform::SettingsStore& store, const char* key, double def)
{
    bool ok = false;
    const double value = store.read(kSection, QString::fromLatin1(key), QString()).trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? value : def;
}

QString measureText(double twips)
{
    return QString::number(twips, 'g', 7); // a single's precision
}

int heldMeasure(double twips, int screenExtent, double fallback)
{
    // Out of every range before it is made a whole number, which a value
    // like 1e30 could not be.
    if (!(twips >= 0 && twips <= screenExtent))
        return int(fallback);
    return keys::validGeometry(qint64(twips), screenExtent, int(fallback));
}

// A damaged count must not make the window read without end.
constexpr int kMaxPatterns = 1000;

} // namespace

QuickPos loadQuickPos(platform::SettingsStore& store)
{
    QuickPos pos;
    pos.left = readMeasure(store, keys::QuickPos::Left, 0);
    pos.top = readMeasure(store, keys::QuickPos::Top, 0);
    pos.height = readMeasure(store, keys::QuickPos::Height, 1000);
    pos.width = readMeasure(store, keys::QuickPos::Width, 1000);
    const QString mode = store.read(kSection, QString::fromLatin1(keys::QuickPos::tlBar), "True");
    pos.mode = mode == QStringLiteral("True")    ? QuickMode::Files
             : mode == QStringLiteral("False")   ? QuickMode::Folders
                                                 : QuickMode::Delete;
    qint32 trash = 1;
    if (engine::wholePartOf(store.read(kSection, QString::fromLatin1(keys::QuickPos::Trash), 1), &trash)
        != platform::Err::None)
        trash = 1;
    pos.trash = trash != 0;
    return pos;
}

void saveQuickPos(platform::SettingsStore& store, const QuickPos& pos)
{
    store.write(kSection, QString::fromLatin1(keys::QuickPos::Left), measureText(pos.left));
    store.write(kSection, QString::fromLatin1(keys::QuickPos::Top), measureText(pos.top));
    store.write(kSection, QString::fromLatin1(keys::QuickPos::Height), measureText(pos.height));
    store.write(kSection, QString::fromLatin1(keys::QuickPos::Width), measureText(pos.width));
    const char* mode = pos.mode == QuickMode::Files ? "True" : pos.mode == QuickMode::Folders ? "False" : "Del";
    store.write(kSection, QString::fromLatin1(keys::QuickPos::tlBar), QString::fromLatin1(mode));
    store.write(kSection, QString::fromLatin1(keys::QuickPos::Trash), pos.trash ? QStringLiteral("1") : QStringLiteral("0"));
}

QuickPos heldToScreen(QuickPos pos, QSize screenTwips)
{
    const QuickPos defaults;
    pos.left = heldMeasure(pos.left, screenTwips.width(), defaults.left);
    pos.top = heldMeasure(pos.top, screenTwips.height(), defaults.top);
    pos.width = heldMeasure(pos.width, screenTwips.width(), defaults.width);
    pos.height = heldMeasure(pos.height, screenTwips.height(), defaults.height);
    return pos;
}

QStringList loadFilePatterns(platform::SettingsStore& store)
{
    const QString section = QString::fromLatin1(keys::FilePatt::Section);
    const QString countText = store.read(section, QString::fromLatin1(keys::kCountKey), 1);
    QStringList patterns;
    if (countText.isEmpty())
        return patterns;
    qint32 count = 1;
    if (engine::wholePartOf(countText, &count) != platform::Err::None)
        count = 1;
    count = std::min(count, kMaxPatterns);
    for (int i = 0; i < count; ++i)
        patterns.append(store.read(section, QString::fromLatin1(keys::FilePatt::Prefix) + QString::number(i)));
    return patterns;
}

} // namespace tavil::quick
