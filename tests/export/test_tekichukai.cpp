#include "../bets/bet_files.h"
#include "bets/pending_bet.h"
#include "codes/amount.h"
#include "codes/sjis.h"
#include "export/tekichukai.h"
#include "support/test_home.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace Qt::Literals::StringLiterals;

const QString kDay = u"20011014"_s;  // a Sunday

TEST(TekichukaiOut, BetLinesByType) {
    const struct {
        QString pending;  // the pending-bet line
        QString line;
    } cases[] = {
        {u"東京,11R,馬連,05-12,,500円"_s, u"#,20011014,東京,11R,馬, 5-12,   500"_s},
        {u"中山,1R,枠連  ,  1-8,,100円"_s, u"#,20011014,中山, 1R,枠, 1- 8,   100"_s},
        {u"京都, 5R,単勝,5,,1200円"_s, u"#,20011014,京都, 5R,単,    5,  1200"_s},
        {u"阪神,12R,複勝  ,18, 2.3,100000円"_s, u"#,20011014,阪神,12R,複,   18,100000"_s},
        {u"小倉,3R,拡連,03-04,,300円"_s, u"#,20011014,小倉, 3R,拡, 3- 4,   300"_s},
        {u"福島,3R,ワイド,10-11,,300"_s, u"#,20011014,福島, 3R,ワ,10-11,   300"_s},
    };
    for (const auto& c : cases) {
        const auto bet = ParsePendingBetLine(c.pending, {.keepKaku = true});
        ASSERT_TRUE(bet.ok()) << bet.message().toStdString();
        EXPECT_EQ(TekichukaiBetLine(*bet, kDay), c.line) << c.line.toStdString();
    }
}

TEST(TekichukaiOut, TitleAndVersionAreFortyTwoBytes) {
    EXPECT_EQ(TekichukaiTitle(kDay), u"--- 2001年10月14日(日) の『的中会』投票---"_s);
    EXPECT_EQ(TekichukaiTitle(u"2001/10/14"_s), TekichukaiTitle(kDay));
    EXPECT_EQ(TekichukaiVersionLine(u"0.1.0"_s), u"--- Output by「ゼノゼノＭＵＲ Ver0.1.0」--"_s);
    EXPECT_EQ(ByteLength(TekichukaiVersionLine(u"12.34.56"_s)), 42);
    // A two-byte character that would be cut in half gives way to a dash.
    EXPECT_EQ(cutToBytesWithDashes(u"ab東京"_s, 5), u"ab東-"_s);
    EXPECT_EQ(cutToBytesWithDashes(u"ab"_s, 4), u"ab--"_s);
}

TEST(TekichukaiOut, PostTextAndTotals) {
    const QString area = u"#,20011014,東京,11R,馬, 5-12,   500\r\n#,20011014,東京,11R,枠, 1- 8,  1000\r\n"_s;
    const QString post = TekichukaiPost(kDay, area, false, u"0.1.0"_s);
    EXPECT_EQ(post, u"--- 2001年10月14日(日) の『的中会』投票---\r\n\r\n"_s + area +
                        u"\r\n     《 ２ベット  1,500円購入 》\r\n--- Output by「ゼノゼノＭＵＲ Ver0.1.0」--\r\n"_s);
    const QString wide = TekichukaiPost(kDay, area, true, u"0.1.0"_s);
    EXPECT_TRUE(wide.contains(u"#,20011014,東京,11R,ワ, 5-12,   500\r\n"_s));
    EXPECT_TRUE(wide.contains(u"#,20011014,東京,11R,枠, 1- 8,  1000\r\n"_s));
}

TEST(TekichukaiOut, QuinellaToWideOnlyOnLongLines) {
    EXPECT_EQ(QuinellaToWide(u"#,20011014,東京,11R,馬, 5-12,   500\n"_s), u"#,20011014,東京,11R,ワ, 5-12,   500\r\n"_s);
    EXPECT_EQ(QuinellaToWide(u"x,馬,1234567890123456\n"_s), u"x,馬,1234567890123456\r\n"_s);  // 20 characters
    EXPECT_EQ(QuinellaToWide(u"x,馬,12345678901234567,馬,\n"_s), u"x,ワ,12345678901234567,馬,\r\n"_s);
}

