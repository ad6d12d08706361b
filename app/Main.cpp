#include "app/UpdaterApplication.h"

// The updater itself: system MIDI only, no options.
int main (int argc, char* argv[])
{
    return runUpdaterApplication (argc, argv);
}
