// Must not build: the platform layer does not see the gui, not even a gui header that needs Qt Core alone.
#include "gui/common/Services.h"
