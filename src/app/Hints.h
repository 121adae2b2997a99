#pragma once
// Hints in the game: H asks the solver, on a worker thread, for the first change that solves the
// level from where the player stands, so that the frames go on meanwhile. The hint selects the
// element to change and says in words what to do, or why there is no hint (findHint); it costs
// HINT_ENERGY_COST seconds of energy when it is shown (nothing when there is no hint).

/// H: starts a search from the current orientations and positions, unless one is running or the
/// level is solved or over.
void requestHint();

/// Whether a search is running.
bool hintSearching();

/// Shows a hint whose search has ended; called every frame.
void pollHint();

/// Stops a running search and forgets it (a level is loaded, the game ends).
void cancelHint();
