#include "WizardTestSupport.h"

#include <map>
#include <set>

using namespace WizardTest;

namespace
{
/** The titles and texts of the eight pages, as the user must read them. */
const char* const expectedTitles[] = {
    "", "Step 1.", "Step 2.", "Step 3.", "Step 4.", "Step 5.", "Step 6.", "Step 7."
};
const char* const expectedTexts[] = {
    "Welcome to the VT-5150 firmware updater application.\nThis software will update your control surface firmware. "
    "\n\nPress Next to begin the upgrade process.",
    "Please exit all MIDI related applications and unplug all MIDI devices from your computer.",
    "Unplug the DC POWER and USB connector from your VT-5150.",
    "While holding down the POWER button, plug in the DC POWER connector.\nRelease the POWER button - it should now "
    "be flashing rapidly.  If it is not, please repeat steps 2 and 3.",
    "Plug the USB cable in and wait for your computer to recognize the VT-5150.\nNormally, Windows will play a sound "
    "when it finds the device, and prompt you to do an automatic install if you have not updated before. There may "
    "be a short delay when \"Next\" is pressed.",
    "The VT5150 was found and is ready to be updated.  To download new firmware into your VT5150,  press Next.",
    "Updating VT-5150 Firmware.  Please wait...",
    "Update Complete.  Please press finish, shutdown your computer, unplug your VT-5150 from the wall, wait 30 "
    "seconds, and plug it back in.  Reboot your computer and your VT5150 will be ready to use.",
};

/** One element as a screen reader presents it: "role: title [= value] [(description)] [press] [menu] [focused]". */
juce::String describe (const juce::AccessibilityHandler& handler)
{
    static const std::map<juce::AccessibilityRole, const char*> roles {
        { juce::AccessibilityRole::button, "button" },       { juce::AccessibilityRole::label, "label" },
        { juce::AccessibilityRole::image, "image" },         { juce::AccessibilityRole::progressBar, "progress bar" },
        { juce::AccessibilityRole::dialogWindow, "dialog" },
    };

    const auto role = roles.find (handler.getRole());
    juce::String text (role != roles.end() ? role->second : "another role");
    text << ": " << handler.getTitle();

    if (auto* value = handler.getValueInterface();
        value != nullptr && handler.getRole() == juce::AccessibilityRole::progressBar)
        text << " = " << value->getCurrentValueAsString();

    if (handler.getDescription().isNotEmpty())
        text << " (" << handler.getDescription() << ")";

    if (handler.getActions().contains (juce::AccessibilityActionType::press))
        text << " [press]";

    if (handler.getActions().contains (juce::AccessibilityActionType::showMenu))
        text << " [menu]";

    if (handler.hasFocus (false))
        text << " [focused]";

    return text;
}

/** What a screen reader finds in the window, in its reading order, one element a line. */
std::string readWindow (juce::Component& window)
{
    juce::StringArray elements;

    for (auto* child : window.getAccessibilityHandler()->getChildren())
        elements.add (describe (*child));

    return elements.joinIntoString ("\n").toStdString();
}

/** What a screen reader must find on a page: its first text focused, with the page text as the title's description. */
std::string expectedPage (int page, const juce::String& progress = {})
{
    juce::StringArray elements { "button: close [press]", "image: Picture of the VT-5150 control surface [menu]" };
    const juce::String title (expectedTitles[page]), text (expectedTexts[page]);

    if (title.isNotEmpty())
        elements.add ("label: " + title + " (" + text + ") [focused]");

    elements.add ("label: " + text + (title.isEmpty() ? " [focused]" : ""));

    if (page == 6)
        elements.add ("progress bar: Firmware update progress = " + progress);

    if (page >= 1 && page <= 5)
        elements.add ("button: Previous [press]");

    if (page != 6)
        elements.add (page == 7 ? "button: Finish [press]" : "button: Next [press]");

    return elements.joinIntoString ("\n").toStdString();
}

/** Presses a control as a screen reader does. */
void pressThroughAccessibility (juce::Component& control)
{
    ASSERT_TRUE (control.getAccessibilityHandler()->getActions().invoke (juce::AccessibilityActionType::press));
    pump();
}
} // namespace

