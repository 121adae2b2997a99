#include "rules/UndoHistory.h"

UndoHistory undoHistory;

void UndoHistory::begin(Renderable* element, Kind kind) {
    if (open_ && openKind_ == kind && openElement_ == element) {
        return;
    }
    close();
    open_ = true;
    openKind_ = kind;
    openElement_ = element;
    openBefore_ = captureGroupPose(element);
}

void UndoHistory::close() {
    if (!open_) {
        return;
    }
    open_ = false;
    GroupPose after = captureGroupPose(openElement_);
    if (after == openBefore_) {
        return;
    }
    done_.push_back({std::move(openBefore_), std::move(after)});
    undone_.clear();
}

void UndoHistory::cancel() {
    if (!open_) {
        return;
    }
    open_ = false;
    restoreGroupPose(openBefore_);
}

std::size_t UndoHistory::moves() const {
    const bool openChanged = open_ && !(captureGroupPose(openElement_) == openBefore_);
    return done_.size() + (openChanged ? 1 : 0);
}

bool UndoHistory::undo() {
    close();
    if (done_.empty()) {
        return false;
    }
    restoreGroupPose(done_.back().before);
    undone_.push_back(std::move(done_.back()));
    done_.pop_back();
    return true;
}

bool UndoHistory::redo() {
    close();
    if (undone_.empty()) {
        return false;
    }
    restoreGroupPose(undone_.back().after);
    done_.push_back(std::move(undone_.back()));
    undone_.pop_back();
    return true;
}

void UndoHistory::clear() {
    open_ = false;
    openElement_ = nullptr;
    openBefore_ = GroupPose{};
    done_.clear();
    undone_.clear();
}
