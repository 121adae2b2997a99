#pragma once
// A translucent colour filter: lets through only the colours it shares with a beam. Its world
// plane and pane corners are refreshed by every laser update.

#include "elements/MountedElement.h"
#include "laser/TransparentSet.h"

class ColorFilter : public MountedElement, public TransparentObject {
  public:
    ColorFilter();
    Model* getModel() override;
    /// Passes on, filtered, every incoming segment it has not served yet and whose colour shares
    /// a bit with the filter; the rest stays stopped until it does.
    bool emitOutgoingLasers(Level& level) override;
    /// Stores the pass code and tints the pane: RGB from the code, alpha 0.5.
    void setColor(signed char colorCode) override;

    signed char colorCode = 0;
    Point planeNormal{0, 0, -1, 0}; ///< world normal of the pane's plane (not normalised)
    Point corners[4] = {};          ///< world corners of the pane
    float planeOffset = 0;          ///< the plane is planeNormal . x + planeOffset = 0
};
