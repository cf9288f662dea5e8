#include "app/settings.h"

#include "app/file_names.h"
#include "app/safe_save.h"
#include "codes/numeric.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringTokenizer>
#include <optional>

namespace zm {

namespace {

// ---- Reading the INI file --------------------------------------------------------------------

int hexValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

void appendCode(QString& out, char32_t code) {
    if (code == 0 || code > 0x10FFFF)
        return;
    if (QChar::requiresSurrogates(code)) {
        out += QChar(QChar::highSurrogate(code));
        out += QChar(QChar::lowSurrogate(code));
    } else {
        out += QChar(char16_t(code));
    }
}

// Escapes may give the two halves of a pair one by one ("%UD83D%UDE00"); a half left alone is
// no character and reads as the replacement character.
QString& withoutLoneHalves(QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            text[i] = QChar(QChar::ReplacementCharacter);
    }
    return text;
}

// A section or key name: "%XX" and "%UXXXX" stand for one character, "\" separates levels as
// "/" does; a NUL is left out.
QString unescapeName(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\\') {
            out += u'/';
            continue;
        }
        // A NUL is no character of a name, written raw or as "%00".
        if (c.isNull())
            continue;
        if (c != u'%') {
            out += c;
            continue;
        }
        const bool wide = i + 1 < text.size() && text[i + 1] == u'U';
        const qsizetype digits = wide ? 4 : 2;
        const qsizetype from = i + (wide ? 2 : 1);
        char32_t code = 0;
        bool ok = from + digits <= text.size();
        for (qsizetype d = 0; ok && d < digits; ++d) {
            const int v = hexValue(text[from + d]);
            ok = v >= 0;
            code = code * 16 + char32_t(v < 0 ? 0 : v);
        }
        if (!ok) {
            out += c;
            continue;
        }
        appendCode(out, code);
        i = from + digits - 1;
    }
    return withoutLoneHalves(out);
}

// A value: blanks around it and around its commas go, quoted parts keep everything, "\" starts
// an escape ("\n", "\"", "\xHH", ...), ";" outside quotes starts a comment. A value with commas
// outside quotes is a list, kept as its parts joined by commas.
QString unescapeValue(QStringView text) {
    QStringList parts;
    QString current;
    qsizetype kept = 0;  // length of current up to its last character that is not a bare blank
    bool quoted = false;
    qsizetype i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
            ++i;
    };
    skipBlanks();
    while (i < text.size()) {
        const QChar c = text[i++];
        if (c == u'"') {
            quoted = !quoted;
            kept = current.size();
            continue;
        }
        if (c == u'\\' && i < text.size()) {
            const QChar e = text[i++];
            switch (e.unicode()) {
            case u'a': current += QChar(7); break;
            case u'b': current += QChar(8); break;
            case u'f': current += QChar(12); break;
            case u'n': current += QChar(10); break;
            case u'r': current += QChar(13); break;
            case u't': current += QChar(9); break;
            case u'v': current += QChar(11); break;
            case u'x': {
                char32_t code = 0;
                while (i < text.size() && hexValue(text[i]) >= 0 && code <= 0x10FFFF)
                    code = code * 16 + char32_t(hexValue(text[i++]));
                appendCode(current, code);
                break;
            }
            default:
                if (e >= u'0' && e <= u'7') {
                    char32_t code = e.unicode() - u'0';
                    while (i < text.size() && text[i] >= u'0' && text[i] <= u'7' && code <= 0x10FFFF)
                        code = code * 8 + char32_t(text[i++].unicode() - u'0');
                    appendCode(current, code);
                } else {
                    current += e;
                }
            }
            kept = current.size();
            continue;
        }
        if (!quoted && c == u';')
            break;
        if (!quoted && c == u',') {
            current.truncate(kept);
            parts << current;
            current.clear();
            kept = 0;
            skipBlanks();
            continue;
        }
        if (c.isNull())
            continue;  // a NUL is no character of a value, raw or as "\x0"
        current += c;
        if (quoted || (c != u' ' && c != u'\t'))
            kept = current.size();
    }
    current.truncate(kept);
    parts << current;
    QString value = parts.join(u',');
    if (value.startsWith(QStringLiteral("@@")))
        value.remove(0, 1);
    return withoutLoneHalves(value);
}

