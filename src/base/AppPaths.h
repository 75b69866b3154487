#pragma once

#include <QString>
#include <QStringList>

// Where Quorvane keeps and finds its files. Every function reads the environment afresh, so a
// test that points XDG_CONFIG_HOME / XDG_DATA_HOME at a temporary folder sees the change at once.
namespace AppPaths {

// $XDG_CONFIG_HOME/Brightwold/<baseName>.ini ("Quorvan" holds the options, "Quorva" the window profile).
QString ConfigFile(const QString& baseName);

// $XDG_DATA_HOME/Quorvane: the folder of the four data files. Not created here.
QString DataFolder();

// Creates DataFolder() when it does not exist; true when it exists afterwards.
bool EnsureDataFolder();

// DataFolder() + "/" + name + extension, e.g. DataFile("Quorvan", ".csv").
QString DataFile(const QString& name, const QString& extension);

// The running program's full path and folder.
QString ProgramFile();
QString ProgramFolder();

// The country configuration file: $QUORVANE_URL_INI when set, else URL.ini beside the program,
// else ../share/quorvane/URL.ini relative to it. When none exists the first candidate is returned,
// so that a message can name where the file was expected.
QString UrlIniFile();

// The user guide's folder: share/quorvane/doc beside the program (the build tree has the same
// layout as an installed copy).
QString GuideFolder();

// The starter announcement file installed with the program (share/quorvane/Announce.csv beside it).
QString StarterAnnouncementFile();

// Folders searched for character files, in order: $XDG_DATA_HOME/Quorvane/chars, then the
// installed share/quorvane/chars beside the program.
QStringList CharacterFolders();

} // namespace AppPaths
