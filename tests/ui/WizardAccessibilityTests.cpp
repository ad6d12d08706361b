#include "WizardTestSupport.h"

#include "ui/BackgroundPicture.h"
#include "ui/ScreenReaderAnnouncer.h"

#include <map>
#include <set>

using namespace WizardTest;

namespace
{
/** One element as a screen reader presents it: "role: title [= value] [press]". */
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

    if (auto* value = handler.getValueInterface(); value != nullptr &&
                                                   handler.getRole() != juce::AccessibilityRole::label &&
                                                   handler.getRole() != juce::AccessibilityRole::button)
        text << " = " << value->getCurrentValueAsString();

    if (handler.getActions().contains (juce::AccessibilityActionType::press))
        text << " [press]";

    return text;
}

/** What a screen reader finds in the window, in its reading order, one element a line. */
std::string readWindow (juce::Component& window)
{
    juce::StringArray elements;

    if (auto* handler = window.getAccessibilityHandler())
        for (auto* child : handler->getChildren())
            elements.add (describe (*child));

    return elements.joinIntoString ("\n").toStdString();
}

std::string lines (const juce::StringArray& elements)
{
    return elements.joinIntoString ("\n").toStdString();
}

/** The accessibility handler of a control, pressed as a screen reader presses it. */
void pressThroughAccessibility (juce::Component& control)
{
    auto* handler = control.getAccessibilityHandler();
    ASSERT_NE (handler, nullptr);
    ASSERT_TRUE (handler->getActions().invoke (juce::AccessibilityActionType::press));
    pump();
}
} // namespace

/** What a screen reader finds on a page of the wizard, in reading order, before the buttons. */
juce::StringArray expectedPage (int page)
{
    juce::StringArray elements { "button: close [press]",
                                 juce::String ("image: ") + BackgroundPicture::accessibleTitle };

    if (juce::String (pageTitles[page]).isNotEmpty())
        elements.add (juce::String ("label: ") + pageTitles[page]);

    elements.add (juce::String ("label: ") + pageTexts[page]);
    return elements;
}

std::string withButtons (juce::StringArray elements, bool previous, const juce::String& next)
{
    if (previous)
        elements.add ("button: Previous [press]");

    elements.add ("button: " + next + " [press]");
    return lines (elements);
}

using WizardAccessibilityTest = WizardFixture;

TEST_F (WizardAccessibilityTest, TheWholeUpdateReadsPageByPageAndIsWalkedToFinishThroughAccessibilityAlone)
{
    start ({}, 200);
    auto* windowHandler = window->getAccessibilityHandler();
    ASSERT_NE (windowHandler, nullptr);
    EXPECT_EQ (describe (*windowHandler), "dialog: VT5150 Firmware Updater - Firmware Version: 1.31");

    for (int page = 0; page <= 5; ++page)
    {
        SCOPED_TRACE ("page " + std::to_string (page));
        ASSERT_EQ (window->getCurrentPage(), page);
        EXPECT_EQ (readWindow (*window), withButtons (expectedPage (page), page > 0, "Next"));
        EXPECT_EQ (ScreenReaderAnnouncer::getLastAnnouncement(), UpdaterWindow::getSpokenPageText (page));
        pressThroughAccessibility (next());
    }

    ASSERT_EQ (window->getCurrentPage(), 6);
    EXPECT_EQ (ScreenReaderAnnouncer::getLastAnnouncement(), UpdaterWindow::getSpokenPageText (6))
        << "Updating VT-5150 Firmware.  Please wait...";
    auto& bar = findControl<TransferProgressBar> (*window, "_progressbar_");
    std::set<juce::String> percentagesHeard;

    // Meanwhile the page reads as the update page with the bar, and no button.
    ASSERT_TRUE (pumpUntil (
        [&]
        {
            if (window->getCurrentPage() != 6)
                return window->getCurrentPage() == 7 && ! transferRunning;

            auto elements = expectedPage (6);
            elements.add ("progress bar:  = " + juce::String (bar.getPercentage()) + "%");
            EXPECT_EQ (readWindow (*window), lines (elements));
            percentagesHeard.insert (bar.getAccessibilityHandler()->getValueInterface()->getCurrentValueAsString());
            return false;
        },
        120000));

    EXPECT_GT (percentagesHeard.size(), 3u) << "the value goes up while the transfer runs";
    EXPECT_EQ (readWindow (*window), withButtons (expectedPage (7), false, "Finish"));
    EXPECT_EQ (ScreenReaderAnnouncer::getLastAnnouncement(), UpdaterWindow::getSpokenPageText (7));
    EXPECT_TRUE (alerts.empty());

    pressThroughAccessibility (next());
    EXPECT_EQ (window->getCurrentPage(), 8);
    EXPECT_EQ (app->quitRequests, 1) << "Finish, pressed through accessibility, ends the program";
}

TEST_F (WizardAccessibilityTest, TheErrorBoxesAreAlertsWithTheirMessageThatTakeTheKeyboardAndGiveItBack)
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

    for (const auto& c : { Case { "device not found", noDevice, 4, UpdaterWindow::deviceNotFoundMessage },
                           Case { "transfer error", failingDevice, 6, UpdaterWindow::transferErrorMessage } })
    {
        SCOPED_TRACE (c.what);
        start (c.options);
        juce::StringArray heard;

        onAlert = [&] (juce::AlertWindow& box)
        {
            heard.add (describe (*box.getAccessibilityHandler()));
            heard.add (box.getAccessibilityHandler()->getDescription());
            heard.add (ScreenReaderAnnouncer::getLastAnnouncement());

            if (auto* focused = dynamic_cast<juce::Button*> (juce::Component::getCurrentlyFocusedComponent()))
                if (box.isParentOf (focused))
                    heard.add ("focus: " + describe (*focused->getAccessibilityHandler()));
        };

        while (window->getCurrentPage() < c.pageOfTheBox)
            pressThroughAccessibility (next());

        if (c.pageOfTheBox == 4)
            pressThroughAccessibility (next());

        ASSERT_TRUE (pumpUntil ([&] { return ! heard.isEmpty() && ! transferRunning; }, 20000));
        pump();

        const juce::String message (c.message);
        const auto spoken = "Error. " + message;
        juce::StringArray expected;
        expected.add ("dialog: Error");
        expected.add (spoken);
        expected.add (spoken);
        expected.add ("focus: button: OK [press]");
        EXPECT_EQ (lines (heard), lines (expected));
        EXPECT_TRUE (window->hasKeyboardFocus (true)) << "the wizard has the keyboard again";
        EXPECT_EQ (window->getCurrentPage(), c.pageOfTheBox == 4 ? 4 : 0);
        EXPECT_EQ (ScreenReaderAnnouncer::getLastAnnouncement(),
                   c.pageOfTheBox == 4 ? spoken : UpdaterWindow::getSpokenPageText (0))
            << "after a failed transfer the welcome page is announced";

        TearDown();
        alerts.clear();
        onAlert = nullptr;
    }
}
