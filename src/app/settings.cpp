#include "app/settings.h"

#include "codes/numeric.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <optional>

namespace zm {

SettingsStore::SettingsStore(const QString& iniFile)
    : settings_(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {
    QDir().mkpath(QFileInfo(iniFile).absolutePath());
}

QString SettingsStore::read(const QString& section, const QString& key) const {
    const QVariant v = settings_->value(section + u'/' + key);
    if (v.typeId() == QMetaType::QStringList) {
        // An unquoted value with commas, written by hand: take it as the text it was.
        return v.toStringList().join(u',');
    }
    return v.toString();
}

void SettingsStore::SaveAppSetting(const QString& section, const QString& key, const QString& value) {
    settings_->setValue(section + u'/' + key, value);
    settings_->sync();
    const QFileInfo file(settings_->fileName());
    // QSettings reports a file it cannot write as an access error; a folder at the name is one.
    if (settings_->status() == QSettings::NoError && !file.isDir()) {
        status_ = Status();
        return;
    }
    status_ = Status::failure(QStringLiteral("設定ファイル「%1」に書き込めません。設定は保存されていません。")
                                  .arg(QDir::toNativeSeparators(settings_->fileName())));
    if (reporter_ && !reported_) {
        reported_ = true;
        reporter_(status_.message());
    }
}

bool SettingsStore::contains(const QString& section, const QString& key) const {
    return settings_->contains(section + u'/' + key);
}

QString SettingsStore::fileName() const {
    return settings_->fileName();
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

    s.MurDataDir = folderOrEmpty(r("Folder", "MurDataDir"));
    if (s.MurDataDir.isEmpty()) {
        s.MurDataDir = paths.MurDataDefault;
        store.SaveAppSetting(QStringLiteral("Folder"), QStringLiteral("MurDataDir"), s.MurDataDir);
    }
    s.OutPutDir = folderOrEmpty(r("Folder", "OutPutDir"));
    if (s.OutPutDir.isEmpty()) {
        s.OutPutDir = paths.OutPutDefault;
        store.SaveAppSetting(QStringLiteral("Folder"), QStringLiteral("OutPutDir"), s.OutPutDir);
    }

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
