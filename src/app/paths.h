#pragma once

// The program folder and the fixed folders below it. Every folder path ends in "/".

#include <QString>

namespace zm {

struct AppPaths {
    QString AppPath;         // the home folder
    QString MurDataDefault;  // AppPath + "MurData/"
    QString DataDir;         // AppPath + "Data/"
    QString OutPutDefault;   // AppPath + "OutPut/"
    QString WorkDir;         // AppPath + "Work/"

    // The three work files of an extracted race-card archive.
    QString workRaceFile;   // WorkDir + "mur_den1.kd2"
    QString workEntryFile;  // WorkDir + "mur_den2.kd2"
    QString workHorseFile;  // WorkDir + "mur_uma.kd2"

    QString jockeyFile() const { return AppPath + QStringLiteral("mur_kis.kd2"); }
    QString helpFile() const { return AppPath + QStringLiteral("help/index.html"); }

    static AppPaths forHome(const QString& home);
};

// A folder path with exactly one trailing "/" (empty stays empty).
QString withTrailingSlash(const QString& folder);

// True when the path names an existing folder, with or without trailing "/"; never fails.
bool FolderExists(const QString& path);

// Creates the four folders under AppPath that are missing; nothing is reported.
void CreateFolders(const AppPaths& paths);

}  // namespace zm
