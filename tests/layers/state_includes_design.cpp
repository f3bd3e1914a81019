// Compiled as the state layer is: a header of the design layer above it must
// not be found, so this file must fail to compile.
#include "design/controls.h"

int stateLayerSeesDesign()
{
    return static_cast<int>(design::Controls{}.palettes.size());
}
