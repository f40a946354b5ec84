// Must not compile: the core library does not carry the widgets' include paths.
#include <QWidget>

int coreSeesWidgets() { return sizeof(QWidget); }
