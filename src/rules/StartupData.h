#pragma once

// The start-up data load, run once when the main window is created: on a first start the starter
// announcements (InstallStarterAnnouncements), then the stock file (when it cannot
// be read, the default index stocks of the "DefaultCountry" setting instead), the rule file, the
// alert file, then the sort criterion, sort order and quiet switch. Announcements are not read here:
// they load on first use. True only when every file was read; nothing acts on a false result.
bool LoadStartupData();

// Deletes every stock, rule, alert and announcement: the four lists end together when the main
// window closes.
void DeleteAllData();
