// Input polling during a search: the search calls poll_input every so often
// so that a GUI can stop it, ask isready, or send its next commands.
#pragma once

// Reads the lines waiting on standard input without blocking when none
// wait: "stop" and "quit" stop the search, "isready" is answered at once,
// any other line (and "quit" too) is queued for after the search. Returns
// when nothing more waits or the 16-line queue is full.
void poll_input();
