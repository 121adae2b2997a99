#pragma once
// Beam tracing: every laser update rebuilds the level's segments from nothing. The first active
// object (the emitter) emits, and each new segment is traced to the nearest shape it meets, cut
// where it crosses the plane of a colour filter, and handed to the element whose active face it
// reached, whose outgoing segments are traced in turn, depth first.

#include <vector>

class ActiveObject;
class LaserBeam;
class Level;

/// Traces `beam` (already placed and oriented) against `candidates` and returns the index of
/// the element hit, or -1.
///
/// Query mode (queryOnly) changes nothing: it returns the index of the nearest hit, blocking or
/// active, and writes its point and unit normal (3 floats each) to outPoint and outNormal.
///
/// Otherwise the beam is registered with the level, cut into one segment per filter plane it
/// crosses before the hit (each later segment's filterMask toggling the crossed filter's bit),
/// and its last segment gets the hit distance as its length (5000 when nothing is hit). A hit on
/// an active shape appends the last segment to the element's incomingLasers and returns the
/// element's index; a blocking hit ends the segment there and returns -1. The segment never hits
/// its own owner.
int traceLaser(LaserBeam& beam, float outPoint[3], float outNormal[3], bool queryOnly,
               const std::vector<ActiveObject*>& candidates, Level& level);

/// Traces the element's outgoing segments that were not traced yet, and recursively whatever
/// the elements they reach emit.
void propagateLasers(Level& level, ActiveObject& element);

/// Rebuilds the whole laser set of the level: resets every element, destroys the old segments,
/// starts a new transparent set with every colour filter (its geometry refreshed and its bit
/// assigned), and lets the first active object emit.
void updateLasers(Level& level);
