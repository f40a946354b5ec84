#include "application.h"

#include <cstdio>
#include <exception>

int main(int argc, char *argv[])
{
    try {
        quelvara::Application app(argc, argv);
        return quelvara::runMainWindow();
    } catch (...) {
        // The application could not even be set up: there is no window to show this in.
        std::fprintf(stderr, "%s\n",
                     quelvara::errorMessage(std::current_exception()).toLocal8Bit().constData());
    }
    return 0;
}
