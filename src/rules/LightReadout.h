#pragma once
// Where the light goes, in words: the names the colour labels give the level's mirrors, and what
// the beams leaving a selected element meet first, for the counter field.

#include <string>

class ActiveObject;
class Level;

/// "MIRROR 2", "HALF MIRROR 1", "FILTER 3", "GOAL 1", "COLLECTOR 1": the element's kind and its
/// number among the level's elements of that kind, in file order; "LASER", "WALL" and "HOLDER"
/// without a number; empty for anything else.
std::string elementName(const Level& level, const ActiveObject& element);

/// What the light leaving `element` meets first, after the filters it passes through: "-> GOAL
/// 1, WANTS RED, GETS WHITE", "-> WALL", "-> MIRROR 3", "-> NOTHING" (it leaves the room), one
/// part for each beam that leaves it ("-> WALL / -> GOAL 1, ..." for a half mirror), or "NO
/// LIGHT ON IT" when no beam leaves it. Reads the level's beams as last traced.
std::string whereTheLightGoes(const Level& level, const ActiveObject& element);
