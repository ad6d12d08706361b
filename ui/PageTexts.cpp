#include "ui/PageTexts.h"

const char* const pageTitles[8] = { "", "Step 1.", "Step 2.", "Step 3.", "Step 4.", "Step 5.", "Step 6.", "Step 7." };

// The manual page's update steps are made from these texts at build time
// (cmake/PageTexts.cmake), and the README's copy of Step 1. to Step 7. is held
// to them by the test Docs.ReadmeStepsMatchProgram.
const char* const pageTexts[8] = {
    // Page 0
    "Welcome to the VT-5150 firmware updater application.\n"
    "This software will update your control surface firmware. \n"
    "\n"
    "Press Next to begin the upgrade process.",
    // Page 1
    "Please exit all MIDI related applications and unplug all MIDI devices from your computer.",
    // Page 2
    "Unplug the DC POWER and USB connector from your VT-5150.",
    // Page 3
    "While holding down the POWER button, plug in the DC POWER connector.\n"
    "Release the POWER button - it should now be flashing rapidly.  If it is not, please repeat steps 2 and 3.",
    // Page 4
    "Plug the USB cable in and wait for your computer to recognize the VT-5150.\n"
    "Normally, Windows will play a sound when it finds the device, and prompt you to do an automatic install if you "
    "have not updated before. There may be a short delay when \"Next\" is pressed.",
    // Page 5
    "The VT5150 was found and is ready to be updated.  To download new firmware into your VT5150,  press Next.",
    // Page 6
    "Updating VT-5150 Firmware.  Please wait...",
    // Page 7
    "Update Complete.  Please press finish, shutdown your computer, unplug your VT-5150 from the wall, wait 30 "
    "seconds, and plug it back in.  Reboot your computer and your VT5150 will be ready to use.",
};