TEST(TekichukaiOut, RecountCountsLinesOfSevenFields) {
    const auto t = RecountTekichukai(u"#,1,2,3,4,5,  500\n#,1,2,3,4,5\n\nx,x,x,x,x,x,abc,9\n#,1,2,3,4,5,100"_s);
    EXPECT_EQ(t.count, 3);
    EXPECT_EQ(t.stake, Amount::yen(600));
    EXPECT_EQ(thousandsOrEmpty(Amount()), u""_s);
    EXPECT_EQ(thousandsOrEmpty(Amount::yen(1234567)), u"1,234,567"_s);
}

TEST(TekichukaiOut, ThreeHundredBetsAreListedAndOneMoreIsRefused) {
    test::TestHome home;
    const QString path = PendingBetPath(home.ctx().paths, kDay);
    QStringList lines;
    for (int i = 0; i < 300; ++i)
        lines << u"東京,11R,単勝,    5,      ,  100円"_s;
    lines.insert(3, u""_s);
    test::writeBytes(path, test::betBytes(lines));
    auto list = ListTekichukaiBets(path, kDay);
    EXPECT_FALSE(list.tooMany);
    EXPECT_EQ(list.lines.size(), 300);
    lines << lines.back();
    test::writeBytes(path, test::betBytes(lines));
    list = ListTekichukaiBets(path, kDay);
    EXPECT_TRUE(list.tooMany);
    EXPECT_EQ(list.bets, 301);
    EXPECT_TRUE(list.lines.isEmpty());
    EXPECT_FALSE(ListTekichukaiBets(path + u"x"_s, kDay).fileExists);
}

