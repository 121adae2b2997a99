#pragma once
// The ways an element starts new laser segments. Each new segment is made by the level (which
// owns it), has the element as its owner and is appended to the element's outgoingLasers.

class ActiveObject;
class LaserBeam;
class Level;

/// A full-intensity beam from the element's origin along its local -Z axis, at unit scale
/// (emitters and collectors).
LaserBeam* emitSourceBeam(Level& level, ActiveObject& element, signed char colorCode);

/// A segment that starts where `incoming` ends and keeps its direction (half mirrors' transmitted
/// part, filters' filtered light).
LaserBeam* emitContinuation(Level& level, ActiveObject& element, LaserBeam& incoming,
                            signed char colorCode, signed char intensity);

/// The mirror reflection of `incoming` about the plane of the element (both faces alike), from
/// where `incoming` ends. With negateYawAtZero the turn is negated also for a reflection with
/// no x component (the two signs give the same rotation).
LaserBeam* emitReflection(Level& level, ActiveObject& element, LaserBeam& incoming,
                          signed char intensity, bool negateYawAtZero);
