#include "platform/errors.h"

#include <gtest/gtest.h>

#include <cerrno>

using namespace Qt::Literals::StringLiterals;
using tavil::platform::errDescription;
using tavil::platform::errFromErrno;
using tavil::platform::ErrnoContext;

namespace {

struct ErrnoCase {
    const char* name;
    int sysErrno;
    ErrnoContext context;
    int number;
};

const ErrnoCase kErrno[] = {
    {"none", 0, ErrnoContext::Source, 0},
    {"missingSource", ENOENT, ErrnoContext::Source, 53},
    {"missingFolder", ENOENT, ErrnoContext::Folder, 76},
    {"missingParentOfNewFolder", ENOENT, ErrnoContext::MakeDir, 76},
    {"notDir", ENOTDIR, ErrnoContext::Source, 76},
    {"notDirFolder", ENOTDIR, ErrnoContext::Folder, 76},
    {"exists", EEXIST, ErrnoContext::Source, 58},
    {"existsFolder", EEXIST, ErrnoContext::Folder, 58},
    {"notEmpty", ENOTEMPTY, ErrnoContext::Source, 58},
    {"existsMakeDir", EEXIST, ErrnoContext::MakeDir, 75},
    {"notEmptyMakeDir", ENOTEMPTY, ErrnoContext::MakeDir, 75},
    {"noSpace", ENOSPC, ErrnoContext::Folder, 61},
    {"quota", EDQUOT, ErrnoContext::Source, 61},
    {"readOnlyFs", EROFS, ErrnoContext::Source, 70},
    {"access", EACCES, ErrnoContext::Source, 70},
    {"perm", EPERM, ErrnoContext::Folder, 70},
    {"textBusy", ETXTBSY, ErrnoContext::Source, 70},
    {"io", EIO, ErrnoContext::Source, 75},
    {"busy", EBUSY, ErrnoContext::Source, 75},
    {"nameTooLong", ENAMETOOLONG, ErrnoContext::Source, 75},
    {"loop", ELOOP, ErrnoContext::Source, 75},
    {"isDir", EISDIR, ErrnoContext::Source, 75},
    {"crossDevice", EXDEV, ErrnoContext::Source, 75},
    {"invalid", EINVAL, ErrnoContext::MakeDir, 75},
};

TEST(Errors, ErrnoMapsToProgramNumbers)
{
    for (const ErrnoCase& c : kErrno) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(static_cast<int>(errFromErrno(c.sysErrno, c.context)), c.number);
    }
}

TEST(Errors, StatusKeepsErrno)
{
    const auto st = tavil::platform::statusFromErrno(ENOSPC);
    EXPECT_EQ(st.number(), 61);
    EXPECT_EQ(st.sysErrno, ENOSPC);
    EXPECT_FALSE(st.ok());
    EXPECT_TRUE(tavil::platform::statusFromErrno(0).ok());
}

TEST(Errors, FixedDescriptions)
{
    const struct {
        int number;
        QString text;
    } cases[] = {
        {5, u"プロシージャの呼び出し、または引数が不正です。"_s},
        {6, u"オーバーフローしました。"_s},
        {13, u"型が一致しません。"_s},
        {52, u"ファイル名または番号が不正です。"_s},
        {53, u"ファイルが見つかりません。"_s},
        {58, u"既に同名のファイルが存在しています。"_s},
        {61, u"ディスクの空き容量が不足しています。"_s},
        {62, u"ファイルにこれ以上データがありません。"_s},
        {68, u"デバイスが準備されていません。"_s},
        {70, u"書き込みできません。"_s},
        {75, u"パス名が無効です。"_s},
        {76, u"パスが見つかりません。"_s},
        {380, u"プロパティの値が不正です。"_s},
        {461, u"指定された形式が見つかりません。"_s},
        {9, u"アプリケーション定義またはオブジェクト定義のエラーです。"_s},
        {0, u"アプリケーション定義またはオブジェクト定義のエラーです。"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        EXPECT_EQ(errDescription(c.number), c.text);
    }
}

} // namespace
