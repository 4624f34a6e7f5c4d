#include "tests/common/fakes.h"

namespace tavil::test {

platform::MsgButton FakeDialogs::msgBox(const QString& text, const QString& title, int style)
{
    shown.append({text, title, style, false});
    if (!answers.empty()) {
        const auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    // The box's default button.
    const int buttons = style % 16;
    const bool second = (style & platform::MsgStyle::SecondDefault) != 0;
    if (buttons == 4)
        return second ? platform::MsgButton::No : platform::MsgButton::Yes;
    if (buttons == 1 && second)
        return platform::MsgButton::Cancel;
    return platform::MsgButton::Ok;
}

QString FakeDialogs::inputBox(const QString& prompt, const QString& title, const QString& def)
{
    shown.append({prompt, title, 0, true});
    if (inputs.empty())
        return def;
    QString answer = inputs.front();
    inputs.pop_front();
    return answer;
}

void FakeHost::setStatus(int panel, const QString& text)
{
    (panel == 1 ? status1 : status2) = text;
    statusLog.append(QString::number(panel) + ":" + text);
}

void FakeHost::processEvents()
{
    ++pumps;
    if (onPump)
        onPump(pumps);
}

} // namespace tavil::test
