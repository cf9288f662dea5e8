#include "import_fixtures.h"
#include "support/test_home.h"

#include <QDirIterator>
#include <gtest/gtest.h>

namespace zm {
namespace {

using test::CardFiles;

class ImportCli : public ::testing::Test {
protected:
    test::CliRun run(const QStringList& args) {
        return test::runCliProcess(QStringList{QStringLiteral("--home"), home.home(), QStringLiteral("--config"),
                                               home.configFile()} +
                                   args);
    }
    QString murData(const QString& name) const { return home.home() + QStringLiteral("/MurData/") + name; }
    QString data(const QString& name) const { return home.home() + QStringLiteral("/Data/") + name; }
    QStringList work() const { return test::folderEntries(home.home() + QStringLiteral("/Work")); }

    test::TestHome home;
};

TEST_F(ImportCli, ImportWritesTheDayFiles) {
    CardFiles card;
    card.addRace({QStringLiteral("00"), QStringLiteral("20011110"), 1}, 3, 1);
    card.addRace({QStringLiteral("04"), QStringLiteral("20011110"), 1}, 2, 2);
    test::writeBytes(murData(QStringLiteral("H011110.LZH")), writeArchive(card.members()));
    const auto r = run({QStringLiteral("import"), murData(QStringLiteral("H011110.LZH"))});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("MUR20011110_1.DEN")));
    EXPECT_EQ(test::readBytes(data(QStringLiteral("MUR20011110_2.DEN"))), card.entries);
    EXPECT_TRUE(work().isEmpty());
}

TEST_F(ImportCli, HostileAndBrokenArchivesStopWithAMessage) {
    CardFiles card;
    card.addRace({QStringLiteral("00"), QStringLiteral("20011110"), 1}, 2, 1);
    const QByteArray good = writeArchive(card.members());
    QByteArray flipped = good;
    flipped[flipped.size() / 2] = char(flipped[flipped.size() / 2] ^ 0x40);
    struct Case {
        const char* what;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"0 bytes", QByteArray()},
        {"truncated", good.left(good.size() / 3)},
        {"bit flipped", flipped},
        {"parent path", writeArchive({{QStringLiteral("../escape.kd2"), "x"}, {QStringLiteral("mur_den1.kd2"), "y"}})},
        {"absolute path", writeArchive({{QStringLiteral("/tmp/zenomur-escape.kd2"), "x"}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::writeBytes(murData(QStringLiteral("H011110.LZH")), c.bytes);
        const auto r = run({QStringLiteral("import"), murData(QStringLiteral("H011110.LZH"))});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_FALSE(r.err.trimmed().isEmpty());
        EXPECT_TRUE(work().isEmpty());
        EXPECT_TRUE(test::folderEntries(home.home() + QStringLiteral("/Data")).isEmpty());
        EXPECT_FALSE(QFile::exists(home.home() + QStringLiteral("/escape.kd2")));
        EXPECT_FALSE(QFile::exists(QStringLiteral("/tmp/zenomur-escape.kd2")));
    }
}

TEST_F(ImportCli, ExitCodesOfTheOtherCommands) {
    struct Case {
        QStringList args;
        int exitCode;
    };
    CardFiles card;
    card.addRace({QStringLiteral("00"), QStringLiteral("20011110"), 1}, 2, 1);
    test::writeBytes(murData(QStringLiteral("HZ011110.LZH")), writeArchive(card.members()));
    test::writeBytes(murData(QStringLiteral("j011110.lzh")),
                     writeArchive({{QStringLiteral("mur_ods.kd2"),
                                    test::oddsOf({QStringLiteral("00"), QStringLiteral("20011110"), 1}, 1).bytes()}}));
    const Case cases[] = {
        {{QStringLiteral("batch")}, 1},                                             // no hb??????.lzh
        {{QStringLiteral("split"), murData(QStringLiteral("HZ011110.LZH"))}, 1},    // one day only
        {{QStringLiteral("odds-import"), murData(QStringLiteral("j011110.lzh"))}, 0},
        {{QStringLiteral("import"), murData(QStringLiteral("missing.LZH"))}, 1},
        {{QStringLiteral("import")}, 2},
        {{QStringLiteral("split"), QStringLiteral("a"), QStringLiteral("b")}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        EXPECT_EQ(run(c.args).exitCode, c.exitCode);
    }
    EXPECT_TRUE(QFile::exists(data(QStringLiteral("MURODDS20011110.DAT"))));
}

}  // namespace
}  // namespace zm
