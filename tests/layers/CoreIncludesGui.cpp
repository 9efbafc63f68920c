// Must not build: the core does not see the editor's widgets.
#include "gui/widgets/CFireEdit.h"
