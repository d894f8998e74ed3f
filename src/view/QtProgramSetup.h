#pragma once
// What every program of ours sets around its Qt application: Qt's notes
// about a missing desktop session kept off stderr, and numbers written and
// read with a decimal point whatever the user's locale.

namespace tarvo {

// Before the application is created: drops Qt's notes that there is no
// runtime folder (no desktop session) or that the offscreen platform cannot
// size windows; every other message goes where it went before.
void QuietenSessionNotes();

// After the application is created (Qt adopts the user's locale then):
// reports, tables, KML, readouts and dialogs keep their decimal points.
void KeepDecimalPoint();

} // namespace tarvo
