#pragma once

#include <QString>

namespace tavil::engine {

struct RunContext;

// The parameters of the case, width and kana tab ("a<->A"). The four steps
// always run in the order 1 to 4, whichever of them are switched on.
struct FNameConvParams {
    bool ConvertName = false;      // Check7 "名前(1)"
    int NameCase = 0;              // Option4: 0 first letter upper, rest lower; 1 all upper; 2 all lower
    bool ConvertExtension = false; // Check8 "拡張子(2)"
    int ExtensionCase = 0;         // Option5: 0 upper; 1 lower
    bool ConvertWidth = false;     // Check9 "半角<->全角(3)"
    int WidthTarget = 0;           // Option6: 0 to half width; 1 to full width
    bool WidthKana = true;         // chkHalf1 "カナ"
    bool WidthAlnum = true;        // chkHalf2 "英数"
    bool ConvertKana = false;      // Check10 "かな<->カナ(4)"
    int KanaTarget = 0;            // Option7: 0 to hiragana; 1 to katakana
};

// The converted parts of one name; the new name is base & "." & ext (a lone
// "." when there is no extension: the disk drops it).
struct ConvertedName {
    QString base;
    QString ext;
};

// Steps 1 to 4 on one old name. Only step 2 touches the extension. An empty
// base name (a dot file such as ".profile") stays empty.
ConvertedName fnameConvNewName(const QString& oldName, const FNameConvParams& params);

// The conversion over ctx.objList in ctx.SourceFolder. A converted name
// that cannot be used (a "／" that became "/") stops the run before that
// file is touched, with the generic message naming the name; the files
// before it keep their new names. True when it stopped early.
bool FNameConv(RunContext& ctx, const FNameConvParams& params);

} // namespace tavil::engine
