#pragma once

#include "app/UpdaterApplication.h"
#include "device/DeviceLink.h"
#include "device/TransferThread.h"
#include "sim/SimulatedSetup.h"
#include "tests/MessageLoop.h"
#include "ui/PageTexts.h"
#include "ui/PictureWindowStyle.h"
#include "ui/WizardLookAndFeel.h"

#include <gtest/gtest.h>

#include <functional>
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

/** Whether the focus ring, in the texts' colour, runs down both sides of the button, drawn by its parent's snapshot. */
inline bool ringShows (juce::Component& parent, juce::Button& button)
{
    const auto snapshot = parent.createComponentSnapshot (button.getBounds(), true, 1.0f);
    const auto middle = snapshot.getHeight() / 2;
    const auto edge = (int) WizardLookAndFeel::ringThickness / 2;

    for (auto x : { edge, snapshot.getWidth() - 1 - edge })
        if (snapshot.getPixelAt (x, middle) != PictureWindowStyle::textColour)
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

    /** Checks the page shown: its title and text, and which of Next, Previous and the progress bar are visible. */
    void expectPage (int page, bool nextShown, bool previousShown, bool progressShown)
    {
        EXPECT_EQ (window->getCurrentPage(), page);
        EXPECT_EQ (findControl<juce::Label> (*window, "lblStep").getText(), pageTitles[page]);
        EXPECT_EQ (findControl<juce::Label> (*window, {}).getText(), pageTexts[page]);
        EXPECT_EQ (next().isVisible(), nextShown);
        EXPECT_EQ (findControl<juce::TextButton> (*window, "Previous").isVisible(), previousShown);
        EXPECT_EQ (findControl<juce::Component> (*window, "_progressbar_").isVisible(), progressShown);
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
