#pragma once

// The settings record filled at start and the per-user store behind it: one INI file with the
// sections and keys the program has always used. The file is read when the store is made (old
// files with "%U"-escaped names included) and again before each change, which rewrites it whole
// through SafeSave, so that a full disk or a kill never leaves it cut or empty.

#include "app/paths.h"

#include "codes/status.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace zm {

class SettingsStore {
public:
    explicit SettingsStore(const QString& iniFile);

    // The stored text; absent keys read as empty text.
    QString read(const QString& section, const QString& key) const;
    // Writes one text value and flushes it to disk. A write that does not reach the file fails
    // (the failure names the settings file); the value is then not kept in memory either, and
    // the file stays as it was. The store shows nothing: its failures are the front end's to show.
    Status SaveAppSetting(const QString& section, const QString& key, const QString& value);
    // How the last write went.
    const Status& status() const { return status_; }
    bool contains(const QString& section, const QString& key) const;

    QString fileName() const;

    // The whole store as the file's text: sections in name order, names written as they are
    // (only characters the format reserves are escaped), values quoted where they must be.
    QByteArray iniText() const;

private:
    // Reads the file into the store; a file that exists but cannot be read is a failure, and
    // the store is then left as it was.
    Status load();

    using Section = std::map<QString, QString>;
    QString file_;
    std::map<QString, Section> sections_;  // "" is the file's [General] part
    Status unreadable_;                    // a file that exists but cannot be read is not replaced
    Status status_;
};

// Booleans are stored as "True" / "False".
inline QString boolText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

inline constexpr double kDefaultEvThreshold = 1.2;

struct AppSettings {
    std::int16_t Yosou = 0;
    QString MurDataDir;
    QString OutPutDir;
    bool PatOpt = false;
    QString PatDir;
    QString Ver;
    QString ConvOddsDir;
    bool MurOut = false;
    bool MurTextOut = false;
    bool DuelOut = false;
    bool DenCsvOut = false;
    bool umaF = false;
    QString BetOutDir;
    QString BetTan;
    QString BetFuku;
    QString BetWaku;
    QString BetUma;
    QString BetWide;
    bool Group = false;
    QString GroupOut;
    QString Groupbetu;
    bool Odds = false;
    std::int16_t GetOdds = 0;
    bool Bataiju = false;
    bool Sei = false;
    std::array<bool, 3> OddsSyutoku{};
    std::array<bool, 2> Hantei{};
    bool Touhyou = false;
    QString T_Time;
    // The back-test's expected-value style bets a horse whose chance times odds reaches this.
    double EvThreshold = kDefaultEvThreshold;

    bool operator==(const AppSettings&) const = default;
};

// Fills the record from the store in the fixed order, applying defaults and normalisations;
// writes "MurDataDir" and "OutPutDir" back when they were empty (the store's status() then says
// how that went). The record is always filled.
void LoadSettings(AppSettings& settings, SettingsStore& store, const AppPaths& paths);

// Every field as ("Section/Key", value text), in load order. The three- and two-valued
// fields print their elements joined by commas.
std::vector<std::pair<QString, QString>> describeSettings(const AppSettings& settings);

// The loaded value of one key of the record, or nothing when the key is not one of them.
std::optional<QString> loadedSettingValue(const AppSettings& settings, const QString& section, const QString& key);

// Where the store lives: --config FILE, else ZENOMUR_CONFIG, else the XDG config folder.
QString resolveConfigFile(const QString& option);

}  // namespace zm
