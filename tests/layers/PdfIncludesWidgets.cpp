// Must not build: the PDF export, which the command-line tool links, does not see the widgets.
#include <QWidget>
