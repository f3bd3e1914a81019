// Compiled as the state layer is: its own headers and the catalogue's are found.
#include "state/state.h"

int stateLayerSeesItsOwnHeaders()
{
    return static_cast<int>(state::DesignState{}.models.size());
}