// "Section/Key" split at its first "/" (blank levels dropped); a name of one level belongs to
// the part before any section, "".
std::pair<QString, QString> splitFullKey(const QString& full) {
    QStringList levels = full.split(u'/', Qt::SkipEmptyParts);
    if (levels.size() <= 1)
        return {QString(), levels.value(0)};
    const QString section = levels.takeFirst();
    return {section, levels.join(u'/')};
}

// ---- Writing it ------------------------------------------------------------------------------

// Names are written as they are, except what the format itself uses; "/" inside a key is "\".
QByteArray escapeName(const QString& name, bool key) {
    QString out;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (key && u == u'/')
            out += u'\\';
        else if ((u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') || u == u'-' ||
                 u == u'_' || u == u'.' || (u >= 0xA0 && !c.isSpace() && u != 0xFEFF))
            out += c;
        else if (u < 0x100)
            out += u'%' + QString::number(u, 16).toUpper().rightJustified(2, u'0');
        else
            out += QStringLiteral("%U") + QString::number(u, 16).toUpper().rightJustified(4, u'0');
    }
    return out.toUtf8();
}

// A value is written bare when it reads back as it is, else quoted with its escapes.
QByteArray escapeValue(const QString& text) {
    const QString value = text.startsWith(u'@') ? u'@' + text : text;
    bool plain = !value.isEmpty() && !value.front().isSpace() && !value.back().isSpace() && value.front() != u'\uFEFF';
    for (const QChar c : value) {
        if (c == u',' || c == u';' || c == u'"' || c == u'\\' || c.unicode() < 0x20 || c.unicode() == 0x7F)
            plain = false;
    }
    if (plain)
        return value.toUtf8();
    QString out = QStringLiteral("\"");
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char16_t u = value[i].unicode();
        switch (u) {
        case u'"': out += QStringLiteral("\\\""); break;
        case u'\\': out += QStringLiteral("\\\\"); break;
        case u'\n': out += QStringLiteral("\\n"); break;
        case u'\r': out += QStringLiteral("\\r"); break;
        case u'\t': out += QStringLiteral("\\t"); break;
        default:
            if (u < 0x20 || u == 0x7F) {
                out += QStringLiteral("\\x") + QString::number(u, 16);
                // "\x" takes every hex digit after it: a digit that follows is escaped too.
                while (i + 1 < value.size() && hexValue(value[i + 1]) >= 0)
                    out += QStringLiteral("\\x") + QString::number(value[++i].unicode(), 16);
            } else {
                out += value[i];
            }
        }
    }
    out += u'"';
    return out.toUtf8();
}

QString failureText(const QString& file) {
    return QStringLiteral("設定ファイル「%1」に書き込めません。設定は保存されていません。").arg(QDir::toNativeSeparators(file));
}

}  // namespace

SettingsStore::SettingsStore(const QString& iniFile) : file_(iniFile) {
    QDir().mkpath(QFileInfo(iniFile).absolutePath());
    unreadable_ = load();
}

