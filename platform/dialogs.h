#pragma once

#include <QString>

namespace tavil::platform {

// The buttons a message box answers with.
enum class MsgButton { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

// Message box styles in use: 0 OK; 16 OK, critical; 33 OK/Cancel, question;
// 36 Yes/No, question; 48 OK, exclamation; 49 OK/Cancel, exclamation;
// 64 OK, information; 68 Yes/No, information. SecondDefault added to a
// two-button style makes the second button (No, Cancel) the default.
namespace MsgStyle {
inline constexpr int Ok = 0;
inline constexpr int Critical = 16;
inline constexpr int OkCancelQuestion = 33;
inline constexpr int YesNoQuestion = 36;
inline constexpr int Exclamation = 48;
inline constexpr int OkCancelExclamation = 49;
inline constexpr int Information = 64;
inline constexpr int YesNoInformation = 68;
inline constexpr int SecondDefault = 256;
} // namespace MsgStyle

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // An empty title shows the application title "Tavil". CR and CR LF are
    // line breaks.
    virtual MsgButton msgBox(const QString& text, const QString& title, int style) = 0;
    // "" when cancelled.
    virtual QString inputBox(const QString& prompt, const QString& title, const QString& def) = 0;
};

} // namespace tavil::platform
