#pragma once
// The player's steps on the elements, to take back and redo. A step is one manipulation of one
// element's holder group, recorded as the exact local matrices before and after (never a
// recomputation): a turn by drag (press to release), a carry (double click or T to the click or
// key that sets the holder down), or a run of key shifts or key turns of one element (the run ends
// when another element or another kind of step comes). A step that changed nothing is not recorded.
//
// The history holds raw pointers into the level: clear it whenever the level is replaced.

#include "rules/Interaction.h"

#include <cstddef>
#include <vector>

class UndoHistory {
  public:
    enum class Kind { Turn, Carry, Shift, KeyTurn };

    /// Opens a step of `kind` on element's group, unless one of that kind on that element is
    /// open (it goes on); another open step is closed first. Call before the change.
    void begin(Renderable* element, Kind kind);
    /// Closes the open step: it is recorded when it changed the group, and the steps undone
    /// before it are then dropped.
    void close();
    /// Ends the open step without recording it: its group goes back exactly to where it was
    /// when the step began (a carry called off). The steps to redo stay.
    void cancel();
    /// Whether a step of `kind` is open.
    bool isOpen(Kind kind) const { return open_ && openKind_ == kind; }

    /// Closes the open step, then puts the group of the last step back as it was before it.
    /// False when there is nothing to undo.
    bool undo();
    /// Applies the last undone step again. False when there is nothing to redo.
    bool redo();
    std::size_t undoCount() const { return done_.size(); }
    std::size_t redoCount() const { return undone_.size(); }
    /// The player's moves: the steps applied now (an undo takes one back, a redo gives it
    /// again), and the open step as soon as it has changed its group, so that a level solved in
    /// the middle of a drag or a run of shifts counts it.
    std::size_t moves() const;

    /// Forgets everything (a level was loaded).
    void clear();

  private:
    struct Step {
        GroupPose before, after;
    };

    std::vector<Step> done_, undone_;
    bool open_ = false;
    Kind openKind_ = Kind::Turn;
    Renderable* openElement_ = nullptr;
    GroupPose openBefore_;
};

/// The history of the level being played.
extern UndoHistory undoHistory;
