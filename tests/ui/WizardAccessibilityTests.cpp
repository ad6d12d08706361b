#include "WizardTestSupport.h"

#include <set>

using namespace WizardTest;

namespace
{
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
        expectPage (page);
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
            EXPECT_EQ (readWindow (*window), expectedPage (6, {}, percentage));
            percentagesHeard.insert (percentage);
            return false;
        },
        120000));

    EXPECT_GT (percentagesHeard.size(), 3u) << "the value goes up while the transfer runs";
    expectPage (7);
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
        ASSERT_EQ (alerts.size(), 1u);
        EXPECT_EQ (alerts[0].second, c.pageOfTheBox) << "the box shows over its page, and only then the next";
        EXPECT_EQ (activeTransferThread, nullptr);

        if (c.pageOfTheBox == 6)
        {
            walkTo (5);
            EXPECT_TRUE (deviceLink().isOpen()) << "after a failed transfer, the wizard goes round again";
        }

        TearDown();
        alerts.clear();
        onAlert = nullptr;
    }
}
