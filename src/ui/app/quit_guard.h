#pragma once
// The question asked before quitting while metadata edits are not yet written to the files.
class Dialogs;
class Store;

// True when the application may quit: nothing unsaved, or the user chose "Quit Anyway".
bool confirmQuitWithUnsavedMetadata(Store& store, Dialogs& dialogs);
