#pragma once

#include "mainwin/numsett.h"
#include "platform/errors.h"

#include <QObject>
#include <QString>

#include <functional>

namespace tavil::platform {
struct Services;
}

namespace tavil::mainwin {

using platform::Services;
class TabPages;

// The handlers of Toolbar1 on the numbering page: save the page's fields as
// a named preset, load one back, delete one. The presets live in the
// settings store only; the two drop-down lists mirror their names.
class NumberPresets final : public QObject {
    Q_OBJECT
public:
    // suppressCompletion(true/false) is called around a load's writing of the
    // boxes, so that filling them opens no completion popup.
    NumberPresets(TabPages& tabs, Services& services, std::function<void(bool)> suppressCompletion = {});

    // The start-up: the stored names into both lists. A count stored as "" is
    // written back as "0"; a count that is not a number lists nothing and
    // gives Err::TypeMismatch.
    platform::Err loadCaptions();

    // Button 1 saves; any other button does nothing.
    void Toolbar1_ButtonClick(int index);
    // An entry tagged "tbSave" loads preset entry - 1; any other deletes it.
    // An entry that stands for no preset does nothing.
    void Toolbar1_ButtonMenuClick(int entry, const QString& tag);

    // The page's fields as a preset holds them, and back. Writing runs the
    // check boxes' and the number shape's rules as clicks would.
    numsett::Fields fieldsOfPage() const;
    void fillPage(const numsett::Fields& fields);

private:
    void wire();
    void save();
    void load(int index);
    void remove(int index);
    void showCaptions();

    TabPages& m_tabs;
    Services& m_services;
    std::function<void(bool)> m_suppress;
};

} // namespace tavil::mainwin