TEST(TekichukaiIn, FieldParsers) {
    const struct {
        const char16_t* venue;
        std::optional<QString> result;
    } venues[] = {{u"TKY", u"東京"_s},  {u"ｔｋｙ", u"東京"_s}, {u"kok", u"小倉"_s},      {u"東京", u"東京"_s},
                  {u"中京", u"中京"_s}, {u"TOK", std::nullopt}, {u" 東京", std::nullopt}, {u"東", std::nullopt}};
    for (const auto& c : venues)
        EXPECT_EQ(ParseVenue(QStringView(c.venue)), c.result) << QString::fromUtf16(c.venue).toStdString();

    const struct {
        const char16_t* race;
        std::optional<QString> result;
    } races[] = {{u"11R", u"11R"_s},   {u"１１Ｒ", u"11R"_s},  {u" 5R", u" 5R"_s},    {u"5r", u" 5R"_s},
                 {u"12R", u"12R"_s},   {u"13R", std::nullopt}, {u"0R", std::nullopt}, {u"5", std::nullopt},
                 {u"R", std::nullopt}, {u"-1R", std::nullopt}, {u"5R ", std::nullopt}};
    for (const auto& c : races)
        EXPECT_EQ(ParseRace(QStringView(c.race)), c.result) << QString::fromUtf16(c.race).toStdString();

    const struct {
        const char16_t* type;
        std::optional<QString> result;
    } types[] = {{u"単", u"単勝  "_s}, {u"ｔ", u"単勝  "_s}, {u"F", u"複勝  "_s},    {u"枠連", u"枠連  "_s},
                 {u"ｗ", u"枠連  "_s}, {u"U", u"馬連  "_s},  {u"拡連", u"ワイド"_s}, {u"ワイド", u"ワイド"_s},
                 {u"k", u"ワイド"_s},  {u"ﾜ", std::nullopt}, {u" 馬", std::nullopt}, {u"X", std::nullopt}};
    for (const auto& c : types)
        EXPECT_EQ(ParseBetType(QStringView(c.type)), c.result) << QString::fromUtf16(c.type).toStdString();

    const struct {
        const char16_t* combination;
        const char16_t* type;
        std::optional<QString> result;
    } combinations[] = {
        {u"5", u"単勝  ", u"    5"_s},        {u" 18", u"複勝  ", u"   18"_s},    {u"１８", u"複勝  ", u"   18"_s},
        {u"19", u"単勝  ", std::nullopt},     {u"0", u"単勝  ", std::nullopt},    {u" 1- 8", u"枠連  ", u"  1-8"_s},
        {u"8-1", u"枠連  ", u"  1-8"_s},      {u"4-4", u"枠連  ", u"  4-4"_s},    {u"9-1", u"枠連  ", std::nullopt},
        {u"0-1", u"枠連  ", std::nullopt},    {u"18", u"枠連  ", std::nullopt},   {u"5-12", u"馬連  ", u"05-12"_s},
        {u" 5-12", u"馬連  ", u"05-12"_s},    {u"12-5", u"馬連  ", std::nullopt}, {u"5ｰ12", u"ワイド", u"05-12"_s},
        {u"５ー１２", u"ワイド", u"05-12"_s}, {u"-12", u"馬連  ", std::nullopt},  {u"17-18", u"馬連  ", u"17-18"_s},
        {u"5-19", u"馬連  ", std::nullopt},   {u"3-3", u"馬連  ", std::nullopt},  {u"1-2", u"?", std::nullopt},
        // Exactly two numbers and one dash: no third number, no digits run on, no empty side.
        {u"5-123", u"馬連  ", std::nullopt},  {u"1-2-3", u"馬連  ", std::nullopt}, {u"1--2", u"ワイド", std::nullopt},
        {u"5-", u"馬連  ", std::nullopt},     {u"1-2-3", u"枠連  ", std::nullopt}, {u"1-88", u"枠連  ", std::nullopt},
        {u"5.0", u"単勝  ", std::nullopt},    {u"5a", u"単勝  ", std::nullopt},    {u"005", u"単勝  ", std::nullopt},
        {u"1 - 18", u"ワイド", u"01-18"_s},
    };
    for (const auto& c : combinations)
        EXPECT_EQ(ParseCombination(QStringView(c.combination), QStringView(c.type)), c.result)
            << QString::fromUtf16(c.combination).toStdString();

    const struct {
        const char16_t* text;
        std::optional<std::int64_t> stake;  // as a post's stake
        std::optional<std::int64_t> fixed;  // as a typed fixed amount
    } amounts[] = {
        {u"  500", 500, 500},
        {u"100", 100, 100},
        {u"99", std::nullopt, 100},
        {u"150", std::nullopt, 100},
        {u"250", std::nullopt, 200},
        {u"123456", std::nullopt, 123400},
        {u"99999900", 99999900, 99999900},
        {u"99999999", std::nullopt, 99999900},
        {u"100000000", std::nullopt, std::nullopt},
        {u"99999999999999999999", std::nullopt, std::nullopt},
        {u"1,000", std::nullopt, std::nullopt},
        {u"-500", std::nullopt, std::nullopt},
        {u"1e5", std::nullopt, std::nullopt},
        {u"５００", 500, 500},
        {u"", std::nullopt, 100},
    };
    auto yen = [](std::optional<std::int64_t> v) {
        return v ? std::optional<Amount>(Amount::yen(*v)) : std::nullopt;
    };
    for (const auto& c : amounts) {
        SCOPED_TRACE(QString::fromUtf16(c.text).toStdString());
        EXPECT_EQ(ParseStake(QStringView(c.text)), yen(c.stake));
        EXPECT_EQ(FixedAmountValue(QStringView(c.text)), yen(c.fixed));
    }
}

