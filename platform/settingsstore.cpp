#include "platform/settingsstore.h"

#include <QSettings>
#include <QStringList>
#include <QVariant>

namespace tavil::platform {

namespace {
QString keyPath(const QString& section, const QString& key)
{
    return section + u'/' + key;
}
} // namespace

QtSettingsStore::QtSettingsStore()
    : m_settings(std::make_unique<QSettings>(QStringLiteral("Tavil"), QStringLiteral("Tavil")))
{
    // Only the user's own file: values must not leak in from a system-wide
    // or organisation-wide file.
    m_settings->setFallbacksEnabled(false);
}

QtSettingsStore::QtSettingsStore(const QString& iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
    m_settings->setFallbacksEnabled(false);
}

QtSettingsStore::~QtSettingsStore()
{
    m_settings->sync();
}

std::optional<QString> QtSettingsStore::value(const QString& section, const QString& key)
{
    const QString path = keyPath(section, key);
    if (!m_settings->contains(path))
        return std::nullopt;
    const QVariant stored = m_settings->value(path);
    // What this store writes always reads back as the same text (QSettings
    // quotes a text holding commas). A value edited by hand with bare commas
    // reads back as a list: give it back as one text again.
    if (stored.typeId() == QMetaType::QStringList)
        return stored.toStringList().join(QStringLiteral(", "));
    if (!stored.isValid())
        return QString();
    return stored.toString();
}

void QtSettingsStore::setValue(const QString& section, const QString& key, const QString& text)
{
    m_settings->setValue(keyPath(section, key), text);
}

void QtSettingsStore::removeKey(const QString& section, const QString& key)
{
    m_settings->remove(keyPath(section, key));
}

void QtSettingsStore::removeSection(const QString& section)
{
    m_settings->beginGroup(section);
    m_settings->remove(QString()); // every key of the group
    m_settings->endGroup();
}

void QtSettingsStore::sync()
{
    m_settings->sync();
}

std::optional<QString> MemorySettingsStore::value(const QString& section, const QString& key)
{
    const auto s = sections.constFind(section);
    if (s == sections.constEnd())
        return std::nullopt;
    const auto k = s->constFind(key);
    if (k == s->constEnd())
        return std::nullopt;
    return *k;
}

void MemorySettingsStore::setValue(const QString& section, const QString& key, const QString& text)
{
    sections[section][key] = text;
}

void MemorySettingsStore::removeKey(const QString& section, const QString& key)
{
    const auto s = sections.find(section);
    if (s == sections.end())
        return;
    s->remove(key);
    if (s->isEmpty())
        sections.erase(s);
}

void MemorySettingsStore::removeSection(const QString& section)
{
    sections.remove(section);
}

} // namespace tavil::platform
