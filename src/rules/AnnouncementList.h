#pragma once

#include <QString>

#include <memory>

class CAnnouncement;

// The process-wide ordered list of announcements, kept in the data file "Announce.csv" (backup
// "Announce.bak"). The list is read on first use: every operation first makes sure it is loaded.
// Names need not be unique; a lookup by name takes the first match.

int GetAnnouncementCount();
// Null when index < 0 or index >= count.
CAnnouncement* GetAnnouncement(int index);
// The first announcement whose Name equals the text exactly; null when none does.
CAnnouncement* FindAnnouncement(const QString& name);
// Inserts before position index; an index at or past the end appends. False, and the record deleted,
// when index < 0. The list owns the record.
bool InsertAnnouncement(int index, std::unique_ptr<CAnnouncement> announcement);
// Deletes the record at index and closes the gap; false outside 0 ... count - 1.
bool RemoveAnnouncement(int index);

// Makes sure that the list is loaded: succeeds at once when it holds an announcement or was changed
// by Insert/Remove; otherwise reads "Announce.csv", else "Announce.bak" (telling the user that the
// backup was used). While the list stays empty the next operation tries again; files unchanged since
// the last attempt are not read (nor reported) twice.
bool LoadAnnouncements();
// Writes the whole list; false, with a message and the previous file kept, on a write error.
bool SaveAnnouncements();

// The first start: when neither "Announce.csv" nor "Announce.bak" exists in the data folder, copies
// the starter announcements shipped with the program (starterFile) there, so that a user's first rule
// has something to announce. True when a copy was made; nothing happens without a starter file.
bool InstallStarterAnnouncements(const QString& starterFile);

// Deletes every announcement and forgets every load attempt (program end; tests).
void DeleteAllAnnouncements();
