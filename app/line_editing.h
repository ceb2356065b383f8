// Line editing of the answers on a terminal: arrow keys, Home/End,
// Backspace and a history of earlier answers. Installed only when standard
// input and output are both a terminal; piped input and every record the
// program writes stay exactly as they are.
#pragma once

namespace app {

// Takes over the console hooks' line reading when on a terminal; the text
// of a question left open on its line becomes the editor's prompt, so that
// the editor can redraw the line without losing it.
void useLineEditing();

}  // namespace app
