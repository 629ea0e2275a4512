#pragma once

#include <QtGlobal>

// Registers the member windows with the window registry, so the ribbon opens them by name.
void registerMembersWindows();

// The group list's record loader: opens the group window when it is not open and fills it with the
// group in update mode.
void LoadGroupForUpdate(qint64 groupId);
// The card list's record loader: the card named by SelectedRecordID into the card window, in
// update mode, with the user's modify, delete and print rights applied.
void LoadCardForUpdate();