Status SettingsStore::load() {
    // Nothing to read (a dangling link included, which a save then refuses to write through):
    // what the store holds stays, so that a file removed meanwhile is written whole again.
    if (!QFileInfo::exists(file_))
        return {};
    const Result<QByteArray> bytes = readOutsideFile(file_);
    if (!bytes) {
        // Rewriting a file that could not be read would lose every setting in it.
        return Status::failure(failureText(file_) + u'\n' + bytes.message());
    }
    std::map<QString, Section> sections;
    QString section;
    const QString text = QString::fromUtf8(*bytes);
    bool first = true;
    for (QStringView line : QStringTokenizer(text, u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (first && line.startsWith(QChar(0xFEFF)))
            line = line.sliced(1);
        first = false;
        // Only the start is trimmed here: a value's own blanks are the value reader's to judge.
        while (!line.isEmpty() && line.front().isSpace())
            line = line.sliced(1);
        if (line.isEmpty() || line.front() == u';' || line.front() == u'#')
            continue;
        if (line.front() == u'[') {
            const qsizetype close = line.indexOf(u']');
            const QStringView name = line.sliced(1, (close < 0 ? line.size() : close) - 1);
            if (name == u"General")
                section.clear();
            else
                section = unescapeName(name.startsWith(u'%') && name.sliced(1) == u"General" ? name.sliced(1) : name);
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0)
            continue;
        const QString key = unescapeName(line.first(eq).trimmed());
        const auto [s, k] = splitFullKey(section + u'/' + key);
        if (!k.isEmpty())
            sections[s][k] = unescapeValue(line.sliced(eq + 1));
    }
    sections_ = std::move(sections);
    return {};
}


QString SettingsStore::read(const QString& section, const QString& key) const {
    const auto [s, k] = splitFullKey(section + u'/' + key);
    const auto found = sections_.find(s);
    if (found == sections_.end())
        return {};
    const auto value = found->second.find(k);
    return value == found->second.end() ? QString() : value->second;
}

QByteArray SettingsStore::iniText() const {
    QByteArray out;
    for (const auto& [section, keys] : sections_) {
        if (keys.empty())
            continue;
        if (!out.isEmpty())
            out += '\n';
        if (section.isEmpty())
            out += "[General]\n";
        else if (section == u"General")
            out += "[%General]\n";
        else
            out += '[' + escapeName(section, false) + "]\n";
        for (const auto& [key, value] : keys)
            out += escapeName(key, true) + '=' + escapeValue(value) + '\n';
    }
    return out;
}

Status SettingsStore::SaveAppSetting(const QString& section, const QString& key, const QString& value) {
    const auto [s, k] = splitFullKey(section + u'/' + key);
    if (k.isEmpty())
        return {};
    // The file is read again first: another run using the same settings file may have changed
    // other keys since, and only this one key is to change.
    unreadable_ = load();
    if (!unreadable_.ok()) {
        status_ = unreadable_;
    } else {
        Section& keys = sections_[s];
        const auto before = keys.find(k);
        const std::optional<QString> old =
            before == keys.end() ? std::nullopt : std::optional<QString>(before->second);
        keys[k] = value;
        const Status saved = SafeSave::save(file_, iniText());
        if (saved) {
            status_ = Status();
            return status_;
        }
        // What is in memory stays what is in the file.
        if (old)
            keys[k] = *old;
        else
            keys.erase(k);
        status_ = Status::failure(failureText(file_) + u'\n' + saved.message());
    }
    return status_;
}

bool SettingsStore::contains(const QString& section, const QString& key) const {
    const auto [s, k] = splitFullKey(section + u'/' + key);
    const auto found = sections_.find(s);
    return found != sections_.end() && found->second.count(k) > 0;
}

QString SettingsStore::fileName() const {
    return file_;
}

namespace {

bool upperTrue(const QString& text) {
    return text.toUpper() == u"TRUE";
}

// The store's boolean conversion: "True"/"False" in any case, or a number (non-zero is True).
bool convertBool(const QString& text) {
    const QString t = text.trimmed();
    if (t.compare(u"True", Qt::CaseInsensitive) == 0) {
        return true;
    }
    if (t.compare(u"False", Qt::CaseInsensitive) == 0) {
        return false;
    }
    bool ok = false;
    const double v = t.toDouble(&ok);
    return ok && v != 0.0;
}

QString folderOrEmpty(const QString& text) {
    return withTrailingSlash(text.trimmed());
}

QString orDefault(const QString& text, const QString& fallback) {
    return text.isEmpty() ? fallback : text;
}

}  // namespace

void LoadSettings(AppSettings& s, SettingsStore& store, const AppPaths& paths) {
    auto r = [&](const char* section, const char* key) {
        return store.read(QString::fromUtf8(section), QString::fromUtf8(key));
    };

    s.Yosou = ToInt16(Val(r("UserInfo", "Yosou")));
    if (s.Yosou >= 9 || s.Yosou < 0) {
        s.Yosou = 0;
    }

    // A default that cannot be written back is used all the same; the failure stays in the
    // store's status() for the caller to show.
    Status stored;
    s.MurDataDir = folderOrEmpty(r("Folder", "MurDataDir"));
    if (s.MurDataDir.isEmpty()) {
        s.MurDataDir = paths.MurDataDefault;
        stored = store.SaveAppSetting(QStringLiteral("Folder"), QStringLiteral("MurDataDir"), s.MurDataDir);
    }
    s.OutPutDir = folderOrEmpty(r("Folder", "OutPutDir"));
    if (s.OutPutDir.isEmpty() && stored) {
        s.OutPutDir = paths.OutPutDefault;
        stored = store.SaveAppSetting(QStringLiteral("Folder"), QStringLiteral("OutPutDir"), s.OutPutDir);
    }
    if (s.OutPutDir.isEmpty())
        s.OutPutDir = paths.OutPutDefault;

    const QString patOpt = r("PAT", "PatOpt");
    s.PatOpt = patOpt.isEmpty() ? false : convertBool(patOpt);
    s.PatDir = folderOrEmpty(r("PAT", "PatDir"));
    s.Ver = r("PAT", "Ver");
    s.ConvOddsDir = folderOrEmpty(r("PAT", "ConvOddsDir"));
    if (s.ConvOddsDir.isEmpty()) {
        s.ConvOddsDir = s.PatDir;
    }

    auto fileBool = [&](const char* key) {
        const QString t = r("File", key);
        return t.isEmpty() ? false : convertBool(t);
    };
    s.MurOut = fileBool("MurOut");
    s.MurTextOut = fileBool("MurTextOut");
    s.DuelOut = fileBool("DuelOut");
    s.DenCsvOut = fileBool("DenCsvOut");
    s.umaF = r("File", "umaF") == u"True";

    s.BetOutDir = orDefault(folderOrEmpty(r("PAT", "BetOutDir")), s.OutPutDir);
    const QString hundred = QStringLiteral("100");
    s.BetTan = orDefault(r("PAT", "BetTan"), hundred);
    s.BetFuku = orDefault(r("PAT", "BetFuku"), hundred);
    s.BetWaku = orDefault(r("PAT", "BetWaku"), hundred);
    s.BetUma = orDefault(r("PAT", "BetUma"), hundred);
    s.BetWide = orDefault(r("PAT", "BetWide"), hundred);

    s.Group = upperTrue(r("VoteRoboSetting", "Group"));
    s.GroupOut = r("VoteRoboSetting", "GroupOut");
    s.Groupbetu = r("VoteRoboSetting", "Groupbetu");
    s.Odds = upperTrue(r("VoteRoboSetting", "Odds"));
    s.GetOdds = ToInt16(Val(r("VoteRoboSetting", "GetOdds")));
    if (s.GetOdds >= 3) {
        s.GetOdds = 0;
    }
    s.Bataiju = upperTrue(r("VoteRoboSetting", "Bataiju"));
    s.Sei = upperTrue(r("VoteRoboSetting", "Sei"));
    const double syutoku = Val(r("VoteRoboSetting", "OddsSyutoku"));
    for (int i = 0; i < 3; ++i) {
        s.OddsSyutoku[i] = syutoku == i;
    }
    const bool hantei = upperTrue(r("VoteRoboSetting", "Hantei"));
    s.Hantei = {hantei, !hantei};
    s.Touhyou = upperTrue(r("VoteRoboSetting", "Touhyou"));
    const QString t = r("VoteRoboSetting", "T_Time");
    s.T_Time = (t.size() == 5 && t[2] == u':') ? t : QStringLiteral("09:00");
    bool thresholdOk = false;
    const double threshold = r("Backtest", "EvThreshold").toDouble(&thresholdOk);
    s.EvThreshold = thresholdOk && threshold > 0 && threshold < 1000 ? threshold : kDefaultEvThreshold;
}

std::vector<std::pair<QString, QString>> describeSettings(const AppSettings& s) {
    auto joinBools = [](auto const& values) {
        QStringList parts;
        for (bool v : values) {
            parts << boolText(v);
        }
        return parts.join(u',');
    };
    return {
        {QStringLiteral("UserInfo/Yosou"), QString::number(s.Yosou)},
        {QStringLiteral("Folder/MurDataDir"), s.MurDataDir},
        {QStringLiteral("Folder/OutPutDir"), s.OutPutDir},
        {QStringLiteral("PAT/PatOpt"), boolText(s.PatOpt)},
        {QStringLiteral("PAT/PatDir"), s.PatDir},
        {QStringLiteral("PAT/Ver"), s.Ver},
        {QStringLiteral("PAT/ConvOddsDir"), s.ConvOddsDir},
        {QStringLiteral("File/MurOut"), boolText(s.MurOut)},
        {QStringLiteral("File/MurTextOut"), boolText(s.MurTextOut)},
        {QStringLiteral("File/DuelOut"), boolText(s.DuelOut)},
        {QStringLiteral("File/DenCsvOut"), boolText(s.DenCsvOut)},
        {QStringLiteral("File/umaF"), boolText(s.umaF)},
        {QStringLiteral("PAT/BetOutDir"), s.BetOutDir},
        {QStringLiteral("PAT/BetTan"), s.BetTan},
        {QStringLiteral("PAT/BetFuku"), s.BetFuku},
        {QStringLiteral("PAT/BetWaku"), s.BetWaku},
        {QStringLiteral("PAT/BetUma"), s.BetUma},
        {QStringLiteral("PAT/BetWide"), s.BetWide},
        {QStringLiteral("VoteRoboSetting/Group"), boolText(s.Group)},
        {QStringLiteral("VoteRoboSetting/GroupOut"), s.GroupOut},
        {QStringLiteral("VoteRoboSetting/Groupbetu"), s.Groupbetu},
        {QStringLiteral("VoteRoboSetting/Odds"), boolText(s.Odds)},
        {QStringLiteral("VoteRoboSetting/GetOdds"), QString::number(s.GetOdds)},
        {QStringLiteral("VoteRoboSetting/Bataiju"), boolText(s.Bataiju)},
        {QStringLiteral("VoteRoboSetting/Sei"), boolText(s.Sei)},
        {QStringLiteral("VoteRoboSetting/OddsSyutoku"), joinBools(s.OddsSyutoku)},
        {QStringLiteral("VoteRoboSetting/Hantei"), joinBools(s.Hantei)},
        {QStringLiteral("VoteRoboSetting/Touhyou"), boolText(s.Touhyou)},
        {QStringLiteral("VoteRoboSetting/T_Time"), s.T_Time},
        {QStringLiteral("Backtest/EvThreshold"), QString::number(s.EvThreshold)},
    };
}

std::optional<QString> loadedSettingValue(const AppSettings& settings, const QString& section, const QString& key) {
    const QString wanted = section + u'/' + key;
    for (const auto& [name, value] : describeSettings(settings)) {
        if (name == wanted) {
            return value;
        }
    }
    return std::nullopt;
}

QString resolveConfigFile(const QString& option) {
    if (!option.isEmpty()) {
        return QFileInfo(option).absoluteFilePath();
    }
    const QString env = qEnvironmentVariable("ZENOMUR_CONFIG");
    if (!env.isEmpty()) {
        return QFileInfo(env).absoluteFilePath();
    }
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/zenomur/zenomur.ini");
}

}  // namespace zm