using WizardAccessibilityTest = WizardFixture;

TEST_F (WizardAccessibilityTest, TheWholeUpdateReadsPageByPageAndIsWalkedToFinishThroughAccessibilityAlone)
{
    start ({}, 200);
    EXPECT_EQ (describe (*window->getAccessibilityHandler()),
               "dialog: VT5150 Firmware Updater - Firmware Version: 1.31");

    for (int page = 0; page <= 5; ++page)
    {
        SCOPED_TRACE ("page " + std::to_string (page));
        ASSERT_EQ (window->getCurrentPage(), page);
        EXPECT_EQ (readWindow (*window), expectedPage (page));
        pressThroughAccessibility (next());
    }

    ASSERT_EQ (window->getCurrentPage(), 6);
    auto& bar = findControl<TransferProgressBar> (*window, "_progressbar_");
    std::set<juce::String> percentagesHeard;

    ASSERT_TRUE (pumpUntil (
        [&]
        {
            if (window->getCurrentPage() != 6)
                return window->getCurrentPage() == 7 && ! transferRunning;

            const auto percentage = bar.getAccessibilityHandler()->getValueInterface()->getCurrentValueAsString();
            EXPECT_EQ (readWindow (*window), expectedPage (6, percentage));
            percentagesHeard.insert (percentage);
            return false;
        },
        120000));

    EXPECT_GT (percentagesHeard.size(), 3u) << "the value goes up while the transfer runs";
    EXPECT_EQ (readWindow (*window), expectedPage (7));
    EXPECT_TRUE (alerts.empty());

    pressThroughAccessibility (next());
    EXPECT_EQ (window->getCurrentPage(), 8);
    EXPECT_EQ (app->quitRequests, 1) << "Finish, pressed through accessibility, ends the program";
}

TEST_F (WizardAccessibilityTest, TheErrorBoxesAreDialogsOverTheWizardReadOnceThatTakeTheKeyboardAndGiveItBack)
{
    struct Case
    {
        const char* what;
        SimulationOptions options;
        int pageOfTheBox;
        const char* message;
    };

    SimulationOptions noDevice, failingDevice;
    noDevice.withDevice = false;
    failingDevice.faults.silentAtBlock = 1;

    for (const auto& c :
         { Case { "device not found", noDevice, 4,
                  "Could not find VT5150 control surface. Check the cables to ensure it is properly connected and "
                  "press Next to try again." },
           Case { "transfer error", failingDevice, 6,
                  "An error occured during the file transfer. Please try again or contact Kelmora technical "
                  "support." } })
    {
        SCOPED_TRACE (c.what);
        start (c.options);
        juce::StringArray heard;

        onAlert = [&] (juce::AlertWindow& box)
        {
            heard.add (describe (*box.getAccessibilityHandler()));

            for (auto* child : box.getAccessibilityHandler()->getChildren())
                heard.add (describe (*child));

            auto* ok = dynamic_cast<juce::Button*> (juce::Component::getCurrentlyFocusedComponent());
            EXPECT_TRUE (ok != nullptr && box.isParentOf (ok) && ringShows (box, *ok))
                << "OK has the keyboard, and the ring";
            EXPECT_LE (box.getBounds().getCentre().getDistanceFrom (window->getBounds().getCentre()), 1)
                << "the box opens centred over the wizard";
        };

        while (window->getCurrentPage() < c.pageOfTheBox)
            pressThroughAccessibility (next());

        if (c.pageOfTheBox == 4)
            pressThroughAccessibility (next());

        ASSERT_TRUE (pumpUntil ([&] { return ! heard.isEmpty() && ! transferRunning; }, 20000));
        pump();

        EXPECT_EQ (heard.joinIntoString ("\n").toStdString(),
                   "dialog: Error (" + std::string (c.message) + ")\nbutton: OK [press] [focused]")
            << "the message once, as the dialog's description";
        EXPECT_EQ (readWindow (*window), expectedPage (c.pageOfTheBox == 4 ? 4 : 0))
            << "the page has the keyboard again, and after a failed transfer it is the welcome page";

        TearDown();
        alerts.clear();
        onAlert = nullptr;
    }
}