TEST(TekichukaiIn, PassesKeepValidLinesOfTheDayAndCountTheRest) {
    const QString post =
        u"--- title ---\r\n"
        u"  #,20011014,TKY,11R,U,5-12,500  \r\n"       // kept, trimmed
        u"#,20011015,TKY,11R,U,5-12,500\r\n"           // another day: not counted
        u"#,20011014,TKY,11R,U,5-12,50\r\n"            // stake below 100
        u"#,20011014,TKY,11R,U,5-12,500,x\r\n"         // seven commas
        u"#,20011014,ＴＫＹ,１１Ｒ,Ｋ,５ー１２,300\n"  // full-width, wide with ー
        u"#,20011014,東京,11,U,5-12,500\r\n"           // race without R
        u"#,20011014,東京,13R,U,5-12,500\r\n"          // race 13
        u"#,20011014,東京, 1R,枠, 8- 1,  1000\r\n"
        u"#，20011014，東京，1R，T，3，150000\r"          // full-width commas, CR only
        u"# , 20011014 , 東京 , 2R , T , 3 , 200\r\n"  // blanks around fields
        u"#,20011014,東京,1R,U,5-123,500\r\n"          // typo combination
        u"#,20011014,東京,1R,T,3,99999999999999999999"_s;  // huge stake
    const QList<QStringView> kept = TekichukaiFirstPass(post, kDay);
    EXPECT_EQ(kept.size(), 11);
    EXPECT_EQ(kept[0], u"#,20011014,TKY,11R,U,5-12,500"_s);
    TekichukaiFixedAmounts none;
    auto bets = TekichukaiSecondPass(kept, none);
    EXPECT_EQ(bets.lines,
              (QStringList{u"東京,11R,馬連  ,05-12,      ,  500円"_s, u"東京,11R,ワイド,05-12,      ,  300円"_s,
                           u"東京, 1R,枠連  ,  1-8,      , 1000円"_s, u"東京, 1R,単勝  ,    3,      ,150000円"_s,
                           u"東京, 2R,単勝  ,    3,      ,  200円"_s}));
    EXPECT_EQ(bets.total, Amount::yen(152000));
    EXPECT_EQ(bets.skipped, 6);
    EXPECT_EQ(bets.firstSkipped, u"#,20011014,TKY,11R,U,5-12,50"_s);
    EXPECT_EQ(tekichukaiConfirmText(5, bets.total), u"5BET  152000円  の買い目がありますが保留ＢＥＴに出力しますか？"_s);

    TekichukaiFixedAmounts fixed;
    fixed.on[3] = true;
    fixed.amount[3] = u"1250"_s;
    fixed.on[2] = true;
    fixed.amount[2] = u"30"_s;
    bets = TekichukaiSecondPass(kept, fixed);
    EXPECT_EQ(bets.lines[0], u"東京,11R,馬連  ,05-12,      , 1200円"_s);
    EXPECT_EQ(bets.lines[1], u"東京,11R,ワイド,05-12,      ,  300円"_s);
    EXPECT_EQ(bets.lines[2], u"東京, 1R,枠連  ,  1-8,      ,  100円"_s);
}

// A post far larger than a pending-bet file is counted whole but not held whole.
TEST(TekichukaiIn, CountsEveryBetButHoldsOnlyWhatAFileCanTake) {
    QString post;
    for (int i = 0; i < kPendingBetTableSize + 100; ++i)
        post += u"#,20011014,東京,11R,T,%1,100\r\n"_s.arg(i % 18 + 1);
    const TekichukaiImport bets = TekichukaiSecondPass(TekichukaiFirstPass(post, kDay), {});
    EXPECT_EQ(bets.bets, kPendingBetTableSize + 100);
    EXPECT_EQ(bets.lines.size(), kPendingBetTableSize + 1);
    EXPECT_EQ(bets.total, Amount::yen(100LL * (kPendingBetTableSize + 100)));
}

class TekichukaiImportTest : public ::testing::Test {
protected:
    QString path() { return PendingBetPath(home.ctx().paths, kDay); }
    std::optional<BetOutcome> import(const QString& text, const TekichukaiFixedAmounts& fixed = {}) {
        return test::shown(home.prompter(), ImportTekichukai(home.ctx(), kDay, text, fixed));
    }
    test::TestHome home;
};

