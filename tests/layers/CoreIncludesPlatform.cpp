// Must not build: the core does not see the platform layer.
#include "platform/AppPaths.h"
