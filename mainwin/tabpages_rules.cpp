// The rules the pages' controls apply when they are clicked: followers
// enabled with their box, the number shape's layout, the edit modes, the
// separators of the time name, the presets, the spin rule of the step, the
// date buttons and the texts that a box may not be left with.

#include "mainwin/tabpages.h"

#include "mainwin/twips.h"
#include "mainwin/updown.h"
#include "platform/clock.h"
#include "platform/gui/services.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>

#include <algorithm>

namespace tavil::mainwin {

namespace {

// The back colours a box takes: a window's background while it is in use,
// the button face while it is not.
QColor windowBackground()
{
    return QApplication::palette().color(QPalette::Active, QPalette::Base);
}

QColor buttonFace()
{
    return QApplication::palette().color(QPalette::Active, QPalette::Button);
}

QColor disabledBoxBackground()
{
    return QApplication::palette().color(QPalette::Disabled, QPalette::Window);
}

void setBackColour(QWidget* box, const QColor& colour)
{
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, colour);
    box->setPalette(palette);
}

bool anyTicked(std::initializer_list<const QCheckBox*> boxes)
{
    return std::any_of(boxes.begin(), boxes.end(), [](const QCheckBox* b) { return b->isChecked(); });
}

} // namespace

void TabPages::applyFollowers(const QCheckBox* box)
{
    QList<QWidget*> followers;
    QWidget* coloured = nullptr;
    if (box == Check5) {
        followers = {Label3, Text4};
        coloured = Text4;
    } else if (box == Check6) {
        followers = {Label4, Text5, Label1};
        coloured = Text5;
    } else if (box == Check7) {
        followers = {Option4[0], Option4[1], Option4[2]};
    } else if (box == Check8) {
        followers = {Option5[0], Option5[1]};
    } else if (box == Check9) {
        followers = {Option6[0], Option6[1], chkHalf1, chkHalf2};
    } else if (box == Check10) {
        followers = {Option7[0], Option7[1]};
    } else if (box == Check12) {
        followers = {Option9[0], Option9[1], Text9, UpDown3, Label8};
    } else if (box == Check2) {
        followers = {DTPicker1, DTPicker2, Command7[0], Command7[1]};
    } else if (box == Check3) {
        followers = {DTPicker3, DTPicker4, Command8[0], Command8[1]};
    } else if (box == Check4) {
        followers = {DTPicker5, DTPicker6};
    } else if (box == Check20) {
        followers = {Option16, Option17, Combo9, Combo10};
    } else if (box == ChkYear) {
        followers = {Option15[0], Option15[1]};
    } else {
        for (int k = 0; k < 4; ++k) {
            if (box == Check11[k])
                followers = {m_setOption[k], m_clearOption[k]};
        }
    }

    const bool on = box->isChecked();
    for (QWidget* follower : followers)
        follower->setEnabled(on);
    if (coloured)
        setBackColour(coloured, on ? windowBackground() : buttonFace());
    if (box == Check20)
        refreshPreview();
}

void TabPages::applyAllFollowers()
{
    for (const QCheckBox* box : {Check5, Check6, Check7, Check8, Check9, Check10, Check11[0], Check11[1],
                                 Check11[2], Check11[3], Check12, Check2, Check3, Check4, Check20, ChkYear})
        applyFollowers(box);
}

int TabPages::numberShape() const
{
    if (Option1->isChecked())
        return 1;
    if (Option2->isChecked())
        return 2;
    return 3;
}

void TabPages::setNumberShape(int shape)
{
    QRadioButton* option = shape == 1 ? Option1 : shape == 2 ? Option2 : Option3;
    option->setChecked(true);
    applyNumberShape();
}

void TabPages::applyNumberShape()
{
    // The boxes stand in the order the parts take in the new name.
    struct Lefts {
        double text4, text1, label2, text2, text3, label3, label1, text5, label4;
    };
    static constexpr Lefts kShapes[3] = {
        {240, 1560, 1830, 1920, 2320, 600, 2730, 2850, 2930},
        {1440, 240, 510, 600, 1000, 1800, 2730, 2850, 2930},
        {600, 2040, 2310, 2400, 2800, 1005, 1920, 4000, 4000},
    };
    const int shape = numberShape();
    const Lefts& at = kShapes[shape - 1];
    twips::setLeft(Text4, at.text4);
    twips::setLeft(Text1, at.text1);
    twips::setLeft(Label2, at.label2);
    twips::setLeft(Text2, at.text2);
    twips::setLeft(Text3, at.text3);
    twips::setLeft(Label3, at.label3);
    twips::setLeft(Label1, at.label1);
    twips::setLeft(Text5, at.text5);
    twips::setLeft(Label4, at.label4);

    if (shape == 3) {
        // The number is the extension: there is none to unify.
        Check6->setChecked(false);
        applyFollowers(Check6);
        Check6->setEnabled(false);
    } else {
        Check6->setEnabled(true);
    }
}