TEST_F(TekichukaiImportTest, NothingValidAsksNothingAndKeepsTheFile) {
    test::writeBytes(path(), test::betBytes({u"東京,11R,単勝,    5,      ,  100円"_s}));
    const QByteArray before = test::readBytes(path());
    EXPECT_EQ(import(u""_s), std::nullopt);
    EXPECT_EQ(import(u"#,20011014,TKY,13R,U,5-12,500\r\n"_s), std::nullopt);
    EXPECT_EQ(import(u"#,20011015,TKY,11R,U,5-12,500\r\n"_s), std::nullopt);
    const QStringList texts = home.prompter().texts();
    ASSERT_EQ(texts.size(), 3);
    EXPECT_EQ(texts[0], kTekichukaiNothing);
    // The line of the day that was passed over is named; the other day's line is not counted.
    EXPECT_TRUE(texts[1].startsWith(kTekichukaiNoValid));
    EXPECT_TRUE(texts[1].contains(u"13R"_s));
    EXPECT_EQ(texts[2], kTekichukaiNoValid);
    EXPECT_EQ(test::readBytes(path()), before);
}

TEST_F(TekichukaiImportTest, QuestionsDecideWhatIsWritten) {
    const QString post = u"#,20011014,TKY,11R,U,5-12,500\r\n"_s;
    const QString line = u"東京,11R,馬連  ,05-12,      ,  500円"_s;
    // No: nothing written.
    home.prompter().answer(Answer::No);
    EXPECT_EQ(import(post), BetOutcome::Declined);
    EXPECT_FALSE(QFile::exists(path()));
    // Yes on a missing file: created, no second question.
    home.prompter().answer(Answer::Yes);
    EXPECT_EQ(import(post), BetOutcome::Done);
    EXPECT_EQ(test::readLines(path()), QStringList{line});
    // Appended, then cancelled, then replaced.
    home.prompter().answer(Answer::Yes);
    home.prompter().answer(Answer::No);
    EXPECT_EQ(import(post), BetOutcome::Done);
    EXPECT_EQ(test::readLines(path()), (QStringList{line, line}));
    home.prompter().answer(Answer::Yes);
    home.prompter().answer(Answer::Cancel);
    EXPECT_EQ(import(post), BetOutcome::Declined);
    EXPECT_EQ(test::readLines(path()).size(), 2);
    home.prompter().answer(Answer::Yes);
    home.prompter().answer(Answer::Yes);
    EXPECT_EQ(import(post), BetOutcome::Done);
    EXPECT_EQ(test::readLines(path()), QStringList{line});
    EXPECT_FALSE(home.prompter().unansweredLeft());
    EXPECT_EQ(home.prompter().log().back().title, kTekichukaiOverwriteTitle);
}

// An append starts on a new line; the table limit and a file that is not a pending-bet file
// stop the import before anything is written.
TEST_F(TekichukaiImportTest, AppendsAreSafe) {
    const QString post = u"#,20011014,TKY,11R,U,5-12,500\r\n"_s;
    const QString line = u"東京,11R,馬連  ,05-12,      ,  500円"_s;
    const QString old = u"中山,11R,単勝  ,    3,      ,  100円"_s;
    test::writeBytes(path(), toSjis(old));  // no final line end
    home.prompter().answer(Answer::Yes);
    home.prompter().answer(Answer::No);
    EXPECT_EQ(import(post), BetOutcome::Done);
    EXPECT_EQ(test::readLines(path()), (QStringList{old, line}));

    const QByteArray full = toSjis(QString(old + u"\r\n"_s).repeated(kPendingBetTableSize));
    test::writeBytes(path(), full);
    home.prompter().answer(Answer::Yes);
    home.prompter().answer(Answer::No);
    EXPECT_EQ(import(post), std::nullopt);
    EXPECT_EQ(test::readBytes(path()), full);

    // Refused before any question.
    const struct {
        const char* name;
        QByteArray file;
    } refused[] = {
        {"seven fields", toSjis(u"東京競馬場,X, 1R,単勝  ,    3,      ,  100円\r\n"_s)},
        {"unknown venue", toSjis(u"館福,11R,単勝  ,    3,      ,  100円\r\n"_s)},
        {"UTF-8", (old + u"\r\n"_s).toUtf8()},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.name);
        test::writeBytes(path(), c.file);
        EXPECT_EQ(import(post), std::nullopt);
        EXPECT_EQ(test::readBytes(path()), c.file);
    }
    EXPECT_FALSE(home.prompter().unansweredLeft());
}

