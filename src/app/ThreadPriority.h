#pragma once
// The priority of the game's worker threads.

/// How lowerThreadPriority lowered the calling thread.
enum class LoweredPriority { Idle, Nice, Unchanged };

/// Puts the calling thread, and it alone, at the lowest priority there is: the idle scheduling
/// class (SCHED_IDLE), which gets a core only when no other thread wants it; where that is
/// refused, niceness 19 for this thread. Work on it then takes no time from the frames (with
/// software OpenGL they want every core).
LoweredPriority lowerThreadPriority();