void TabPages::applyExtensionMode()
{
    const bool change = OptKaku1->isChecked();
    Text8->setEnabled(change);
    Label5->setEnabled(change);
    setBackColour(Text8, change ? windowBackground() : buttonFace());
}

void TabPages::applyImportExtension()
{
    Combo4->setEnabled(Option12->isChecked());
}

void TabPages::applyEditMode()
{
    if (Option8[0]->isChecked()) {
        twips::setWidth(Text10, 3135);
        Label9->hide();
        Text11->hide();
        Check12->hide();
        Check12->setChecked(true);
        applyPositionRule();
        Frame12[0]->show();
        Frame12[1]->hide();
    } else if (Option8[1]->isChecked()) {
        // Narrow enough for "-->" and the replacement beside it.
        twips::setWidth(Text10, 1335);
        Label9->show();
        Text11->show();
        Check12->show();
        Check12->setChecked(false);
        applyPositionRule();
        Frame12[0]->show();
        Frame12[1]->hide();
    } else if (Option8[2]->isChecked()) {
        Check12->hide();
        Check12->setChecked(true);
        applyPositionRule();
        Frame12[1]->show();
        Frame12[0]->hide();
    }
}

void TabPages::applyPositionRule()
{
    applyFollowers(Check12);
}

void TabPages::partBoxClicked(QCheckBox* part)
{
    const bool datePart = part == ChkYear || part == ChkMonth || part == ChkDay;
    const bool anyDate = anyTicked({ChkYear, ChkMonth, ChkDay});
    const bool anyTime = anyTicked({ChkHour, ChkMin, ChkSec});
    // The link between date and time is there only when both are.
    const bool link = anyDate && anyTime;
    Combo7->setEnabled(link);
    setBackColour(Combo7, link ? windowBackground() : disabledBoxBackground());

    // A group's separator is out of use once no part of the group is left,
    // and back in use as soon as one is ticked again.
    QComboBox* separator = datePart ? Combo6 : Combo8;
    const bool groupInUse = datePart ? anyDate : anyTime;
    if (part->isChecked())
        separator->setEnabled(true);
    else if (!groupInUse)
        separator->setEnabled(false);

    if (part == ChkYear)
        applyFollowers(ChkYear);
    refreshPreview();
}

void TabPages::refreshPreview()
{
    Text16->setText(engine::SetTimeStampSAMPLE(gatherTimeStamp()));
}

void TabPages::Combo2_Click(int index)
{
    static const QString kPrefixes[] = {QString(), QStringLiteral("_"), QStringLiteral("("), QStringLiteral("[")};
    static const QString kSuffixes[] = {QString(), QString(), QStringLiteral(")"), QStringLiteral("]")};
    const bool chosen = index >= 0 && index < 4;
    Text1->setText(chosen ? kPrefixes[index] : QString());
    Text3->setText(chosen ? kSuffixes[index] : QString());
}

void TabPages::stepSpun(bool up)
{
    // A step of 0 would number every file alike: the spin passes over it.
    bool ok = false;
    if (Text7->text().toInt(&ok) == 0 && ok)
        Text7->setText(up ? QStringLiteral("1") : QStringLiteral("-1"));
}

void TabPages::setNow(QDateEdit* date, QTimeEdit* time)
{
    const QDateTime now = m_services.clock.now();
    date->setDate(now.date());
    const QTime t = now.time();
    time->setTime(QTime(t.hour(), t.minute(), t.second()));
}

void TabPages::normalise(QLineEdit* box)
{
    // Text comparisons, as typed: "00" is not "0".
    const QString text = box->text();
    if (box == Text2) {
        if (text.isEmpty())
            box->setText(QStringLiteral("0"));
    } else if (box == Text6) {
        if (text.isEmpty() || QString::compare(text, QStringLiteral("0")) <= 0)
            box->setText(QStringLiteral("1"));
    } else if (text.isEmpty() || text == QStringLiteral("0")) {
        box->setText(QStringLiteral("1"));
    }
}

} // namespace tavil::mainwin