TEST_F(TekichukaiImportTest, RoundTripGivesBackTheBets) {
    const QStringList bets = {
        u"東京, 1R,単勝  ,    5,      ,  100円"_s,  u"東京, 1R,複勝  ,   18,      ,  200円"_s,
        u"中山,11R,枠連  ,  1-8,      ,  300円"_s,  u"中山,11R,枠連  ,  4-4,      ,  300円"_s,
        u"京都,12R,馬連  ,05-12,      , 1000円"_s,  u"京都,12R,ワイド,01-02,      ,99900円"_s,
        u"京都,12R,ワイド,17-18,      ,100000円"_s,
    };
    test::writeBytes(path(), test::betBytes(bets));
    const auto list = ListTekichukaiBets(path(), kDay);
    const QString post = TekichukaiPost(kDay, list.text(), false, u"0.1.0"_s);
    QFile::remove(path());
    home.prompter().answer(Answer::Yes);
    EXPECT_EQ(import(post), BetOutcome::Done);
    EXPECT_EQ(test::readLines(path()), bets);
}

TEST(TekichukaiIn, PostFileDecoding) {
    // Shift-JIS, UTF-8 (also when its bytes happen to read as Shift-JIS too), UTF-8 with a byte
    // order mark, plain ASCII.
    const QString texts[] = {u"#,20011014,東京,11R,馬, 5-12,   500"_s, u"#,20011014,中山,11R,単,    3,   100"_s,
                             u"あ #,20011014,TKY,11R,U,5-12,500"_s, u"#,20011014,TKY,11R,U,5-12,500"_s};
    for (const QString& text : texts) {
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(decodePostFile(toSjis(text)), text);
        EXPECT_EQ(decodePostFile(text.toUtf8()), text);
        EXPECT_EQ(decodePostFile("\xEF\xBB\xBF" + text.toUtf8()), text);
    }
}

}  // namespace
}  // namespace zm

namespace zm {
namespace {

// Every post of the corpus through both passes: each pending-bet line built has the file's
// widths, and the corpus's well-formed posts give their bets.
TEST(TekichukaiIn, CorpusReplay) {
    const QString dir = QStringLiteral(ZENOMUR_TEST_DATA_DIR "/tekichukai-corpus");
    const QStringList files = QDir(dir).entryList(QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    int bets = 0;
    for (const QString& name : files) {
        QFile f(dir + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QString text = decodePostFile(f.readAll());
        TekichukaiFixedAmounts fixed;
        for (bool on : {false, true}) {
            fixed.on.fill(on);
            fixed.amount.fill(u"250"_s);
            const auto out = TekichukaiSecondPass(TekichukaiFirstPass(text, kDay), fixed);
            for (const QString& line : out.lines) {
                const QStringList f6 = line.split(u',');
                ASSERT_EQ(f6.size(), 6) << line.toStdString();
                EXPECT_EQ(f6[0].size(), 2);
                EXPECT_EQ(f6[1].size(), 3);
                EXPECT_EQ(ByteLength(f6[2]), 6);
                EXPECT_EQ(f6[3].size(), 5);
                EXPECT_TRUE(f6[5].endsWith(u'円'));
            }
            bets += static_cast<int>(out.lines.size());
        }
    }
    // A stake that is not a valid one skips its line even when a fixed amount would replace it.
    EXPECT_GE(bets, 2 * 10);
}

}  // namespace
}  // namespace zm
