// The controls of the nine pages, placed in twips inside a page of
// 3780 x 1890 twips. The numbering page's name boxes move with the number
// shape (see applyNumberShape); everything else stays where it is put here.

#include "mainwin/tabpages.h"

#include "mainwin/tabpages_build.h"
#include "mainwin/twips.h"
#include "mainwin/updown.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>

namespace tavil::mainwin {

using namespace tabbuild;

namespace {

UpDown* spin(QWidget* parent, const QString& name, QLineEdit* buddy, int minimum, int maximum, double l,
             double t, double w, double h)
{
    auto* updown = new UpDown(parent, buddy, minimum, maximum);
    updown->setObjectName(name);
    twips::place(updown, l, t, w, h);
    return updown;
}

QDateEdit* datePicker(QWidget* parent, const QString& name, double l, double t, double w, double h)
{
    auto* picker = new QDateEdit(parent);
    picker->setObjectName(name);
    picker->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    picker->setCalendarPopup(true);
    twips::place(picker, l, t, w, h);
    return picker;
}

QTimeEdit* timePicker(QWidget* parent, const QString& name, double l, double t, double w, double h)
{
    auto* picker = new QTimeEdit(parent);
    picker->setObjectName(name);
    picker->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    twips::place(picker, l, t, w, h);
    return picker;
}

// A note that may take two lines.
QLabel* note(QWidget* parent, const QString& name, const QString& text, double l, double t, double w, double h)
{
    QLabel* widget = label(parent, name, text, l, t, w, h);
    widget->setWordWrap(true);
    widget->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return widget;
}

} // namespace

void TabPages::buildNumberPage()
{
    QFrame* page = Frame1[0];
    // Labels above the boxes; their lefts are those of the first shape.
    Label3 = label(page, QStringLiteral("Label3"), QStringLiteral("名前"), 600, 15, 390, 225);
    Label2 = label(page, QStringLiteral("Label2"), QStringLiteral("開始数"), 1830, 15, 570, 225);
    Label4 = label(page, QStringLiteral("Label4"), QStringLiteral("拡張子"), 2930, 15, 570, 225);
    Text4 = editCombo(page, QStringLiteral("Text4"), 240, 255, 1230, 330);
    Text1 = edit(page, QStringLiteral("Text1"), 1560, 255, 360, 330);
    Text2 = edit(page, QStringLiteral("Text2"), 1920, 255, 390, 330);
    Text3 = edit(page, QStringLiteral("Text3"), 2320, 255, 375, 330);
    Label1 = label(page, QStringLiteral("Label1"), QStringLiteral("．"), 2730, 255, 120, 330);
    Text5 = editCombo(page, QStringLiteral("Text5"), 2850, 255, 870, 330);

    Check5 = check(page, QStringLiteral("Check5"), QStringLiteral("名前を統一"), 15, 600, 1470, 285);
    Check6 = check(page, QStringLiteral("Check6"), QStringLiteral("拡張子を統一"), 15, 885, 1470, 285);
    Frame5 = group(page, QStringLiteral("Frame5"), QStringLiteral("形式"), 0, 1170, 1485, 675);
    Combo2 = listCombo(Frame5, QStringLiteral("Combo2"), 45, 300, 1395, 330);

    Frame2 = group(page, QStringLiteral("Frame2"), QString(), 1515, 600, 1545, 1260);
    Option1 = radio(Frame2, QStringLiteral("Option1"), QStringLiteral("名前 + 連番"), 45, 90, 1455, 300);
    Option2 = radio(Frame2, QStringLiteral("Option2"), QStringLiteral("連番 + 名前"), 45, 480, 1455, 300);
    Option3 = radio(Frame2, QStringLiteral("Option3"), QStringLiteral("拡張子を連番"), 45, 870, 1455, 300);
    exclusive(Frame2, {Option1, Option2, Option3});

    Frame3 = group(page, QStringLiteral("Frame3"), QStringLiteral("桁数"), 3090, 600, 690, 630);
    Text6 = edit(Frame3, QStringLiteral("Text6"), 45, 285, 405, 315);
    UpDown2 = spin(Frame3, QStringLiteral("UpDown2"), Text6, 1, 100, 450, 285, 195, 315);
    Frame4 = group(page, QStringLiteral("Frame4"), QStringLiteral("増加数"), 3090, 1230, 690, 630);
    Text7 = edit(Frame4, QStringLiteral("Text7"), 45, 285, 405, 315);
    UpDown1 = spin(Frame4, QStringLiteral("UpDown1"), Text7, -10000, 10000, 450, 285, 195, 315);
}

void TabPages::buildExtensionPage()
{
    QFrame* page = Frame1[1];
    OptKaku1 = radio(page, QStringLiteral("OptKaku1"), QStringLiteral("変更"), 120, 120, 900, 300);
    OptKaku1->setToolTip(QStringLiteral("指定した拡張子に変更します。"));
    OptKaku2 = radio(page, QStringLiteral("OptKaku2"), QStringLiteral("削除"), 120, 480, 900, 300);
    OptKaku2->setToolTip(QStringLiteral("拡張子を削除します。"));
    OptKaku3 = radio(page, QStringLiteral("OptKaku3"), QStringLiteral("結合"), 120, 840, 900, 300);
    OptKaku3->setToolTip(QStringLiteral("ピリオドを削除して拡張子をファイル名に結合します。"));
    exclusive(page, {OptKaku1, OptKaku2, OptKaku3});
    Label5 = label(page, QStringLiteral("Label5"), QStringLiteral("．"), 1080, 105, 180, 330);
    Text8 = editCombo(page, QStringLiteral("Text8"), 1260, 105, 1500, 330);
}

void TabPages::buildEditPage()
{
    QFrame* page = Frame1[2];
    Frame10 = group(page, QStringLiteral("Frame10"), QStringLiteral("変更"), 0, 0, 2400, 630);
    const QString modes[] = {QStringLiteral("追加"), QStringLiteral("置換"), QStringLiteral("削除")};
    for (int i = 0; i < 3; ++i)
        Option8[i] = radio(Frame10, indexed("Option8", i), modes[i], 90 + 735 * i, 285, 735, 300);
    exclusive(Frame10, {Option8[0], Option8[1], Option8[2]});
    Check12 = check(page, QStringLiteral("Check12"), QStringLiteral("場所の指定"), 2490, 300, 1290, 300);

    Option9[0] = radio(page, indexed("Option9", 0), QStringLiteral("前から"), 0, 690, 930, 300);
    Option9[1] = radio(page, indexed("Option9", 1), QStringLiteral("後から"), 960, 690, 930, 300);
    exclusive(page, {Option9[0], Option9[1]});
    Text9 = edit(page, QStringLiteral("Text9"), 1980, 675, 450, 330);
    UpDown3 = spin(page, QStringLiteral("UpDown3"), Text9, 1, 255, 2430, 675, 195, 330);
    Label8 = label(page, QStringLiteral("Label8"), QStringLiteral("文字目"), 2670, 675, 570, 330);
    Label7 = label(page, QStringLiteral("Label7"), QStringLiteral("場所の指定は拡張子を含みません。"), 0, 1020, 3780, 225);

    // Both boxes' frames lie on one spot; the mode shows one of them.
    Frame12[0] = plainFrame(page, indexed("Frame12", 0), 240, 1260, 3540, 600);
    Text10 = editCombo(Frame12[0], QStringLiteral("Text10"), 0, 135, 3135, 330);
    Label9 = label(Frame12[0], QStringLiteral("Label9"), QStringLiteral("-->"), 1365, 135, 345, 330);
    Text11 = editCombo(Frame12[0], QStringLiteral("Text11"), 1740, 135, 1395, 330);

    Frame12[1] = plainFrame(page, indexed("Frame12", 1), 240, 1260, 3540, 600);
    Text12 = edit(Frame12[1], QStringLiteral("Text12"), 0, 135, 450, 330);
    UpDown4 = spin(Frame12[1], QStringLiteral("UpDown4"), Text12, 1, 255, 450, 135, 195, 330);
    Label10 = label(Frame12[1], QStringLiteral("Label10"), QStringLiteral("文字分を削除"), 690, 135, 1110, 330);
    Option10[0] = radio(Frame12[1], indexed("Option10", 0), QStringLiteral("右に"), 1860, 150, 780, 300);
    Option10[1] = radio(Frame12[1], indexed("Option10", 1), QStringLiteral("左に"), 2700, 150, 780, 300);
    exclusive(Frame12[1], {Option10[0], Option10[1]});
}

void TabPages::buildConversionPage()
{
    QFrame* page = Frame1[3];
    // Steps 1 and 2 on the left, 3 and 4 on the right, in the order they run.
    Check7 = check(page, QStringLiteral("Check7"), QStringLiteral("名前(1)"), 0, 30, 1350, 240);
    const QString nameCases[] = {QStringLiteral("先頭を大文字"), QStringLiteral("すべて大文字"),
                                 QStringLiteral("すべて小文字")};
    for (int i = 0; i < 3; ++i)
        Option4[i] = radio(page, indexed("Option4", i), nameCases[i], 150, 270 + 240 * i, 1455, 240);
    exclusive(page, {Option4[0], Option4[1], Option4[2]});
    Check8 = check(page, QStringLiteral("Check8"), QStringLiteral("拡張子(2)"), 0, 990, 1350, 240);
    Option5[0] = radio(page, indexed("Option5", 0), QStringLiteral("すべて大文字"), 150, 1230, 1455, 240);
    Option5[1] = radio(page, indexed("Option5", 1), QStringLiteral("すべて小文字"), 150, 1470, 1455, 240);
    exclusive(page, {Option5[0], Option5[1]});

    Check9 = check(page, QStringLiteral("Check9"), QStringLiteral("半角<->全角(3)"), 1650, 30, 1710, 240);
    Option6[0] = radio(page, indexed("Option6", 0), QStringLiteral("半角に"), 1800, 270, 915, 240);
    Option6[1] = radio(page, indexed("Option6", 1), QStringLiteral("全角に"), 2760, 270, 915, 240);
    exclusive(page, {Option6[0], Option6[1]});
    chkHalf1 = check(page, QStringLiteral("chkHalf1"), QStringLiteral("カナ"), 1800, 510, 750, 240);
    chkHalf2 = check(page, QStringLiteral("chkHalf2"), QStringLiteral("英数"), 2595, 510, 750, 240);
    Check10 = check(page, QStringLiteral("Check10"), QStringLiteral("かな<->カナ(4)"), 1650, 750, 1740, 240);
    Option7[0] = radio(page, indexed("Option7", 0), QStringLiteral("平仮名に"), 1800, 990, 1110, 240);
    Option7[1] = radio(page, indexed("Option7", 1), QStringLiteral("片仮名に"), 1800, 1230, 1110, 240);
    exclusive(page, {Option7[0], Option7[1]});
    Label6 = note(page, QStringLiteral("Label6"), QStringLiteral("（）の中の番号順に実行されます。"), 1650, 1470, 2130, 420);
}

void TabPages::buildStampPage()
{
    // The pickers are as wide as a whole date needs in the desktop's font
    // ("2026/12/10" and the calendar button); the buttons beside them give
    // way.
    QFrame* page = Frame1[4];
    Check2 = check(page, QStringLiteral("Check2"), QStringLiteral("作成日時"), 0, 30, 1275, 330);
    DTPicker1 = datePicker(page, QStringLiteral("DTPicker1"), 1290, 30, 1455, 330);
    DTPicker2 = timePicker(page, QStringLiteral("DTPicker2"), 1290, 390, 1455, 330);
    Command7[0] = button(page, indexed("Command7", 0), QStringLiteral("now"), 2760, 30, 510, 330);
    Command7[1] = button(page, indexed("Command7", 1), QStringLiteral("zero"), 3270, 30, 510, 330);

    Check3 = check(page, QStringLiteral("Check3"), QStringLiteral("更新日時"), 0, 780, 1275, 330);
    DTPicker3 = datePicker(page, QStringLiteral("DTPicker3"), 1290, 780, 1455, 330);
    DTPicker4 = timePicker(page, QStringLiteral("DTPicker4"), 1290, 1140, 1455, 330);
    Command8[0] = button(page, indexed("Command8", 0), QStringLiteral("now"), 2760, 780, 510, 330);
    Command8[1] = button(page, indexed("Command8", 1), QStringLiteral("zero"), 3270, 780, 510, 330);

    Check4 = check(page, QStringLiteral("Check4"), QStringLiteral("アクセス日"), 0, 1530, 1275, 330);
    DTPicker5 = datePicker(page, QStringLiteral("DTPicker5"), 1290, 1530, 1455, 330);
    DTPicker6 = timePicker(page, QStringLiteral("DTPicker6"), 1290, 1890, 1455, 330);
    DTPicker6->hide();
}

void TabPages::buildStampNamePage()
{
    QFrame* page = Frame17;
    ChkYear = check(page, QStringLiteral("ChkYear"), QStringLiteral("年"), 0, 0, 570, 285);
    ChkMonth = check(page, QStringLiteral("ChkMonth"), QStringLiteral("月"), 570, 0, 570, 285);
    ChkDay = check(page, QStringLiteral("ChkDay"), QStringLiteral("日"), 1140, 0, 570, 285);
    ChkHour = check(page, QStringLiteral("ChkHour"), QStringLiteral("時"), 1860, 0, 570, 285);
    ChkMin = check(page, QStringLiteral("ChkMin"), QStringLiteral("分"), 2430, 0, 570, 285);
    ChkSec = check(page, QStringLiteral("ChkSec"), QStringLiteral("秒"), 3000, 0, 570, 285);

    // The separator boxes show "年月日" and "時分秒" whole.
    Frame19 = group(page, QStringLiteral("Frame19"), QStringLiteral("区切り文字"), 0, 285, 2610, 615);
    Combo6 = editCombo(Frame19, QStringLiteral("Combo6"), 45, 285, 960, 300);
    Combo6->setToolTip(QStringLiteral("年月日の区切り"));
    Combo7 = editCombo(Frame19, QStringLiteral("Combo7"), 1035, 285, 525, 300);
    Combo7->setToolTip(QStringLiteral("年月日と時分秒の間"));
    Combo8 = editCombo(Frame19, QStringLiteral("Combo8"), 1590, 285, 960, 300);
    Combo8->setToolTip(QStringLiteral("時分秒の区切り文字"));
    OptTimeCreate = radio(page, QStringLiteral("OptTimeCreate"), QStringLiteral("作成日時"), 2670, 315, 1110, 285);
    OptTimeRenew = radio(page, QStringLiteral("OptTimeRenew"), QStringLiteral("更新日時"), 2670, 600, 1110, 285);
    exclusive(page, {OptTimeCreate, OptTimeRenew});

    Option15[0] = radio(page, indexed("Option15", 0), QStringLiteral("YYYY"), 0, 915, 840, 270);
    Option15[1] = radio(page, indexed("Option15", 1), QStringLiteral("YY"), 840, 915, 660, 270);
    exclusive(page, {Option15[0], Option15[1]});
    Check19 = check(page, QStringLiteral("Check19"), QStringLiteral("同名のとき連番付加"), 1650, 915, 2040, 270);

    Check20 = check(page, QStringLiteral("Check20"), QStringLiteral("付加する"), 0, 1200, 1095, 300);
    Combo9 = editCombo(page, QStringLiteral("Combo9"), 1125, 1200, 510, 300);
    Combo9->setToolTip(QStringLiteral("日時の前に追加する文字"));
    Combo10 = editCombo(page, QStringLiteral("Combo10"), 1665, 1200, 510, 300);
    Combo10->setToolTip(QStringLiteral("日時の後に追加する文字"));
    Option16 = radio(page, QStringLiteral("Option16"), QStringLiteral("前に"), 2220, 1215, 750, 270);
    Option17 = radio(page, QStringLiteral("Option17"), QStringLiteral("後に"), 3000, 1215, 750, 270);
    exclusive(page, {Option16, Option17});

    Text16 = edit(page, QStringLiteral("Text16"), 0, 1530, 3780, 330);
    Text16->setReadOnly(true);
}

void TabPages::buildAttributePage()
{
    QFrame* page = Frame1[5];
    const QString names[] = {QStringLiteral("読み取り専用"), QStringLiteral("アーカイブ"),
                             QStringLiteral("隠しファイル"), QStringLiteral("システム")};
    QRadioButton** setters[] = {&Opt0_1, &Opt1_1, &Opt2_1, &Opt3_1};
    QRadioButton** clearers[] = {&Opt0_0, &Opt1_0, &Opt2_0, &Opt3_0};
    for (int k = 0; k < 4; ++k) {
        Frame13[k] = plainFrame(page, indexed("Frame13", k), 0, 90 + 435 * k, 3780, 390);
        Check11[k] = check(Frame13[k], indexed("Check11", k), names[k], 90, 45, 1500, 300);
        const QString stem = QStringLiteral("Opt%1_").arg(k);
        *setters[k] = radio(Frame13[k], stem + u'1', QStringLiteral("設定"), 1800, 45, 840, 300);
        *clearers[k] = radio(Frame13[k], stem + u'0', QStringLiteral("解除"), 2700, 45, 840, 300);
        exclusive(Frame13[k], {*setters[k], *clearers[k]});
        m_setOption[k] = *setters[k];
        m_clearOption[k] = *clearers[k];
    }
}

void TabPages::buildImportPage()
{
    QFrame* page = Frame1[6];
    List4 = new QListWidget(page);
    List4->setObjectName(QStringLiteral("List4"));
    List4->setSelectionMode(QAbstractItemView::ExtendedSelection);
    List4->setToolTip(QStringLiteral("ここにﾃｷｽﾄ ﾌｧｲﾙをﾄﾞﾛｯﾌﾟして下さい"));
    twips::place(List4, 0, 0, 1920, 1860);
    Combo3 = listCombo(page, QStringLiteral("Combo3"), 1980, 0, 1800, 330);
    Command6 = button(page, QStringLiteral("Command6"), QStringLiteral("ﾘｽﾄをｸﾘｱ"), 1980, 360, 1350, 330);
    Label12 = label(page, QStringLiteral("Label12"), QStringLiteral("拡張子の指定"), 1980, 750, 1800, 225);
    Option11 = radio(page, QStringLiteral("Option11"), QStringLiteral("変更しない"), 2070, 990, 1590, 270);
    Option12 = radio(page, QStringLiteral("Option12"), QStringLiteral("変更する"), 2070, 1260, 1590, 270);
    exclusive(page, {Option11, Option12});
    Combo4 = editCombo(page, QStringLiteral("Combo4"), 1980, 1530, 1800, 330);
}

void TabPages::buildCopyPage()
{
    QFrame* page = Frame1[7];
    Frame14 = group(page, QStringLiteral("Frame14"), QStringLiteral("動作"), 0, 0, 960, 930);
    Option13 = radio(Frame14, QStringLiteral("Option13"), QStringLiteral("ｺﾋﾟｰ"), 90, 285, 825, 285);
    Option14 = radio(Frame14, QStringLiteral("Option14"), QStringLiteral("移動"), 90, 585, 825, 285);
    exclusive(Frame14, {Option13, Option14});
    // The digit box is as wide as "00001" in the desktop's font; the clash
    // name's row and the note below it start right of its frame.
    Frame16 = group(page, QStringLiteral("Frame16"), QStringLiteral("桁"), 0, 960, 1065, 660);
    Combo5 = listCombo(Frame16, QStringLiteral("Combo5"), 45, 285, 975, 330);

    Frame15 = group(page, QStringLiteral("Frame15"), QStringLiteral("同じ時スキップ"), 1020, 0, 2760, 930);
    Check15 = check(Frame15, QStringLiteral("Check15"), QStringLiteral("作成日時"), 90, 285, 1140, 285);
    Check16 = check(Frame15, QStringLiteral("Check16"), QStringLiteral("更新日時"), 1290, 285, 1140, 285);
    Check17 = check(Frame15, QStringLiteral("Check17"), QStringLiteral("ﾌｧｲﾙｻｲｽﾞ"), 90, 585, 1200, 285);

    // The clash name reads left to right as it is built.
    Label14 = label(page, QStringLiteral("Label14"), QStringLiteral("名前部分"), 1125, 945, 840, 210);
    Text13 = edit(page, QStringLiteral("Text13"), 1125, 1155, 840, 315);
    Label13 = label(page, QStringLiteral("Label13"), QStringLiteral("．"), 1980, 1155, 180, 315);
    Label15 = label(page, QStringLiteral("Label15"), QStringLiteral("拡張子"), 2175, 945, 750, 210);
    Text14 = edit(page, QStringLiteral("Text14"), 2175, 1155, 750, 315);
    Label16 = label(page, QStringLiteral("Label16"), QStringLiteral("開始番号"), 2940, 945, 840, 210);
    Text15 = edit(page, QStringLiteral("Text15"), 2940, 1155, 840, 315);
    Label17 = note(page, QStringLiteral("Label17"),
                   QStringLiteral("ｺﾋﾟｰ（移動）先は『出力先フォルダ』で設定してください。"), 1125, 1470, 2655, 420);
}

} // namespace tavil::mainwin
