#include "pat/pat_files.h"
#include "support/pat_builders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <gtest/gtest.h>

namespace zm {
namespace {

using test::PatRace;

TEST(PatFileNames, LettersAndCodes) {
    const struct {
        const char* venue;
        const char* race;
        const char* day;
        const char* code;
        const char* code31;
    } cases[] = {
        {"04", "11", "03", "53B", "51B"}, {"03", "10", "1", "A1A", "A1A"}, {"08", "12", "2", "12C", "11C"},
        {"00", "9", "4", "849", "819"},   {"09", "09", "8", "289", "219"}, {"10", "1", "1", "11", "11"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PatFileCode(QString(c.venue), QString(c.race), QString(c.day)), c.code) << c.venue;
        EXPECT_EQ(PatFileCode31(QString(c.venue), QString(c.race)), c.code31) << c.venue;
    }
    EXPECT_EQ(BracketEntryOf(1, 1), 1);
    EXPECT_EQ(BracketEntryOf(2, 2), 9);
    EXPECT_EQ(BracketEntryOf(7, 8), 35);
    EXPECT_EQ(BracketEntryOf(8, 8), 36);
    EXPECT_EQ(PairEntryOf(17, 18, 18), 153);
    EXPECT_EQ(PairEntryOf(2, 3, 5), 5);
}

struct Lookup {
    const char* kind;
    const char* combination;
    const char* odds98;
    const char* odds95;
    const char* odds31;
};

TEST(PatOdds, EveryKindOfEveryGeneration) {
    PatRace race;
    race.runners = 12;
    race.scratched = {7};
    race.missingPairsOf = {3};
    const QByteArray zo95 = test::zoRecord<Zo95Record>(race);
    const QByteArray zo31 = test::zoRecord<Zo31Record>(race);
    const QByteArray uo98 = test::uoRecord<Uo98Record>(race);
    const QByteArray uo95 = test::uoRecord<Uo95Record>(race);
    const QByteArray uo31 = test::uoRecord<Uo31Record>(race);
    const Lookup cases[] = {
        {"単", "    5", "   5.5", "   5.5", "   5.5"},
        {"複", "5", "   1.5", "   1.5", "   1.5"},
        {"単", "7", "  ﾄﾘｹｼ", "  ﾄﾘｹｼ", "  ﾄﾘｹｼ"},
        {"単", "13", "      ", "      ", "      "},   // beyond the runners: blank entry
        {"単", "5.5", "      ", "      ", "      "},  // not a whole number
        {"単", "19", "      ", "      ", "      "},
        {"枠", "  1-8", "  18.0", "  18.0", "  18.0"},
        {"枠", "8-1", "      ", "      ", "      "},
        {"馬", "05-12", " 512.0", " 512.0", " 512.0"},
        {"馬", "12-05", "      ", "      ", "      "},  // pairs are stored smaller first
        {"馬", "03-04", "      ", "      ", "      "},  // missing pair
        {"馬", "06-07", "  ﾄﾘｹｼ", "  ﾄﾘｹｼ", "  ﾄﾘｹｼ"},
        {"ワ", "05-12", "  17.0", "      ", "      "},  // the lower wide bound, PAT98 only
        {"拡", "05-12", "      ", "      ", "      "},
    };
    for (const auto& c : cases) {
        const QString kind = c.kind;
        const bool uo = readsQuinellaFile(kind);
        EXPECT_EQ(PatOdds98FromBytes(uo ? uo98 : zo95, kind, QString(c.combination)), c.odds98) << c.kind << c.combination;
        EXPECT_EQ(PatOdds95FromBytes(uo ? uo95 : zo95, kind, QString(c.combination)), c.odds95) << c.kind << c.combination;
        EXPECT_EQ(PatOdds31FromBytes(uo ? uo31 : zo31, kind, QString(c.combination)), c.odds31) << c.kind << c.combination;
    }
}

TEST(PatOdds, FilesMissingOrShortAndThePat31SecondName) {
    QTemporaryDir dir;
    const QString folder = dir.path() + "/";
    EXPECT_EQ(ReadPatOdds98(folder + "UO-53B.JRA", u"馬", u"05-12"), "      ");
    QFile f(folder + "UO-52B.JRA");
    f.open(QIODevice::WriteOnly);
    f.write(test::uoRecord<Uo31Record>(PatRace{}).left(400));  // a short file reads as far as it goes
    f.close();
    EXPECT_EQ(ReadPatOdds31(folder + "UO-52B.JRA", u"馬", u"01-02"), " 102.0");
    EXPECT_EQ(ReadPatOdds31(folder + "UO-52B.JRA", u"馬", u"17-18"), "      ");
    EXPECT_EQ(FindPat31File(folder, kQuinellaPrefix, u"04", u"11"), folder + "UO-52B.JRA");
    QFile::copy(folder + "UO-52B.JRA", folder + "UO-51B.JRA");
    EXPECT_EQ(FindPat31File(folder, kQuinellaPrefix, u"04", u"11"), folder + "UO-51B.JRA");
    EXPECT_EQ(FindPat31File(folder, kWinPlacePrefix, u"04", u"11"), QString());
}

// Whatever stands at a PAT file's name, only a regular file of a sensible size is read: the
// others read as no file, at once.
TEST(PatOdds, OnlyRegularFilesOfASensibleSizeAreRead) {
    QTemporaryDir dir;
    const QString folder = dir.path() + "/";
    const QByteArray record = test::uoRecord<Uo98Record>(PatRace{});
    const struct {
        const char* name;
        QString path;
        bool read;
    } cases[] = {
        {"regular", folder + "UO-53B.JRA", true},
        {"FIFO", folder + "UO-54B.JRA", false},
        {"/dev/zero", "/dev/zero", false},
        {"folder", folder + "UO-55B.JRA", false},
        {"too large", folder + "UO-56B.JRA", false},
        {"missing", folder + "UO-57B.JRA", false},
    };
    {
        QFile f(cases[0].path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(record);
        QFile big(cases[4].path);
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        big.write(record);
        ASSERT_TRUE(big.resize(kMaxPatFile + 1));
    }
    ASSERT_EQ(::mkfifo(QFile::encodeName(cases[1].path).constData(), 0600), 0);
    ASSERT_TRUE(QDir().mkdir(cases[3].path));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(readPatFile(c.path, Uo98Record::kLength), c.read ? record : QByteArray());
        EXPECT_EQ(ReadPatOdds98(c.path, u"馬", u"01-02") != "      ", c.read);
    }
}

// Every file of the corpus, read as each generation and kind: no crash, and every answer six
// characters.
TEST(PatOdds, CorpusReplay) {
    const QString dir = QStringLiteral(ZENOMUR_TEST_DATA_DIR "/pat-odds-corpus");
    const QStringList files = QDir(dir).entryList(QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        QFile f(dir + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        for (const char* kind : {"単", "複", "枠", "馬", "ワ"}) {
            for (const char* combination : {"1", "18", "1-8", "01-02", "17-18", "0000"}) {
                EXPECT_EQ(PatOdds98FromBytes(bytes, QString(kind), QString(combination)).size(), 6);
                EXPECT_EQ(PatOdds95FromBytes(bytes, QString(kind), QString(combination)).size(), 6);
                EXPECT_EQ(PatOdds31FromBytes(bytes, QString(kind), QString(combination)).size(), 6);
            }
        }
    }
}

}  // namespace
}  // namespace zm
