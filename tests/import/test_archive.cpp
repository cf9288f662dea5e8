// The archive adapter: our writer against our reader, liblhasa's decoder and the installed LHA
// tools; hostile and damaged archives built byte by byte.

#include "codes/sjis.h"
#include "import/archive.h"
#include "import/lzh_encode.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

extern "C" {
#include <lha_decoder.h>
}

namespace zm {
namespace {

QByteArray randomBytes(qsizetype n, quint32 seed) {
    QRandomGenerator g(seed);
    QByteArray b(n, Qt::Uninitialized);
    for (auto& c : b) {
        c = static_cast<char>(g.generate() & 0xFF);
    }
    return b;
}

// Text-like data with repeats near and far, like the service's fixed records.
QByteArray recordLike(qsizetype n, quint32 seed) {
    QRandomGenerator g(seed);
    QByteArray b;
    b.reserve(n);
    while (b.size() < n) {
        b += "2026120605" + QByteArray::number(g.bounded(100000)) + "  ｻﾝﾌﾟﾙﾎｰｽ  " +
             toSjis(u"東京芝") + QByteArray(static_cast<int>(g.bounded(40)), ' ') + "\r\n";
    }
    b.truncate(n);
    return b;
}

void le16(QByteArray& b, unsigned v) {
    b.append(static_cast<char>(v & 0xFF));
    b.append(static_cast<char>((v >> 8) & 0xFF));
}

void le32(QByteArray& b, quint32 v) {
    for (int i = 0; i < 4; ++i) {
        b.append(static_cast<char>((v >> (8 * i)) & 0xFF));
    }
}

// One member written by hand at header level 0, 1 or 2, so that a test can put in it what
// our writer never would. Fields left unset are made consistent with the data.
struct RawMember {
    int level = 2;
    QByteArray name;  // base name (levels 0 and 1) or file-name header (level 2)
    QByteArray dir;   // folder header body (levels 1 and 2), 0xFF between folders
    QByteArray method = "-lh0-";
    QByteArray data;  // the unpacked data
    std::optional<QByteArray> packed;
    std::optional<quint32> packedLen;
    std::optional<quint32> origLen;
    std::optional<quint16> crc;
    char os = 'M';
    std::optional<quint16> unixMode;
};

QByteArray build(const RawMember& m) {
    const QByteArray packed = m.packed.value_or(m.data);
    const quint32 packedLen = m.packedLen.value_or(static_cast<quint32>(packed.size()));
    const quint32 origLen = m.origLen.value_or(static_cast<quint32>(m.data.size()));
    const quint16 crc = m.crc.value_or(lzhCrc16(m.data));
    QList<QPair<char, QByteArray>> ext;
    if (m.level == 2) {
        ext.append({'\x00', QByteArray(2, '\0')});
        if (!m.name.isEmpty()) {
            ext.append({'\x01', m.name});
        }
    }
    if (!m.dir.isEmpty()) {
        ext.append({'\x02', m.dir});
    }
    if (m.unixMode) {
        QByteArray mode;
        le16(mode, *m.unixMode);
        ext.append({'\x50', mode});
    }
    qsizetype extBytes = 0;
    for (const auto& e : ext) {
        extBytes += e.second.size() + 3;
    }

    QByteArray h;
    if (m.level == 2) {
        le16(h, 0);
    } else {
        h.append(2, '\0');  // size and checksum
    }
    h.append(m.method.left(5));
    le32(h, m.level == 1 ? packedLen + static_cast<quint32>(extBytes) : packedLen);
    le32(h, origLen);
    le32(h, 0x5A000000U);
    h.append('\x20');
    h.append(static_cast<char>(m.level));
    if (m.level < 2) {
        h.append(static_cast<char>(m.name.size()));
        h.append(m.name);
    }
    le16(h, crc);
    if (m.level == 0) {
        h[0] = static_cast<char>(h.size() - 2);
        unsigned sum = 0;
        for (qsizetype i = 2; i < h.size(); ++i) {
            sum += static_cast<unsigned char>(h[i]);
        }
        h[1] = static_cast<char>(sum & 0xFF);
        return h + packed;
    }
    h.append(m.os);
    const qsizetype base = h.size() + 2;
    qsizetype commonAt = -1;
    for (const auto& e : ext) {
        le16(h, static_cast<unsigned>(e.second.size() + 3));
        if (e.first == '\x00') {
            commonAt = h.size();
        }
        h.append(e.first);
        h.append(e.second);
    }
    le16(h, 0);
    if (m.level == 1) {
        h[0] = static_cast<char>(base - 2);
        unsigned sum = 0;
        for (qsizetype i = 2; i < base; ++i) {
            sum += static_cast<unsigned char>(h[i]);
        }
        h[1] = static_cast<char>(sum & 0xFF);
    } else {
        if ((h.size() & 0xFF) == 0) {
            h.append('\0');
        }
        h[0] = static_cast<char>(h.size() & 0xFF);
        h[1] = static_cast<char>(h.size() >> 8);
        const quint16 headerCrc = lzhCrc16(h);
        h[commonAt + 1] = static_cast<char>(headerCrc & 0xFF);
        h[commonAt + 2] = static_cast<char>(headerCrc >> 8);
    }
    return h + packed;
}

QByteArray archiveOf(std::initializer_list<RawMember> members) {
    QByteArray a;
    for (const auto& m : members) {
        a += build(m);
    }
    return a + '\0';
}

// Every file and folder below dir, relative, sorted.
QStringList listTree(const QString& dir) {
    QStringList out;
    QDirIterator it(dir, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        out << QDir(dir).relativeFilePath(it.next());
    }
    out.sort();
    return out;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Decodes -lh5- data with liblhasa's decoder directly, without any archive around it.
QByteArray liblhasaDecode(const QByteArray& packed, qsizetype length) {
    struct Source {
        const QByteArray* bytes;
        qsizetype pos = 0;
    } src{&packed};
    auto cb = [](void* buf, size_t len, void* user) -> size_t {
        auto* s = static_cast<Source*>(user);
        const size_t n = std::min<size_t>(len, static_cast<size_t>(s->bytes->size() - s->pos));
        memcpy(buf, s->bytes->constData() + s->pos, n);
        s->pos += static_cast<qsizetype>(n);
        return n;
    };
    char method[] = "-lh5-";
    LHADecoder* d = lha_decoder_new(lha_decoder_for_name(method), cb, &src, static_cast<size_t>(length));
    QByteArray out(length, Qt::Uninitialized);
    qsizetype got = 0;
    while (got < length) {
        const size_t n = lha_decoder_read(d, reinterpret_cast<uint8_t*>(out.data() + got),
                                          static_cast<size_t>(length - got));
        if (n == 0) {
            break;
        }
        got += static_cast<qsizetype>(n);
    }
    lha_decoder_free(d);
    out.truncate(got);
    return out;
}

struct Pattern {
    const char* what;
    QByteArray data;
};

std::vector<Pattern> encoderPatterns() {
    const QByteArray far8191 = randomBytes(8191, 7);
    const QByteArray far8192 = randomBytes(8192, 8);
    QByteArray allBytes;
    for (int r = 0; r < 40; ++r) {
        for (int i = 0; i < 256; ++i) {
            allBytes.append(static_cast<char>(i ^ r));
        }
    }
    const QByteArray unit257 = randomBytes(257, 9);
    return {
        {"empty", {}},
        {"one byte", "a"},
        {"two bytes", "ab"},
        {"three equal bytes (one literal code only)", "aaa"},
        {"shortest match", "aaaa"},
        {"long run", QByteArray(300000, 'a')},
        {"zeros with one odd byte", QByteArray(5000, '\0') + 'x' + QByteArray(70000, '\0')},
        {"short period", QByteArray("abc").repeated(100000)},
        {"random (many blocks of literals)", randomBytes(70000, 1)},
        {"every byte value", allBytes},
        {"repeat at distance 8191", far8191.repeated(3)},
        {"repeat at distance 8192", far8192.repeated(3)},
        {"repeats one longer than the longest match", unit257.repeated(50)},
        {"records", recordLike(200000, 2)},
        {"several MiB", recordLike(3 * 1024 * 1024, 3) + randomBytes(512 * 1024, 4)},
    };
}

TEST(LzhCrc, MatchesTheLhaCheckValue) {
    EXPECT_EQ(lzhCrc16("123456789"), 0xBB3D);
    EXPECT_EQ(lzhCrc16(""), 0);
    EXPECT_EQ(lzhCrc16("56789", lzhCrc16("1234")), 0xBB3D);
}

TEST(LzhEncoder, LiblhasaDecodesEveryPattern) {
    for (const auto& p : encoderPatterns()) {
        SCOPED_TRACE(p.what);
        const QByteArray packed = lzhCompressLh5(p.data);
        EXPECT_EQ(liblhasaDecode(packed, p.data.size()), p.data);
    }
}

TEST(LzhEncoder, CompressesRepetitiveData) {
    EXPECT_LT(lzhCompressLh5(QByteArray(300000, 'a')).size(), 400);
    const QByteArray records = recordLike(500000, 5);
    EXPECT_LT(lzhCompressLh5(records).size(), records.size() / 3);
}

TEST(ArchiveRoundTrip, ReaderGivesBackWhatTheWriterStored) {
    std::vector<ArchiveMember> members;
    int i = 0;
    for (const auto& p : encoderPatterns()) {
        members.push_back({QStringLiteral("M%1.KD2").arg(i++), p.data});
    }
    members.push_back({QStringLiteral("sub/dir/競馬データ.txt"), "x"});
    members.push_back({QStringLiteral("sub/empty"), {}, true});
    QString message;
    const auto back = readArchive(writeArchive(members), QStringLiteral("T.LZH"), message);
    ASSERT_TRUE(back) << message.toStdString();
    ASSERT_EQ(back->size(), members.size());
    for (std::size_t k = 0; k < members.size(); ++k) {
        EXPECT_EQ((*back)[k].path, members[k].path);
        EXPECT_EQ((*back)[k].isDir, members[k].isDir);
        EXPECT_TRUE((*back)[k].data == members[k].data) << members[k].path.toStdString();
    }
}

TEST(ArchiveRoundTrip, NamesKeepTheirCaseAtEveryHeaderLevel) {
    // liblhasa turns all-capital MS-DOS names into small letters; the stored name must win.
    for (int level : {0, 1, 2}) {
        SCOPED_TRACE(level);
        RawMember m;
        m.level = level;
        m.name = "MUR_DEN1.KD2";
        m.data = "abc";
        QString message;
        const auto back = readArchive(archiveOf({m}), QStringLiteral("H.LZH"), message);
        ASSERT_TRUE(back) << message.toStdString();
        ASSERT_EQ(back->size(), 1u);
        EXPECT_EQ(back->front().path, QStringLiteral("MUR_DEN1.KD2"));
    }
    // A Shift-JIS second byte 0x5C ("ソ") is not a folder separator.
    RawMember m;
    m.level = 0;
    m.name = toSjis(u"ソ.TXT");
    QString message;
    const auto back = readArchive(archiveOf({m}), QStringLiteral("H.LZH"), message);
    ASSERT_TRUE(back) << message.toStdString();
    EXPECT_EQ(back->front().path, QStringLiteral("ソ.TXT"));
}

TEST(ArchiveRoundTrip, LevelOneAndTwoFoldersAndOldSeparators) {
    struct Case {
        int level;
        QByteArray name;
        QByteArray dir;
        const char* expected;
    };
    const Case cases[] = {
        {0, "DATA\\MUR.KD2", {}, "DATA/MUR.KD2"},
        {1, "MUR.KD2", "DATA\xFFSUB\xFF", "DATA/SUB/MUR.KD2"},
        {2, "MUR.KD2", "DATA\xFF", "DATA/MUR.KD2"},
        {2, "MUR.KD2", "./DATA\xFF", "DATA/MUR.KD2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        RawMember m;
        m.level = c.level;
        m.name = c.name;
        m.dir = c.dir;
        m.data = "payload";
        QString message;
        const auto back = readArchive(archiveOf({m}), QStringLiteral("H.LZH"), message);
        ASSERT_TRUE(back) << message.toStdString();
        EXPECT_EQ(back->front().path, QString::fromLatin1(c.expected));
        EXPECT_EQ(back->front().data, QByteArray("payload"));
    }
}

TEST(ArchiveRoundTrip, EveryWayOfUnpackingGivesTheDataBack) {
    // Macintosh members are read through another path than the others.
    const QByteArray records = recordLike(7000, 41);
    for (char os : {'M', 'm'}) {
        for (const char* method : {"-lh0-", "-lh5-"}) {
            for (const QByteArray& data : {records, QByteArray()}) {
                SCOPED_TRACE(std::string(1, os) + method + std::to_string(data.size()));
                RawMember m;
                m.name = "MUR_UMA.KD2";
                m.os = os;
                m.method = method;
                m.data = data;
                if (m.method == "-lh5-")
                    m.packed = lzhCompressLh5(data);
                QString message;
                const auto back = readArchive(archiveOf({m, m}), QStringLiteral("H.LZH"), message);
                ASSERT_TRUE(back) << message.toStdString();
                ASSERT_EQ(back->size(), 2u);
                EXPECT_TRUE(back->back().data == data);
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Hostile and damaged archives

struct Hostile {
    const char* what;
    QByteArray archive;
    const char* expected;  // part of the message
};

std::vector<Hostile> hostileArchives(const QString& outsideAbsolute) {
    auto one = [](RawMember m) { return archiveOf({m}); };
    auto named = [](int level, QByteArray name) {
        RawMember m;
        m.level = level;
        m.name = std::move(name);
        m.data = "evil";
        return m;
    };
    const char* badName = "不正なファイル名";
    const char* notPlain = "通常のファイルでない";
    const char* broken = "壊れています";
    const char* tooLarge = "大きすぎる";

    RawMember dirUp = named(2, "x.txt");
    dirUp.dir = "..\xFF";
    RawMember symlink = named(2, "ln|/etc/passwd");
    symlink.method = "-lhd-";
    symlink.data.clear();
    symlink.os = 'U';
    symlink.unixMode = 0120777;
    RawMember symlinkData = named(1, "ln");
    symlinkData.os = 'U';
    symlinkData.unixMode = 0120777;
    RawMember device = named(2, "dev");
    device.os = 'U';
    device.unixMode = 0020666;
    RawMember fifo = named(1, "fifo");
    fifo.os = 'U';
    fifo.unixMode = 0010644;
    RawMember badCrc = named(2, "A.TXT");
    badCrc.crc = static_cast<quint16>(lzhCrc16("evil") ^ 0x0100);
    RawMember shortData = named(0, "A.TXT");
    shortData.packedLen = 4000;
    RawMember hugeOrig = named(2, "A.TXT");
    hugeOrig.method = "-lh5-";
    hugeOrig.packed = lzhCompressLh5(QByteArray(1000, 'a'));
    hugeOrig.origLen = 0x7FFFFFF0U;
    RawMember hugePacked = named(1, "A.TXT");
    hugePacked.packedLen = 0xFFFFFF00U;
    RawMember lhShort = named(2, "A.TXT");
    lhShort.method = "-lh5-";
    lhShort.data = recordLike(20000, 11);
    lhShort.packed = lzhCompressLh5(lhShort.data).left(100);
    RawMember good = named(2, "MUR_DEN1.KD2");
    good.data = recordLike(3000, 12);
    RawMember lhBadCrc = lhShort;
    lhBadCrc.packed = lzhCompressLh5(lhBadCrc.data);
    lhBadCrc.crc = static_cast<quint16>(lzhCrc16(lhBadCrc.data) ^ 0x8000);
    RawMember lhLong = lhBadCrc;
    lhLong.crc.reset();
    lhLong.origLen = static_cast<quint32>(lhLong.data.size() - 1);  // the CRC is of the whole
    RawMember macBadCrc = badCrc;
    macBadCrc.os = 'm';
    RawMember unknownMethod = named(2, "A.TXT");
    unknownMethod.method = "-zz9-";

    QByteArray truncatedNoEnd = archiveOf({good});
    truncatedNoEnd.chop(1);

    return {
        {"parent folder (level 0)", one(named(0, "../evil.txt")), badName},
        {"parent folder, backslashes (level 0)", one(named(0, "a\\..\\..\\evil.txt")), badName},
        {"parent folder in the folder header", one(dirUp), badName},
        {"absolute path (level 0)", one(named(0, toSjis(outsideAbsolute))), badName},
        {"absolute path (level 2)", one(named(2, toSjis(outsideAbsolute))), badName},
        {"drive letter", one(named(0, "C:evil.txt")), badName},
        {"drive letter and root", one(named(1, "C:\\evil.txt")), badName},
        {"control character", one(named(2, "a\x01.txt")), badName},
        {"not Shift-JIS", one(named(2, "\x81")), badName},
        {"empty name", one(named(0, "")), ""},
        {"link marker in the name", one(named(0, "a|b")), badName},
        {"symbolic link", one(symlink), ""},
        {"link mode on data", one(symlinkData), notPlain},
        {"character device", one(device), notPlain},
        {"fifo", one(fifo), notPlain},
        {"bad data CRC", one(badCrc), broken},
        {"data shorter than the header says", one(shortData), broken},
        {"compressed data cut short", one(lhShort), broken},
        {"bad data CRC, compressed", one(lhBadCrc), broken},
        {"compressed data longer than the header says", one(lhLong), broken},
        {"bad data CRC, Macintosh member", one(macBadCrc), broken},
        {"huge unpacked size", one(hugeOrig), tooLarge},
        {"huge packed size", one(hugePacked), broken},
        {"good member, then a bad one", archiveOf({good, named(0, "../evil.txt")}), badName},
        {"good member, then garbage", archiveOf({good}).chopped(1) + "garbage, not a header", broken},
        {"no end mark", truncatedNoEnd, broken},
        {"unknown method", one(unknownMethod), ""},
        {"empty file", {}, broken},
        {"text file", "this is not an archive\r\n", broken},
    };
}

TEST(ArchiveHostile, RefusedWholeAndNothingIsWritten) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString root = tmp.path() + QStringLiteral("/");
    const QString outside = root + QStringLiteral("escaped.txt");
    const QString archive = root + QStringLiteral("H261206.LZH");
    const QString work = root + QStringLiteral("Work/");
    for (const auto& h : hostileArchives(outside)) {
        for (bool keepFolders : {true, false}) {
            SCOPED_TRACE(std::string(h.what) + (keepFolders ? " (x)" : " (e)"));
            ASSERT_TRUE(writeFile(archive, h.archive));
            ASSERT_TRUE(writeFile(work + QStringLiteral("old/stale.kd2"), "stale"));
            QString message;
            EXPECT_FALSE(extractArchive(archive, work, keepFolders, message));
            EXPECT_TRUE(message.contains(QStringLiteral("「H261206.LZH」"))) << message.toStdString();
            EXPECT_TRUE(message.contains(QString::fromUtf8(h.expected))) << message.toStdString();
            EXPECT_TRUE(QFileInfo(work).isDir());
            EXPECT_EQ(listTree(work), QStringList());
            EXPECT_EQ(listTree(root), QStringList({"H261206.LZH", "Work"}));
        }
    }
}

TEST(ArchiveHostile, EveryTruncationIsRefused) {
    for (int level : {0, 1, 2}) {
        SCOPED_TRACE(level);
        RawMember a;
        a.level = level;
        a.name = "MUR_DEN1.KD2";
        a.method = "-lh5-";
        a.data = recordLike(6000, 21);
        a.packed = lzhCompressLh5(a.data);
        RawMember b;
        b.level = level;
        b.name = "MUR_UMA.KD2";
        b.data = randomBytes(300, 22);
        const QByteArray whole = archiveOf({a, b});
        QString message;
        ASSERT_TRUE(readArchive(whole, QStringLiteral("H.LZH"), message)) << message.toStdString();
        for (qsizetype cut = 0; cut < whole.size(); ++cut) {
            message.clear();
            EXPECT_FALSE(readArchive(QByteArrayView(whole).first(cut), QStringLiteral("H.LZH"), message))
                << "cut at " << cut;
            EXPECT_FALSE(message.isEmpty());
        }
    }
    // Our own writer's output, cut anywhere.
    const QByteArray ours = writeArchive({{QStringLiteral("A.KD2"), recordLike(5000, 23)},
                                          {QStringLiteral("B.KD2"), QByteArray()},
                                          {QStringLiteral("C.KD2"), randomBytes(200, 24)}});
    for (qsizetype cut = 0; cut < ours.size(); ++cut) {
        QString message;
        EXPECT_FALSE(readArchive(QByteArrayView(ours).first(cut), QStringLiteral("B.LZH"), message))
            << "cut at " << cut;
    }
}

TEST(ArchiveHostile, FlippedBitsNeverGiveOtherContent) {
    const std::vector<ArchiveMember> members = {{QStringLiteral("MUR_DEN1.KD2"), recordLike(4000, 31)},
                                                {QStringLiteral("MUR_UMA.KD2"), randomBytes(100, 32)}};
    const QByteArray whole = writeArchive(members);
    int accepted = 0;
    for (qsizetype i = 0; i < whole.size(); ++i) {
        for (char bit : {'\x01', '\x10', '\x80'}) {
            QByteArray damaged = whole;
            damaged[i] = static_cast<char>(damaged[i] ^ bit);
            QString message;
            const auto back = readArchive(damaged, QStringLiteral("H.LZH"), message);
            if (!back) {
                EXPECT_FALSE(message.isEmpty());
                continue;
            }
            ++accepted;
            ASSERT_EQ(back->size(), members.size()) << "byte " << i;
            for (std::size_t k = 0; k < members.size(); ++k) {
                EXPECT_EQ((*back)[k].path, members[k].path) << "byte " << i;
                EXPECT_TRUE((*back)[k].data == members[k].data) << "byte " << i;
            }
        }
    }
    // Only a few bits are covered by no check (a header-type byte that turns the header CRC
    // into another extended header, padding bits of the compressed data).
    EXPECT_LT(accepted, whole.size() / 20);
}

// An archive large enough to be unpacked on two threads: a damaged member is found whichever
// thread unpacks it, and comes before the fault of a later header as it would one by one.
TEST(ArchiveHostile, DamageInALargeArchiveIsFoundOnEitherThread) {
    const auto member = [](const char* name, qsizetype size, quint32 seed) {
        RawMember m;
        m.name = name;
        m.data = recordLike(size, seed);
        return m;
    };
    const struct {
        int damaged;   // the member with a wrong CRC, -1 for none
        int badName;   // the member with an unsafe name, -1 for none
        const char* message;
    } cases[] = {
        {-1, -1, nullptr}, {0, -1, "壊れています"}, {1, -1, "壊れています"}, {2, -1, "壊れています"},
        {0, 2, "壊れています"}, {2, 0, "不正なファイル名"},
    };
    for (const auto& c : cases) {
        RawMember members[] = {member("MUR_DEN1.KD2", 20000, 1), member("MUR_UMA.KD2", 400000, 2),
                               member("MUR_DEN2.KD2", 90000, 3)};
        if (c.damaged >= 0)
            members[c.damaged].crc = static_cast<quint16>(lzhCrc16(members[c.damaged].data) ^ 0x0101);
        if (c.badName >= 0)
            members[c.badName].name = "../x.txt";
        const QByteArray archive = archiveOf({members[0], members[1], members[2]});
        QString message;
        const auto back = readArchive(archive, QStringLiteral("H.LZH"), message);
        const std::string where = "damaged " + std::to_string(c.damaged) + ", bad name " + std::to_string(c.badName);
        if (c.message == nullptr) {
            ASSERT_TRUE(back) << where << ": " << message.toStdString();
            for (std::size_t k = 0; k < 3; ++k)
                EXPECT_TRUE((*back)[k].data == members[k].data) << where;
        } else {
            EXPECT_FALSE(back) << where;
            EXPECT_TRUE(message.contains(QString::fromUtf8(c.message))) << where << ": " << message.toStdString();
        }
    }
}

TEST(ArchiveLimits, TooManyMembersOrTooLargeIsRefused) {
    std::vector<ArchiveMember> many(kMaxMembers + 1);
    for (std::size_t i = 0; i < many.size(); ++i) {
        many[i].path = QStringLiteral("F%1").arg(i);
    }
    QString message;
    EXPECT_FALSE(readArchive(writeArchive(many), QStringLiteral("M.LZH"), message));
    EXPECT_TRUE(message.contains(QStringLiteral("大きすぎる")));

    // Packed small, unpacked over the per-member limit.
    const QByteArray big(kMaxMemberBytes + 1, 'a');
    message.clear();
    EXPECT_FALSE(readArchive(writeArchive({{QStringLiteral("BIG"), big}}), QStringLiteral("M.LZH"), message));
    EXPECT_TRUE(message.contains(QStringLiteral("大きすぎる")));
}

// ---------------------------------------------------------------------------------------------
// Extraction and creation on disk

TEST(ArchiveFiles, ExtractKeepsOrFlattensFoldersAndEmptiesTheDestination) {
    QTemporaryDir tmp;
    const QString root = tmp.path() + QStringLiteral("/");
    const QString archive = root + QStringLiteral("H261206.LZH");
    ASSERT_TRUE(writeFile(archive, writeArchive({{QStringLiteral("mur_den1.kd2"), "race"},
                                                 {QStringLiteral("DATA/MUR_UMA.KD2"), "horse"},
                                                 {QStringLiteral("EMPTY"), {}, true}})));
    struct Case {
        bool keepFolders;
        QStringList tree;
    };
    const Case cases[] = {
        {true, {"DATA", "DATA/MUR_UMA.KD2", "EMPTY", "mur_den1.kd2"}},
        {false, {"MUR_UMA.KD2", "mur_den1.kd2"}},
    };
    for (const auto& c : cases) {
        const QString work = root + QStringLiteral("Work/");
        ASSERT_TRUE(writeFile(work + QStringLiteral(".hidden"), "old"));
        ASSERT_TRUE(writeFile(work + QStringLiteral("deep/er/old.kd2"), "old"));
        QString message;
        ASSERT_TRUE(extractArchive(archive, work, c.keepFolders, message)) << message.toStdString();
        EXPECT_EQ(listTree(work), c.tree);
        EXPECT_EQ(readFile(work + c.tree.filter(QStringLiteral("UMA")).front()), QByteArray("horse"));
    }
    // A destination that does not exist yet is made.
    QString message;
    ASSERT_TRUE(extractArchive(archive, root + QStringLiteral("new/Work"), false, message));
    EXPECT_EQ(readFile(root + QStringLiteral("new/Work/mur_den1.kd2")), QByteArray("race"));

    // An archive picked from inside the destination is read before the folder is emptied.
    ASSERT_TRUE(QFile::copy(archive, root + QStringLiteral("new/Work/H.LZH")));
    ASSERT_TRUE(extractArchive(root + QStringLiteral("new/Work/H.LZH"), root + QStringLiteral("new/Work"), false,
                               message))
        << message.toStdString();
    EXPECT_EQ(listTree(root + QStringLiteral("new/Work")), QStringList({"MUR_UMA.KD2", "mur_den1.kd2"}));
}

// The files read in memory are what extraction with folders leaves at the top of the folder,
// and an archive extraction refuses is refused alike, with the same message.
TEST(ArchiveFiles, UnpackedTopFilesAreWhatExtractionLeavesAtTheTop) {
    using M = ArchiveMember;
    const struct {
        const char* what;
        std::vector<ArchiveMember> members;
    } cases[] = {
        {"three files", {M{"mur_den1.kd2", "race"}, M{"MUR_DEN2.KD2", "entries"}, M{"mur_uma.kd2", "horses"}}},
        {"a later member of a name replaces an earlier one", {M{"a", "first"}, M{"b", "b"}, M{"a", "second"}}},
        {"names that differ in case are two files", {M{"A.kd2", "upper"}, M{"a.kd2", "lower"}}},
        {"files in folders are not at the top", {M{"DATA/mur_uma.kd2", "deep"}, M{"EMPTY", {}, true}, M{"x", "x"}}},
        {"a file where a folder is", {M{"DATA", {}, true}, M{"DATA", "file"}}},
        {"a folder where a file is", {M{"DATA", "file"}, M{"DATA/x.kd2", "deeper"}}},
        {"a folder member where a file is", {M{"a/b", "file"}, M{"a/b/c", {}, true}}},
        {"an empty archive", {}},
    };
    QTemporaryDir tmp;
    const QString root = tmp.path() + QStringLiteral("/");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString archive = root + QStringLiteral("H.LZH");
        ASSERT_TRUE(writeFile(archive, writeArchive(c.members)));
        QString extractMessage;
        const bool extracted = extractArchive(archive, root + QStringLiteral("Work/"), true, extractMessage);
        QString unpackMessage;
        const auto unpacked = unpackTopFiles(archive, unpackMessage);
        ASSERT_EQ(unpacked.has_value(), extracted);
        EXPECT_EQ(unpackMessage, extractMessage);
        if (!extracted)
            continue;
        QMap<QString, QByteArray> onDisk;
        for (const QString& name : QDir(root + QStringLiteral("Work")).entryList(QDir::Files))
            onDisk.insert(name, readFile(root + QStringLiteral("Work/") + name));
        QMap<QString, QByteArray> inMemory;
        for (const ArchiveMember& m : *unpacked)
            inMemory.insert(m.path, m.data);
        EXPECT_EQ(inMemory, onDisk);
    }
    QString message;
    EXPECT_FALSE(unpackTopFiles(root + QStringLiteral("NONE.LZH"), message));
    EXPECT_TRUE(message.contains(QStringLiteral("「NONE.LZH」"))) << message.toStdString();
}

TEST(ArchiveFiles, ExtractDoesNotFollowALinkLeftInTheDestination) {
    QTemporaryDir tmp;
    const QString root = tmp.path() + QStringLiteral("/");
    QDir().mkpath(root + QStringLiteral("precious"));
    ASSERT_TRUE(writeFile(root + QStringLiteral("precious/keep.txt"), "keep"));
    QDir().mkpath(root + QStringLiteral("Work"));
    ASSERT_TRUE(QFile::link(root + QStringLiteral("precious"), root + QStringLiteral("Work/DATA")));
    const QString archive = root + QStringLiteral("H.LZH");
    ASSERT_TRUE(writeFile(archive, writeArchive({{QStringLiteral("DATA/keep.txt"), "overwritten"}})));
    QString message;
    ASSERT_TRUE(extractArchive(archive, root + QStringLiteral("Work/"), true, message)) << message.toStdString();
    EXPECT_EQ(readFile(root + QStringLiteral("precious/keep.txt")), QByteArray("keep"));
    EXPECT_EQ(readFile(root + QStringLiteral("Work/DATA/keep.txt")), QByteArray("overwritten"));
}

TEST(ArchiveFiles, MissingArchiveIsAMessage) {
    QTemporaryDir tmp;
    QString message;
    EXPECT_FALSE(extractArchive(tmp.path() + QStringLiteral("/NONE.LZH"), tmp.path() + QStringLiteral("/Work/"),
                                true, message));
    EXPECT_TRUE(message.contains(QStringLiteral("「NONE.LZH」"))) << message.toStdString();
}

TEST(ArchiveFiles, NoDestinationOrARootIsNeverEmptied) {
    QTemporaryDir tmp;
    const QString archive = tmp.path() + QStringLiteral("/H.LZH");
    ASSERT_TRUE(writeFile(archive, writeArchive({{QStringLiteral("a.kd2"), "a"}})));
    const QString cwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(tmp.path()));
    for (const QString& dest : {QString(), QStringLiteral(" "), QStringLiteral("/"), QStringLiteral("//")}) {
        SCOPED_TRACE(dest.toStdString());
        QString message;
        EXPECT_FALSE(extractArchive(archive, dest, true, message));
        EXPECT_FALSE(message.isEmpty());
    }
    QDir::setCurrent(cwd);
    EXPECT_TRUE(QFile::exists(archive));
}

TEST(ArchiveFiles, CreateAddsTheExtensionOnlyWhenMissing) {
    QTemporaryDir tmp;
    const QString root = tmp.path() + QStringLiteral("/");
    ASSERT_TRUE(writeFile(root + QStringLiteral("Work/mur_den1.kd2"), recordLike(10000, 41)));
    ASSERT_TRUE(writeFile(root + QStringLiteral("Work/mur_den2.kd2"), "entries"));
    const QStringList files = {root + QStringLiteral("Work/mur_den1.kd2"), root + QStringLiteral("Work/mur_den2.kd2")};
    struct Case {
        const char* given;
        const char* written;
    };
    const Case cases[] = {{"B261207", "B261207.LZH"}, {"b261207.lzh", "b261207.lzh"}, {"dir.x/B1", "dir.x/B1.LZH"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.given);
        QDir().mkpath(root + QStringLiteral("dir.x"));
        QString message;
        ASSERT_TRUE(createArchive(root + QString::fromLatin1(c.given), files, message)) << message.toStdString();
        const auto back = readArchive(readFile(root + QString::fromLatin1(c.written)), QStringLiteral("B"), message);
        ASSERT_TRUE(back) << message.toStdString();
        ASSERT_EQ(back->size(), 2u);
        EXPECT_EQ(back->at(0).path, QStringLiteral("mur_den1.kd2"));
        EXPECT_EQ(back->at(0).data, readFile(files[0]));
        EXPECT_EQ(back->at(1).data, QByteArray("entries"));
    }
    QString message;
    EXPECT_FALSE(createArchive(root + QStringLiteral("C"), {root + QStringLiteral("Work/none.kd2")}, message));
    EXPECT_FALSE(message.isEmpty());
    EXPECT_FALSE(QFile::exists(root + QStringLiteral("C.LZH")));
}

// ---------------------------------------------------------------------------------------------
// The installed LHA tools

QString tool(const char* name) {
    return QStandardPaths::findExecutable(QString::fromLatin1(name));
}

int runTool(const QString& program, const QStringList& args, const QString& dir, QByteArray* out = nullptr) {
    QProcess p;
    p.setWorkingDirectory(dir);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(60000)) {
        p.kill();
        return -1;
    }
    if (out) {
        *out = p.readAll();
    }
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

std::vector<ArchiveMember> toolMembers(qsizetype bigSize) {
    return {{QStringLiteral("MUR_DEN1.KD2"), recordLike(400000, 51)},
            {QStringLiteral("mur_uma.kd2"), recordLike(bigSize, 52)},
            {QStringLiteral("random.bin"), randomBytes(100000, 53)},
            {QStringLiteral("empty.kd2"), {}},
            {QStringLiteral("one.kd2"), "1"},
            {QStringLiteral("run.kd2"), QByteArray(100000, '=')}};
}

TEST(ArchiveTools, OurArchivesExtractByteForByteWithLhasaAndJlha) {
    const struct {
        const char* program;
        QStringList testArgs;
        QStringList extractArgs;
    } tools[] = {{"lhasa", {"t"}, {"x"}}, {"jlha", {"t"}, {"xq"}}};
    const auto members = toolMembers(3 * 1024 * 1024);
    const QByteArray archive = writeArchive(members);
    int ran = 0;
    for (const auto& t : tools) {
        const QString program = tool(t.program);
        if (program.isEmpty()) {
            continue;
        }
        ++ran;
        SCOPED_TRACE(t.program);
        QTemporaryDir tmp;
        ASSERT_TRUE(writeFile(tmp.path() + QStringLiteral("/OURS.LZH"), archive));
        QByteArray out;
        EXPECT_EQ(runTool(program, t.testArgs + QStringList{QStringLiteral("OURS.LZH")}, tmp.path(), &out), 0)
            << out.toStdString();
        EXPECT_FALSE(out.contains("CRC")) << out.toStdString();
        QDir().mkpath(tmp.path() + QStringLiteral("/x"));
        EXPECT_EQ(runTool(program, t.extractArgs + QStringList{QStringLiteral("../OURS.LZH")},
                          tmp.path() + QStringLiteral("/x")),
                  0);
        for (const auto& m : members) {
            EXPECT_TRUE(readFile(tmp.path() + QStringLiteral("/x/") + m.path) == m.data) << m.path.toStdString();
        }
    }
    if (ran == 0) {
        GTEST_SKIP() << "neither lhasa nor jlha is installed";
    }
}

TEST(ArchiveTools, WeReadWhatJlhaWritesAtEveryLevelAndMethod) {
    const QString jlha = tool("jlha");
    if (jlha.isEmpty()) {
        GTEST_SKIP() << "jlha is not installed";
    }
    QTemporaryDir tmp;
    const auto members = toolMembers(300000);
    QStringList names;
    for (const auto& m : members) {
        ASSERT_TRUE(writeFile(tmp.path() + QStringLiteral("/") + m.path, m.data));
        names << m.path;
    }
    // Header level 0, 1, 2 and the -lh5-, -lh6-, -lh7- methods.
    for (const char* opts : {"a0q", "a1q", "a2q", "a2o6q", "a2o7q", "a1o5q"}) {
        SCOPED_TRACE(opts);
        const QString name = QStringLiteral("J_%1.LZH").arg(QString::fromLatin1(opts));
        ASSERT_EQ(runTool(jlha, QStringList{QString::fromLatin1(opts), name} + names, tmp.path()), 0);
        QString message;
        const auto back = readArchive(readFile(tmp.path() + QStringLiteral("/") + name), name, message);
        ASSERT_TRUE(back) << message.toStdString();
        ASSERT_EQ(back->size(), members.size());
        for (std::size_t k = 0; k < members.size(); ++k) {
            EXPECT_EQ((*back)[k].path, members[k].path);
            EXPECT_TRUE((*back)[k].data == members[k].data) << members[k].path.toStdString();
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Inputs the fuzzer kept: none may crash or hang, and whatever is accepted obeys the limits.

TEST(ArchiveCorpus, EveryKeptInputIsHandled) {
#ifdef ZENOMUR_ARCHIVE_CORPUS_DIR
    const QString dir = QStringLiteral(ZENOMUR_ARCHIVE_CORPUS_DIR);
#else
    const QString dir = QStringLiteral(ZENOMUR_TEST_DATA_DIR "/archive-corpus");
#endif
    const QStringList files = QDir(dir).entryList(QDir::Files);
    ASSERT_FALSE(files.isEmpty()) << dir.toStdString();
    for (const QString& f : files) {
        SCOPED_TRACE(f.toStdString());
        QString message;
        const auto back = readArchive(readFile(dir + QStringLiteral("/") + f), f, message);
        if (!back) {
            EXPECT_TRUE(message.contains(QStringLiteral("「") + f + QStringLiteral("」")));
            continue;
        }
        qint64 total = 0;
        for (const auto& m : *back) {
            EXPECT_FALSE(m.path.isEmpty());
            EXPECT_FALSE(m.path.contains(QStringLiteral("..")) && m.path.split('/').contains(QStringLiteral("..")));
            EXPECT_FALSE(m.path.startsWith('/'));
            total += m.data.size();
        }
        EXPECT_LE(total, kMaxUnpackedBytes);
    }
}

}  // namespace
}  // namespace zm
