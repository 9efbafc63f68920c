// Must not build: the core is standard C++ only.
#include <QObject>
