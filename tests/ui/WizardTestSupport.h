#pragma once

#include "app/UpdaterApplication.h"
#include "device/DeviceLink.h"
#include "device/TransferThread.h"
#include "sim/SimulatedSetup.h"
#include "tests/MessageLoop.h"
#include "ui/PictureWindowStyle.h"
#include "ui/WizardLookAndFeel.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <stdexcept>

namespace WizardTest
{
/** The application object, except that quitting only counts: the test's message loop must keep running. */
class TestApplication : public UpdaterApplication
{
public:
    void quitMessageLoop() override
    {
        ++quitRequests;
    }

    int quitRequests = 0;
};

/** The child of the window's content with this component name and type. */
template <typename ComponentType>
ComponentType& findControl (UpdaterWindow& window, const juce::String& name)
{
    for (auto* child : window.getContentComponent()->getChildren())
        if (auto* typed = dynamic_cast<ComponentType*> (child); typed != nullptr && child->getName() == name)
            return *typed;

    throw std::runtime_error ("no control named " + name.toStdString());
}

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
inline juce::String describe (const juce::AccessibilityHandler& handler)
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

    for (const auto& [shown, mark] :
         { std::pair { handler.getActions().contains (juce::AccessibilityActionType::press), " [press]" },
           std::pair { handler.getActions().contains (juce::AccessibilityActionType::showMenu), " [menu]" },
           std::pair { handler.hasFocus (false), " [focused]" } })
        if (shown)
            text << mark;

    return text;
}

/** What a screen reader finds in the window, in its reading order, one element a line. */
inline std::string readWindow (juce::Component& window)
{
    juce::StringArray elements;

    for (auto* child : window.getAccessibilityHandler()->getChildren())
        elements.add (describe (*child));

    return elements.joinIntoString ("\n").toStdString();
}

/**
    What a screen reader must find on a page: the page text as the title's
    description, the keyboard on the page's first text or on the button named,
    and on the update page the bar at `progress`.
*/
inline std::string expectedPage (int page, const juce::String& focus = {}, const juce::String& progress = {})
{
    juce::StringArray elements { "button: close [press]", "image: Picture of the VT-5150 control surface [menu]" };
    const juce::String title (expectedTitles[page]), text (expectedTexts[page]), next (page == 7 ? "Finish" : "Next");
    const auto add = [&] (const juce::String& element, bool focused)
    { elements.add (element + (focused ? " [focused]" : "")); };

    if (title.isNotEmpty())
        add ("label: " + title + " (" + text + ")", focus.isEmpty());

    add ("label: " + text, focus.isEmpty() && title.isEmpty());

    if (page == 6)
        elements.add ("progress bar: Firmware update progress = " + progress);

    if (page >= 1 && page <= 5)
        add ("button: Previous [press]", focus == "Previous");

    if (page != 6)
        add ("button: " + next + " [press]", focus == next);

    return elements.joinIntoString ("\n").toStdString();
}

/** Whether the focus ring, in the texts' colour, runs down both sides of the button, drawn by its parent's snapshot. */
inline bool ringShows (juce::Component& parent, juce::Button& button)
{
    const auto snapshot = parent.createComponentSnapshot (button.getBounds(), true, 1.0f);
    const auto edge = (int) WizardLookAndFeel::ringThickness / 2;

    for (auto x : { edge, snapshot.getWidth() - 1 - edge })
        if (snapshot.getPixelAt (x, snapshot.getHeight() / 2) != PictureWindowStyle::textColour)
            return false;

    return true;
}

/**
    The program's application object and window on virtual ports with a
    simulated device; shut down at the end. Closes each alert box with its OK
    button, as a user would, noting its text and the page shown meanwhile.
*/
class WizardFixture : public ::testing::Test, private juce::Timer
{
protected:
    void start (SimulationOptions options = {}, int latencyMicroseconds = 0)
    {
        setup = std::make_unique<SimulatedSetup> (options, latencyMicroseconds);
        app = std::make_unique<TestApplication>();
        currentApplication = app.get();
        app->initialise ({});
        window = app->getMainWindow();
        ASSERT_NE (window.getComponent(), nullptr);
        startTimer (20);
    }

    void TearDown() override
    {
        if (app != nullptr)
            app->shutdown();

        stopTimer();
        app.reset();
        setup.reset();
    }

    juce::TextButton& next()
    {
        return findControl<juce::TextButton> (*window, "Next");
    }

    /** Checks the page shown as a screen reader reads it, with the keyboard on its first text or on the button named.
     */
    void expectPage (int page, const juce::String& focus = {})
    {
        EXPECT_EQ (window->getCurrentPage(), page);
        auto& bar = findControl<TransferProgressBar> (*window, "_progressbar_");
        const auto progress = bar.getAccessibilityHandler()->getValueInterface()->getCurrentValueAsString();
        EXPECT_EQ (readWindow (*window), expectedPage (page, focus, progress));
    }

    /** Clicks a button as the user would, and lets the click be handled. */
    void press (juce::Button& button)
    {
        ASSERT_TRUE (button.isVisible()) << button.getName().toStdString() << " cannot be clicked while hidden";
        button.triggerClick();
        pump();
    }

    /** Presses Next from the welcome page up to the page given. */
    void walkTo (int page)
    {
        while (window->getCurrentPage() < page && ! HasFatalFailure())
            press (next());

        ASSERT_EQ (window->getCurrentPage(), page);
    }

    bool waitForPage (int page, int timeoutMs = 60000)
    {
        return pumpUntil ([&] { return window->getCurrentPage() == page && ! transferRunning; }, timeoutMs);
    }

    /**
        Lets the display's notice that the window has the keyboard arrive, which
        JUCE answers by focusing the welcome page's text again; on a loaded
        machine it can come late, and Xlib may hold it until more X traffic
        comes, which the repaints make.
    */
    void settle()
    {
        pumpUntil (
            [this]
            {
                window->repaint();
                return window->getPeer()->isFocused() && readWindow (*window) == expectedPage (0);
            },
            1500);
    }

    /** A key as the display hands it over, down and then up, without letting anything be handled. */
    void tap (const juce::KeyPress& keyPress)
    {
        window->getPeer()->handleKeyUpOrDown (true);
        window->getPeer()->handleKeyPress (keyPress);
        window->getPeer()->handleKeyUpOrDown (false);
    }

    /** A key tapped, and then handled. */
    void key (const juce::KeyPress& keyPress)
    {
        tap (keyPress);
        pump();
    }

    std::unique_ptr<SimulatedSetup> setup;
    std::unique_ptr<TestApplication> app;
    juce::Component::SafePointer<UpdaterWindow> window;
    std::vector<std::pair<juce::String, int>> alerts;

    /** Called with each alert box as it is found open, before its OK button is clicked. */
    std::function<void (juce::AlertWindow&)> onAlert;

private:
    void timerCallback() override
    {
        auto* alert = dynamic_cast<juce::AlertWindow*> (juce::Component::getCurrentlyModalComponent());

        if (alert == nullptr || alert == handled.getComponent())
            return;

        handled = alert;
        alerts.emplace_back (alert->getDescription(), window != nullptr ? window->getCurrentPage() : -1);

        if (onAlert)
            onAlert (*alert);

        alert->triggerButtonClick ("OK");
    }

    juce::Component::SafePointer<juce::Component> handled;
};
} // namespace WizardTest
