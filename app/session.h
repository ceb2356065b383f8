// The edit session, the program's main routine: it greets the user, has the
// existing and the new file chosen, asks the new file's format, offers the
// first lines of the existing file as title lines, then shows every series
// with the command menu and copies, edits or omits it. It always ends the run
// through STOP ("- = [ ] = -", or "Exit" after a "/" answer).
#pragma once

namespace app {

void editSession();

}  // namespace app
