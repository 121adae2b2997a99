#include "laser/TransparentSet.h"

void registerTransparent(TransparentSet& set, TransparentObject* object) {
    if (object->isFilter) {
        set.filters.push_back(object);
        ++set.filterCount;
    } else {
        set.beams.push_back(object);
    }
}
